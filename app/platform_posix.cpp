#include "platform.h"

namespace platform {

bool UseParentConsole() {
    return true;
}

bool TellWithoutConsole(const QString&) {
    return false;
}

void PrepareStart() {}

const char* SaveLocationHelp() {
    return "Hra se ukládá do hra.dat vedle programu, smí-li do té složky hráč zapisovat,\n"
           "jinak do $XDG_DATA_HOME/morvel/hra.dat (~/.local/share/morvel/hra.dat).\n"
           "Podrobnosti: man 6 morvel\n";
}

const char* LicenceLocation() {
    return "/usr/share/doc/morvel/copyright";
}

}  // namespace platform
