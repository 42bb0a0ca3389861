#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "board.h"
#include "format.h"

// The saved game's file, hra.dat, which holds the board's text (format.h).
namespace savegame {

inline constexpr const char* FileName = "hra.dat";
// A real save is 560 bytes; anything much larger is not one of ours and is not read.
inline constexpr std::uintmax_t MaxFileSize = 64 * 1024;

// The installer leaves a file of this name in the folder it installs into, with this text
// as its first line: a copy with it beside the program is an installed one. Not its
// uninstaller's name: "uninstall.exe" stands beside many programs. (The installer reads
// both from here: each stays on one line.)
inline constexpr const char* InstallMarkerName = "morvel-instalace.txt";
inline constexpr const char* InstallMarkerText = "Morvel 5f0c2e4b-8d1a-4b7e-9c36-a2e41d07b9f3";

// The one save slot.
struct Slot {
    std::filesystem::path file;
    // The player's data folder is made on the first save; the program's folder never is.
    bool makeFolder = false;
    // Where a save goes that `file`'s folder refuses (a read-only hra.dat, a folder the
    // player may no longer write into): hra.dat in the player's data folder, beside a
    // portable copy. Empty for none.
    std::filesystem::path refuge = {};
};

// Beside the program when that is where its saves belong: a copy the player may write
// into, never an installed one, nor one under the system's own folders (/usr, which the
// package manager owns; the temporary folder, which Windows empties by itself); otherwise
// in `dataFolder`, which the first save makes. Without a data folder, beside the program
// all the same.
Slot FindSlot(const std::filesystem::path& programDirectory,
              const std::filesystem::path& dataFolder);
// The same, with the player's data folder as the system names it:
// $XDG_DATA_HOME/morvel (~/.local/share/morvel) on POSIX systems, the roaming application
// data folder's Morvel (%APPDATA%\Morvel) on Windows.
Slot FindSlot(const std::filesystem::path& programDirectory);
// Whether the installer put the program in `programDirectory` (its file InstallMarkerName
// begins with InstallMarkerText).
bool IsInstalled(const std::filesystem::path& programDirectory);

// Writes a temporary file of a name of its own beside `slot.file`, syncs it, renames it
// over `slot.file` and syncs the folder, so that a failed save leaves the previous one as
// it was, two programs saving at once never share a temporary file, and a save reported
// as done survives a power cut. Returns false and says why, naming the path and the
// system's reason, on failure. A folder that cannot be synced after the new file is in
// place is no failure: the save is done, and `warning` says so. Once the new file is in
// place, temporary files that earlier saves left beside it (a crash, a power cut) go.
bool SaveGame(const Slot& slot, const rules::Board& board, std::string* error = nullptr,
              std::string* warning = nullptr);
// The same, and where `slot`'s folder refuses the save and the slot has a refuge, the
// save goes there: `slot` then becomes the refuge, for the saves and loads that follow,
// and `notice` says where the game is saved now and why.
bool SaveGame(Slot& slot, const rules::Board& board, std::string* error, std::string* warning,
              std::string* notice);

// The system's reason for a failure (sys::Error), in Czech for those a player can meet (a
// missing file, no permission, a full disk, ...), in the system's words for any other.
std::string Reason(int error);

// Reads all of `handle` into `text`, but never more than `limit` bytes: 0, sys::TooLarge
// when there is more, or the system's error of a failed read.
int ReadAtMost(std::intptr_t handle, std::size_t limit, std::string& text);

// Reads and checks `file`; returns nothing and says why (naming the path, and the system's
// reason where the system refused) when it is missing, not a plain file, too large,
// unreadable or not a saved board. Then the newest of the temporary files that saves
// left beside it which holds a whole, valid board is taken instead: where the system
// replaces a file by deleting it before the rename (FAT and exFAT on Windows), a power cut
// or a pulled stick in between leaves only that one. The next save puts hra.dat back.
std::optional<rules::Board> LoadGame(const std::filesystem::path& file,
                                     std::string* error = nullptr);

}  // namespace savegame
