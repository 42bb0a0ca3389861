#include "renderer.h"

#include <algorithm>
#include <cmath>

#include "content.h"
#include "geometry.h"

namespace screen {
namespace {

// Half a picture's size in hundredths of a millimetre at 96 dots per inch, used as twips:
// the step of the background tiling, so neighbouring tiles overlap a little.
double TileStep(int pixels) {
    return std::round(pixels * 2540.0 / 96.0) / 2.0;
}

}  // namespace

void DrawBoardPicture(drawing::Painter& painter, const rules::GameState& state,
                      double devicePixels) {
    painter.Picture(picture::Board, 0, 0, BoardWidthTwips, BoardHeightTwips);
    // The classic board outlined each disc in its own colour: the one-pixel outline
    // straddles the edge, so the disc is filled half a device pixel wider instead.
    const double halfPixel = TwipsPerPixel / 2.0 / devicePixels;
    for (drawing::Disc disc : drawing::Pieces(state, Cells())) {
        disc.radius += halfPixel;
        painter.Fill(disc);
    }
}

void DrawBalanceBar(drawing::Painter& painter, const rules::GameState& state, double widthTwips,
                    double devicePixels) {
    const double onePixel = TwipsPerPixel / devicePixels;
    for (drawing::Box box : drawing::BalanceBar(state, widthTwips, BarHeightTwips)) {
        if (box.atLeastOnePixel) box.width = std::max(box.width, onePixel);
        painter.Fill(box);
    }
}

void DrawBackground(drawing::Painter& painter, double widthTwips, double heightTwips, int tileWidth,
                    int tileHeight) {
    painter.Fill(drawing::Box{0, 0, widthTwips, heightTwips, 0});
    const double stepX = TileStep(tileWidth), stepY = TileStep(tileHeight);
    for (double y = 1; y <= heightTwips; y += stepY)
        for (double x = 1; x <= widthTwips; x += stepX)
            painter.Picture(picture::Tile, x, y, tileWidth * TwipsPerPixel,
                            tileHeight * TwipsPerPixel);
}

}  // namespace screen
