#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace screen {

void InitCellGeometry(CellRectTable& CellRect) {
    static constexpr CellBounds kCells[CellCount] = {
        {90, 90, 705, 720},       {720, 90, 1335, 720},     {1350, 90, 1980, 690},
        {1980, 90, 2595, 690},    {2610, 90, 3225, 690},    {3225, 105, 3870, 705},
        {3900, 75, 4500, 690},    {90, 720, 690, 1335},     {720, 705, 1350, 1350},
        {1350, 720, 1950, 1335},  {1995, 720, 2595, 1320},  {2595, 705, 3225, 1350},
        {3240, 720, 3870, 1350},  {3870, 720, 4500, 1350},  {75, 1365, 705, 1965},
        {720, 1380, 1335, 1965},  {1350, 1335, 1965, 1980}, {1965, 1335, 2610, 1980},
        {2610, 1320, 3240, 1965}, {3240, 1350, 3870, 1965}, {3870, 1335, 4485, 1950},
        {90, 1995, 720, 2640},    {720, 1995, 1335, 2610},  {1350, 1980, 1965, 2595},
        {1965, 1980, 2565, 2580}, {2595, 1980, 3240, 2610}, {3240, 1980, 3870, 2610},
        {3885, 1965, 4515, 2610}, {75, 2625, 675, 3240},    {720, 2625, 1335, 3240},
        {1350, 2610, 1950, 3225}, {1980, 2610, 2595, 3225}, {2595, 2580, 3240, 3255},
        {3240, 2610, 3870, 3255}, {3870, 2640, 4485, 3210}, {60, 3225, 705, 3900},
        {705, 3255, 1350, 3870},  {1350, 3240, 1965, 3870}, {1965, 3240, 2595, 3885},
        {2595, 3240, 3240, 3885}, {3240, 3255, 3870, 3885}, {3870, 3240, 4515, 3885},
        {60, 3900, 705, 4500},    {705, 3900, 1320, 4485},  {1350, 3885, 1950, 4470},
        {1965, 3885, 2580, 4485}, {2610, 3885, 3225, 4485}, {3255, 3885, 3870, 4515},
        {3885, 3885, 4500, 4500}, {60, 4515, 705, 5160},    {720, 4515, 1335, 5130},
        {1350, 4530, 1965, 5145}, {1965, 4515, 2580, 5145}, {2580, 4500, 3225, 5145},
        {3240, 4485, 3855, 5130}, {3885, 4515, 4515, 5145},
    };
    CellRect[0] = {};
    for (int n = 1; n <= CellCount; ++n) CellRect[n] = kCells[n - 1];
}

const CellRectTable& Cells() {
    static const CellRectTable table = [] {
        CellRectTable filled{};
        InitCellGeometry(filled);
        return filled;
    }();
    return table;
}

int CellAtPoint(const CellRectTable& CellRect, int x, int y) {
    for (int n = 1; n <= CellCount; ++n) {
        const CellBounds& r = CellRect[n];
        if (x > r.x1 && y > r.y1 && x < r.x2 && y < r.y2) return n;
    }
    return 0;
}

PixelPoint BoardPlace(int areaWidth, int areaHeight) {
    const double left = 3360 + (areaWidth * TwipsPerPixel / 2.0 - BoardWidthTwips / 2.0) * 0.5;
    const double top = 1800 + (areaHeight * TwipsPerPixel / 2.0 - BoardHeightTwips / 2.0) * 0.5;
    return {static_cast<int>(std::lround(left / TwipsPerPixel)),
            static_cast<int>(std::lround(top / TwipsPerPixel))};
}

FittedLayout FitLayout(int windowWidth, int windowHeight, int informationRight,
                       int informationBottom) {
    int width = std::max(informationRight, 1), height = std::max(informationBottom, 1);
    while (BoardPlace(width, height).x + BoardWidthTwips / TwipsPerPixel > width) ++width;
    while (BoardPlace(width, height).y + BoardHeightTwips / TwipsPerPixel > height) ++height;
    // A window of no size (a page not laid out yet) counts as one pixel.
    windowWidth = std::max(windowWidth, 1);
    windowHeight = std::max(windowHeight, 1);
    FittedLayout fitted;
    fitted.scale = std::min({1.0, static_cast<double>(windowWidth) / width,
                             static_cast<double>(windowHeight) / height});
    fitted.width = static_cast<int>(std::lround(windowWidth / fitted.scale));
    fitted.height = static_cast<int>(std::lround(windowHeight / fitted.scale));
    return fitted;
}

}  // namespace screen
