#pragma once

#include <array>

namespace rules {

// A computer player's table of trial bursts. Rows 1..count are in use: [1] the pieces
// the computer would own, [2] column, [3] row, [4] the pieces the opponent would keep.
using CandidateTable = std::array<std::array<int, 5>, 201>;

// The first row, displaced only by a later row that is strictly better in both totals at
// once; so ties keep the earlier row. Returns 0 for an empty table.
inline int ChooseCandidate(const CandidateTable& candidates, int count) {
    int chosen = 0;
    int bestOwn = 0;
    int bestOpponent = 1000;
    for (int i = 1; i <= count; ++i) {
        if (candidates[i][1] > bestOwn && candidates[i][4] < bestOpponent) {
            chosen = i;
            bestOwn = candidates[i][1];
            bestOpponent = candidates[i][4];
        }
    }
    return chosen;
}

}  // namespace rules
