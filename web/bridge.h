#pragma once

#include <string>

#include "controller.h"

// What a browser page and the game's controller say to each other, as plain text: the
// page passes each event on, and reads back the effects, one a line, fields separated by
// tabs (a text field never holds a tab or a line break):
//   timer <none|splash|start-up|set-up|computer> <ms>   start it, every other stopped
//   redraw                                              the board and the bar, again
//   labels <round> <player> <#rrggbb>
//   pointer                                             the board's pointer is back
//   tile                                                tile the background
//   box <game-over|failure|notice> <text>
//   menu <two-players|against-computer> <low|high> <levels enabled 0|1>
//   show-game                                           the splash goes, the game shows
//   quit
//   moved <player>
//   warn <text>                                         for the console, not the player
// and last, always, what follows from the state now:
//   state <phase> <shows game 0|1> <shows information 0|1> <hourglass 0|1> <box 0|1>
namespace web {

std::string Encode(const play::Effects& effects, const play::Controller& game);

// What the screen should show now, for a page that finds its dialogs closed by the
// browser, and for the page's tests: the state line, then a box's line while a box is
// open, the menu's line while the menu is, the player to move and the round, and the
// board, row by row, owner and count:
//   box <kind> <text>
//   menu <mode> <level> <levels enabled>
//   turn <player> <round>
//   board <owner> <count> ... (56 cells)
std::string EncodeView(const play::Controller& game, const play::Menu& menu);

// The board's pieces and the balance bar, as the desktop draws them, in twips:
//   disc <x> <y> <radius> <#rrggbb>
//   bar <x> <y> <width> <height> <#rrggbb> <at least one pixel 0|1>
std::string EncodeDrawing(const rules::GameState& state, double barWidthTwips,
                          double barHeightTwips);

// The menu's line, as it opens and after each choice in it.
std::string EncodeMenu(const play::Menu& menu);

// "#rrggbb" of a colour.
std::string Hex(rules::Color colour);

}  // namespace web
