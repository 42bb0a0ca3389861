#include "ai_low.h"

#include <cassert>

#include "neighbours.h"

namespace ai_low {
namespace {

bool IsThreat(const rules::GameState& state, int column, int row) {
    return state.board.Owner(column, row) == 1 &&
           state.board.Count(column, row) == state.CriticalMass;
}

bool SecondRingHoldsThreat(const rules::GameState& state, int c, int r) {
    bool threat = false;
    rules::ForEachSecondRingCell(
        c, r, [&](int column, int row) { threat = threat || IsThreat(state, column, row); });
    return threat;
}

void SetMoveFromRow(const Module& m, rules::GameState& state, int index) {
    state.MoveColumn = m.Candidates[index][2];
    state.MoveRow = m.Candidates[index][3];
}

}  // namespace

void EvaluateCandidate(Module& m, const rules::GameState& state) {
    m.TrialBoard = state.board;
    m.TrialBoard.SetCount(m.ScanColumn, m.ScanRow, 5);
    rules::ResolveBursts(m.TrialBoard, state.CriticalMass, state.CurrentPlayer);
    m.OwnTotal = rules::CountPieces(m.TrialBoard, 2);
    m.OpponentTotal = rules::CountPieces(m.TrialBoard, 1);
    m.CandidateCount += 1;
    m.Candidates[m.CandidateCount] = {0, m.OwnTotal, m.ScanColumn, m.ScanRow, m.OpponentTotal};
}

bool CheckChosenCell(const rules::GameState& state) {
    const int c = state.MoveColumn;
    const int r = state.MoveRow;
    const rules::Board& board = state.board;
    bool fullNeighbour = false;
    bool openNeighbour = false;  // one with CriticalMass - 1 pieces or fewer
    rules::ForEachOrthogonalNeighbour(c, r, [&](int column, int row) {
        fullNeighbour = fullNeighbour || board.Count(column, row) == state.CriticalMass;
        openNeighbour = openNeighbour || board.Count(column, row) <= state.CriticalMass - 1;
    });
    const bool threat = SecondRingHoldsThreat(state, c, r);
    if (fullNeighbour && threat) return true;
    if (!openNeighbour) return true;
    return !threat;
}

void PickRandomCell(Module& m, rules::GameState& state, rules::RandomSource& random) {
    assert(rules::HasPlayableCell(state));
    for (;;) {
        m.CandidateCount = 0;
        random.Reseed();
        state.MoveColumn = 1 + static_cast<int>(random.Next() * 7);
        state.MoveRow = 1 + static_cast<int>(random.Next() * 8);
        const int owner = state.board.Owner(state.MoveColumn, state.MoveRow);
        if (owner == 0 || owner == state.CurrentPlayer) return;
    }
}

std::optional<rules::Move> ChooseMoveLow(Module& m, const rules::GameState& game,
                                         rules::RandomSource& random) {
    if (!rules::HasPlayableCell(game)) return std::nullopt;
    // The player works out its cell in MoveColumn and MoveRow of a copy of the game.
    rules::GameState state = game;
    const rules::Board& board = state.board;
    const int fullCount = state.CriticalMass;

    // Start, and the first scan over the computer's own full cells.
    m.CandidateCount = 0;
    state.MoveColumn = 0;
    state.MoveRow = 0;
    m.UseCandidates = 1;
    int chosenIndex = 0;
    for (m.ScanRow = 1; m.ScanRow <= rules::Rows; ++m.ScanRow) {
        for (m.ScanColumn = 1; m.ScanColumn <= rules::Columns; ++m.ScanColumn) {
            if (board.Owner(m.ScanColumn, m.ScanRow) == state.CurrentPlayer &&
                board.Count(m.ScanColumn, m.ScanRow) == fullCount) {
                EvaluateCandidate(m, state);
            }
        }
    }

    enum class Step { Screen, NextCandidate, RandomPick, Apply };
    Step step = Step::RandomPick;
    if (m.CandidateCount > 0) {
        chosenIndex = rules::ChooseCandidate(m.Candidates, m.CandidateCount);
        SetMoveFromRow(m, state, chosenIndex);
        step = Step::Screen;
    }

    for (;;) {
        switch (step) {
            case Step::Screen:
                step = CheckChosenCell(state) ? Step::Apply : Step::NextCandidate;
                break;

            case Step::NextCandidate:
                if (chosenIndex > m.CandidateCount) {
                    step = Step::Apply;
                    break;
                }
                ++chosenIndex;
                if (chosenIndex > m.CandidateCount) {
                    m.UseCandidates = 0;
                    step = Step::RandomPick;
                } else {
                    SetMoveFromRow(m, state, chosenIndex);
                    step = Step::Screen;
                }
                break;

            case Step::RandomPick: {
                PickRandomCell(m, state, random);
                // Fallback scan: own cells one, then two pieces below full, unless a
                // player-1 neighbour is at least as full.
                bool selected = false;
                for (int deficit = 1; deficit < fullCount - 1 && !selected; ++deficit) {
                    const int want = fullCount - deficit;
                    for (m.ScanRow = 1; m.ScanRow <= rules::Rows; ++m.ScanRow) {
                        for (m.ScanColumn = 1; m.ScanColumn <= rules::Columns; ++m.ScanColumn) {
                            if (board.Owner(m.ScanColumn, m.ScanRow) != state.CurrentPlayer ||
                                board.Count(m.ScanColumn, m.ScanRow) != want) {
                                continue;
                            }
                            bool skip = false;
                            rules::ForEachOrthogonalNeighbour(
                                m.ScanColumn, m.ScanRow, [&](int column, int row) {
                                    skip = skip || (board.Owner(column, row) == 1 &&
                                                    board.Count(column, row) >= want);
                                });
                            if (!skip) EvaluateCandidate(m, state);
                        }
                    }
                    if (m.UseCandidates != 0 && m.CandidateCount != 0) {
                        // Second selection: the row that leaves the opponent least.
                        int bestOpponent = 1000;
                        chosenIndex = 0;
                        for (int i = 1; i <= m.CandidateCount; ++i) {
                            if (m.Candidates[i][4] < bestOpponent) {
                                chosenIndex = i;
                                bestOpponent = m.Candidates[i][4];
                            }
                        }
                        SetMoveFromRow(m, state, chosenIndex);
                        selected = true;
                    }
                }
                // Without a selection the random cell is still in MoveColumn, MoveRow.
                step = Step::Screen;
                break;
            }

            case Step::Apply:
                return rules::Move{state.MoveColumn, state.MoveRow};
        }
    }
}

}  // namespace ai_low
