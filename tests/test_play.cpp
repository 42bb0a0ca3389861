// The turn cycle's rules, each as a player meets it: the splash and the start-up, the menu,
// a game's moves, the computer's delay and the boxes that hold it, the end of a game and
// what its menu leads to, saving and loading.
#include <gtest/gtest.h>

#include "board_text.h"
#include "controller.h"
#include "play_support.h"

namespace {

using namespace play_support;
using play::Phase;
using play::Timer;

constexpr int Delay = 1000;

class TurnCycle : public ::testing::Test {
  protected:
    MemoryStorage storage;
    rules::ClockMixedRandom random{5, [] { return std::uint64_t{11}; }};
    play::Controller game{random, storage, Delay};

    // The game window shows and its start-up opens the menu.
    play::Effects ToTheMenu() {
        game.Shown(play::Window::Game);
        return game.TimerDue(Timer::StartUp);
    }
    play::Menu Chosen(rules::Mode mode, rules::Level level = rules::LowDifficulty) {
        play::Menu menu;
        menu.ChooseMode(rules::AgainstComputer);
        menu.ChooseLevel(level);
        menu.ChooseMode(mode);
        return menu;
    }
    // A game started from the menu now open, and set up.
    play::Effects Begin(rules::Mode mode, rules::Level level = rules::LowDifficulty) {
        Leave(game, Chosen(mode, level), play::MenuAction::Start);
        return game.TimerDue(Timer::SetUp);
    }
    // Another game from its start: the start-up, then `mode` at `level` from the menu.
    void BeginAnew(play::Controller& other, rules::Mode mode, rules::Level level) {
        other.Shown(play::Window::Game);
        other.TimerDue(Timer::StartUp);
        Leave(other, Chosen(mode, level), play::MenuAction::Start);
        other.TimerDue(Timer::SetUp);
    }
    // Two people: player 1 fills (2,1) while player 2 fills (1,1); player 1's fifth piece
    // bursts (2,1), takes (1,1), which bursts in turn, and player 2 has nothing left.
    play::Effects PlayTwoPlayerGameToItsEnd() {
        for (int turn = 0; turn < 4; ++turn) {
            game.CellPressed(Cell(2, 1));
            game.CellPressed(Cell(1, 1));
        }
        return game.CellPressed(Cell(2, 1));
    }
};

TEST_F(TurnCycle, TheSplashStandsFourSecondsThenTheGameWindowStartsUpOnce) {
    EXPECT_EQ(game.Shown(play::Window::Splash),
              (play::Effects{play::StartTimer{Timer::Splash, 4000}}));
    EXPECT_TRUE(game.TimerDue(Timer::StartUp).empty()) << "a timer that is not running";
    EXPECT_EQ(game.Screen().window, play::Showing::Splash);
    EXPECT_EQ(game.TimerDue(Timer::Splash), (play::Effects{play::StartTimer{}}));
    EXPECT_EQ(game.Screen().window, play::Showing::Game);
    EXPECT_EQ(game.Shown(play::Window::Game), (play::Effects{play::StartTimer{Timer::StartUp, 1}}));
    EXPECT_FALSE(game.Screen().backgroundTiled);
    EXPECT_EQ(game.TimerDue(Timer::StartUp),
              (play::Effects{play::TileBackground{}, play::StartTimer{}}));
    EXPECT_EQ(game.CurrentPhase(), Phase::Menu);
    const play::View menu = game.Screen();
    EXPECT_EQ(menu.dialog, play::Dialog::Menu);
    EXPECT_EQ(menu.menu, play::Menu{});
    EXPECT_TRUE(menu.backgroundTiled);
    EXPECT_FALSE(menu.showsGame || menu.showsInformation);
    // Shown again (restored after it was minimised): nothing starts again.
    EXPECT_TRUE(game.Shown(play::Window::Game).empty());
    EXPECT_TRUE(game.Shown(play::Window::Splash).empty());
}

TEST_F(TurnCycle, MenuOpensAtItsDefaultsWhateverTheGameWas) {
    ToTheMenu();
    Begin(rules::AgainstComputer, rules::HighDifficulty);
    EXPECT_EQ(game.Game().Difficulty, rules::HighDifficulty);
    game.Escape();
    EXPECT_EQ(game.Screen().dialog, play::Dialog::Menu);
    EXPECT_EQ(game.Screen().menu, play::Menu{});
    EXPECT_FALSE(play::Menu{}.LevelsEnabled());
    // The defaults hold from the menu's opening on, not from its closing.
    EXPECT_EQ(game.Game().GameMode, rules::TwoPlayers);
    EXPECT_EQ(game.Game().Difficulty, rules::LowDifficulty);
}

TEST_F(TurnCycle, MenuLevelsAreChosenOnlyAgainstTheComputerAndKeptForTwoPlayers) {
    game.Choose(play::MenuOption::HighLevel);
    EXPECT_EQ(game.Screen().dialog, play::Dialog::None) << "no menu open";
    ToTheMenu();
    game.Choose(play::MenuOption::HighLevel);
    EXPECT_EQ(game.Screen().menu.level, rules::LowDifficulty) << "greyed for two players";
    game.Choose(play::MenuOption::AgainstComputer);
    EXPECT_TRUE(game.Screen().menu.LevelsEnabled());
    game.Choose(play::MenuOption::HighLevel);
    game.Choose(play::MenuOption::TwoPlayers);
    EXPECT_FALSE(game.Screen().menu.LevelsEnabled());
    EXPECT_EQ(game.Screen().menu.level, rules::HighDifficulty);
    game.Choose(play::MenuOption::LowLevel);
    EXPECT_EQ(game.Screen().menu.level, rules::HighDifficulty) << "greyed again";
    game.MenuClosed(play::MenuAction::Start);
    EXPECT_EQ(game.Game().Difficulty, rules::HighDifficulty);
    EXPECT_EQ(game.Game().GameMode, rules::TwoPlayers);
}

TEST_F(TurnCycle, NewGameWritesOneKoloWithoutItsBlankAndAMoveWithIt) {
    ToTheMenu();
    EXPECT_EQ(game.Screen().labels, play::Labels{});
    const play::Effects start = Leave(game, Chosen(rules::TwoPlayers), play::MenuAction::Start);
    EXPECT_EQ(start, (play::Effects{play::StartTimer{Timer::SetUp, 1}}));
    EXPECT_EQ(game.Screen().labels, (play::Labels{"1kolo", "Hráč:1", rules::Rgb(0, 0, 255)}));
    EXPECT_EQ(game.Screen().dialog, play::Dialog::None);
    EXPECT_EQ(game.CurrentPhase(), Phase::NewGame);
    EXPECT_FALSE(play::ShowsGame(game.CurrentPhase())) << "the old board until the set-up";
    EXPECT_EQ(game.TimerDue(Timer::SetUp), (play::Effects{play::StartTimer{}, play::Redraw{}}));
    EXPECT_EQ(game.Game().board, rules::Board{});
    EXPECT_TRUE(game.Screen().showsGame);
    EXPECT_EQ(game.CellPressed(Cell(4, 4)), (play::Effects{play::Redraw{}, play::MovePlayed{1}}));
    EXPECT_EQ(game.Screen().labels, (play::Labels{"1 kolo", "Hráč:2", 255}));
    EXPECT_EQ(game.CellPressed(Cell(4, 5)), (play::Effects{play::Redraw{}, play::MovePlayed{2}}));
    EXPECT_EQ(game.Screen().labels, (play::Labels{"2 kolo", "Hráč:1", rules::Rgb(0, 0, 255)}));
}

TEST_F(TurnCycle, ComputerMoveHeldUnderABoxComesATickAfterItCloses) {
    ToTheMenu();
    Begin(rules::AgainstComputer);
    game.CellPressed(Cell(4, 4));
    storage.failure = "Soubor hra.dat nelze nahradit novým: disk je plný.";
    EXPECT_TRUE(game.SavePressed().empty());
    const play::View box = game.Screen();
    EXPECT_EQ(box.dialog, play::Dialog::Box);
    EXPECT_EQ(box.boxKind, play::BoxKind::Failure);
    EXPECT_EQ(box.boxText,
              "Hru se nepodařilo uložit. Soubor hra.dat nelze nahradit novým: disk je plný.");
    EXPECT_EQ(game.TimerDue(Timer::Computer), (play::Effects{play::StartTimer{}}));
    EXPECT_EQ(game.CurrentPhase(), Phase::ComputerHeld);
    EXPECT_STREQ(game.Screen().pointer.picture, screen::HourglassPointer.picture);
    EXPECT_TRUE(game.TimerDue(Timer::Computer).empty()) << "held: no timer runs";
    EXPECT_TRUE(game.Escape().empty()) << "the box is modal";
    EXPECT_EQ(game.BoxClosed(), (play::Effects{play::StartTimer{Timer::Computer, 1}}));
    EXPECT_EQ(game.Screen().dialog, play::Dialog::None);
    EXPECT_EQ(Count<play::MovePlayed>(game.TimerDue(Timer::Computer)), 1);
    EXPECT_STREQ(game.Screen().pointer.picture, screen::HandPointer.picture);
    EXPECT_TRUE(game.BoxClosed().empty()) << "no box is open";
}

TEST_F(TurnCycle, EscapeDuringTheComputersDelayLeavesItsMoveBehind) {
    ToTheMenu();
    Begin(rules::AgainstComputer);
    game.CellPressed(Cell(4, 4));
    const play::Effects menu = game.Escape();
    EXPECT_EQ(First(menu), (play::Effect{play::StartTimer{}}));
    EXPECT_EQ(game.CurrentPhase(), Phase::Menu);
    EXPECT_TRUE(game.TimerDue(Timer::Computer).empty());
    EXPECT_TRUE(game.Escape().empty()) << "Esc on the menu";
    EXPECT_EQ(game.Game().CurrentPlayer, 2);
}

TEST_F(TurnCycle, QuestionMarkAfterAPersonsEndEndsTheFinishedGameOnceMore) {
    ToTheMenu();
    Begin(rules::TwoPlayers);
    PlayTwoPlayerGameToItsEnd();
    game.BoxClosed();
    // Switched to the computer and left through "?": the ended game has player 2 to move,
    // so its computer turn comes after the delay, with the information on the window, and
    // its first check ends the game once more.
    const play::Effects info =
        Leave(game, Chosen(rules::AgainstComputer), play::MenuAction::Information);
    EXPECT_EQ(Last(info), (play::Effect{play::StartTimer{Timer::Computer, Delay}}));
    EXPECT_EQ(game.CurrentPhase(), Phase::InformationComputerArmed);
    EXPECT_TRUE(play::ShowsInformation(game.CurrentPhase()));
    EXPECT_TRUE(play::ComputerPending(game.CurrentPhase()));
    const play::Effects again = game.TimerDue(Timer::Computer);
    EXPECT_EQ(Count<play::MovePlayed>(again), 0);
    EXPECT_EQ(game.Screen().boxKind, play::BoxKind::GameOver);
    EXPECT_EQ(game.Screen().boxText, "Konec hry hráč 2 prohrál");
    EXPECT_EQ(game.CurrentPhase(), Phase::Information);
    game.BoxClosed();
    EXPECT_EQ(game.Screen().dialog, play::Dialog::Menu);
    // That menu came from the computer's turn: "?" now hands nothing on.
    Leave(game, Chosen(rules::AgainstComputer), play::MenuAction::Information);
    EXPECT_EQ(game.CurrentPhase(), Phase::Information);
}

TEST_F(TurnCycle, QuestionMarkHandsOnOnlyAfterAPersonsEndAgainstTheComputer) {
    ToTheMenu();
    Begin(rules::TwoPlayers);
    PlayTwoPlayerGameToItsEnd();
    game.BoxClosed();
    Leave(game, Chosen(rules::TwoPlayers), play::MenuAction::Information);
    EXPECT_EQ(game.CurrentPhase(), Phase::Information);
    // A menu Esc opened, with player 2 to move: no continuation waits on it.
    game.Escape();
    Begin(rules::TwoPlayers);
    game.CellPressed(Cell(1, 1));
    game.Escape();
    Leave(game, Chosen(rules::AgainstComputer), play::MenuAction::Information);
    EXPECT_EQ(game.CurrentPhase(), Phase::Information);
    // A new game after a person's end gives player 1 the move: nothing for the computer.
    game.Escape();
    Begin(rules::TwoPlayers);
    PlayTwoPlayerGameToItsEnd();
    game.BoxClosed();
    Begin(rules::AgainstComputer);
    EXPECT_EQ(game.CurrentPhase(), Phase::PersonToMove);
}

TEST_F(TurnCycle, LevelDecidesWhenATwoPlayerGameMayEnd) {
    // Player 1's first move takes player 2's only cell in round 2: the end at the low
    // level, and nothing at the high level, whose end is decided from round 3 on.
    for (rules::Level level : {rules::LowDifficulty, rules::HighDifficulty}) {
        MemoryStorage slot;
        play::Controller two(random, slot, Delay);
        BeginAnew(two, rules::TwoPlayers, level);
        EXPECT_EQ(two.Game().Difficulty, level);
        two.CellPressed(Cell(7, 8));
        two.CellPressed(Cell(6, 8));
        slot.Keep(BoardWith("1,1:14 2,1:21"));
        two.LoadPressed();
        two.CellPressed(Cell(1, 1));
        EXPECT_EQ(two.Game().RoundNumber, 2);
        EXPECT_EQ(two.BoxOpen(), level == rules::LowDifficulty);
    }
}

TEST_F(TurnCycle, EachLevelIsPlayedByItsOwnPlayer) {
    // Both reject (2,2), threatened by (3,3); the low level plays its other full cell
    // (6,7), the high level (5,2) from its scored list.
    for (rules::Level level : {rules::LowDifficulty, rules::HighDifficulty}) {
        MemoryStorage slot;
        play::Controller vs(random, slot, Delay);
        BeginAnew(vs, rules::AgainstComputer, level);
        if (level == rules::HighDifficulty) vs.TimerDue(Timer::Computer);  // its opening
        slot.Keep(BoardWith("2,2:24 3,3:14 6,7:24 1,1:11"));
        vs.LoadPressed();
        vs.CellPressed(Cell(1, 1));
        vs.TimerDue(Timer::Computer);
        EXPECT_EQ(std::make_pair(vs.Game().MoveColumn, vs.Game().MoveRow),
                  level == rules::LowDifficulty ? std::make_pair(6, 7) : std::make_pair(5, 2));
    }
}

TEST_F(TurnCycle, PressesSavesAndLoadsNeedTheBoardOnTheWindowAndNoBox) {
    // A frontend that passes them on anyway changes nothing.
    ToTheMenu();
    EXPECT_TRUE(game.SavePressed().empty());
    EXPECT_TRUE(game.LoadPressed().empty());
    EXPECT_TRUE(game.CellPressed(Cell(1, 1)).empty());
    Begin(rules::TwoPlayers);
    storage.failure = "Soubor hra.dat nelze nahradit novým.";
    game.SavePressed();
    storage.Keep(BoardWith("5,5:23"));
    EXPECT_TRUE(game.LoadPressed().empty());
    EXPECT_TRUE(game.SavePressed().empty());
    EXPECT_TRUE(game.CellPressed(Cell(1, 1)).empty());
    EXPECT_EQ(storage.saves, 1);
    EXPECT_EQ(game.Game().board, rules::Board{});
}

TEST_F(TurnCycle, QuitEndsEverything) {
    ToTheMenu();
    EXPECT_EQ(game.MenuClosed(play::MenuAction::Quit), (play::Effects{play::StartTimer{}}));
    EXPECT_EQ(game.CurrentPhase(), Phase::Ending);
    EXPECT_EQ(game.Screen().window, play::Showing::Ended);
    EXPECT_EQ(game.Screen().dialog, play::Dialog::None);
    EXPECT_TRUE(game.Escape().empty());
    EXPECT_TRUE(game.MenuClosed(play::MenuAction::Start).empty());
    EXPECT_TRUE(game.Shown(play::Window::Game).empty());
}

}  // namespace
