#include "system_windows.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace savegame::sys {

// Errors that MinGW's headers do not name: ERROR_DIRECTORY_NOT_SUPPORTED,
// ERROR_DISK_QUOTA_EXCEEDED, and the antivirus's ERROR_VIRUS_INFECTED and
// ERROR_VIRUS_DELETED.
constexpr DWORD DirectoryNotSupported = 336;
constexpr DWORD DiskQuotaExceeded = 1295;
constexpr DWORD VirusInfected = 225, VirusDeleted = 226;

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

// A folder as the system spells it in full: absolute, with long names for 8.3 short ones
// (the temporary folder is often given as C:\Users\JIRIC~1\...), no separator at its end.
std::wstring FullName(const std::filesystem::path& folder) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFullPathNameW(folder.c_str(), static_cast<DWORD>(full.size()),
                                                full.data(), nullptr);
        if (length == 0) return folder.wstring();
        const bool fits = length < full.size();
        full.resize(length);
        if (fits) break;
    }
    std::wstring longer(full.size() + MAX_PATH, L'\0');
    const DWORD length =
        ::GetLongPathNameW(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (length > 0 && length < longer.size()) full.assign(longer.data(), length);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    return full;
}

// Whether the system reports a file or a folder another program holds for a moment
// (antivirus, the search indexer, OneDrive and other synchronising tools open every new
// file), worth waiting for.
bool Transient(Error error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
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

std::string PathText(const std::filesystem::path& path) {
    std::filesystem::path preferred = path;
    const std::wstring& name = preferred.make_preferred().native();
    // Without WC_ERR_INVALID_CHARS an unpaired surrogate becomes U+FFFD.
    return Utf8(name.c_str(), static_cast<int>(name.size()));
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
        case ERROR_USER_MAPPED_FILE:
            return "soubor používá jiný program";
        case ERROR_FILE_READ_ONLY:
            return "soubor je jen pro čtení";
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return "síťová složka není dostupná";
        case ERROR_UNEXP_NET_ERR:
        case ERROR_NETNAME_DELETED:
            return "spojení se síťovou složkou bylo přerušeno";
        case ERROR_NO_MEDIA_IN_DRIVE:
            return "v jednotce není médium";
        case ERROR_DEVICE_NOT_CONNECTED:
            return "zařízení není připojeno";
        case DiskQuotaExceeded:
        case ERROR_NOT_ENOUGH_QUOTA:
            return "překročena kvóta";
        case VirusInfected:
            return "antivirový program v souboru našel virus";
        case VirusDeleted:
            return "antivirový program soubor odstranil";
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

// FILE_RENAME_INFO as FileRenameInfoEx reads it: flags where FileRenameInfo has a BOOLEAN.
// MinGW-w64's headers name neither the class nor the flags for every Windows they build for.
struct RenameInformation {
    DWORD flags;
    HANDLE rootDirectory;
    DWORD fileNameLength;
    WCHAR fileName[1];
};
constexpr auto FileRenameInfoExClass = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
constexpr DWORD RenameReplaceIfExists = 0x1, RenamePosixSemantics = 0x2;

Error ReplaceByHandle(const std::filesystem::path& from, const std::filesystem::path& to) {
    const HANDLE file = ::CreateFileW(from.c_str(), DELETE | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<Error>(::GetLastError());
    const std::wstring target = FullName(to);
    const std::size_t size =
        offsetof(RenameInformation, fileName) + (target.size() + 1) * sizeof(WCHAR);
    std::vector<std::max_align_t> storage(size / sizeof(std::max_align_t) + 1);
    auto* info = reinterpret_cast<RenameInformation*>(storage.data());
    info->flags = RenameReplaceIfExists | RenamePosixSemantics;
    info->rootDirectory = nullptr;
    info->fileNameLength = static_cast<DWORD>(target.size() * sizeof(WCHAR));
    std::memcpy(info->fileName, target.c_str(), (target.size() + 1) * sizeof(WCHAR));
    Error failed = Result(
        ::SetFileInformationByHandle(file, FileRenameInfoExClass, info, static_cast<DWORD>(size)));
    // The new name on the disk too, as MOVEFILE_WRITE_THROUGH would have put it.
    if (!failed) ::FlushFileBuffers(file);
    ::CloseHandle(file);
    return failed;
}

bool RenameRefused(Error error) {
    return error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_NOT_SUPPORTED || error == ERROR_CALL_NOT_IMPLEMENTED;
}

Error ReplaceByMove(const std::filesystem::path& from, const std::filesystem::path& to) {
    return Result(::MoveFileExW(from.c_str(), to.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

Error Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    // A file another program holds for a moment is waited for, half a second at most.
    constexpr int Tries = 11;
    constexpr DWORD Pause = 50;
    bool byHandle = true;
    Error failed = 0;
    for (int attempt = 0; attempt < Tries; ++attempt) {
        if (attempt > 0) ::Sleep(Pause);
        if (byHandle) {
            failed = ReplaceByHandle(from, to);
            if (RenameRefused(failed)) byHandle = false;
        }
        if (!byHandle) failed = ReplaceByMove(from, to);
        if (!Transient(failed)) break;
        // Windows says only "access denied" where a folder or a read-only file stands in
        // the file's place; neither goes away by waiting.
        const DWORD attributes = ::GetFileAttributesW(to.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY)
            return IsFolder;
        if (attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_READONLY &&
            failed == ERROR_ACCESS_DENIED)
            return ERROR_FILE_READ_ONLY;
    }
    return failed;
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

bool MayCreateIn(const std::filesystem::path& folder) {
    // Access rights on Windows are worked out by the system alone: asking it to make a
    // file is the one sure test. The file goes when it is closed.
    const std::filesystem::path probe =
        folder / (L"morvel-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp");
    const HANDLE made =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (made == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(made);
    return true;
}

// The temporary folder: Explorer runs a program opened inside a zip from a copy there,
// and Storage Sense and the disk clean-up delete what is left there.
bool InForeignFolder(const std::filesystem::path& folder) {
    wchar_t temporary[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH) return false;
    const std::wstring temp = FullName(temporary), full = FullName(folder);
    if (full.size() < temp.size()) return false;
    // Names on Windows are the same whatever their case.
    const bool same =
        ::CompareStringOrdinal(full.c_str(), static_cast<int>(temp.size()), temp.c_str(),
                               static_cast<int>(temp.size()), TRUE) == CSTR_EQUAL;
    return same &&
           (full.size() == temp.size() || full[temp.size()] == L'\\' || full[temp.size()] == L'/');
}

bool IsRefusal(Error error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ||
           error == ERROR_FILE_READ_ONLY;
}

// The player's roaming application data folder, as the system knows it: where the player
// or the administrator moved it, too (a redirected folder that %APPDATA% may not follow).
std::filesystem::path PlayerDataFolder() {
    wchar_t* folder = nullptr;
    std::filesystem::path found;
    if (SUCCEEDED(
            ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder)))
        found = std::filesystem::path(folder) / L"Morvel";
    ::CoTaskMemFree(folder);
    return found;
}

}  // namespace savegame::sys
