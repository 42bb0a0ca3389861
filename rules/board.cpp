#include "board.h"

namespace rules {

int ResolveBursts(Board& board, int criticalMass, int mover) {
    int bursts = 0;
    // Cells before the one that burst were not overfull, and a burst touches only its
    // neighbours, so a fresh scan from (1,1) would find nothing earlier than the row
    // above the burst. Starting there gives the same order without the rescans.
    int startRow = 1;
    for (;;) {
        int burstColumn = 0;
        int burstRow = 0;
        for (int row = startRow; row <= Rows && burstRow == 0; ++row) {
            for (int column = 1; column <= Columns; ++column) {
                if (board.Count(column, row) > criticalMass) {
                    burstColumn = column;
                    burstRow = row;
                    break;
                }
            }
        }
        if (burstRow == 0) return bursts;

        const int c = burstColumn;
        const int r = burstRow;
        board.SetCount(c, r, 1);
        if (c - 1 > 0) board.Set(c - 1, r, mover, board.Count(c - 1, r) + 1);
        if (c + 1 < Columns + 1) board.Set(c + 1, r, mover, board.Count(c + 1, r) + 1);
        if (r + 1 < Rows + 1) board.Set(c, r + 1, mover, board.Count(c, r + 1) + 1);
        if (r - 1 > 0) board.Set(c, r - 1, mover, board.Count(c, r - 1) + 1);
        ++bursts;
        startRow = r > 1 ? r - 1 : 1;
    }
}

int CountPieces(const Board& board, int player) {
    int total = 0;
    for (int row = 1; row <= Rows; ++row) {
        for (int column = 1; column <= Columns; ++column) {
            if (board.Owner(column, row) == player) total += board.Count(column, row);
        }
    }
    return total;
}

}  // namespace rules
