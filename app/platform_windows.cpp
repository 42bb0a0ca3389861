#include <windows.h>

#include <cstdio>

#include "platform.h"

namespace platform {

namespace {

bool Redirected(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void UseParentConsole() {
    const bool out = Redirected(STD_OUTPUT_HANDLE), err = Redirected(STD_ERROR_HANDLE);
    if ((out && err) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
    // The texts are UTF-8.
    ::SetConsoleOutputCP(CP_UTF8);
}

const char* SaveLocationHelp() {
    return "Hra se ukládá do hra.dat vedle programu, smí-li do té složky hráč zapisovat\n"
           "a není-li hra nainstalovaná, jinak do %APPDATA%\\Morvel\\hra.dat.\n";
}

}  // namespace platform
