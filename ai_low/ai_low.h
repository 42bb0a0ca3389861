#pragma once

#include <optional>

#include "candidates.h"
#include "game_state.h"
#include "random_source.h"

// The computer at "Obtížnost malá": one look-ahead burst for each of its full cells, a
// screening against nearby threats, and a random fallback.
namespace ai_low {

// Working tables of this player, kept from one turn to the next.
struct Module {
    rules::Board TrialBoard;
    // Rows 1..CandidateCount: [1] own total, [2] column, [3] row, [4] opponent total.
    rules::CandidateTable Candidates{};
    int CandidateCount = 0;
    int UseCandidates = 0;
    int ScanColumn = 0;
    int ScanRow = 0;
    int OwnTotal = 0;
    int OpponentTotal = 0;
};

// Bursts (ScanColumn, ScanRow) on a copy of the board and appends the pieces each
// player would then own to Candidates.
void EvaluateCandidate(Module& m, const rules::GameState& state);

// The screening of (MoveColumn, MoveRow): true to play it, false to look further.
bool CheckChosenCell(const rules::GameState& state);

// A uniformly drawn cell that player 1 does not own, into MoveColumn and MoveRow. The
// board must hold at least one such cell.
void PickRandomCell(Module& m, rules::GameState& state, rules::RandomSource& random);

// The cell player 2 plays on `state`, or nothing when the board offers no cell that is
// empty or player 2's; rules::TakeTurn applies it. Only the player's own tables change.
std::optional<rules::Move> ChooseMoveLow(Module& m, const rules::GameState& state,
                                         rules::RandomSource& random);

}  // namespace ai_low
