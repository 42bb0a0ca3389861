#pragma once

#include <string>

#include "content.h"
#include "game_state.h"
#include "menu.h"
#include "phases.h"

// Everything a screen shows of the turn cycle, as one value: a frontend paints it after
// every event it passed on, and keeps none of it. The board and the balance bar are drawn
// from the game itself (renderer.h), when the controller says they changed.
namespace play {

// Which window stands: none yet, the splash, the game window, or none any more.
enum class Showing { Nothing, Splash, Game, Ended };

// The message boxes: the end of a game, a failed save or load, where a save went.
enum class BoxKind { GameOver, Failure, Notice };

// The modal dialog open over the game window, if any.
enum class Dialog { None, Menu, Box };

// The status labels: the round, the player and the player's label colour.
struct Labels {
    std::string round;
    std::string player;
    rules::Color colour = 0;
    bool operator==(const Labels&) const = default;
};

struct View {
    Showing window = Showing::Nothing;
    bool showsGame = false;         // the board, the balance bar, both labels, #S# and #L#
    bool showsInformation = false;  // the information text
    bool backgroundTiled = false;   // the tiles behind the controls, once the window has its size
    screen::PointerLook pointer = screen::HandPointer;
    Labels labels;
    Dialog dialog = Dialog::None;
    Menu menu;  // while the menu is open: as the player has set it
    BoxKind boxKind = BoxKind::Failure;
    std::string boxText;        // while a box is open
    Timer timer = Timer::None;  // the one running
};

}  // namespace play
