#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "game_state.h"
#include "menu.h"
#include "phases.h"
#include "players.h"
#include "random_source.h"
#include "storage.h"
#include "view.h"

// The turn cycle of the game, for every frontend: it takes what happened (the events) and
// says what to do about it (the effects), and never blocks, waits or calls a frontend. A
// frontend passes it each event as it comes and applies the effects, in order, once the
// call has returned. Time reaches it only as a timer being due.
namespace play {

// The windows a frontend shows.
enum class Window { Splash, Game };

// Where the pointer has last been over the game window.
enum class Area { Board, Background };

// The menu's choices that keep it open.
enum class MenuOption { TwoPlayers, AgainstComputer, LowLevel, HighLevel };

// -- the effects: what happens once, where the view (view.h) says what stands -------------
// Start `timer` for `milliseconds`, every other one stopped (Timer::None: all stopped).
struct StartTimer {
    Timer timer = Timer::None;
    int milliseconds = 0;
    bool operator==(const StartTimer&) const = default;
};
// Draw the board and the balance bar again, from Game().
struct Redraw {
    bool operator==(const Redraw&) const = default;
};
// Tile the background behind the controls (once the window has its size).
struct TileBackground {
    bool operator==(const TileBackground&) const = default;
};
// A move has been placed, its chain reaction resolved and the turn passed on.
struct MovePlayed {
    int player = 0;
    bool operator==(const MovePlayed&) const = default;
};
// Something for the program's log, not for the player's eyes.
struct Warn {
    std::string text;
    bool operator==(const Warn&) const = default;
};

using Effect = std::variant<StartTimer, Redraw, TileBackground, MovePlayed, Warn>;
using Effects = std::vector<Effect>;

class Controller {
  public:
    static constexpr int SplashMilliseconds = 4000;
    static constexpr int ComputerDelayMilliseconds = 1000;
    static constexpr int TickMilliseconds = 1;

    // `computerDelayMs` is how long the computer waits after a person's move (tests
    // shorten it); `start` is the game before the menu first starts one (a tool may draw
    // a position of its own before then).
    Controller(rules::RandomSource& random, Storage& storage,
               int computerDelayMs = ComputerDelayMilliseconds, rules::GameState start = {});

    // -- the events ---------------------------------------------------------------------
    Effects Shown(Window window);
    // `timer` is due; a timer no longer running is ignored.
    Effects TimerDue(Timer timer);
    // A press on the board's cell `cell` (1..56), with any button; 0 is off every cell.
    Effects CellPressed(int cell);
    Effects Escape();
    Effects SavePressed();
    Effects LoadPressed();
    Effects BoxClosed();
    // The pointer moved over the board or the window's background.
    Effects PointerMoved(Area area);
    // A choice in the open menu, by the menu's rules; it stays open.
    Effects Choose(MenuOption option);
    // The menu left, as it was set, by one of its buttons.
    Effects MenuClosed(MenuAction action);

    // -- what follows from the state ----------------------------------------------------
    // What the screens show now.
    View Screen() const;
    const rules::GameState& Game() const { return state_; }
    Phase CurrentPhase() const { return phase_; }
    bool BoxOpen() const { return box_.has_value(); }
    Timer Running() const { return RunningTimer(phase_); }
    // A person's press may play a move.
    bool PersonMayMove() const { return phase_ == Phase::PersonToMove && !BoxOpen(); }
    std::string Describe() const;

  private:
    void Enter(Phase phase, Effects& out);
    void ReturnToMenu(Effects& out);
    void StartGame(Effects& out);
    void SetUpBoard(Effects& out);
    void ComputerTick(Effects& out);
    void RunComputerTurn(Effects& out);
    void EndOfMove(int mover, Effects& out);
    void EndGame(int loser, bool afterPerson);
    void HandOnToTheComputer(Effects& out);
    void Box(BoxKind kind, std::string text);

    rules::RandomSource& random_;
    Storage& storage_;
    const int computerDelayMs_;
    players::Computers computers_;
    rules::GameState state_;
    Phase phase_ = Phase::Unshown;
    struct OpenBox {
        BoxKind kind;
        std::string text;
    };
    std::optional<OpenBox> box_;  // the open box
    Menu menu_;                   // the menu, as it stands while it is open
    Labels labels_;               // what the status labels say
    // The board's own pointer (a hand, or the hourglass) rather than the arrow: the pointer
    // was last over the board, or a move has been played since.
    bool boardPointer_ = true;
    // A person's move ended the game: once its menu is left, the turn is handed on as
    // after any person's move.
    bool handOnAfterMenu_ = false;
};

}  // namespace play
