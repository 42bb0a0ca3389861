#pragma once

#include <string>

// What the game window is doing, as one value: everything else about the window that
// depends on it (which controls show, the pointer image, whether a click or the
// computer may move, which timer runs) is worked out from it, never kept beside it.
namespace screen {

enum class Phase {
    Unshown,      // made, not shown yet
    Starting,     // shown; the start-up tick paints the background and opens the menu
    Menu,         // the menu is open over the tiled background
    Information,  // the information text stands on the window, the menu closed
    // The information text, and the computer's turn of a finished game still to come: that
    // game's menu was switched to the computer and left through "?". The turn's first
    // check then ends the game once more.
    InformationComputerArmed,
    NewGame,        // the menu started a game; its board is set up on the next tick
    PersonToMove,   // a game, a person to move
    ComputerArmed,  // a game, the computer's move waiting for its timer
    ComputerHeld,   // the timer ticked while a box was open: the move comes when it closes
    Ending,         // the menu's "X": the program is ending
};

// The window's timers: the start-up tick, the new game's set-up tick, and the computer's
// move (zappc).
enum class Timer { None, StartUp, SetUp, Computer };
// How long a timer runs: one tick, or the computer's delay after a person's move.
enum class Delay { Tick, Computer };
struct TimerRun {
    Timer timer = Timer::None;
    Delay delay = Delay::Tick;
    bool operator==(const TimerRun&) const = default;
};

// What the step from `from` into `to` starts; every other timer stops. The computer
// answers a person's move after its delay; it opens a game, and moves once the box that
// held its move has gone, at the next tick.
constexpr TimerRun RunsOnEntering(Phase from, Phase to) {
    switch (to) {
        case Phase::Starting:
            return {Timer::StartUp, Delay::Tick};
        case Phase::NewGame:
            return {Timer::SetUp, Delay::Tick};
        case Phase::ComputerArmed:
            return {Timer::Computer, from == Phase::PersonToMove ? Delay::Computer : Delay::Tick};
        case Phase::InformationComputerArmed:
            return {Timer::Computer, Delay::Computer};
        default:
            return {};
    }
}

struct WindowState {
    Phase phase = Phase::Unshown;
    // A message box is open over the phase; its own event loop runs, and so do the timers.
    bool box = false;
    bool operator==(const WindowState&) const = default;
};

constexpr bool ComputerPending(Phase phase) {
    return phase == Phase::ComputerArmed || phase == Phase::ComputerHeld ||
           phase == Phase::InformationComputerArmed;
}

// The board, the balance bar, both status labels and the save and load buttons.
constexpr bool ShowsGame(Phase phase) {
    return phase == Phase::PersonToMove || phase == Phase::ComputerArmed ||
           phase == Phase::ComputerHeld;
}

constexpr bool ShowsInformation(Phase phase) {
    return phase == Phase::Information || phase == Phase::InformationComputerArmed;
}

// Esc leaves these for the menu; elsewhere it does nothing (the menu and the boxes are
// modal, and the start-up opens the menu of its own accord).
constexpr bool EscapeOpensMenu(Phase phase) {
    return ShowsInformation(phase) || phase == Phase::NewGame || phase == Phase::PersonToMove ||
           phase == Phase::ComputerArmed;
}

inline const char* Name(Phase phase) {
    constexpr const char* names[] = {
        "Unshown", "Starting",     "Menu",          "Information",  "InformationComputerArmed",
        "NewGame", "PersonToMove", "ComputerArmed", "ComputerHeld", "Ending"};
    return names[static_cast<int>(phase)];
}

inline std::string Describe(const WindowState& state) {
    return std::string(Name(state.phase)) + (state.box ? " + box" : "");
}

}  // namespace screen
