#include "savegame.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace savegame {
namespace {

void Say(std::string* error, std::string message) {
    if (error) *error = std::move(message);
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

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

}  // namespace

Slot FindSlot(const std::filesystem::path& programDirectory, const char* xdgDataHome,
              const char* home) {
    if (::access(programDirectory.c_str(), W_OK | X_OK) == 0)
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

bool SaveGame(const Slot& slot, const rules::Board& board, std::string* error) {
    const std::filesystem::path& file = slot.file;
    const std::filesystem::path folder = file.parent_path();
    std::error_code ec;
    if (slot.makeFolder) {
        std::filesystem::create_directories(folder, ec);
        if (ec || !std::filesystem::is_directory(folder)) {
            Say(error, "Složku " + folder.string() + " nelze vytvořit.");
            return false;
        }
    }
    if (std::filesystem::is_directory(file, ec)) {
        Say(error, "Místo souboru " + file.string() + " je složka.");
        return false;
    }
    std::filesystem::path temporary;
    const int fd = OpenTemporary(file, &temporary);
    if (fd < 0) {
        Say(error, "Ve složce " + folder.string() + " nelze vytvořit soubor.");
        return false;
    }
    const bool written = WriteAll(fd, FormatBoard(board)) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        std::filesystem::remove(temporary, ec);
        Say(error, "Zápis souboru " + temporary.string() + " selhal.");
        return false;
    }
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        Say(error, "Soubor " + file.string() + " nelze nahradit novým.");
        return false;
    }
    if (!SyncFolder(folder.empty() ? std::filesystem::path(".") : folder)) {
        Say(error, "Složku " + folder.string() + " se nepodařilo zapsat na disk.");
        return false;
    }
    return true;
}

std::optional<rules::Board> LoadGame(const std::filesystem::path& file, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    if (!in || std::filesystem::is_directory(file)) {
        Say(error, "Soubor " + file.string() + " nelze otevřít.");
        return std::nullopt;
    }
    // Read at most one byte past the limit, so a huge file is never taken into memory.
    std::string text(MaxFileSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        Say(error, "Soubor " + file.string() + " nelze přečíst.");
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > MaxFileSize) {
        Say(error, "Soubor " + file.string() + " je příliš velký na uloženou hru.");
        return std::nullopt;
    }
    std::string why;
    std::optional<rules::Board> board = ParseBoard(text, &why);
    if (!board) Say(error, "Soubor " + file.string() + ": " + why);
    return board;
}

}  // namespace savegame
