#pragma once

#include <utility>

#include "savegame.h"
#include "storage.h"

// The desktop's save slot: hra.dat beside the program or in the player's data folder, with
// a refuge for a folder that refuses the save. It moves to the refuge when it had to use
// it, and stays there.
namespace savegame {

class FileStorage final : public play::Storage {
  public:
    explicit FileStorage(savegame::Slot slot) : slot_(std::move(slot)) {}
    play::SaveOutcome Save(const std::string& text) override;
    play::LoadOutcome Load() override;
    const savegame::Slot& Slot() const { return slot_; }

  private:
    savegame::Slot slot_;
};

}  // namespace savegame
