#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "board.h"

// Boards for the tests.

// Cells written "column,row:owner count", separated by blanks: "4,4:24 5,4:13" is (4,4)
// player 2's with 4 pieces and (5,4) player 1's with 3. On `base`, an empty board unless
// given.
inline rules::Board BoardWith(const std::string& cells, rules::Board base = {}) {
    std::istringstream in(cells);
    std::string cell;
    while (in >> cell) {
        const std::size_t comma = cell.find(','), colon = cell.find(':');
        base.Set(std::stoi(cell.substr(0, comma)), std::stoi(cell.substr(comma + 1)),
                 cell.at(colon + 1) - '0', cell.at(colon + 2) - '0');
    }
    return base;
}

// Every cell `owner`'s with `count` pieces, but for the cells given as for BoardWith.
inline rules::Board Everywhere(int owner, int count, const std::string& except = "") {
    rules::Board board;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 7; ++c) board.Set(c, r, owner, count);
    return BoardWith(except, board);
}

// 8 lines of 7 cells: ".." is empty, "14" is player 1 with 4 pieces, "23" player 2 with 3.
inline rules::Board BoardFromText(const std::vector<std::string>& rows) {
    rules::Board board;
    for (int r = 1; r <= 8; ++r) {
        std::istringstream line(rows.at(r - 1));
        for (int c = 1; c <= 7; ++c) {
            std::string cell;
            line >> cell;
            if (cell != "..") board.Set(c, r, cell.at(0) - '0', cell.at(1) - '0');
        }
    }
    return board;
}
