#pragma once

#include <array>

namespace screen {

inline constexpr int TwipsPerPixel = 15;
inline constexpr int CellCount = 56;
// The board picture.
inline constexpr int BoardWidthTwips = 4590;
inline constexpr int BoardHeightTwips = 5265;
// The balance bar, as wide as the board, just above it.
inline constexpr int BarHeightTwips = 150;

// One cell on the board picture, in twips from the picture's top-left corner.
struct CellBounds {
    int x1 = 0;  // left
    int y1 = 0;  // top
    int x2 = 0;  // right
    int y2 = 0;  // bottom
};

// CellRect[n] for cell n = 1..56; entry 0 is unused. The grid on the board picture is
// drawn by hand, so the cells are a table, not a formula.
using CellRectTable = std::array<CellBounds, CellCount + 1>;

void InitCellGeometry(CellRectTable& CellRect);
// The table filled once, for callers that keep none of their own.
const CellRectTable& Cells();

// The first cell (lowest number) whose rectangle strictly contains the point, or 0.
// Points on an edge or in a gap between cells hit nothing.
int CellAtPoint(const CellRectTable& CellRect, int x, int y);

// Where the board picture's top-left corner lies in the game window, in pixels, when the
// screen's available area is `areaWidth` by `areaHeight` pixels: a quarter of the spare
// room right and down from its design place (3360, 1800 twips).
struct PixelPoint {
    int x = 0;
    int y = 0;
};
PixelPoint BoardPlace(int areaWidth, int areaHeight);

// The game window's layout in a window that may be too small for it (a browser page on a
// phone): where the board and the information text (ending at `informationRight`,
// `informationBottom`) fit whole, it is the window's size; otherwise it is laid out as on
// the smallest screen they fit on, and shown `scale` times as big (below 1).
struct FittedLayout {
    int width = 0;
    int height = 0;
    double scale = 1;
};
FittedLayout FitLayout(int windowWidth, int windowHeight, int informationRight,
                       int informationBottom);

// Cell numbers run left to right, then top to bottom.
constexpr int CellColumn(int cell) {
    return (cell - 1) % 7 + 1;
}
constexpr int CellRow(int cell) {
    return (cell - 1) / 7 + 1;
}
constexpr int CellNumber(int column, int row) {
    return 7 * (row - 1) + column;
}

}  // namespace screen
