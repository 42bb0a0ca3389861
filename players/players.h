#pragma once

#include <optional>

#include "ai_high.h"
#include "ai_low.h"
#include "game_state.h"
#include "random_source.h"

// The computer's part, one player for each level behind one interface. Which player a
// level gets is decided here and nowhere else.
namespace players {

class Computer {
  public:
    virtual ~Computer() = default;
    // The cell player 2 plays on `state`, or nothing when no cell is empty or player 2's.
    // The state is left alone: rules::TakeTurn applies the choice.
    virtual std::optional<rules::Move> Choose(const rules::GameState& state,
                                              rules::RandomSource& random) = 0;
};

// Both levels' players, each keeping its working tables from one turn to the next (the
// high level's ForceAccept survives across turns and games, as it always has).
class Computers {
  public:
    Computer& At(rules::Level level);
    ai_high::Module& HighTables() { return high_.tables; }

  private:
    struct Low final : Computer {
        ai_low::Module tables;
        std::optional<rules::Move> Choose(const rules::GameState& state,
                                          rules::RandomSource& random) override {
            return ai_low::ChooseMoveLow(tables, state, random);
        }
    };
    struct High final : Computer {
        ai_high::Module tables;
        std::optional<rules::Move> Choose(const rules::GameState& state,
                                          rules::RandomSource& random) override {
            return ai_high::ChooseMoveHigh(tables, state, random);
        }
    };
    Low low_;
    High high_;
};

}  // namespace players
