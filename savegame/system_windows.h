#pragma once

#include <filesystem>

#include "system.h"

// What only the Windows version of the saved game's system interface has, for its tests:
// the two ways Replace puts a file in place, each tried once, without the waiting.
namespace savegame::sys {

// The file system's own replace, in one step even where the old file is open
// (SetFileInformationByHandle with FileRenameInfoEx and POSIX semantics). Where the file
// system or the system does not have it (FAT, exFAT, Windows before 10, Wine), it fails
// with an error for which RenameRefused is true.
Error ReplaceByHandle(const std::filesystem::path& from, const std::filesystem::path& to);
bool RenameRefused(Error error);
// MoveFileExW, which every Windows has; on FAT and exFAT it deletes the old file before it
// renames the new one.
Error ReplaceByMove(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace savegame::sys
