#include "savegame.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace savegame {
namespace {

void Say(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

// "<what>: <the reason>."
std::string Because(const std::string& what, int errnum) {
    return what + ": " + Reason(errnum) + ".";
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A whole number of at most nine digits with an optional minus sign.
std::optional<int> ParseValue(std::string_view s) {
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace

std::string Reason(int errnum) {
    switch (errnum) {
        case ENOENT:
            return "soubor nebo složka neexistuje";
        case EACCES:
            return "přístup odepřen";
        case EPERM:
            return "operace není povolena";
        case EROFS:
            return "systém souborů je jen pro čtení";
        case ENOSPC:
            return "na disku není volné místo";
        case EDQUOT:
            return "překročena disková kvóta";
        case EFBIG:
            return "soubor je příliš velký";
        case EISDIR:
            return "je to složka";
        case ENOTDIR:
            return "není to složka";
        case EIO:
            return "chyba vstupu/výstupu";
        case EMLINK:
            return "příliš mnoho odkazů";
        case ELOOP:
            return "příliš mnoho úrovní symbolických odkazů";
        case ENAMETOOLONG:
            return "příliš dlouhý název souboru";
        default:
            return std::strerror(errnum);
    }
}

std::string FormatBoard(const rules::Board& board) {
    std::string text;
    text.reserve(ValueCount * 5);
    auto put = [&](int value) {
        text += value < 0 ? '-' : ' ';
        text += std::to_string(value < 0 ? -static_cast<long long>(value) : value);
        text += " \r\n";
    };
    for (int row = 1; row <= rules::Rows; ++row) {
        for (int column = 1; column <= rules::Columns; ++column) {
            put(board.Owner(column, row));
            put(board.Count(column, row));
        }
    }
    return text;
}

std::optional<rules::Board> ParseBoard(std::string_view text, std::string* error) {
    int values[ValueCount];
    int read = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = Trim(line);
        if (read == ValueCount) {
            if (!line.empty()) {
                Say(error, "Za 112 hodnotami následuje další text (řádek " +
                               std::to_string(lineNumber) + ").");
                return std::nullopt;
            }
            continue;
        }
        const std::optional<int> value = ParseValue(line);
        if (!value) {
            Say(error, "Řádek " + std::to_string(lineNumber) + " není celé číslo.");
            return std::nullopt;
        }
        const bool isOwner = read % 2 == 0;
        if (isOwner ? (*value < 0 || *value > 2) : (*value < 0 || *value > 4)) {
            Say(error, std::string(isOwner ? "Vlastník" : "Počet kamenů") + " na řádku " +
                           std::to_string(lineNumber) + " je mimo povolený rozsah.");
            return std::nullopt;
        }
        values[read++] = *value;
    }
    if (read != ValueCount) {
        Say(error, "Soubor obsahuje jen " + std::to_string(read) + " ze 112 hodnot.");
        return std::nullopt;
    }
    rules::Board board;
    for (int i = 0; i < rules::Cells; ++i) {
        board.Set(i % rules::Columns + 1, i / rules::Columns + 1, values[2 * i], values[2 * i + 1]);
    }
    return board;
}

namespace {

bool Absolute(const char* path) {
    return path && path[0] == '/';
}

std::filesystem::path HomeFolder(const char* home) {
    if (Absolute(home)) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && Absolute(entry->pw_dir))
        return entry->pw_dir;
    return {};
}

// /usr belongs to the package manager: a save there would be a file no package owns.
bool UnderUsr(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(folder, ec);
    if (ec) real = std::filesystem::absolute(folder, ec).lexically_normal();
    auto part = real.begin();
    return part != real.end() && *part == "/" && ++part != real.end() && *part == "usr";
}

// Opens a temporary file of a name nobody else uses, beside `file`; -1 on failure.
int OpenTemporary(const std::filesystem::path& file, std::filesystem::path* temporary) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%ld-%u.tmp", static_cast<long>(::getpid()),
                      serial++);
        *temporary = file;
        *temporary += suffix;
        const int fd = ::open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes all of `text` and syncs it; 0, or the errno of what failed.
int WriteAndSync(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// 0, or the errno of what failed.
int SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return synced ? synced : closed;
}

}  // namespace

Slot FindSlot(const std::filesystem::path& programDirectory, const char* xdgDataHome,
              const char* home) {
    if (::access(programDirectory.c_str(), W_OK | X_OK) == 0 && !UnderUsr(programDirectory))
        return {programDirectory / FileName, false};
    std::filesystem::path data;
    if (Absolute(xdgDataHome)) {
        data = xdgDataHome;
    } else {
        const std::filesystem::path homeFolder = HomeFolder(home);
        // Nowhere else to go: the save then fails with a message naming the program's folder.
        if (homeFolder.empty()) return {programDirectory / FileName, false};
        data = homeFolder / ".local" / "share";
    }
    return {data / "morvel" / FileName, true};
}

bool SaveGame(const Slot& slot, const rules::Board& board, std::string* error,
              std::string* warning) {
    const std::filesystem::path& file = slot.file;
    const std::filesystem::path folder = file.parent_path();
    if (slot.makeFolder) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (!ec && !std::filesystem::is_directory(folder))
            ec.assign(ENOTDIR, std::generic_category());
        if (ec) {
            Say(error, Because("Složku " + folder.string() + " nelze vytvořit", ec.value()));
            return false;
        }
    }
    std::filesystem::path temporary;
    const int fd = OpenTemporary(file, &temporary);
    if (fd < 0) {
        const int why = errno;
        Say(error, Because("Ve složce " + folder.string() + " nelze vytvořit soubor", why));
        return false;
    }
    int failure = WriteAndSync(fd, FormatBoard(board));
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), file.c_str()) != 0) {
        failure = errno;
        ::unlink(temporary.c_str());
        Say(error, Because("Soubor " + file.string() + " nelze nahradit novým", failure));
        return false;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        Say(error, Because("Zápis souboru " + file.string() + " selhal", failure));
        return false;
    }
    // The new save is in place from here on: a folder that cannot be synced makes it less
    // sure to survive a power cut, not a failed save.
    if (const int synced = SyncFolder(folder.empty() ? std::filesystem::path(".") : folder))
        Say(warning,
            Because("Složku " + folder.string() + " se nepodařilo zapsat na disk", synced));
    return true;
}

int ReadAtMost(int fd, std::size_t limit, std::string& text) {
    // One byte past the limit tells a text that is too long, without reading it all.
    text.assign(limit + 1, '\0');
    std::size_t used = 0;
    while (used < text.size()) {
        const ssize_t got = ::read(fd, text.data() + used, text.size() - used);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    text.resize(used);
    return used > limit ? EFBIG : 0;
}

std::optional<rules::Board> LoadGame(const std::filesystem::path& file, std::string* error) {
    // Not blocking on open: a pipe named hra.dat must not hang the game.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int why = errno;
        Say(error, Because("Soubor " + file.string() + " nelze otevřít", why));
        return std::nullopt;
    }
    struct stat info {};
    int failure = ::fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    const bool plainFile = failure == 0 && S_ISREG(info.st_mode);
    std::string text;
    if (plainFile) failure = ReadAtMost(fd, MaxFileSize, text);
    ::close(fd);
    if (failure == 0 && !plainFile) {
        Say(error, "Soubor " + file.string() + " není obyčejný soubor.");
        return std::nullopt;
    }
    if (failure == EFBIG) {
        Say(error, "Soubor " + file.string() + " je příliš velký na uloženou hru.");
        return std::nullopt;
    }
    if (failure != 0) {
        Say(error, Because("Soubor " + file.string() + " nelze přečíst", failure));
        return std::nullopt;
    }
    std::string why;
    std::optional<rules::Board> board = ParseBoard(text, &why);
    if (!board) Say(error, "Soubor " + file.string() + ": " + why);
    return board;
}

}  // namespace savegame
