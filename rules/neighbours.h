#pragma once

#include "game_state.h"

// Neighbourhoods the computer players judge a cell by. Orthogonal and diagonal
// neighbours of a playable cell may lie on the frame, where they read as empty.
namespace rules {

template <typename Visit>
void ForEachOrthogonalNeighbour(int c, int r, Visit visit) {
    visit(c + 1, r);
    visit(c - 1, r);
    visit(c, r + 1);
    visit(c, r - 1);
}

template <typename Visit>
void ForEachDiagonalNeighbour(int c, int r, Visit visit) {
    visit(c + 1, r + 1);
    visit(c - 1, r - 1);
    visit(c - 1, r + 1);
    visit(c + 1, r - 1);
}

// The four diagonal neighbours and the straight two-step cells that lie on the board.
template <typename Visit>
void ForEachSecondRingCell(int c, int r, Visit visit) {
    ForEachDiagonalNeighbour(c, r, visit);
    if (c + 2 < Columns + 1) visit(c + 2, r);
    if (c - 2 > 0) visit(c - 2, r);
    if (r + 2 < Rows + 1) visit(c, r + 2);
    if (r - 2 > 0) visit(c, r - 2);
}

// Whether CurrentPlayer has any cell to play: an empty one or one of their own.
inline bool HasPlayableCell(const GameState& state) {
    for (int r = 1; r <= Rows; ++r) {
        for (int c = 1; c <= Columns; ++c) {
            const int owner = state.board.Owner(c, r);
            if (owner == 0 || owner == state.CurrentPlayer) return true;
        }
    }
    return false;
}

}  // namespace rules
