#include "drawing.h"

#include <algorithm>
#include <cmath>

namespace drawing {
namespace {

struct Offset {
    int x;
    int y;
};
constexpr Offset TopLeft{150, 150};
constexpr Offset TopRight{430, 150};
constexpr Offset Centre{300, 300};
constexpr Offset BottomLeft{150, 430};
constexpr Offset BottomRight{430, 430};

// The positions drawn for counts 1 to 4, in drawing order.
constexpr Offset Positions[5][4] = {
    {},
    {Centre},
    {TopLeft, BottomRight},
    {Centre, TopLeft, BottomRight},
    {TopLeft, TopRight, BottomRight, BottomLeft},
};

constexpr int MainRadius = 50;
constexpr int ShadowRadius = 40;
constexpr int ShadowShift = 20;

}  // namespace

std::vector<Disc> Pieces(const rules::GameState& state, const screen::CellRectTable& CellRect) {
    std::vector<Disc> discs;
    for (int row = 1; row <= rules::Rows; ++row) {
        for (int column = 1; column <= rules::Columns; ++column) {
            const int owner = state.board.Owner(column, row);
            const int count = state.board.Count(column, row);
            // An unowned cell has no colour to draw in; a saved file could still pair
            // owner 0 with pieces, and those stay invisible rather than borrow a colour.
            if (owner != 1 && owner != 2) continue;
            if (count < 1 || count > 4) continue;
            const rules::Color piece = owner == 1 ? state.Player1Color : state.Player2Color;
            const rules::Color shadow =
                owner == 1 ? state.Player1DarkColor : state.Player2Color - 90;
            const screen::CellBounds& cell = CellRect[screen::CellNumber(column, row)];
            for (int i = 0; i < count; ++i) {
                const Offset at = Positions[count][i];
                discs.push_back({static_cast<double>(cell.x1 + at.x + ShadowShift),
                                 static_cast<double>(cell.y1 + at.y + ShadowShift), ShadowRadius,
                                 shadow});
                discs.push_back({static_cast<double>(cell.x1 + at.x),
                                 static_cast<double>(cell.y1 + at.y), MainRadius, piece});
            }
        }
    }
    return discs;
}

std::vector<Box> BalanceBar(const rules::GameState& state, double widthTwips, double heightTwips) {
    const int total1 = rules::CountPieces(state, 1);
    const int total2 = rules::CountPieces(state, 2);
    std::vector<Box> boxes;
    boxes.push_back({0, 0, widthTwips, heightTwips, rules::Rgb(0, 0, 0)});

    int s = 0;
    for (int y = 0; y <= heightTwips; y += 10) {
        s += 3;
        // RGB(s, s, s) + s as a number: the extra s lands in the red byte.
        boxes.push_back({0, static_cast<double>(y), widthTwips, 10, rules::Rgb(s, s, s) + s});
    }
    if (total1 + total2 == 0) return boxes;

    const double half = widthTwips / 2;
    const double end = half + (half / (total1 + total2)) * (total2 - total1);
    int t = 0;
    for (int y = 0; y <= heightTwips; y += 10) {
        rules::Color colour = 0;
        t += 15;
        if (total1 > total2) colour = rules::Rgb(0, 0, 255 - t);
        if (total1 < total2) colour = state.Player2Color - t;
        // A filled box includes both of its edges, so equal totals still leave a line
        // one pixel wide in the middle.
        boxes.push_back(
            {std::min(half, end), static_cast<double>(y), std::abs(end - half), 10, colour, true});
    }
    return boxes;
}

}  // namespace drawing
