// What the browser page reads from the game: each effect as its line, in order, and the
// state line last; texts kept on one field whatever they hold; the board's discs and the
// bar where the desktop draws them; the menu's line as its rules change it.
#include <gtest/gtest.h>

#include <algorithm>

#include "bridge.h"
#include "geometry.h"
#include "play_support.h"

namespace {

using namespace play_support;
using play::Timer;

class Bridge : public ::testing::Test {
  protected:
    MemoryStorage storage;
    rules::ClockMixedRandom random{5, [] { return std::uint64_t{11}; }};
    play::Controller game{random, storage, 1000};

    std::string Say(const play::Effects& effects) { return web::Encode(effects, game); }
    void StartTwoPlayers() {
        game.Shown(play::Window::Game);
        game.TimerDue(Timer::StartUp);
        game.MenuClosed(play::Menu{}, play::MenuAction::Start);
        game.TimerDue(Timer::SetUp);
    }
};

TEST_F(Bridge, EachEffectIsOneLineInOrderAndTheStateComesLast) {
    EXPECT_EQ(Say(game.Shown(play::Window::Splash)),
              "timer\tsplash\t4000\n"
              "state\tSplash\t0\t0\t0\t0\n");
    EXPECT_EQ(Say(game.TimerDue(Timer::Splash)),
              "timer\tnone\t0\n"
              "show-game\n"
              "state\tGameWindowDue\t0\t0\t0\t0\n");
    game.Shown(play::Window::Game);
    EXPECT_EQ(Say(game.TimerDue(Timer::StartUp)),
              "pointer\n"
              "tile\n"
              "timer\tnone\t0\n"
              "menu\ttwo-players\tlow\t0\n"
              "state\tMenu\t0\t0\t0\t0\n");

    play::Menu againstComputer;
    againstComputer.ChooseMode(rules::AgainstComputer);
    game.MenuClosed(againstComputer, play::MenuAction::Start);
    game.TimerDue(Timer::SetUp);
    // A person's move: the computer's timer, the hourglass in the state.
    EXPECT_EQ(Say(game.CellPressed(Cell(4, 4))),
              "pointer\n"
              "redraw\n"
              "labels\t1 kolo\tHráč:2\t#ff0000\n"
              "moved\t1\n"
              "timer\tcomputer\t1000\n"
              "state\tComputerArmed\t1\t0\t1\t0\n");
    const std::string answer = Say(game.TimerDue(Timer::Computer));
    EXPECT_NE(answer.find("moved\t2\n"), std::string::npos) << answer;
    EXPECT_TRUE(answer.ends_with("state\tPersonToMove\t1\t0\t0\t0\n")) << answer;
}

TEST_F(Bridge, ATextStaysOneFieldWhateverItHolds) {
    StartTwoPlayers();
    storage.failure = "plné\tú\nložiště\r";
    const std::string said = Say(game.SavePressed());
    EXPECT_NE(said.find("box\tfailure\tHru se nepodařilo uložit. plné ú ložiště \n"),
              std::string::npos)
        << said;
    EXPECT_TRUE(said.ends_with("\t1\n")) << "a box is open: " << said;
}

// The view a page asks for when its browser closed a dialog by itself: the open box with
// its text, else the menu as it is set; and the board, row by row.
TEST_F(Bridge, TheViewSaysTheOpenDialogAndTheBoard) {
    game.Shown(play::Window::Game);
    game.TimerDue(Timer::StartUp);
    play::Menu chosen;
    chosen.ChooseMode(rules::AgainstComputer);
    std::string view = web::EncodeView(game, chosen);
    EXPECT_TRUE(view.starts_with("state\tMenu\t0\t0\t0\t0\nmenu\tagainst-computer\tlow\t1\n"))
        << view;

    game.MenuClosed(play::Menu{}, play::MenuAction::Start);
    game.TimerDue(Timer::SetUp);
    game.CellPressed(Cell(2, 1));
    game.CellPressed(Cell(7, 8));
    storage.failure = "plné";
    game.SavePressed();
    view = web::EncodeView(game, chosen);
    EXPECT_TRUE(
        view.starts_with("state\tPersonToMove\t1\t0\t0\t1\n"
                         "box\tfailure\tHru se nepodařilo uložit. plné\n"
                         "turn\t1\t2\nboard\t0\t0\t1\t1\t"))
        << view;
    EXPECT_TRUE(view.ends_with("\t0\t0\t2\t1\n")) << view;
    EXPECT_EQ(std::count(view.begin(), view.end(), '\t'), 5 + 2 + 2 + 112) << view;
}

TEST_F(Bridge, DiscsAndBarAreWhereTheDesktopDrawsThem) {
    rules::GameState state;
    EXPECT_EQ(web::EncodeDrawing(state, 4590, 150).find("disc"), std::string::npos);

    state.board.Set(1, 1, 1, 1);
    state.board.Set(7, 8, 2, 2);
    const std::string drawn = web::EncodeDrawing(state, 4590, 150);
    const screen::CellBounds& first = screen::Cells()[Cell(1, 1)];
    const screen::CellBounds& last = screen::Cells()[Cell(7, 8)];
    auto disc = [](int x, int y, int radius, const char* colour) {
        return "disc\t" + std::to_string(x) + "\t" + std::to_string(y) + "\t" +
               std::to_string(radius) + "\t" + colour + "\n";
    };
    // Row by row; each piece its shadow, then its disc: one in the middle, two corner to
    // corner.
    const std::string pieces =
        disc(first.x1 + 320, first.y1 + 320, 40, "#0000a5") +
        disc(first.x1 + 300, first.y1 + 300, 50, "#0000ff") +
        disc(last.x1 + 170, last.y1 + 170, 40, web::Hex(state.Player2Color - 90).c_str()) +
        disc(last.x1 + 150, last.y1 + 150, 50, "#ff0000") +
        disc(last.x1 + 450, last.y1 + 450, 40, web::Hex(state.Player2Color - 90).c_str()) +
        disc(last.x1 + 430, last.y1 + 430, 50, "#ff0000");
    ASSERT_TRUE(drawn.starts_with(pieces)) << drawn;
    // The bar: its black ground first, the whole size, then its stripes.
    EXPECT_EQ(drawn.substr(pieces.size(), drawn.find('\n', pieces.size()) + 1 - pieces.size()),
              "bar\t0\t0\t4590\t150\t#000000\t0\n");
    EXPECT_EQ(web::Hex(rules::Rgb(1, 2, 3)), "#010203");
}

TEST(BridgeMenu, TheMenusLineFollowsItsRules) {
    play::Menu menu;
    EXPECT_EQ(web::EncodeMenu(menu), "menu\ttwo-players\tlow\t0");
    menu.ChooseLevel(rules::HighDifficulty);
    EXPECT_EQ(web::EncodeMenu(menu), "menu\ttwo-players\tlow\t0");
    menu.ChooseMode(rules::AgainstComputer);
    menu.ChooseLevel(rules::HighDifficulty);
    EXPECT_EQ(web::EncodeMenu(menu), "menu\tagainst-computer\thigh\t1");
    menu.ChooseMode(rules::TwoPlayers);
    EXPECT_EQ(web::EncodeMenu(menu), "menu\ttwo-players\thigh\t0");
}

}  // namespace
