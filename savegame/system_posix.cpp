#include "system_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "system.h"

namespace savegame::sys {

const Error NotFound = ENOENT;
const Error NoFolder = ENOENT;
const Error Exists = EEXIST;
const Error IsFolder = EISDIR;
const Error NotFolder = ENOTDIR;
const Error TooLarge = EFBIG;
const Error ShortWrite = EIO;

std::string SystemMessage(Error error) {
    return std::strerror(error);
}

// The bytes of a name, as the terminal and Qt take them.
std::string PathText(const std::filesystem::path& path) {
    return path.native();
}

std::string Reason(Error error) {
    switch (error) {
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
            return SystemMessage(error);
    }
}

namespace {

// The result of a call that sets errno on failure.
Error Result(bool ok) {
    return ok ? 0 : errno;
}

bool Absolute(const char* path) {
    return path && path[0] == '/';
}

std::filesystem::path HomeFolder(const char* home) {
    if (Absolute(home)) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && Absolute(entry->pw_dir))
        return entry->pw_dir;
    return {};
}

}  // namespace

Error CreateNew(const std::filesystem::path& file, Handle* handle) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    *handle = fd;
    return Result(fd >= 0);
}

Error OpenToRead(const std::filesystem::path& file, Handle* handle, bool wait) {
    const int fd = ::open(file.c_str(), O_RDONLY | (wait ? 0 : O_NONBLOCK) | O_CLOEXEC);
    *handle = fd;
    return Result(fd >= 0);
}

Handle StandardInput() {
    return STDIN_FILENO;
}

Error KindOf(Handle handle, Kind* kind) {
    struct stat info {};
    if (::fstat(static_cast<int>(handle), &info) != 0) return errno;
    *kind = S_ISREG(info.st_mode)   ? Kind::Plain
            : S_ISDIR(info.st_mode) ? Kind::Folder
                                    : Kind::Other;
    return 0;
}

Error Read(Handle handle, char* data, std::size_t size, std::size_t* done) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle), data, size);
        if (got < 0 && errno == EINTR) continue;
        *done = got < 0 ? 0 : static_cast<std::size_t>(got);
        return Result(got >= 0);
    }
}

Error Write(Handle handle, const char* data, std::size_t size, std::size_t* done) {
    for (;;) {
        const ssize_t written = ::write(static_cast<int>(handle), data, size);
        if (written < 0 && errno == EINTR) continue;
        *done = written < 0 ? 0 : static_cast<std::size_t>(written);
        return Result(written >= 0);
    }
}

Error Flush(Handle handle) {
    return Result(::fsync(static_cast<int>(handle)) == 0);
}

Error Close(Handle handle) {
    return Result(::close(static_cast<int>(handle)) == 0);
}

Error Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return Result(::rename(from.c_str(), to.c_str()) == 0);
}

void Remove(const std::filesystem::path& file) {
    ::unlink(file.c_str());
}

Error SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const Error synced = Result(::fsync(fd) == 0);
    const Error closed = Result(::close(fd) == 0);
    return synced ? synced : closed;
}

Error MakeFolders(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!ec && !std::filesystem::is_directory(folder)) return ENOTDIR;
    return ec.value();
}

unsigned long ProcessId() {
    return static_cast<unsigned long>(::getpid());
}

bool MayCreateIn(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// /usr belongs to the package manager: a system-wide install, even one that root runs,
// keeps its saves in the player's data folder, for a file there would be one no package
// owns.
bool InForeignFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(folder, ec);
    if (ec) real = std::filesystem::absolute(folder, ec).lexically_normal();
    auto part = real.begin();
    return part != real.end() && *part == "/" && ++part != real.end() && *part == "usr";
}

bool IsRefusal(Error error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

std::filesystem::path DataFolderFrom(const char* xdgDataHome, const char* home) {
    if (Absolute(xdgDataHome)) return std::filesystem::path(xdgDataHome) / "morvel";
    const std::filesystem::path homeFolder = HomeFolder(home);
    if (homeFolder.empty()) return {};
    return homeFolder / ".local" / "share" / "morvel";
}

std::filesystem::path PlayerDataFolder() {
    return DataFolderFrom(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

}  // namespace savegame::sys
