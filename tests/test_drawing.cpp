#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "drawing.h"
#include "renderer.h"

using drawing::Box;
using drawing::Disc;
using rules::GameState;

namespace {

screen::CellRectTable Cells() {
    screen::CellRectTable table;
    screen::InitCellGeometry(table);
    return table;
}

bool Inside(const Disc& d, const screen::CellBounds& cell) {
    return d.x - d.radius > cell.x1 && d.x + d.radius < cell.x2 && d.y - d.radius > cell.y1 &&
           d.y + d.radius < cell.y2;
}

}  // namespace

// Every count of either player: one shadow and one disc a piece, the shadow first and a
// little to the lower right in the darker shade, every piece whole inside its own cell and
// apart from the others, so that the count can be read off the board.
TEST(Pieces, EachPieceAShadowThenADiscWithinItsCell) {
    const screen::CellRectTable cells = Cells();
    for (int owner : {1, 2})
        for (int count = 1; count <= 4; ++count)
            for (int n : {1, 7, 25, 50, 56}) {
                GameState state;
                state.board.Set(screen::CellColumn(n), screen::CellRow(n), owner, count);
                const std::vector<Disc> discs = drawing::Pieces(state, cells);
                ASSERT_EQ(discs.size(), 2u * count) << owner << " " << count << " " << n;
                const rules::Color piece = owner == 1 ? state.Player1Color : state.Player2Color;
                const rules::Color shadow =
                    owner == 1 ? state.Player1DarkColor : state.Player2Color - 90;
                for (std::size_t i = 0; i < discs.size(); i += 2) {
                    const Disc& s = discs[i];
                    const Disc& d = discs[i + 1];
                    EXPECT_EQ(s.colour, shadow);
                    EXPECT_EQ(d.colour, piece);
                    EXPECT_LT(s.radius, d.radius);
                    EXPECT_GT(s.x, d.x);
                    EXPECT_GT(s.y, d.y);
                    EXPECT_TRUE(Inside(d, cells[n]) && Inside(s, cells[n])) << n;
                    for (std::size_t j = i + 3; j < discs.size(); j += 2)
                        EXPECT_GT(std::hypot(discs[j].x - d.x, discs[j].y - d.y), 2 * d.radius);
                }
            }
}

// What a saved file may hold but the rules never make shows nothing; the cells are drawn
// row by row, left to right.
TEST(Pieces, OnlyOwnedCellsWithOneToFourPiecesShowInBoardOrder) {
    const screen::CellRectTable cells = Cells();
    GameState state;
    state.board.Set(3, 3, 0, 2);  // pieces without an owner
    state.board.Set(4, 3, 1, 0);  // an owner without pieces
    state.board.Set(5, 3, 2, 5);  // more than a cell holds
    EXPECT_TRUE(drawing::Pieces(state, cells).empty());
    state.board.Set(7, 8, 1, 1);
    state.board.Set(1, 1, 2, 1);
    state.board.Set(2, 1, 1, 1);
    const std::vector<Disc> discs = drawing::Pieces(state, cells);
    ASSERT_EQ(discs.size(), 6u);
    EXPECT_TRUE(Inside(discs[1], cells[1]));
    EXPECT_TRUE(Inside(discs[3], cells[2]));
    EXPECT_TRUE(Inside(discs[5], cells[56]));
}

// The bar's black ground and its gradient cover it; the bar from the middle goes towards
// the player ahead, as long as the lead's share of all pieces; equal totals leave a line
// of at least one pixel in the middle, an empty board none.
TEST(BalanceBar, LeansFromTheMiddleTowardsThePlayerAhead) {
    constexpr double W = 4590, H = 150, Half = W / 2;
    auto bar = [](std::initializer_list<std::tuple<int, int, int>> cells) {
        GameState state;
        for (auto [c, owner, count] : cells) state.board.Set(c, 1, owner, count);
        return drawing::BalanceBar(state, W, H);
    };
    auto lead = [](const std::vector<Box>& boxes) {
        std::vector<Box> lead;
        std::copy_if(boxes.begin(), boxes.end(), std::back_inserter(lead),
                     [](const Box& b) { return b.atLeastOnePixel; });
        return lead;
    };
    const std::vector<Box> empty = bar({});
    ASSERT_FALSE(empty.empty());
    EXPECT_EQ(empty.front(), (Box{0, 0, W, H, 0, false}));
    EXPECT_TRUE(lead(empty).empty());
    double covered = 0;
    for (std::size_t i = 1; i < empty.size(); ++i) {
        EXPECT_EQ(empty[i].width, W);
        covered = std::max(covered, empty[i].y + empty[i].height);
    }
    EXPECT_GE(covered, H);
    // The gradient's shades: 3 more in each channel a stripe, and 3 more again in red.
    EXPECT_EQ(empty[1].colour, rules::Rgb(6, 3, 3));
    EXPECT_EQ(empty[2].colour, rules::Rgb(12, 6, 6));

    const std::vector<Box> one = lead(bar({{1, 1, 3}, {2, 2, 1}}));  // 3 to 1: half the half
    ASSERT_FALSE(one.empty());
    for (const Box& b : one) {
        EXPECT_DOUBLE_EQ(b.x + b.width, Half);
        EXPECT_DOUBLE_EQ(b.width, Half / 2);
        EXPECT_EQ(rules::RedOf(b.colour), 0);
        EXPECT_GT(rules::BlueOf(b.colour), 0);
    }
    // Each stripe 15 darker than the one above it, from 240.
    EXPECT_EQ(one.front().colour, rules::Rgb(0, 0, 240));
    EXPECT_EQ(one[1].colour, rules::Rgb(0, 0, 225));

    const std::vector<Box> two = lead(bar({{1, 2, 4}}));  // all player 2's: the whole half
    ASSERT_FALSE(two.empty());
    for (const Box& b : two) {
        EXPECT_DOUBLE_EQ(b.x, Half);
        EXPECT_DOUBLE_EQ(b.width, Half);
        EXPECT_GT(rules::RedOf(b.colour), 0);
        EXPECT_EQ(rules::BlueOf(b.colour), 0);
    }
    EXPECT_EQ(two.front().colour, GameState{}.Player2Color - 15);

    for (const Box& b : lead(bar({{1, 1, 2}, {2, 2, 2}}))) {
        EXPECT_DOUBLE_EQ(b.x, Half);
        EXPECT_DOUBLE_EQ(b.width, 0);
    }
}

namespace {

// What a frontend is asked to paint, in order.
struct Recorder final : drawing::Painter {
    std::vector<std::string> pictures;
    std::vector<std::array<double, 4>> placed;
    std::vector<Disc> discs;
    std::vector<Box> boxes;
    void Picture(const char* name, double x, double y, double width, double height) override {
        pictures.emplace_back(name);
        placed.push_back({x, y, width, height});
    }
    void Fill(const Disc& disc) override { discs.push_back(disc); }
    void Fill(const Box& box) override { boxes.push_back(box); }
};

}  // namespace

// The board picture under the pieces, each disc half a device pixel wider than its shape
// (the classic outline); the bar's middle line one device pixel wide on any screen.
TEST(Renderer, TheBoardAndTheBarAsTheScreensPixelsWantThem) {
    GameState state;
    state.board.Set(1, 1, 1, 2);
    state.board.Set(7, 8, 2, 2);
    for (double devicePixels : {1.0, 2.0, 0.5}) {
        Recorder board;
        screen::DrawBoardPicture(board, state, devicePixels);
        ASSERT_EQ(board.pictures, std::vector<std::string>{"board.png"});
        EXPECT_EQ(board.placed[0], (std::array<double, 4>{0, 0, 4590, 5265}));
        const std::vector<Disc> shapes = drawing::Pieces(state, Cells());
        ASSERT_EQ(board.discs.size(), shapes.size());
        for (std::size_t i = 0; i < shapes.size(); ++i)
            EXPECT_DOUBLE_EQ(board.discs[i].radius, shapes[i].radius + 7.5 / devicePixels);

        Recorder bar;
        screen::DrawBalanceBar(bar, state, 4590, devicePixels);
        const auto line = std::find_if(bar.boxes.begin(), bar.boxes.end(),
                                       [](const Box& b) { return b.atLeastOnePixel; });
        ASSERT_NE(line, bar.boxes.end());
        EXPECT_DOUBLE_EQ(line->width, 15 / devicePixels);
        EXPECT_DOUBLE_EQ(bar.boxes.back().y + bar.boxes.back().height, 160);
    }
}

// Black first, then the tile from the window's corner on, each a little over its
// neighbours, to beyond both edges.
TEST(Renderer, TheBackgroundIsTiledFromTheCornerWithOverlaps) {
    Recorder background;
    screen::DrawBackground(background, 1000 * 15, 700 * 15, 64, 48);
    ASSERT_FALSE(background.boxes.empty());
    EXPECT_EQ(background.boxes.front(), (Box{0, 0, 15000, 10500, 0}));
    ASSERT_FALSE(background.placed.empty());
    EXPECT_EQ(background.placed.front(), (std::array<double, 4>{1, 1, 960, 720}));
    double right = 0, bottom = 0;
    for (std::size_t i = 0; i < background.placed.size(); ++i) {
        const auto& [x, y, width, height] = background.placed[i];
        EXPECT_EQ(background.pictures[i], "tile.png");
        right = std::max(right, x + width), bottom = std::max(bottom, y + height);
        if (i > 0 && background.placed[i - 1][1] == y) {
            EXPECT_DOUBLE_EQ(x - background.placed[i - 1][0], 846.5);  // 64 px at 96 dpi, halved
            EXPECT_LT(x - background.placed[i - 1][0], width);
        }
    }
    EXPECT_GE(right, 15000);
    EXPECT_GE(bottom, 10500);
}
