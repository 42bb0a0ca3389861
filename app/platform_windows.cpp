#include <windows.h>

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "content.h"
#include "platform.h"

namespace platform {

namespace {

// The installer and the uninstaller wait while a mutex of this name exists (they read it
// from here: it stays on one line).
constexpr const wchar_t* RunningMutex = L"Morvel-running-5f0c2e4b-8d1a-4b7e-9c36-a2e41d07b9f3";

std::filesystem::path ProgramFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

// A file or a pipe; a console handle the program inherited is not one.
bool Redirected(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    const DWORD type = ::GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

// The console's code page before the texts' UTF-8, given back when the program ends: the
// console is the player's, and stays theirs after it.
UINT consoleCodePage = 0;

void GiveBackCodePage() {
    if (consoleCodePage != 0) ::SetConsoleOutputCP(consoleCodePage);
}

}  // namespace

bool UseParentConsole() {
    const bool out = Redirected(STD_OUTPUT_HANDLE), err = Redirected(STD_ERROR_HANDLE);
    if (out && err) return true;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED)
        return err;
    // (ERROR_ACCESS_DENIED: the program has a console already.)
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
    // The texts are UTF-8.
    consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) std::atexit(GiveBackCodePage);
    return true;
}

bool TellWithoutConsole(const QString& text) {
    const QString title = QString::fromUtf8(screen::GameTitle);
    ::MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()),
                  reinterpret_cast<const wchar_t*>(title.utf16()), MB_OK | MB_ICONINFORMATION);
    return true;
}

void PrepareStart() {
    // _wputenv_s changes the C runtime's copies, which Qt reads, and the process's own
    // environment, which the programs it starts inherit.
    for (const wchar_t* name :
         {L"QT_PLUGIN_PATH", L"QT_QPA_PLATFORM_PLUGIN_PATH", L"QT_QPA_PLATFORM"})
        ::_wputenv_s(name, L"");
    const std::filesystem::path folder = ProgramFolder();
    if (!folder.empty())
        QCoreApplication::setLibraryPaths({QString::fromStdWString(folder.wstring())});
    // Held until the process ends: the system closes it then, however the game ends.
    ::CreateMutexW(nullptr, FALSE, RunningMutex);
}

const char* SaveLocationHelp() {
    return "Hra se ukládá do hra.dat vedle programu, smí-li do té složky hráč zapisovat\n"
           "a není-li hra nainstalovaná ani spuštěná z dočasné složky, jinak do\n"
           "%APPDATA%\\Morvel\\hra.dat.\n";
}

const char* LicenceLocation() {
    return "README.txt a složka licences vedle programu";
}

}  // namespace platform
