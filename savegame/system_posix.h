#pragma once

#include <filesystem>

// What only the POSIX version of the saved game's system interface has, for its tests.
namespace savegame::sys {

// $XDG_DATA_HOME/morvel, or ~/.local/share/morvel when the variable is unset, empty or
// not an absolute path. `xdgDataHome` and `home` are the environment's values and may be
// null; without a usable `home` the password database says where the home folder is.
std::filesystem::path DataFolderFrom(const char* xdgDataHome, const char* home);

}  // namespace savegame::sys
