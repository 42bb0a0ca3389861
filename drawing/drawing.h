#pragma once

#include <vector>

#include "game_state.h"
#include "geometry.h"

// What the board and the balance bar show, worked out from a const game state as a plain
// list of shapes in twips (15 to a pixel), and the one small interface a frontend paints
// them through: the Qt window with QPainter, a browser page with its canvas.
namespace drawing {

// A filled disc, its centre and radius in twips. The classic board outlined each disc in
// its own colour: a painter fills it half a device pixel wider instead.
struct Disc {
    double x = 0;
    double y = 0;
    double radius = 0;
    rules::Color colour = 0;
    bool operator==(const Disc&) const = default;
};

// A filled box in twips. `atLeastOnePixel`: never narrower than one device pixel (the
// balance bar's line when both players have as many pieces).
struct Box {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    rules::Color colour = 0;
    bool atLeastOnePixel = false;
    bool operator==(const Box&) const = default;
};

// What a frontend paints with, each call in twips over the surface being drawn, in order,
// hard-edged: a picture (by its file's name) stretched over a box, a filled disc, a filled
// box.
class Painter {
  public:
    virtual ~Painter() = default;
    virtual void Picture(const char* name, double x, double y, double width, double height) = 0;
    virtual void Fill(const Disc& disc) = 0;
    virtual void Fill(const Box& box) = 0;
};

// The pieces of every cell, row by row over the board picture (whose top-left corner is
// the origin of CellRect): each piece its shadow, then its disc. A cell of owner 0, or
// with a count outside 1..4 (a saved file may hold one), shows nothing.
std::vector<Disc> Pieces(const rules::GameState& state, const screen::CellRectTable& CellRect);

// The balance bar of the given size: its grey-brown gradient in stripes, then, when there
// are pieces, a bar from the middle towards the player ahead (player 1 left and blue,
// player 2 right and red) as long as the lead, darker stripe by stripe.
std::vector<Box> BalanceBar(const rules::GameState& state, double widthTwips, double heightTwips);

}  // namespace drawing
