#pragma once

#include <array>
#include <optional>

#include "candidates.h"
#include "game_state.h"
#include "random_source.h"

// The computer at "Obtížnost velká": the look-ahead of its own full cells with a finer
// screening, a scored list of every cell it may play, a random cell biased to the inner
// board, and fixed retry rules.
namespace ai_high {

// Working tables of this player. ForceAccept deliberately survives from one computer
// turn to the next, across new and loaded games.
struct Module {
    int RejectCount = 0;
    int ForceAccept = 0;
    int ListExhausted = 0;

    rules::Board TrialBoard;
    // Rows 1..CandidateCount: [1] own total, [2] column, [3] row, [4] opponent total.
    rules::CandidateTable Candidates{};
    int CandidateCount = 0;
    int ScanColumn = 0;
    int ScanRow = 0;
    int OwnTotal = 0;
    int OpponentTotal = 0;

    int RandomArea = 0;
    // Rows 1..CellListCount: [1] score, [2] column, [3] row.
    std::array<std::array<int, 4>, 201> CellList{};
    int CellListCount = 0;
};

void EvaluateCandidate(Module& m, const rules::GameState& state);

// Judges (MoveColumn, MoveRow) by the full cells around it: true to play it.
bool CheckChosenCell(const rules::GameState& state);

// A cell player 1 does not own, from the inner block (columns 2..6, rows 2..7) while any
// inner cell is still free, otherwise from the whole board. Sets CandidateCount to 0.
void PickRandomCell(Module& m, rules::GameState& state, rules::RandomSource& random);

// Lists and scores every empty or own cell; returns the first row with the greatest
// score above 0, or 0.
int BuildCellList(Module& m, const rules::GameState& state);

// The cell player 2 plays on `state`, or nothing when the board offers no cell that is
// empty or player 2's; rules::TakeTurn applies it. Only the player's own tables change.
std::optional<rules::Move> ChooseMoveHigh(Module& m, const rules::GameState& state,
                                          rules::RandomSource& random);

}  // namespace ai_high
