#pragma once

#include <optional>
#include <string>

#include "board.h"

// Where the one saved game is kept: a file beside the program or in the player's data
// folder on the desktop, the page's own storage in a browser. Every failure comes back as
// a reason in Czech, for the player.
namespace play {

struct SaveOutcome {
    bool saved = false;
    std::string reason;   // why it was not saved
    std::string warning;  // saved, but less surely (for the program's log, not a box)
    std::string notice;   // saved elsewhere than before: where, for the player
};

struct LoadOutcome {
    std::optional<rules::Board> board;
    std::string reason;  // why there is no board
};

class Storage {
  public:
    virtual ~Storage() = default;
    virtual SaveOutcome Save(const rules::Board& board) = 0;
    virtual LoadOutcome Load() = 0;
};

}  // namespace play
