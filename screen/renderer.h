#pragma once

#include "drawing.h"
#include "game_state.h"

// The game window's pictures, drawn through a frontend's painter: the board with its
// pieces, the balance bar, and the tiled background. `devicePixels` is how many of the
// screen's pixels make one pixel of the layout (2 on a sharp screen, less in a page scaled
// down), so that the thinnest line is still one pixel wide.
namespace screen {

// The board picture, then the pieces of every cell, row by row.
void DrawBoardPicture(drawing::Painter& painter, const rules::GameState& state,
                      double devicePixels);

// The balance bar, `widthTwips` wide and BarHeightTwips high.
void DrawBalanceBar(drawing::Painter& painter, const rules::GameState& state, double widthTwips,
                    double devicePixels);

// Black, then the tile (its picture `tileWidth` by `tileHeight` pixels) from the window's
// corner on, each a little over its neighbours.
void DrawBackground(drawing::Painter& painter, double widthTwips, double heightTwips, int tileWidth,
                    int tileHeight);

}  // namespace screen
