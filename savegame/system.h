#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// What the saved game needs of the operating system, in one small interface: its POSIX
// version is system_posix.cpp, its Windows version system_windows.cpp, and the build
// takes the one of the system it builds for. Nothing else in the module calls the system
// (listing a folder's names goes through the standard library, the same everywhere).
namespace savegame::sys {

// A failure as this system numbers them: errno on POSIX, GetLastError() on Windows.
// 0 is success.
using Error = int;

// The failures the module names of its own accord.
extern const Error NotFound;    // no such file or folder
extern const Error NoFolder;    // the folder of a path does not exist
extern const Error Exists;      // a new file's name is taken
extern const Error IsFolder;    // a folder where a file was asked for
extern const Error NotFolder;   // a file where a folder was asked for
extern const Error TooLarge;    // more bytes than a saved game has
extern const Error ShortWrite;  // the system took none of the bytes it was given

// The reason for `error` in Czech, for every failure a player can meet (a missing file,
// no permission, a full disk, a file another program holds, ...), in the system's own
// words for any other.
std::string Reason(Error error);
// The system's own words, whatever they are.
std::string SystemMessage(Error error);
// A path as the messages show it: UTF-8 with this system's separators. A name the system
// allows but UTF-8 cannot hold (an unpaired surrogate on Windows) shows U+FFFD in its
// place: this never fails.
std::string PathText(const std::filesystem::path& path);

// An open file; -1 is none.
using Handle = std::intptr_t;
inline constexpr Handle NoHandle = -1;

// Makes `file` anew for writing; fails with the system's error when it exists already.
Error CreateNew(const std::filesystem::path& file, Handle* handle);
// Opens `file` for reading, whatever kind of file it is. Unless `wait`, the opening does
// not wait for a pipe's writer: a pipe named hra.dat must not hang the game.
Error OpenToRead(const std::filesystem::path& file, Handle* handle, bool wait = false);
// Standard input, which is never closed.
Handle StandardInput();

enum class Kind { Plain, Folder, Other };
Error KindOf(Handle handle, Kind* kind);

// One read or write of at most `size` bytes; `*done` is how many were moved (0 at the end
// of a file). Interrupted calls are made again.
Error Read(Handle handle, char* data, std::size_t size, std::size_t* done);
Error Write(Handle handle, const char* data, std::size_t size, std::size_t* done);
// Puts what was written on the disk.
Error Flush(Handle handle);
Error Close(Handle handle);

// Puts `from` in the place of `to` in one step, replacing it: there is always one whole
// file at `to`, the old or the new, and the new one is on the disk when this returns.
Error Replace(const std::filesystem::path& from, const std::filesystem::path& to);
void Remove(const std::filesystem::path& file);
// Puts the folder's list of names on the disk, where the system needs that done apart
// from the files.
Error SyncFolder(const std::filesystem::path& folder);
Error MakeFolders(const std::filesystem::path& folder);

// A number no other running program has: temporary names of their own.
unsigned long ProcessId();

// Whether this program may make files in `folder`.
bool MayCreateIn(const std::filesystem::path& folder);
// Whether `folder` lies where nothing of the player's may be kept: on POSIX systems in
// /usr, which belongs to the package manager; on Windows in the temporary folder, which
// the system empties by itself (a program started from inside a zip in Explorer runs
// there).
bool InForeignFolder(const std::filesystem::path& folder);
// Whether `error` is the system refusing to write there (no permission, a read-only file
// or medium) rather than failing to: another folder may take the save.
bool IsRefusal(Error error);
// The player's own data folder for the game, as the system names it; empty when there is
// none.
std::filesystem::path PlayerDataFolder();

}  // namespace savegame::sys
