#include <windows.h>

#include <cwchar>

#include "system.h"

namespace savegame::sys {

// ERROR_DIRECTORY_NOT_SUPPORTED, which MinGW's headers do not name.
constexpr DWORD DirectoryNotSupported = 336;

const Error NotFound = ERROR_FILE_NOT_FOUND;
const Error NoFolder = ERROR_PATH_NOT_FOUND;
const Error Exists = ERROR_FILE_EXISTS;
const Error IsFolder = DirectoryNotSupported;
const Error NotFolder = ERROR_DIRECTORY;
const Error TooLarge = ERROR_FILE_TOO_LARGE;
const Error ShortWrite = ERROR_WRITE_FAULT;

namespace {

std::string Utf8(const wchar_t* text, int length) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

HANDLE Native(Handle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// The result of a call that sets the last error on failure.
Error Result(BOOL ok) {
    return ok ? 0 : static_cast<Error>(::GetLastError());
}

Error Opened(HANDLE native, Handle* handle) {
    *handle = native == INVALID_HANDLE_VALUE ? NoHandle : reinterpret_cast<Handle>(native);
    return native == INVALID_HANDLE_VALUE ? static_cast<Error>(::GetLastError()) : 0;
}

std::filesystem::path FromEnvironment(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    if (!value || !*value) return {};
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

}  // namespace

std::string SystemMessage(Error error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length ? Utf8(text, static_cast<int>(length)) : std::string();
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "chyba systému Windows " + std::to_string(error) : message;
}

std::string Reason(Error error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return "soubor neexistuje";
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return "složka neexistuje";
        case ERROR_ACCESS_DENIED:
            return "přístup odepřen";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "soubor používá jiný program";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "na disku není volné místo";
        case ERROR_WRITE_PROTECT:
            return "disk je chráněn proti zápisu";
        case ERROR_NOT_READY:
            return "zařízení není připraveno";
        case ERROR_FILE_TOO_LARGE:
            return "soubor je příliš velký";
        case DirectoryNotSupported:
            return "je to složka";
        case ERROR_DIRECTORY:
            return "není to složka";
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
        case ERROR_CRC:
            return "chyba vstupu/výstupu";
        case ERROR_INVALID_NAME:
            return "neplatný název souboru";
        case ERROR_FILENAME_EXCED_RANGE:
            return "příliš dlouhý název souboru";
        default:
            return SystemMessage(error);
    }
}

Error CreateNew(const std::filesystem::path& file, Handle* handle) {
    return Opened(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr),
                  handle);
}

Error OpenToRead(const std::filesystem::path& file, Handle* handle, bool) {
    // Others may go on reading, writing, or replacing the file meanwhile; folders open too
    // (to be told apart after).
    return Opened(::CreateFileW(file.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr),
                  handle);
}

Handle StandardInput() {
    return reinterpret_cast<Handle>(::GetStdHandle(STD_INPUT_HANDLE));
}

Error KindOf(Handle handle, Kind* kind) {
    const DWORD type = ::GetFileType(Native(handle));
    if (type != FILE_TYPE_DISK) {
        *kind = Kind::Other;
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(Native(handle), &info))
        return static_cast<Error>(::GetLastError());
    *kind = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? Kind::Folder : Kind::Plain;
    return 0;
}

Error Read(Handle handle, char* data, std::size_t size, std::size_t* done) {
    if (::GetFileType(Native(handle)) == FILE_TYPE_DISK) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileInformationByHandle(Native(handle), &info) &&
            info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            *done = 0;
            return IsFolder;
        }
    }
    DWORD got = 0;
    const DWORD asked = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    const BOOL ok = ::ReadFile(Native(handle), data, asked, &got, nullptr);
    *done = got;
    // A pipe whose writer has gone has simply ended.
    if (!ok && ::GetLastError() == ERROR_BROKEN_PIPE) return 0;
    return Result(ok);
}

Error Write(Handle handle, const char* data, std::size_t size, std::size_t* done) {
    DWORD written = 0;
    const DWORD asked = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    const BOOL ok = ::WriteFile(Native(handle), data, asked, &written, nullptr);
    *done = written;
    return Result(ok);
}

Error Flush(Handle handle) {
    return Result(::FlushFileBuffers(Native(handle)));
}

Error Close(Handle handle) {
    return Result(::CloseHandle(Native(handle)));
}

Error Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    const Error failed = static_cast<Error>(::GetLastError());
    // Windows says only "access denied" where a folder stands in the file's place.
    const DWORD attributes = ::GetFileAttributesW(to.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY ? IsFolder
                                                                                          : failed;
}

void Remove(const std::filesystem::path& file) {
    ::DeleteFileW(file.c_str());
}

// Windows keeps no list of names apart from the files: MOVEFILE_WRITE_THROUGH has put the
// replacement on the disk.
Error SyncFolder(const std::filesystem::path&) {
    return 0;
}

Error MakeFolders(const std::filesystem::path& folder) {
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : NotFolder;
    const std::filesystem::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder)
        if (const Error failed = MakeFolders(parent)) return failed;
    if (::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;
    return static_cast<Error>(::GetLastError());
}

unsigned long ProcessId() {
    return ::GetCurrentProcessId();
}

// Beside a portable copy, as the game always did, when the player may write into its
// folder. An installed copy (its uninstaller stands beside it) keeps the save in the
// player's data folder, where uninstalling does not reach.
bool SaveBesideProgram(const std::filesystem::path& programFolder) {
    if (::GetFileAttributesW((programFolder / L"uninstall.exe").c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    // Access rights on Windows are worked out by the system alone: asking it to make a
    // file is the one sure test. The file goes when it is closed.
    const std::filesystem::path probe =
        programFolder / (L"morvel-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
    const HANDLE made =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (made == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(made);
    return true;
}

// %APPDATA%\Morvel, the player's roaming data folder.
std::filesystem::path PlayerDataFolder() {
    std::filesystem::path appData = FromEnvironment(L"APPDATA");
    if (appData.empty()) {
        const std::filesystem::path profile = FromEnvironment(L"USERPROFILE");
        if (profile.empty()) return {};
        appData = profile / L"AppData" / L"Roaming";
    }
    return appData / L"Morvel";
}

}  // namespace savegame::sys
