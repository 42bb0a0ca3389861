#include "controller.h"

#include <type_traits>
#include <utility>

#include "content.h"
#include "format.h"
#include "geometry.h"

namespace play {

namespace {

// An effect built in its place in the list: GCC 14 takes the string inside a temporary
// variant, moved into the list, for maybe uninitialized.
template <typename T>
void Add(Effects& out, T&& effect) {
    out.emplace_back(std::in_place_type<std::remove_cvref_t<T>>, std::forward<T>(effect));
}

}  // namespace

Controller::Controller(rules::RandomSource& random, Storage& storage, int computerDelayMs,
                       rules::GameState start)
    : random_(random),
      storage_(storage),
      computerDelayMs_(computerDelayMs),
      state_(std::move(start)) {}

View Controller::Screen() const {
    View view;
    switch (phase_) {
        case Phase::Unshown:
            break;
        case Phase::Splash:
            view.window = Showing::Splash;
            break;
        case Phase::Ending:
            view.window = Showing::Ended;
            break;
        default:
            view.window = Showing::Game;
            break;
    }
    view.showsGame = ShowsGame(phase_);
    view.showsInformation = ShowsInformation(phase_);
    view.backgroundTiled = BackgroundTiled(phase_);
    view.pointer = !boardPointer_            ? screen::ArrowPointer
                   : ComputerPending(phase_) ? screen::HourglassPointer
                                             : screen::HandPointer;
    view.labels = labels_;
    if (box_) {
        view.dialog = Dialog::Box;
        view.boxKind = box_->kind;
        view.boxText = box_->text;
    } else if (phase_ == Phase::Menu) {
        view.dialog = Dialog::Menu;
        view.menu = menu_;
    }
    view.timer = Running();
    return view;
}

std::string Controller::Describe() const {
    return std::string(Name(phase_)) + (BoxOpen() ? " + box" : "");
}

// The one place the phase changes. The step into a phase starts the timer the phase runs
// and stops every other.
void Controller::Enter(Phase phase, Effects& out) {
    const Phase from = std::exchange(phase_, phase);
    if (from == phase) return;
    int milliseconds = 0;
    switch (Row(phase).onEntry) {
        case OnEntry::Nothing:
            break;
        case OnEntry::SplashTime:
            milliseconds = SplashMilliseconds;
            break;
        case OnEntry::StartUpTick:
        case OnEntry::SetUpTick:
            milliseconds = TickMilliseconds;
            break;
        case OnEntry::ComputerAfterPerson:
            milliseconds = from == Phase::PersonToMove ? computerDelayMs_ : TickMilliseconds;
            break;
        case OnEntry::ComputerDelay:
            milliseconds = computerDelayMs_;
            break;
    }
    Add(out, StartTimer{RunningTimer(phase), milliseconds});
}

Effects Controller::Shown(Window window) {
    Effects out;
    if (window == Window::Splash) {
        if (phase_ == Phase::Unshown) Enter(Phase::Splash, out);
        return out;
    }
    // Once per run: showing the window again (after it was minimised) starts nothing. A
    // frontend without a splash starts here.
    if (phase_ == Phase::Unshown || phase_ == Phase::Splash || phase_ == Phase::GameWindowDue)
        Enter(Phase::Starting, out);
    return out;
}

Effects Controller::TimerDue(Timer timer) {
    Effects out;
    if (timer == Timer::None || timer != Running()) return out;
    switch (timer) {
        case Timer::Splash:
            Enter(Phase::GameWindowDue, out);
            break;
        case Timer::StartUp:
            boardPointer_ = true;
            Add(out, TileBackground{});
            ReturnToMenu(out);
            break;
        case Timer::SetUp:
            SetUpBoard(out);
            break;
        case Timer::Computer:
            ComputerTick(out);
            break;
        case Timer::None:
            break;
    }
    return out;
}

void Controller::ReturnToMenu(Effects& out) {
    // Whatever was pending belongs to what is being left: a computer move of the game, or
    // the set-up of a game not shown yet.
    Enter(Phase::Menu, out);
    // The menu opens at its defaults, and they hold from its opening on: an ended game left
    // through "?" is a two-player game unless the menu was switched to the computer.
    menu_ = Menu{};
    state_.GameMode = menu_.mode;
    state_.Difficulty = menu_.level;
}

Effects Controller::Choose(MenuOption option) {
    if (phase_ != Phase::Menu) return {};
    switch (option) {
        case MenuOption::TwoPlayers:
            menu_.ChooseMode(rules::TwoPlayers);
            break;
        case MenuOption::AgainstComputer:
            menu_.ChooseMode(rules::AgainstComputer);
            break;
        case MenuOption::LowLevel:
            menu_.ChooseLevel(rules::LowDifficulty);
            break;
        case MenuOption::HighLevel:
            menu_.ChooseLevel(rules::HighDifficulty);
            break;
    }
    return {};
}

Effects Controller::MenuClosed(MenuAction action) {
    Effects out;
    if (phase_ != Phase::Menu) return out;
    state_.GameMode = menu_.mode;
    state_.Difficulty = menu_.level;
    switch (action) {
        case MenuAction::Start:
            StartGame(out);
            break;
        case MenuAction::Information:
            Enter(Phase::Information, out);
            break;
        case MenuAction::Quit:
            handOnAfterMenu_ = false;
            Enter(Phase::Ending, out);
            return out;
    }
    if (std::exchange(handOnAfterMenu_, false)) HandOnToTheComputer(out);
    return out;
}

void Controller::StartGame(Effects& out) {
    rules::StartNewGame(state_);
    // The menu writes the round without its blank ("1kolo"); a move writes "1 kolo".
    labels_ = {screen::StartRoundLabelText(state_.RoundNumber),
               screen::PlayerLabelText(state_.CurrentPlayer), state_.Player1Color};
    // The board is set up on the timer's tick: the previous game's position is never
    // shown, and nothing of the set-up runs before the menu has gone.
    Enter(Phase::NewGame, out);
}

void Controller::SetUpBoard(Effects& out) {
    const bool computerOpens = rules::SetUpBoard(state_);
    Enter(computerOpens ? Phase::ComputerArmed : Phase::PersonToMove, out);
    Add(out, Redraw{});
}

Effects Controller::CellPressed(int cell) {
    Effects out;
    // Only while a person is to move: never during the computer's delay, nor before a
    // game is set up, nor under a box.
    if (!PersonMayMove() || cell < 1 || cell > rules::Cells) return out;
    const rules::Move move{screen::CellColumn(cell), screen::CellRow(cell)};
    const int owner = state_.board.Owner(move.column, move.row);
    if (owner != 0 && owner != state_.CurrentPlayer) return out;

    const rules::TurnOutcome turn = rules::TakeTurn(state_, move);
    EndOfMove(turn.mover, out);
    if (turn.loser != 0) {
        EndGame(turn.loser, true);
        return out;
    }
    HandOnToTheComputer(out);
    return out;
}

// After a person's move, the computer answers when it is player 2's turn against the
// computer. After a move that ended the game this runs once the end's menu is left, on
// what that menu made of the game: a new game gives player 1 the move, and "?" keeps the
// ended game's player 2 to move; switched to the computer, the computer's turn then comes
// with the information text, and its first check ends the old game once more.
void Controller::HandOnToTheComputer(Effects& out) {
    if (state_.CurrentPlayer != 2 || state_.GameMode != rules::AgainstComputer) return;
    if (phase_ == Phase::PersonToMove)
        Enter(Phase::ComputerArmed, out);
    else if (phase_ == Phase::Information)
        Enter(Phase::InformationComputerArmed, out);
    // Otherwise a new game is being set up, or the program is ending.
}

void Controller::ComputerTick(Effects& out) {
    // A box is open: the move waits for it to close.
    if (BoxOpen()) {
        Enter(Phase::ComputerHeld, out);
        return;
    }
    RunComputerTurn(out);
}

void Controller::RunComputerTurn(Effects& out) {
    // The hand is back: the turn runs to its end now.
    Enter(phase_ == Phase::InformationComputerArmed ? Phase::Information : Phase::PersonToMove,
          out);
    if (const int loser = rules::CheckGameOver(state_)) {
        EndGame(loser, false);
        return;
    }
    const rules::TurnOutcome turn =
        rules::TakeTurn(state_, computers_.At(state_.Difficulty).Choose(state_, random_));
    EndOfMove(turn.moved ? turn.mover : 0, out);
    if (turn.loser != 0) EndGame(turn.loser, false);
}

void Controller::EndOfMove(int mover, Effects& out) {
    // After every chain reaction the board's pointer is back.
    boardPointer_ = true;
    Add(out, Redraw{});
    labels_ = {screen::RoundLabelText(state_.RoundNumber),
               screen::PlayerLabelText(state_.CurrentPlayer), rules::PlayerLabelColor(state_)};
    if (mover != 0) Add(out, MovePlayed{mover});
}

void Controller::EndGame(int loser, bool afterPerson) {
    handOnAfterMenu_ = afterPerson;
    Box(BoxKind::GameOver, screen::GameOverText(loser));
}

void Controller::Box(BoxKind kind, std::string text) {
    box_ = OpenBox{kind, std::move(text)};
}

Effects Controller::PointerMoved(Area area) {
    boardPointer_ = area == Area::Board;
    return {};
}

Effects Controller::BoxClosed() {
    Effects out;
    if (!BoxOpen()) return out;
    const BoxKind kind = std::exchange(box_, std::nullopt)->kind;
    // The computer's move held back by the box comes now, at the next tick.
    if (phase_ == Phase::ComputerHeld) Enter(Phase::ComputerArmed, out);
    if (kind == BoxKind::GameOver) ReturnToMenu(out);
    return out;
}

Effects Controller::Escape() {
    Effects out;
    if (!BoxOpen() && EscapeOpensMenu(phase_)) ReturnToMenu(out);
    return out;
}

Effects Controller::SavePressed() {
    Effects out;
    if (!ShowsGame(phase_) || BoxOpen()) return out;
    const SaveOutcome saved = storage_.Save(savegame::FormatBoard(state_.board));
    if (!saved.saved) {
        Box(BoxKind::Failure, screen::SaveFailed + saved.reason);
        return out;
    }
    if (!saved.warning.empty()) Add(out, Warn{saved.warning});
    // The save went elsewhere than before: the player should know where it is now.
    if (!saved.notice.empty()) Box(BoxKind::Notice, saved.notice);
    return out;
}

Effects Controller::LoadPressed() {
    Effects out;
    if (!ShowsGame(phase_) || BoxOpen()) return out;
    const LoadOutcome loaded = storage_.Load();
    std::string why = loaded.reason;
    const std::optional<rules::Board> board =
        loaded.text ? savegame::ParseBoard(*loaded.text, &why) : std::nullopt;
    if (!board) {
        // The board on screen stays exactly as it was.
        Box(BoxKind::Failure, screen::LoadFailed + why);
        return out;
    }
    // The board alone: not the player to move, nor the round, nor the labels.
    state_.board = *board;
    Add(out, Redraw{});
    return out;
}

}  // namespace play
