#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "board.h"

// Boards written as 8 lines of 7 cells: ".." is empty, "14" is player 1 with 4 pieces,
// "23" player 2 with 3.
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

// Every cell player 1's with one piece, except those given as "column,row,owner,count".
inline rules::Board PlayerOneEverywhereExcept(const std::vector<std::array<int, 4>>& exceptions) {
    rules::Board board;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 7; ++c) board.Set(c, r, 1, 1);
    for (const auto& [c, r, owner, count] : exceptions) board.Set(c, r, owner, count);
    return board;
}
