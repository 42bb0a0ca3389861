// The turn cycle under seeded random sequences of every event a frontend can pass on:
// presses anywhere, Esc, "#S#" that works, fails or moves the save, "#L#" with a good,
// brink or missing save, every menu entry, boxes closed after a while, the windows shown
// again, stray timers, and time passing on a virtual clock, timers firing as they come due.
// A model of the game kept by the test itself, from what it did and saw, checks every
// effect against what a player must see.
//
//   MORVEL_SEED=S test_play_interleaving     runs sequence S alone and prints its events
//   MORVEL_EVENTS=N test_play_interleaving   events in all (default 1,000,000)

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "controller.h"
#include "format.h"
#include "play_support.h"
#include "random_source.h"

namespace {

using namespace play_support;
using play::Timer;

constexpr int Events = 200;  // random events a sequence, then it winds down to "X"
constexpr int Delay = 1000;  // the computer's delay, as in the game

// Picks one of the choices, each as likely as its weight.
template <typename T>
struct Choice {
    int weight;
    T value;
};
template <typename T>
T Weighted(std::mt19937_64& rng, std::initializer_list<Choice<T>> choices) {
    int total = 0;
    for (const Choice<T>& c : choices) total += c.weight;
    int roll = static_cast<int>(rng() % static_cast<std::uint64_t>(total));
    for (const Choice<T>& c : choices) {
        if (roll < c.weight) return c.value;
        roll -= c.weight;
    }
    return choices.begin()->value;
}

// What the model knows the game to be doing.
enum class Stage {
    Unshown,      // before the splash
    Splash,       // the splash's four seconds
    StartingUp,   // the game window shown, its start-up tick to come
    Menu,         // the menu is open
    Information,  // the information text on the window
    SettingUp,    // a game started, its board not set up yet
    Game,         // a game on the window
    Gone,         // "X"
};

// The menu's entries, by what they say.
enum class Entry { TwoPlayers, AgainstComputer, LowLevel, HighLevel, Start, Information, Quit };

// What can happen on the window with no menu or box open.
enum class Act {
    Press,
    Escape,
    Save,
    SaveFails,
    SaveMoves,
    Load,
    LoadBrink,
    LoadMissing,
    LoadDamaged,
    Wait,
    LongWait,
    ShownAgain,
    StrayTimer,
    PointerAway,
    PointerBack
};

class Sequence {
  public:
    explicit Sequence(std::uint64_t seed) : rng_(seed), random_(seed, [] { return 0ULL; }) {}

    // Plays the sequence to its end; the first thing it found wrong, if any.
    std::optional<std::string> Run() {
        Call("the splash shown", [&] { return game_.Shown(play::Window::Splash); });
        stage_ = Stage::Splash;
        Check();
        while (!failure_ && stage_ != Stage::Gone) {
            winding_ = winding_ || count >= Events;
            if (++count > 20 * Events) Fail("it would not wind down");
            Step();
            Check();
        }
        return failure_;
    }

    int count = 0;
    std::vector<std::string> log;  // the events, each with the controller's state before it
    std::map<std::string, int> seen;

  private:
    // -- the test's frontend: the effects applied, as a window would ----------------------
    struct Open {
        std::optional<play::View> box;   // the view as the box opened
        std::optional<play::Menu> menu;  // as the player has set it so far
        Timer timer = Timer::None;
        long long dueAt = 0;
        bool tiled = false;
        bool quit = false;
        play::Labels labels;
    } screen_;
    play::Effects last_;                           // what the last call said
    bool boxOpened_ = false, menuOpened_ = false;  // by the last call

    void Fail(const std::string& what) {
        if (!failure_) failure_ = "event " + std::to_string(count) + ": " + what;
    }

    void Call(const std::string& name, const std::function<play::Effects()>& event) {
        log.push_back(std::to_string(count) + " [" + game_.Describe() + "] " + name);
        const play::View before = game_.Screen();
        last_ = event();
        const play::View view = game_.Screen();
        for (const play::Effect& effect : last_) {
            if (const auto* run = std::get_if<play::StartTimer>(&effect)) {
                screen_.timer = run->timer;
                screen_.dueAt = now_ + run->milliseconds;
            } else if (std::holds_alternative<play::TileBackground>(effect)) {
                if (std::exchange(screen_.tiled, true)) Fail("the background tiled twice");
            }
            const bool drawing = std::holds_alternative<play::Redraw>(effect) ||
                                 std::holds_alternative<play::MovePlayed>(effect);
            if (drawing && (screen_.box || screen_.menu))
                Fail("the board changed under a box or the menu");
        }
        if (view.labels != screen_.labels && (screen_.box || screen_.menu))
            Fail("a label changed under a box or the menu");
        screen_.labels = view.labels;
        if (view.timer != screen_.timer) Fail("the view's timer is not the one running");
        if (view.backgroundTiled != screen_.tiled) Fail("the view's background is not ours");
        // A dialog the view shows and the frontend has not: it has just opened.
        boxOpened_ = view.dialog == play::Dialog::Box && !screen_.box;
        menuOpened_ = view.dialog == play::Dialog::Menu && !screen_.menu;
        if ((boxOpened_ || menuOpened_) && (screen_.box || screen_.menu))
            Fail("a dialog over a box or the menu");
        if (boxOpened_) screen_.box = view;
        if (menuOpened_) screen_.menu = view.menu;
        screen_.quit = view.window == play::Showing::Ended;
        Observe();
        // The game window shows as the splash goes, and says so once it is on the screen (a
        // page after its next frame, when a key or a press may come first, to no effect).
        if (before.window == play::Showing::Splash && view.window == play::Showing::Game) {
            if (Chance(30)) {
                seen["events before the game window showed"]++;
                Call("Esc before the game window showed", [&] { return game_.Escape(); });
                Call("a press before the game window showed",
                     [&] { return game_.CellPressed(1 + Pick(rules::Cells)); });
                if (!last_.empty() || game_.Screen().dialog != play::Dialog::None)
                    Fail("an event before the game window showed did something");
            }
            Call("the game window shown", [&] { return game_.Shown(play::Window::Game); });
        }
    }

    // Time passes: each timer fires as it comes due, in turn.
    void Wait(long long ms) {
        const long long until = now_ + ms;
        while (!failure_ && screen_.timer != Timer::None && screen_.dueAt <= until) {
            now_ = screen_.dueAt;
            const Timer due = std::exchange(screen_.timer, Timer::None);
            BeforeTimer(due);
            Call(std::string("the ") + play::Name(due) + " timer at " + std::to_string(now_),
                 [&] { return game_.TimerDue(due); });
            AfterTimer(due);
        }
        now_ = until;
    }

    // -- the model --------------------------------------------------------------------
    Stage stage_ = Stage::Unshown;
    rules::Mode mode_ = rules::TwoPlayers;       // as the test chose on the menu
    rules::Level level_ = rules::LowDifficulty;  // kept for a two-player game chosen after it
    int player_ = 1, round_ = 1;                 // whose turn, which round: from the moves seen
    bool owed_ = false;                          // the computer's move is due, and has not come
    long long earliest_ = 0;                     // when it may come, at the earliest
    bool held_ = false;           // it came due under a box: it comes a tick after the box
    bool recheck_ = false;        // the "?" path: the ended game's computer turn, to end it again
    bool opening_ = false;        // a game against the high level, not set up yet
    bool endedByPerson_ = false;  // the game a person's move ended: its menu may hand on
    bool fresh_ = false;          // no move since the menu: the labels are the menu's
    bool boardPointer_ = true;    // the pointer was last on the board, or a move came since
    rules::Board before_;         // the board before the next move
    std::optional<std::string> boxExpected_;  // the box this event must open, by its text
    bool menuExpected_ = false;               // this event must open the menu
    bool moveExpected_ = false;               // this event must play a person's move
    bool computerExpected_ = false;           // this event must play the computer's move
    long long now_ = 0;
    bool winding_ = false;

    rules::GameState Modelled() const {
        rules::GameState modelled = game_.Game();
        modelled.GameMode = mode_;
        modelled.Difficulty = level_;
        modelled.CurrentPlayer = player_;
        modelled.RoundNumber = round_;
        return modelled;
    }
    bool AgainstComputer() const { return mode_ == rules::AgainstComputer; }

    void Owe(long long delay) {
        owed_ = true;
        earliest_ = now_ + delay;
    }

    void MenuOpened() {
        seen["menus"]++;
        if (*screen_.menu != play::Menu{} || game_.Game().GameMode != rules::TwoPlayers ||
            game_.Game().Difficulty != rules::LowDifficulty)
            Fail("the menu did not open at two people and the low level");
        stage_ = Stage::Menu;
        mode_ = rules::TwoPlayers;
        level_ = rules::LowDifficulty;
        owed_ = held_ = recheck_ = opening_ = false;
    }

    // A move was played by `player`.
    void Moved(int player, bool computer) {
        seen[!computer                         ? "person moves"
             : level_ == rules::HighDifficulty ? "computer moves at the high level"
                                               : "computer moves at the low level"]++;
        if (player != player_)
            Fail("player " + std::to_string(player) + " moved on player " +
                 std::to_string(player_) + "'s turn");
        const rules::Board& board = game_.Game().board;
        for (int r = 1; r <= rules::Rows; ++r)
            for (int c = 1; c <= rules::Columns; ++c) {
                const int owner = board.Owner(c, r), n = board.Count(c, r);
                const bool changed = owner != before_.Owner(c, r) || n != before_.Count(c, r);
                if (n < 0 || n > 4 || (owner == 0) != (n == 0) || (changed && owner != player))
                    Fail("after the move cell " + std::to_string(c) + "," + std::to_string(r) +
                         " holds owner " + std::to_string(owner) + ", count " + std::to_string(n));
            }
        before_ = board;
        fresh_ = false;
        boardPointer_ = true;
        player_ = 3 - player_;
        round_ += player_ == 1;
        if (screen_.labels.round != std::to_string(round_) + " kolo" ||
            screen_.labels.player != "Hráč:" + std::to_string(player_) ||
            screen_.labels.colour != (player_ == 1 ? rules::Rgb(0, 0, 255) : 255))
            Fail("the labels after the move do not read round " + std::to_string(round_) +
                 ", player " + std::to_string(player_));
        if (const int loser = rules::CheckGameOver(Modelled())) {
            boxExpected_ = "Konec hry hráč " + std::to_string(loser) + " prohrál";
            endedByPerson_ = !computer;
            return;
        }
        if (!computer && AgainstComputer() && player_ == 2) Owe(Delay);
    }

    // The effects of the last call against what the model expected of it.
    void Observe() {
        const int moves = Count<play::MovePlayed>(last_);
        const play::View* box = boxOpened_ ? &*screen_.box : nullptr;
        if (moves > 1) Fail("one event played " + std::to_string(moves) + " moves");
        if (const play::MovePlayed* move = Find<play::MovePlayed>(last_)) {
            const bool computer = std::exchange(computerExpected_, false);
            if (computer) {
                if (now_ < earliest_)
                    Fail("the computer moved " + std::to_string(earliest_ - now_) +
                         " ms before its delay was over");
            } else if (!moveExpected_) {
                Fail("a move that neither a press nor the computer's turn asked for");
            }
            Moved(move->player, computer);
        } else if (moveExpected_ || computerExpected_) {
            Fail("a move was due, and none came");
        }
        moveExpected_ = computerExpected_ = false;

        if (boxExpected_ && (!box || box->boxText != *boxExpected_))
            Fail("no box saying \"" + *boxExpected_ + "\"" +
                 (box ? " but one saying \"" + box->boxText + "\"" : std::string()));
        else if (box && !boxExpected_)
            Fail("an unexpected box: " + box->boxText);
        if (box) {
            const bool end = box->boxKind == play::BoxKind::GameOver;
            seen[!end ? "boxes" : recheck_ ? "end messages again after ?" : "end messages"]++;
            if (end) owed_ = recheck_ = false;
        }
        boxExpected_.reset();

        const bool menu = menuOpened_;
        if (menu != menuExpected_)
            Fail(menu ? "a menu that neither Esc, the start-up nor an end asked for"
                      : "no menu where one was due");
        if (menu) MenuOpened();
        menuExpected_ = false;
    }

    // What must hold between events.
    void Check() {
        if (failure_) return;
        const Timer expected = stage_ == Stage::Splash       ? Timer::Splash
                               : stage_ == Stage::StartingUp ? Timer::StartUp
                               : stage_ == Stage::SettingUp  ? Timer::SetUp
                               : owed_ && !held_             ? Timer::Computer
                                                             : Timer::None;
        if (screen_.timer != expected)
            Fail(std::string("the ") + play::Name(screen_.timer) + " timer runs, not the " +
                 play::Name(expected) + " one");
        if (expected == Timer::Computer && screen_.dueAt != earliest_)
            Fail("the computer's move is due " + std::to_string(screen_.dueAt - now_) +
                 " ms from now, not " + std::to_string(earliest_ - now_));
        const play::View view = game_.Screen();
        const screen::PointerLook pointer = !boardPointer_ ? screen::ArrowPointer
                                            : owed_        ? screen::HourglassPointer
                                                           : screen::HandPointer;
        // By their names: a picture's name may lie in more than one place in memory.
        auto name = [](const screen::PointerLook& p) {
            return std::string(p.picture ? p.picture : "arrow");
        };
        if (name(view.pointer) != name(pointer))
            Fail("the pointer shows the " + name(view.pointer) + " wrongly");
        const bool game = stage_ == Stage::Game, information = stage_ == Stage::Information;
        if (view.showsGame != game || view.showsInformation != information)
            Fail("the window shows what it should not");
        if (game_.BoxOpen() != screen_.box.has_value()) Fail("the controller's box is not ours");
        if (game && !fresh_ &&
            (game_.Game().CurrentPlayer != player_ || game_.Game().RoundNumber != round_))
            Fail("the game is at player " + std::to_string(game_.Game().CurrentPlayer) +
                 ", round " + std::to_string(game_.Game().RoundNumber) + "; the model at " +
                 std::to_string(player_) + ", " + std::to_string(round_));
    }

    // -- the events -------------------------------------------------------------------
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }

    void Step() {
        if (screen_.menu) return OnMenu();
        if (screen_.box) return OnBox();
        switch (stage_) {
            case Stage::Unshown:
            case Stage::Splash:
            case Stage::StartingUp:
                return Chance(5) ? ShownAgain() : Wait(1 + Pick(Delay));
            case Stage::Gone:
            case Stage::Menu:
                return;
            case Stage::Information:
            case Stage::SettingUp:
            case Stage::Game:
                return OnWindow();
        }
    }

    void OnMenu() {
        Entry entry = winding_ ? Entry::Quit
                               : Weighted<Entry>(rng_, {{12, Entry::TwoPlayers},
                                                        {25, Entry::AgainstComputer},
                                                        {10, Entry::LowLevel},
                                                        {12, Entry::HighLevel},
                                                        {14, Entry::Information},
                                                        {26, Entry::Start},
                                                        {1, Entry::Quit}});
        // The menu of a game a press has just ended leads to the computer's extra turn more
        // often: switched to the computer, then left through "?".
        if (endedByPerson_ && !winding_ && Chance(60))
            entry = AgainstComputer() ? Entry::Information : Entry::AgainstComputer;
        switch (entry) {
            case Entry::TwoPlayers:
            case Entry::AgainstComputer:
                mode_ = entry == Entry::TwoPlayers ? rules::TwoPlayers : rules::AgainstComputer;
                return Choose(entry == Entry::TwoPlayers ? play::MenuOption::TwoPlayers
                                                         : play::MenuOption::AgainstComputer);
            case Entry::LowLevel:
            case Entry::HighLevel:
                // The level's buttons take a click only against the computer: a frontend
                // that passes one on anyway changes nothing.
                if (AgainstComputer())
                    level_ =
                        entry == Entry::LowLevel ? rules::LowDifficulty : rules::HighDifficulty;
                return Choose(entry == Entry::LowLevel ? play::MenuOption::LowLevel
                                                       : play::MenuOption::HighLevel);
            case Entry::Start:
                return Leave(play::MenuAction::Start, [&] {
                    opening_ = AgainstComputer() && level_ == rules::HighDifficulty;
                    seen[!AgainstComputer() ? "games of two people"
                         : opening_         ? "games against the high level"
                                            : "games against the low level"]++;
                    stage_ = Stage::SettingUp;
                    player_ = opening_ ? 2 : 1;  // the set-up gives the computer its opening
                    round_ = 1;
                    fresh_ = true;
                    endedByPerson_ = false;
                });
            case Entry::Information:
                return Leave(play::MenuAction::Information, [&] {
                    seen["information shown"]++;
                    stage_ = Stage::Information;
                    if (std::exchange(endedByPerson_, false) && AgainstComputer() && player_ == 2) {
                        recheck_ = true;
                        Owe(Delay);
                    }
                });
            case Entry::Quit:
                return Leave(play::MenuAction::Quit, [&] { stage_ = Stage::Gone; });
        }
    }

    void Choose(play::MenuOption option) {
        Call("menu: option " + std::to_string(int(option)), [&] { return game_.Choose(option); });
        if (!last_.empty()) Fail("a choice in the menu did something");
        screen_.menu = game_.Screen().menu;
        if (*screen_.menu != play::Menu{mode_, level_})
            Fail("the menu does not stand at mode " + std::to_string(int(mode_)) + ", level " +
                 std::to_string(int(level_)));
    }

    template <typename Then>
    void Leave(play::MenuAction action, Then then) {
        screen_.menu.reset();
        then();
        Call("menu: leave by " + std::to_string(int(action)),
             [&] { return game_.MenuClosed(action); });
        if (action == play::MenuAction::Start &&
            (screen_.labels.round != "1kolo" || screen_.labels.player != "Hráč:1"))
            Fail("the menu's labels for a new game are not 1kolo, Hráč:1");
        if ((action == play::MenuAction::Quit) != screen_.quit) Fail("X and the end disagree");
    }

    void OnBox() {
        if (!winding_ && Chance(45)) return Wait(Pick(2 * Delay));
        const play::View box = *std::exchange(screen_.box, std::nullopt);
        if (held_) {
            seen["held computer moves"]++;
            held_ = false;
            earliest_ = now_ + 1;
        }
        menuExpected_ = box.boxKind == play::BoxKind::GameOver;
        const rules::Board board = game_.Game().board;
        Call("box closed", [&] { return game_.BoxClosed(); });
        if (game_.Game().board != board) Fail("closing the box changed the board");
    }

    // Whatever timer is running, another one comes due (a stray tick a frontend passes
    // on late): nothing happens.
    void StrayTimer() {
        const Timer stray = static_cast<Timer>(Pick(5));
        if (stray == screen_.timer) return;
        seen["stray timers"]++;
        Call(std::string("a stray ") + play::Name(stray) + " timer",
             [&] { return game_.TimerDue(stray); });
        if (!last_.empty()) Fail("a stray timer did something");
    }

    // A window shown again (restored after it was minimised) starts nothing; the game
    // window shown during the splash, as a frontend without one does, starts up.
    void ShownAgain() {
        const bool first = stage_ == Stage::Splash;
        const play::Window window = Chance(50) ? play::Window::Game : play::Window::Splash;
        seen["windows shown again"] += !first;
        Call(window == play::Window::Game ? "the game window shown" : "the splash shown",
             [&] { return game_.Shown(window); });
        if (first && window == play::Window::Game) stage_ = Stage::StartingUp;
        if (!first && !last_.empty()) Fail("a window shown again did something");
    }

    void OnWindow() {
        if (winding_) {
            if (stage_ == Stage::Game || stage_ == Stage::Information || stage_ == Stage::SettingUp)
                return Escape();
            return Wait(Delay);
        }
        const bool game = stage_ == Stage::Game;
        const Act act = Weighted<Act>(rng_, {{game ? 45 : 0, Act::Press},
                                             {4, Act::Escape},
                                             {game ? 4 : 0, Act::Save},
                                             {game ? 2 : 0, Act::SaveFails},
                                             {game ? 1 : 0, Act::SaveMoves},
                                             {game ? 5 : 0, Act::Load},
                                             {game ? 5 : 0, Act::LoadBrink},
                                             {game ? 2 : 0, Act::LoadMissing},
                                             {game ? 1 : 0, Act::LoadDamaged},
                                             {20, Act::Wait},
                                             {6, Act::LongWait},
                                             {1, Act::ShownAgain},
                                             {1, Act::StrayTimer},
                                             {3, Act::PointerAway},
                                             {3, Act::PointerBack}});
        switch (act) {
            case Act::Press:
                return Press();
            case Act::Escape:
                return Escape();
            case Act::Save:
            case Act::SaveFails:
            case Act::SaveMoves:
                return Save(act);
            case Act::Load:
            case Act::LoadBrink:
            case Act::LoadMissing:
            case Act::LoadDamaged:
                return Load(act);
            case Act::Wait:
                return Wait(Pick(Delay / 4));
            case Act::LongWait:
                return Wait(Delay + 2);
            case Act::ShownAgain:
                return ShownAgain();
            case Act::StrayTimer:
                return StrayTimer();
            case Act::PointerAway:
            case Act::PointerBack:
                boardPointer_ = act == Act::PointerBack;
                seen[boardPointer_ ? "pointers back on the board" : "pointers off the board"]++;
                Call(boardPointer_ ? "the pointer on the board" : "the pointer off the board", [&] {
                    return game_.PointerMoved(boardPointer_ ? play::Area::Board
                                                            : play::Area::Background);
                });
                if (!last_.empty()) Fail("a pointer's move did something");
                return;
        }
    }

    void Escape() {
        seen[owed_ ? "Esc during the computer's delay" : "Esc"]++;
        menuExpected_ = true;
        Call("Esc", [&] { return game_.Escape(); });
    }

    // A press on a cell of the mover's (half of them full ones, which burst), of the
    // opponent's, an empty one, or off every cell.
    void Press() {
        const rules::Board& board = game_.Game().board;
        const int kind = Pick(100), mover = player_;
        std::vector<int> cells;
        for (int n = 1; n <= rules::Cells; ++n) {
            const int c = screen::CellColumn(n), r = screen::CellRow(n), owner = board.Owner(c, r);
            if (kind < 40 ? owner == mover && (kind >= 20 || board.Count(c, r) == 4)
                          : owner == (kind < 55 ? 3 - mover : 0))
                cells.push_back(n);
        }
        const int cell =
            kind >= 92 || cells.empty() ? 0 : cells[Pick(static_cast<int>(cells.size()))];
        const int owner = cell ? board.Owner(screen::CellColumn(cell), screen::CellRow(cell)) : -1;
        moveExpected_ = owner >= 0 && (owner == 0 || owner == mover) && !owed_;
        seen[owed_           ? "presses during the computer's delay"
             : moveExpected_ ? "presses"
                             : "ignored presses"]++;
        Call("press on cell " + std::to_string(cell) + " (owner " + std::to_string(owner) + ")",
             [&] { return game_.CellPressed(cell); });
    }

    // A position where one player is a move away from losing: the loser's one cell beside
    // the winner's full cell, among scattered pieces of the winner.
    rules::Board Brink() {
        rules::Board board;
        const int loser = 1 + Pick(2);
        for (int r = 1; r <= rules::Rows; ++r)
            for (int c = 1; c <= rules::Columns; ++c)
                if (Chance(25)) board.Set(c, r, 3 - loser, 1 + Pick(3));
        const int c = 2 + Pick(5), r = 2 + Pick(6);
        board.Set(c, r, loser, 1 + Pick(3));
        board.Set(c + (Chance(50) ? 1 : -1), r, 3 - loser, 4);
        return board;
    }

    void Save(Act act) {
        storage_.failure = act == Act::SaveFails ? "Soubor hra.dat nelze nahradit novým." : "";
        storage_.notice = act == Act::SaveMoves ? "Hra je uložena do jinam/hra.dat." : "";
        storage_.warning = Chance(10) ? "Složku se nepodařilo zapsat na disk." : "";
        if (act == Act::SaveFails) {
            seen[owed_ ? "failed saves during the computer's delay" : "failed saves"]++;
            boxExpected_ = "Hru se nepodařilo uložit. " + storage_.failure;
        } else if (act == Act::SaveMoves) {
            seen["saves elsewhere"]++;
            boxExpected_ = storage_.notice;
        }
        const std::optional<rules::Board> kept = storage_.Kept();
        Call("#S#", [&] { return game_.SavePressed(); });
        if (storage_.Kept() != (act == Act::SaveFails ? kept : game_.Game().board))
            Fail("#S# kept another board");
        if ((Find<play::Warn>(last_) != nullptr) !=
            (!storage_.warning.empty() && act != Act::SaveFails))
            Fail("a save's warning was lost, or made up");
    }

    void Load(Act act) {
        if (act == Act::LoadBrink) storage_.Keep(Brink());
        if (act == Act::LoadMissing) storage_.text.reset();
        // A text cut short, as a slot of another frontend may give it back.
        if (act == Act::LoadDamaged)
            storage_.text = savegame::FormatBoard(game_.Game().board).substr(0, 5 * Pick(112));
        if (owed_) seen["loads during the computer's delay"]++;
        std::string why = "Soubor hra.dat nelze otevřít: neexistuje.";
        const std::optional<rules::Board> kept =
            storage_.text ? savegame::ParseBoard(*storage_.text, &why) : std::nullopt;
        const rules::GameState before = game_.Game();
        if (!kept) {
            seen[storage_.text ? "damaged loads" : "failed loads"]++;
            boxExpected_ = "Hru se nepodařilo nahrát. " + why;
        }
        Call("#L#", [&] { return game_.LoadPressed(); });
        const rules::GameState& after = game_.Game();
        if (after.board != (kept ? *kept : before.board) ||
            after.CurrentPlayer != before.CurrentPlayer || after.RoundNumber != before.RoundNumber)
            Fail("#L# did not put the saved board alone in place");
        if (kept && Count<play::Redraw>(last_) != 1) Fail("the loaded board was not drawn");
        before_ = after.board;
    }

    // What a timer coming due must do, as the model sees it.
    void BeforeTimer(Timer due) {
        if (due == Timer::StartUp) menuExpected_ = true;
        if (due != Timer::Computer) return;
        if (!owed_) return Fail("the computer's timer ran with no move owed");
        if (screen_.box) {
            held_ = true;  // its move waits for the box
            return;
        }
        owed_ = false;
        // The turn's first check judges the board it finds (on the "?" path, the ended
        // game's; loaded, maybe, meanwhile).
        if (const int loser = rules::CheckGameOver(Modelled())) {
            boxExpected_ = "Konec hry hráč " + std::to_string(loser) + " prohrál";
            return;
        }
        recheck_ = false;
        const rules::Board& board = game_.Game().board;
        for (int r = 1; r <= rules::Rows; ++r)
            for (int c = 1; c <= rules::Columns; ++c)
                computerExpected_ = computerExpected_ || board.Owner(c, r) != 1;
        if (computerExpected_) return;
        // No cell is empty or the computer's: its turn only passes on.
        seen["computer turns without a move"]++;
        boardPointer_ = true;
        player_ = 1;
        ++round_;
    }

    void AfterTimer(Timer due) {
        switch (due) {
            case Timer::Splash:
                stage_ = Stage::StartingUp;
                break;
            case Timer::StartUp:
                if (!screen_.tiled) Fail("the start-up did not tile the background");
                boardPointer_ = true;
                break;
            case Timer::SetUp:
                stage_ = Stage::Game;
                if (game_.Game().board != rules::Board{}) Fail("the new game's board is not empty");
                before_ = rules::Board{};
                if (std::exchange(opening_, false)) {
                    seen["openings of the computer at the high level"]++;
                    Owe(1);  // at once
                }
                break;
            case Timer::Computer:
            case Timer::None:
                break;
        }
    }

  private:
    std::mt19937_64 rng_;
    rules::ClockMixedRandom random_;
    MemoryStorage storage_;
    play::Controller game_{random_, storage_, Delay};
    std::optional<std::string> failure_;
};

}  // namespace

TEST(TurnCycleInterleaving, RandomSequencesKeepTheTurnCycleSound) {
    const char* one = std::getenv("MORVEL_SEED");
    const char* wanted = std::getenv("MORVEL_EVENTS");
    const long long events = wanted ? std::atoll(wanted) : 1000000;
    const auto start = std::chrono::steady_clock::now();
    long long played = 0;
    int sequences = 0;
    std::map<std::string, int> seen;
    for (std::uint64_t seed = one ? std::strtoull(one, nullptr, 10) : 1;
         one ? sequences < 1 : played < events; ++seed) {
        Sequence sequence(seed);
        const std::optional<std::string> failure = sequence.Run();
        played += sequence.count;
        ++sequences;
        for (const auto& [what, n] : sequence.seen) seen[what] += n;
        std::string log;
        for (const std::string& line : sequence.log) log += line + "\n";
        if (one) std::printf("%s", log.c_str());
        ASSERT_FALSE(failure) << "seed " << seed << ", " << *failure
                              << "\nevents (run this seed alone with MORVEL_SEED=" << seed << "):\n"
                              << log;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::string totals;
    for (const auto& [what, n] : seen) totals += ", " + std::to_string(n) + " " + what;
    std::printf("%lld events in %d sequences, %.1f s%s\n", played, sequences, seconds,
                totals.c_str());
    if (one) return;
    // The sequences reached every situation the checks speak of.
    for (const char* what : {"games of two people",
                             "games against the low level",
                             "games against the high level",
                             "openings of the computer at the high level",
                             "computer moves at the low level",
                             "computer moves at the high level",
                             "person moves",
                             "presses",
                             "ignored presses",
                             "presses during the computer's delay",
                             "end messages",
                             "end messages again after ?",
                             "held computer moves",
                             "menus",
                             "information shown",
                             "boxes",
                             "failed saves",
                             "failed saves during the computer's delay",
                             "saves elsewhere",
                             "failed loads",
                             "damaged loads",
                             "loads during the computer's delay",
                             "Esc during the computer's delay",
                             "windows shown again",
                             "stray timers",
                             "pointers off the board",
                             "pointers back on the board",
                             "events before the game window showed"})
        EXPECT_GT(seen[what], 0) << what;
}
