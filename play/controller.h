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

// The turn cycle of the game, for every frontend: it takes what happened (the events) and
// says what to do about it (the effects), and never blocks, waits or calls a frontend. A
// frontend passes it each event as it comes and applies the effects, in order, once the
// call has returned. Time reaches it only as a timer being due.
namespace play {

// The windows a frontend shows.
enum class Window { Splash, Game };

// The message boxes: the end of a game, a failed save or load, where a save went.
enum class BoxKind { GameOver, Failure, Notice };

// -- the effects ------------------------------------------------------------------------
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
// The status labels: the round, the player and the player's label colour.
struct Labels {
    std::string round;
    std::string player;
    rules::Color colour = 0;
    bool operator==(const Labels&) const = default;
};
// The pointer over the game window is the board's custom image again (a hand, or the
// hourglass while the computer's move is pending), wherever the mouse is.
struct BoardPointer {
    bool operator==(const BoardPointer&) const = default;
};
// Tile the background behind the controls (once the window has its size).
struct TileBackground {
    bool operator==(const TileBackground&) const = default;
};
// Open a modal box; the frontend says BoxClosed when the player has closed it.
struct OpenBox {
    BoxKind kind = BoxKind::Failure;
    std::string text;
    bool operator==(const OpenBox&) const = default;
};
// Open the modal menu showing `menu`; the frontend says MenuClosed when it is left.
struct OpenMenu {
    Menu menu;
    bool operator==(const OpenMenu&) const = default;
};
// Close the splash and show the game window.
struct ShowGameWindow {
    bool operator==(const ShowGameWindow&) const = default;
};
// End the program.
struct Quit {
    bool operator==(const Quit&) const = default;
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

using Effect = std::variant<StartTimer, Redraw, Labels, BoardPointer, TileBackground, OpenBox,
                            OpenMenu, ShowGameWindow, Quit, MovePlayed, Warn>;
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
    Effects MenuClosed(const Menu& chosen, MenuAction action);

    // -- what follows from the state ----------------------------------------------------
    const rules::GameState& Game() const { return state_; }
    Phase CurrentPhase() const { return phase_; }
    bool BoxOpen() const { return box_.has_value(); }
    // The box on the screen, if one is open: a frontend that lost it can show it again.
    const std::optional<OpenBox>& OpenedBox() const { return box_; }
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
    void EndGame(int loser, bool afterPerson, Effects& out);
    void HandOnToTheComputer(Effects& out);
    void Box(BoxKind kind, std::string text, Effects& out);

    rules::RandomSource& random_;
    Storage& storage_;
    const int computerDelayMs_;
    players::Computers computers_;
    rules::GameState state_;
    Phase phase_ = Phase::Unshown;
    std::optional<OpenBox> box_;  // the open box
    // A person's move ended the game: once its menu is left, the turn is handed on as
    // after any person's move.
    bool handOnAfterMenu_ = false;
};

}  // namespace play
