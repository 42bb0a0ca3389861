#pragma once

#include <array>
#include <cassert>

namespace rules {

inline constexpr int Columns = 7;
inline constexpr int Rows = 8;
inline constexpr int Cells = Columns * Rows;

constexpr bool IsPlayable(int column, int row) {
    return column >= 1 && column <= Columns && row >= 1 && row <= Rows;
}

// The playing area with a frame of empty cells around it: columns 0..9, rows 0..10.
// The computer players look one and two cells past the edge and rely on the frame
// reading as owner 0, count 0, so only playable cells can ever be written.
class Board {
  public:
    static constexpr int LastFrameColumn = 9;
    static constexpr int LastFrameRow = 10;

    static constexpr bool InFrame(int column, int row) {
        return column >= 0 && column <= LastFrameColumn && row >= 0 && row <= LastFrameRow;
    }

    int Owner(int column, int row) const { return At(column, row).owner; }
    int Count(int column, int row) const { return At(column, row).count; }

    void SetOwner(int column, int row, int owner) { Playable(column, row).owner = owner; }
    void SetCount(int column, int row, int count) { Playable(column, row).count = count; }
    void Set(int column, int row, int owner, int count) {
        Cell& cell = Playable(column, row);
        cell.owner = owner;
        cell.count = count;
    }

    // Owner 0 and count 0 for every playable cell; the frame is already zero.
    void Clear() { cells_ = {}; }

    bool operator==(const Board&) const = default;

  private:
    struct Cell {
        int owner = 0;
        int count = 0;
        bool operator==(const Cell&) const = default;
    };

    const Cell& At(int column, int row) const {
        assert(InFrame(column, row));
        return cells_[row][column];
    }
    Cell& Playable(int column, int row) {
        assert(IsPlayable(column, row));
        return cells_[row][column];
    }

    std::array<std::array<Cell, LastFrameColumn + 1>, LastFrameRow + 1> cells_{};
};

// Plays out every burst on `board` for `mover`: the first overfull cell in row-major
// order keeps one piece and hands one to each orthogonal neighbour on the board, which
// becomes the mover's; then the scan starts over. Returns the number of bursts.
int ResolveBursts(Board& board, int criticalMass, int mover);

// Sum of the counts of the playable cells owned by `player`.
int CountPieces(const Board& board, int player);

}  // namespace rules
