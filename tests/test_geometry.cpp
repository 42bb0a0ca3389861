#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "geometry.h"

using screen::CellAtPoint;
using screen::CellRectTable;

namespace {

CellRectTable Table() {
    CellRectTable table;
    screen::InitCellGeometry(table);
    return table;
}

}  // namespace

// A quarter of the spare room right and down from the design place (3360, 1800 twips).
TEST(CellGeometry, BoardPlaceTakesAQuarterOfTheSpareRoom) {
    const screen::PixelPoint small = screen::BoardPlace(1024, 768);
    EXPECT_EQ(small.x, 404);  // (3360 + (7680 - 2295) / 2) / 15 = 403.5, rounded up
    EXPECT_EQ(small.y, 224);  // (1800 + (5760 - 2632.5) / 2) / 15 = 224.25
    const screen::PixelPoint wider = screen::BoardPlace(1024 + 60, 768 + 120);
    EXPECT_EQ(wider.x - small.x, 15);
    EXPECT_EQ(wider.y - small.y, 30);
}

// A window of any size shows the board and the information whole: at its own size where
// they fit, otherwise the smallest layout that holds them, scaled down to the window.
TEST(CellGeometry, AnyWindowShowsTheBoardAndTheInformationWhole) {
    for (int width = 0; width <= 1600; width += 37) {
        for (int height = 0; height <= 1200; height += 41) {
            const screen::FittedLayout fitted = screen::FitLayout(width, height, 560, 250);
            const screen::PixelPoint board = screen::BoardPlace(fitted.width, fitted.height);
            ASSERT_GT(fitted.scale, 0);
            ASSERT_LE(fitted.scale, 1);
            EXPECT_LE(board.x + 306, fitted.width) << width << "x" << height;
            EXPECT_LE(board.y + 351, fitted.height) << width << "x" << height;
            EXPECT_LE(560, fitted.width);
            if (fitted.scale == 1) {
                EXPECT_EQ(fitted.width, width);
            }
            // Shown scaled, the layout fills the window.
            EXPECT_NEAR(fitted.width * fitted.scale, std::max(width, 1), 1);
        }
    }
}

TEST(CellGeometry, EdgesGapsAndFrameHitNothing) {
    const CellRectTable t = Table();
    EXPECT_EQ(CellAtPoint(t, 1980, 400), 0);  // shared edge of 3 and 4
    EXPECT_EQ(CellAtPoint(t, 3885, 300), 0);  // gap between 6 and 7
    EXPECT_EQ(CellAtPoint(t, 59, 4000), 0);
    EXPECT_EQ(CellAtPoint(t, 60, 4000), 0);  // on the left edge of 43
    EXPECT_EQ(CellAtPoint(t, 61, 4000), 43);
    EXPECT_EQ(CellAtPoint(t, 300, 5160), 0);
    EXPECT_EQ(CellAtPoint(t, 300, 5159), 50);
    EXPECT_EQ(CellAtPoint(t, 90, 400), 0);  // left edge of cell 1
    EXPECT_EQ(CellAtPoint(t, 400, 90), 0);  // top edge of cell 1
    EXPECT_EQ(CellAtPoint(t, -5, -5), 0);
    EXPECT_EQ(CellAtPoint(t, 100000, 100000), 0);
}

TEST(CellGeometry, OverlapStripsBelongToTheLowerNumberedCell) {
    const CellRectTable t = Table();
    // Exactly these nine pairs overlap; a point inside each strip picks the first cell.
    const std::set<std::pair<int, int>> expected = {
        {2, 9}, {12, 18}, {12, 19}, {14, 21}, {22, 29}, {26, 33}, {29, 36}, {33, 40}, {48, 55}};
    std::set<std::pair<int, int>> found;
    for (int a = 1; a <= 56; ++a) {
        for (int b = a + 1; b <= 56; ++b) {
            const int x1 = std::max(t[a].x1, t[b].x1), x2 = std::min(t[a].x2, t[b].x2);
            const int y1 = std::max(t[a].y1, t[b].y1), y2 = std::min(t[a].y2, t[b].y2);
            if (x1 >= x2 || y1 >= y2) continue;
            found.insert({a, b});
            const int x = (x1 + x2) / 2, y = (y1 + y2) / 2;
            EXPECT_EQ(CellAtPoint(t, x, y), a) << a << " and " << b;
        }
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(CellAtPoint(t, 2602, 1342), 12);  // the 15 x 15 square of 12 and 18
    EXPECT_EQ(CellAtPoint(t, 3000, 1340), 12);  // 12 over 19
    EXPECT_EQ(CellAtPoint(t, 3000, 1360), 19);  // below the strip
}

TEST(CellGeometry, TableIsAGridInNumberOrderWithinTheBoardPicture) {
    const CellRectTable t = Table();
    for (int n = 1; n <= 56; ++n) {
        const auto& r = t[n];
        EXPECT_NEAR(r.x2 - r.x1, 622, 23) << n;
        EXPECT_NEAR(r.y2 - r.y1, 622, 53) << n;
        // The middle of every cell lies near where a regular 630-twip grid puts it and
        // hits that very cell.
        const int cx = (r.x1 + r.x2) / 2, cy = (r.y1 + r.y2) / 2;
        EXPECT_NEAR(cx, 90 + 630 * (screen::CellColumn(n) - 1) + 315, 60) << n;
        EXPECT_NEAR(cy, 90 + 630 * (screen::CellRow(n) - 1) + 315, 60) << n;
        EXPECT_EQ(CellAtPoint(t, cx, cy), n);
    }
}

TEST(CellGeometry, CellNumbersRunLeftToRightThenTopToBottom) {
    const int known[][3] = {{1, 1, 1}, {7, 7, 1}, {8, 1, 2}, {49, 7, 7}, {50, 1, 8}, {56, 7, 8}};
    for (const auto& [n, column, row] : known) {
        EXPECT_EQ(screen::CellColumn(n), column) << n;
        EXPECT_EQ(screen::CellRow(n), row) << n;
    }
    for (int n = 1; n <= 56; ++n)
        EXPECT_EQ(screen::CellNumber(screen::CellColumn(n), screen::CellRow(n)), n);
}
