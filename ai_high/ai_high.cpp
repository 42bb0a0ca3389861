#include "ai_high.h"

#include <algorithm>
#include <cassert>

#include "neighbours.h"

namespace ai_high {
namespace {

bool IsFull(const rules::GameState& state, int column, int row) {
    return state.board.Count(column, row) == state.CriticalMass;
}

bool IsFullOf(const rules::GameState& state, int column, int row, int owner) {
    return IsFull(state, column, row) && state.board.Owner(column, row) == owner;
}

}  // namespace

void EvaluateCandidate(Module& m, const rules::GameState& state) {
    m.TrialBoard = state.board;
    m.TrialBoard.Set(m.ScanColumn, m.ScanRow, state.CurrentPlayer, 5);
    rules::ResolveBursts(m.TrialBoard, state.CriticalMass, state.CurrentPlayer);
    m.OwnTotal = rules::CountPieces(m.TrialBoard, 2);
    m.OpponentTotal = rules::CountPieces(m.TrialBoard, 1);
    m.CandidateCount += 1;
    m.Candidates[m.CandidateCount] = {0, m.OwnTotal, m.ScanColumn, m.ScanRow, m.OpponentTotal};
}

bool CheckChosenCell(const rules::GameState& state) {
    const int x = state.MoveColumn;
    const int y = state.MoveRow;
    int fullNeighbours = 0;
    bool fullNeighbourOfPlayer1 = false;
    bool fullNeighbourOfPlayer2 = false;
    bool openNeighbour = false;
    rules::ForEachOrthogonalNeighbour(x, y, [&](int c, int r) {
        if (IsFull(state, c, r)) ++fullNeighbours;
        fullNeighbourOfPlayer1 = fullNeighbourOfPlayer1 || IsFullOf(state, c, r, 1);
        fullNeighbourOfPlayer2 = fullNeighbourOfPlayer2 || IsFullOf(state, c, r, 2);
        openNeighbour = openNeighbour || (state.board.Owner(c, r) < 2 &&
                                          state.board.Count(c, r) <= state.CriticalMass);
    });
    bool fullDiagonal = false;
    rules::ForEachDiagonalNeighbour(x, y, [&](int c, int r) {
        fullDiagonal = fullDiagonal || IsFullOf(state, c, r, 1) || IsFullOf(state, c, r, 2);
    });
    bool threat = false;
    rules::ForEachSecondRingCell(
        x, y, [&](int c, int r) { threat = threat || IsFullOf(state, c, r, 1); });

    // Chain rule: next to a full cell, play when it sets off a chain or answers a threat.
    if (fullNeighbours > 0) {
        if (IsFull(state, x, y) && fullNeighbours >= 2) return true;
        if (threat) return true;
    }
    // Crossfire rule.
    if ((fullNeighbourOfPlayer1 || fullDiagonal) && fullNeighbourOfPlayer2) return false;
    // Shelter rule: surrounded by the computer's own cells.
    if (!openNeighbour) return true;
    // Ring rule.
    return !threat;
}

void PickRandomCell(Module& m, rules::GameState& state, rules::RandomSource& random) {
    assert(rules::HasPlayableCell(state));
    for (;;) {
        m.CandidateCount = 0;
        m.RandomArea = 1;
        int taken = 0;
        for (int r = 2; r <= 7; ++r)
            for (int c = 2; c <= 6; ++c) taken += state.board.Owner(c, r) != 0 ? 1 : 0;
        if (taken == 30) m.RandomArea = 2;
        random.Reseed();
        int column = 1 + static_cast<int>(random.Next() * 7);
        int row = 1 + static_cast<int>(random.Next() * 8);
        if (m.RandomArea == 1) {
            column = std::clamp(column, 2, 6);
            row = std::clamp(row, 2, 7);
        }
        state.MoveColumn = column;
        state.MoveRow = row;
        const int owner = state.board.Owner(column, row);
        if (owner == state.CurrentPlayer || owner == 0) return;
    }
}

int BuildCellList(Module& m, const rules::GameState& state) {
    const rules::Board& board = state.board;
    m.CellListCount = 0;
    for (int row = 1; row <= rules::Rows; ++row) {
        for (int column = 1; column <= rules::Columns; ++column) {
            const int owner = board.Owner(column, row);
            if (owner != state.CurrentPlayer && owner != 0) continue;
            const int own = board.Count(column, row);
            int score = owner == state.CurrentPlayer ? 1 : 0;
            rules::ForEachOrthogonalNeighbour(column, row, [&](int c, int r) {
                if (board.Owner(c, r) != 1) return;
                score += board.Count(c, r) <= own ? 1 : -2;
            });
            m.CellListCount += 1;
            m.CellList[m.CellListCount] = {0, score, column, row};
        }
    }
    int bestRow = 0;
    int bestScore = 0;
    for (int i = 1; i <= m.CellListCount; ++i) {
        if (m.CellList[i][1] > bestScore) {
            bestRow = i;
            bestScore = m.CellList[i][1];
        }
    }
    return bestRow;
}

std::optional<rules::Move> ChooseMoveHigh(Module& m, const rules::GameState& game,
                                          rules::RandomSource& random) {
    if (!rules::HasPlayableCell(game)) return std::nullopt;
    // The player works out its cell in MoveColumn and MoveRow of a copy of the game.
    rules::GameState state = game;
    const rules::Board& board = state.board;

    // 1. Start.
    m.RejectCount = 0;
    m.CandidateCount = 0;
    state.MoveColumn = 0;
    state.MoveRow = 0;
    m.ListExhausted = 0;
    int chosenIndex = 0;
    int listIndex = 0;

    // 2. Candidate scan over the computer's own full cells.
    for (m.ScanRow = 1; m.ScanRow <= rules::Rows; ++m.ScanRow) {
        for (m.ScanColumn = 1; m.ScanColumn <= rules::Columns; ++m.ScanColumn) {
            if (board.Owner(m.ScanColumn, m.ScanRow) == state.CurrentPlayer &&
                board.Count(m.ScanColumn, m.ScanRow) == state.CriticalMass) {
                EvaluateCandidate(m, state);
            }
        }
    }

    auto setFromList = [&](int index) {
        state.MoveColumn = m.CellList[index][2];
        state.MoveRow = m.CellList[index][3];
    };

    enum class Step { RandomAndList, Screen, Apply };
    Step step = Step::RandomAndList;

    // 3. Candidate choice: a later row wins only when strictly better in both totals.
    if (m.CandidateCount > 0) {
        chosenIndex = rules::ChooseCandidate(m.Candidates, m.CandidateCount);
        state.MoveColumn = m.Candidates[chosenIndex][2];
        state.MoveRow = m.Candidates[chosenIndex][3];
        step = Step::Screen;
    }

    for (;;) {
        switch (step) {
            case Step::RandomAndList:  // 4.
                PickRandomCell(m, state, random);
                listIndex = BuildCellList(m, state);
                if (m.ListExhausted == 0 && listIndex > 0) {
                    m.ForceAccept = 0;
                    setFromList(listIndex);
                }
                step = Step::Screen;
                break;

            case Step::Screen:  // 5.
                if (CheckChosenCell(state)) {
                    step = Step::Apply;
                    break;
                }
                // 6. Rejected.
                m.RejectCount += 1;
                if (m.ForceAccept == 1) {
                    step = Step::Apply;
                    break;
                }
                if (listIndex == 0) {
                    m.ForceAccept = 1;
                    step = Step::RandomAndList;
                    break;
                }
                listIndex += 1;
                if (listIndex > m.CellListCount) {
                    m.ListExhausted = 1;
                    m.ForceAccept = 1;
                    step = Step::RandomAndList;
                    break;
                }
                setFromList(listIndex);
                if (m.RejectCount == 3) {
                    // Back to the turn's candidate; the list cell just taken is dropped.
                    // A turn without a candidate screens that list cell instead.
                    if (chosenIndex > 0) {
                        state.MoveColumn = m.Candidates[chosenIndex][2];
                        state.MoveRow = m.Candidates[chosenIndex][3];
                    }
                } else if (m.RejectCount == m.CellListCount) {
                    step = Step::Apply;  // played without screening
                }
                break;

            case Step::Apply:  // 7.
                return rules::Move{state.MoveColumn, state.MoveRow};
        }
    }
}

}  // namespace ai_high
