#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "board.h"

// The saved game's text: the owner and the count of each of the 56 cells, row by row, as
// 112 lines. Nothing else is kept (not the player to move, nor the round). Plain text in,
// plain text out: where it is kept is the frontend's (a file on the desktop).
namespace savegame {

inline constexpr int ValueCount = 2 * rules::Cells;

// 112 lines, each a sign position (blank or minus), the digits, one blank and CR LF.
std::string FormatBoard(const rules::Board& board);

// Reads the whole text before it yields a board: exactly 112 whole numbers, one a line,
// blanks around them ignored, CR LF or LF, blank lines after them only; owners 0..2 and
// counts 0..4. On failure returns nothing and says why (in Czech) in `error`.
std::optional<rules::Board> ParseBoard(std::string_view text, std::string* error = nullptr);

}  // namespace savegame
