#pragma once

#include <QColor>
#include <QPixmap>

#include "game_state.h"
#include "geometry.h"

class QPainter;

// Draws a game state. Everything is measured in twips (15 to a pixel) and painted through
// a QPainter set up in logical pixels, so a sharp screen gets sharp pieces and tests can
// paint into a QImage.
namespace screen {

inline constexpr int BarHeightTwips = 150;

QColor ToQColor(rules::Color color);

// The board picture: the board bitmap, then the pieces of every cell, row by row.
void DrawBoardPicture(QPainter& painter, const QPixmap& bitmap, const rules::GameState& state,
                      const CellRectTable& CellRect);

// Only the pieces, over whatever the painter already shows.
void DrawPieces(QPainter& painter, const rules::GameState& state, const CellRectTable& CellRect);

// The balance bar: a grey gradient, and from its middle a bar towards the leading player's
// side (player 1 left and blue, player 2 right and red), as long as their lead in pieces.
void DrawBalanceBar(QPainter& painter, const rules::GameState& state, double widthTwips,
                    double heightTwips);

}  // namespace screen
