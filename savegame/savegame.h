#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "board.h"

// The saved game: the owner and the count of each of the 56 cells, row by row, as 112
// lines of text. Nothing else is kept (not the player to move, nor the round).
namespace savegame {

inline constexpr const char* FileName = "hra.dat";
inline constexpr int ValueCount = 2 * rules::Cells;
// A real save is 560 bytes; anything much larger is not one of ours and is not read.
inline constexpr std::uintmax_t MaxFileSize = 64 * 1024;

// 112 lines, each a sign position (blank or minus), the digits, one blank and CR LF.
std::string FormatBoard(const rules::Board& board);

// Reads the whole text before it yields a board: exactly 112 whole numbers, one a line,
// blanks around them ignored, CR LF or LF, blank lines after them only; owners 0..2 and
// counts 0..4. On failure returns nothing and says why (in Czech) in `error`.
std::optional<rules::Board> ParseBoard(std::string_view text, std::string* error = nullptr);

// Where the save lives: beside the program.
std::filesystem::path SaveFilePath(const std::filesystem::path& programDirectory);

// Writes a temporary file beside `file`, flushes it and renames it over `file`, so a
// failed save leaves the previous one as it was. Returns false and says why on failure.
bool SaveGame(const std::filesystem::path& file, const rules::Board& board,
              std::string* error = nullptr);

// Reads and checks `file`; returns nothing and says why when it is missing, too large,
// unreadable or not a saved board.
std::optional<rules::Board> LoadGame(const std::filesystem::path& file,
                                     std::string* error = nullptr);

}  // namespace savegame
