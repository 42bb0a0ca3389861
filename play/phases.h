#pragma once

#include <array>
#include <cstddef>

// What the game is doing, as one value: everything else that depends on it (which
// controls show, the pointer image, whether a press or the computer may move, which timer
// runs) is worked out from it, never kept beside it.
namespace play {

enum class Phase {
    Unshown,        // nothing on the screen yet
    Splash,         // the splash stands for its four seconds
    GameWindowDue,  // the splash has gone; the game window is asked to show
    Starting,       // the game window shows; the start-up tick paints it and opens the menu
    Menu,           // the menu is open over the tiled background
    Information,    // the information text stands on the window, the menu closed
    // The information text, and the computer's turn of a finished game still to come: that
    // game's menu was switched to the computer and left through "?". The turn's first
    // check then ends the game once more.
    InformationComputerArmed,
    NewGame,        // the menu started a game; its board is set up on the next tick
    PersonToMove,   // a game, a person to move
    ComputerArmed,  // a game, the computer's move waiting for its timer
    ComputerHeld,   // the timer ticked while a box was open: the move comes when it closes
    Ending,         // the menu's "X": the program is ending; stays the last
};
inline constexpr std::size_t PhaseCount = static_cast<std::size_t>(Phase::Ending) + 1;

// The timers, one running at a time: the splash's four seconds, the start-up tick, the
// new game's set-up tick, and the computer's move.
enum class Timer { None, Splash, StartUp, SetUp, Computer };

// What the step into a phase starts. The computer answers a person's move after its
// delay; it opens a game, and moves once the box that held its move has gone, at the
// next tick.
enum class OnEntry {
    Nothing,
    SplashTime,
    StartUpTick,
    SetUpTick,
    ComputerAfterPerson,
    ComputerDelay
};

// One row per phase, in the order of Phase: what the game window shows, the pointer's
// custom image (the hourglass while the computer's move is pending), whether Esc opens
// the menu (elsewhere the menu and the boxes are modal, and the start-up opens the menu of
// its own accord), and which timer the step into it starts. A new phase is one more row.
struct PhaseRow {
    Phase phase;
    const char* name;
    bool showsGame;         // the board, the balance bar, both labels, #S# and #L#
    bool showsInformation;  // the information text
    bool tiled;             // the background's tiles, from the start-up tick on
    bool computerPending;   // the hourglass
    bool escapeOpensMenu;
    OnEntry onEntry;
};

inline constexpr std::array<PhaseRow, PhaseCount> Phases{{
    // phase, name, shows game, shows information, tiled, computer pending, Esc opens the menu
    {Phase::Unshown, "Unshown", false, false, false, false, false, OnEntry::Nothing},
    {Phase::Splash, "Splash", false, false, false, false, false, OnEntry::SplashTime},
    {Phase::GameWindowDue, "GameWindowDue", false, false, false, false, false, OnEntry::Nothing},
    {Phase::Starting, "Starting", false, false, false, false, false, OnEntry::StartUpTick},
    {Phase::Menu, "Menu", false, false, true, false, false, OnEntry::Nothing},
    {Phase::Information, "Information", false, true, true, false, true, OnEntry::Nothing},
    {Phase::InformationComputerArmed, "InformationComputerArmed", false, true, true, true, true,
     OnEntry::ComputerDelay},
    {Phase::NewGame, "NewGame", false, false, true, false, true, OnEntry::SetUpTick},
    {Phase::PersonToMove, "PersonToMove", true, false, true, false, true, OnEntry::Nothing},
    {Phase::ComputerArmed, "ComputerArmed", true, false, true, true, true,
     OnEntry::ComputerAfterPerson},
    {Phase::ComputerHeld, "ComputerHeld", true, false, true, true, false, OnEntry::Nothing},
    {Phase::Ending, "Ending", false, false, true, false, false, OnEntry::Nothing},
}};

// Every row stands in its phase's place, so a phase added to the enum without its row,
// or a row out of order, does not compile.
constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < Phases.size(); ++i)
        if (static_cast<std::size_t>(Phases[i].phase) != i || Phases[i].name == nullptr)
            return false;
    return true;
}
static_assert(RowsInOrder(), "one row per phase, in the order of Phase");

constexpr const PhaseRow& Row(Phase phase) {
    return Phases[static_cast<std::size_t>(phase)];
}

// The timer that runs while in `phase`: the one its entry started, until it is due (which
// always leaves the phase).
constexpr Timer RunningTimer(Phase phase) {
    switch (Row(phase).onEntry) {
        case OnEntry::Nothing:
            return Timer::None;
        case OnEntry::SplashTime:
            return Timer::Splash;
        case OnEntry::StartUpTick:
            return Timer::StartUp;
        case OnEntry::SetUpTick:
            return Timer::SetUp;
        case OnEntry::ComputerAfterPerson:
        case OnEntry::ComputerDelay:
            return Timer::Computer;
    }
    return Timer::None;
}

// A timer's name, as logs and a page's messages give it.
constexpr const char* Name(Timer timer) {
    switch (timer) {
        case Timer::None:
            return "none";
        case Timer::Splash:
            return "splash";
        case Timer::StartUp:
            return "start-up";
        case Timer::SetUp:
            return "set-up";
        case Timer::Computer:
            return "computer";
    }
    return "?";
}

constexpr bool ComputerPending(Phase phase) {
    return Row(phase).computerPending;
}
constexpr bool ShowsGame(Phase phase) {
    return Row(phase).showsGame;
}
constexpr bool BackgroundTiled(Phase phase) {
    return Row(phase).tiled;
}
constexpr bool ShowsInformation(Phase phase) {
    return Row(phase).showsInformation;
}
constexpr bool EscapeOpensMenu(Phase phase) {
    return Row(phase).escapeOpensMenu;
}
constexpr const char* Name(Phase phase) {
    return Row(phase).name;
}

}  // namespace play
