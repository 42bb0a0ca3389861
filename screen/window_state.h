#pragma once

#include <string>

// What the game window is doing, as one value: everything else about the window that
// depends on it (which controls show, the pointer image, whether a click or the
// computer may move, which timer runs) is worked out from it, never kept beside it.
namespace screen {

enum class Phase {
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

struct WindowState {
    Phase phase = Phase::Starting;
    // A message box is open over the phase; its own event loop runs, and so do the timers.
    bool box = false;
    bool operator==(const WindowState&) const = default;
};

constexpr bool ComputerPending(Phase phase) {
    return phase == Phase::ComputerArmed || phase == Phase::ComputerHeld ||
           phase == Phase::InformationComputerArmed;
}

// The computer's timer runs exactly in these.
constexpr bool ComputerTimerRuns(Phase phase) {
    return phase == Phase::ComputerArmed || phase == Phase::InformationComputerArmed;
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
        "Starting", "Menu",         "Information",   "InformationComputerArmed",
        "NewGame",  "PersonToMove", "ComputerArmed", "ComputerHeld",
        "Ending"};
    return names[static_cast<int>(phase)];
}

inline std::string Describe(const WindowState& state) {
    return std::string(Name(state.phase)) + (state.box ? " + box" : "");
}

}  // namespace screen
