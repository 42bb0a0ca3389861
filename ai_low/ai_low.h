#pragma once

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

// Player 2's piece at (MoveColumn, MoveRow), the chain reaction and the turn passed on.
void ApplyComputerMove(rules::GameState& state);

// One whole turn for player 2. Returns false when the board offers no cell that is empty
// or player 2's: nothing is placed and the turn passes to player 1.
bool ComputerMoveLow(Module& m, rules::GameState& state, rules::RandomSource& random);

}  // namespace ai_low
