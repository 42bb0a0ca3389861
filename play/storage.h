#pragma once

#include <optional>
#include <string>

// Where the one saved game is kept: a file beside the program or in the player's data
// folder on the desktop, the page's own storage in a browser. The board's text (format.h)
// goes out and comes back; every failure comes back as a reason in Czech, for the player.
namespace play {

struct SaveOutcome {
    bool saved = false;
    std::string reason;   // why it was not saved
    std::string warning;  // saved, but less surely (for the program's log, not a box)
    std::string notice;   // saved elsewhere than before: where, for the player
};

struct LoadOutcome {
    std::optional<std::string> text;
    std::string reason;  // why there is no text
};

class Storage {
  public:
    virtual ~Storage() = default;
    virtual SaveOutcome Save(const std::string& text) = 0;
    virtual LoadOutcome Load() = 0;
};

}  // namespace play
