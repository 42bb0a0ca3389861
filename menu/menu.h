#pragma once

#include "game_state.h"

// The menu as the player sees it: the kind of game and the level, and how they may change.
namespace play {

struct Menu {
    rules::Mode mode = rules::TwoPlayers;
    rules::Level level = rules::LowDifficulty;

    // The levels are chosen only against the computer; elsewhere they are greyed.
    bool LevelsEnabled() const { return mode == rules::AgainstComputer; }
    void ChooseMode(rules::Mode chosen) { mode = chosen; }
    // Switching back to two players keeps the level chosen, which then decides when that
    // game may first end.
    void ChooseLevel(rules::Level chosen) {
        if (LevelsEnabled()) level = chosen;
    }
    bool operator==(const Menu&) const = default;
};

// How the menu is left: its start button, "?" or "X".
enum class MenuAction { Start, Information, Quit };

}  // namespace play
