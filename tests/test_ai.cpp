#include <gtest/gtest.h>

#include <map>
#include <random>

#include "ai_high.h"
#include "ai_low.h"
#include "board_text.h"
#include "candidates.h"
#include "game_state.h"

using rules::GameState;
using rules::ScriptedRandom;

namespace {

GameState ComputerToMove(const rules::Board& board, int difficulty) {
    GameState state;
    rules::StartNewGame(state);
    state.board = board;
    state.GameMode = rules::AgainstComputer;
    state.Difficulty = difficulty;
    state.CurrentPlayer = 2;
    state.RoundNumber = 5;
    return state;
}

GameState Judging(const rules::Board& board, int column, int row) {
    GameState state = ComputerToMove(board, rules::HighDifficulty);
    state.MoveColumn = column;
    state.MoveRow = row;
    return state;
}

struct Played {
    int column;
    int row;
    std::size_t draws;
};

Played PlayLow(const rules::Board& board, std::vector<double> draws,
               ai_low::Module* module = nullptr) {
    ai_low::Module local;
    ai_low::Module& m = module ? *module : local;
    GameState state = ComputerToMove(board, rules::LowDifficulty);
    ScriptedRandom random(std::move(draws));
    EXPECT_TRUE(ai_low::ComputerMoveLow(m, state, random));
    return {state.MoveColumn, state.MoveRow, random.Draws()};
}

Played PlayHigh(const rules::Board& board, std::vector<double> draws, int& forceAccept) {
    ai_high::Module m;
    m.ForceAccept = forceAccept;
    GameState state = ComputerToMove(board, rules::HighDifficulty);
    ScriptedRandom random(std::move(draws));
    EXPECT_TRUE(ai_high::ComputerMoveHigh(m, state, random));
    forceAccept = m.ForceAccept;
    return {state.MoveColumn, state.MoveRow, random.Draws()};
}

rules::CandidateTable Rows(const std::vector<std::pair<int, int>>& totals) {
    rules::CandidateTable table{};
    int i = 0;
    for (const auto& [own, opponent] : totals) table[++i] = {0, own, i, 1, opponent};
    return table;
}

// A full player-2 cell at (2,2) under a full player-1 cell on its diagonal (3,3), in a sea
// of single player-1 pieces. The high player's list then holds (2,2) first, then the
// given empty cells in board order.
rules::Board ThreatenedCandidateWithEmptyCells(const std::vector<std::pair<int, int>>& empty) {
    std::vector<std::array<int, 4>> cells = {{2, 2, 2, 4}, {3, 3, 1, 4}};
    for (const auto& [c, r] : empty) cells.push_back({c, r, 0, 0});
    return PlayerOneEverywhereExcept(cells);
}

}  // namespace

TEST(CandidateChoice, LaterRowWinsOnlyWhenStrictlyBetterInBothTotals) {
    EXPECT_EQ(rules::ChooseCandidate(Rows({{10, 5}, {12, 6}, {11, 4}}), 3), 3);
    EXPECT_EQ(rules::ChooseCandidate(Rows({{20, 8}, {25, 8}}), 2), 1);
    EXPECT_EQ(rules::ChooseCandidate(Rows({{9, 3}, {9, 3}}), 2), 1);
    EXPECT_EQ(rules::ChooseCandidate(Rows({{9, 3}, {9, 2}}), 2), 1);
    EXPECT_EQ(rules::ChooseCandidate(Rows({{9, 3}, {10, 2}}), 2), 2);
    EXPECT_EQ(rules::ChooseCandidate(Rows({}), 0), 0);
}

TEST(Evaluation, TrialsNeverTouchTheBoardAndRepeatExactly) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 200; ++trial) {
        rules::Board board;
        for (int r = 1; r <= 8; ++r) {
            for (int c = 1; c <= 7; ++c) {
                const int count = static_cast<int>(rng() % 5);
                if (count) board.Set(c, r, 1 + static_cast<int>(rng() % 2), count);
            }
        }
        board.Set(4, 4, 2, 4);
        const GameState state = ComputerToMove(board, rules::LowDifficulty);
        ai_low::Module low;
        ai_high::Module high;
        low.ScanColumn = high.ScanColumn = 4;
        low.ScanRow = high.ScanRow = 4;
        for (int i = 0; i < 3; ++i) {
            ai_low::EvaluateCandidate(low, state);
            ai_high::EvaluateCandidate(high, state);
        }
        ASSERT_EQ(state.board, board);
        EXPECT_EQ(low.Candidates[1], low.Candidates[3]);
        EXPECT_EQ(low.Candidates[1], high.Candidates[2]);  // same trial, same result
        EXPECT_GE(low.Candidates[1][1], 1);
        // The trial is the real chain reaction played on a copy.
        GameState played = state;
        played.MoveColumn = 4;
        played.MoveRow = 4;
        rules::PlaceMove(played);
        EXPECT_EQ(low.TrialBoard, played.board);
        EXPECT_EQ(low.OwnTotal, rules::CountPieces(played, 2));
        EXPECT_EQ(low.OpponentTotal, rules::CountPieces(played, 1));
    }
}

TEST(Evaluation, CornerCandidateLosesPiecesAndCapturesWholeCells) {
    const rules::Board board = BoardFromText({
        "24 13 .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. 12",
    });
    ai_low::Module m;
    m.ScanColumn = 1;
    m.ScanRow = 1;
    ai_low::EvaluateCandidate(m, ComputerToMove(board, rules::LowDifficulty));
    // (1,1) keeps 1, (1,2) gets 1, (2,1) is taken with its 3 pieces plus one.
    EXPECT_EQ(m.CandidateCount, 1);
    EXPECT_EQ(m.Candidates[1][1], 1 + 1 + 4);
    EXPECT_EQ(m.Candidates[1][4], 2);
    EXPECT_EQ(m.Candidates[1][2], 1);
    EXPECT_EQ(m.Candidates[1][3], 1);
}

TEST(LowScreening, ThreatRejectsUnlessAFullNeighbourOrFullRingAccepts) {
    auto verdict = [](const rules::Board& board, int c, int r) {
        return ai_low::CheckChosenCell(Judging(board, c, r));
    };
    rules::Board board;
    EXPECT_TRUE(verdict(board, 4, 4));  // empty board
    board.Set(5, 5, 1, 4);              // a threat on the diagonal
    EXPECT_FALSE(verdict(board, 4, 4));
    board.Set(4, 3, 2, 4);  // a full orthogonal neighbour of either owner answers it
    EXPECT_TRUE(verdict(board, 4, 4));
    board.Set(4, 3, 1, 4);
    EXPECT_TRUE(verdict(board, 4, 4));
    board.Set(4, 3, 1, 3);
    EXPECT_FALSE(verdict(board, 4, 4));
    // Two steps away counts too, but only on the board.
    rules::Board straight;
    straight.Set(4, 6, 1, 4);
    EXPECT_FALSE(verdict(straight, 4, 4));
    straight.Set(4, 6, 2, 4);  // the computer's own full cell is no threat
    EXPECT_TRUE(verdict(straight, 4, 4));
    // All four neighbours full and no threat: accepted.
    rules::Board surrounded = BoardFromText({
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. 14 .. .. ..",
        ".. .. 24 .. 14 .. ..",
        ".. .. .. 24 .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
    });
    EXPECT_TRUE(verdict(surrounded, 4, 4));
}

TEST(LowMove, TiedCandidatesKeepTheEarlierAndNeedNoRandomNumber) {
    const rules::Board board = BoardFromText({
        "24 .. .. .. .. .. 24",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. 11",
    });
    const Played p = PlayLow(board, {});
    EXPECT_EQ(p.column, 1);
    EXPECT_EQ(p.row, 1);
    EXPECT_EQ(p.draws, 0u);
}

TEST(LowMove, RejectedCandidateHandsOverToTheNextRowOfTheTable) {
    const std::vector<std::string> rows = {
        ".. .. .. .. .. .. ..", ".. 24 .. .. .. .. ..", ".. .. 14 .. .. .. ..",
        ".. .. .. .. .. .. ..", ".. .. .. .. .. .. ..", ".. .. .. .. .. .. ..",
        ".. .. .. .. .. 24 ..", ".. .. .. .. .. .. ..",
    };
    Played p = PlayLow(BoardFromText(rows), {});
    EXPECT_EQ(p.column, 6);
    EXPECT_EQ(p.row, 7);
    // A full player-1 neighbour above (2,2) lets the threatened cell be played after all.
    rules::Board answered = BoardFromText(rows);
    answered.Set(2, 1, 1, 4);
    p = PlayLow(answered, {});
    EXPECT_EQ(p.column, 2);
    EXPECT_EQ(p.row, 2);
}

TEST(LowMove, FallbackSkipsCellsNextToAnEquallyFullOpponent) {
    struct Case {
        int own, opponent, column, row;
    };
    // At 3 pieces (first level) and at 2 (second level): a player-1 neighbour holding at
    // least as many keeps (4,4) out of the table, and (1,8) is played instead.
    for (const Case& c : {Case{3, 3, 1, 8}, Case{3, 4, 1, 8}, Case{3, 2, 4, 4}, Case{2, 2, 1, 8},
                          Case{2, 3, 1, 8}, Case{2, 1, 4, 4}}) {
        rules::Board board;
        board.Set(4, 4, 2, c.own);
        board.Set(5, 4, 1, c.opponent);
        board.Set(1, 8, 2, c.own);
        ai_low::Module m;
        const Played p = PlayLow(board, {0.0, 0.0}, &m);
        EXPECT_EQ(p.column, c.column) << c.own << " next to " << c.opponent;
        EXPECT_EQ(p.row, c.row) << c.own << " next to " << c.opponent;
        EXPECT_EQ(p.draws, 2u);
    }
    // Cells of a single piece are never candidates: the random cell is played.
    rules::Board single;
    single.Set(4, 4, 2, 1);
    const Played p = PlayLow(single, {0.0, 0.0});
    EXPECT_EQ(p.column, 1);
    EXPECT_EQ(p.row, 1);
}

TEST(LowMove, ExhaustedTableLeavesOnlyTheScreenedRandomCell) {
    rules::Board board;
    board.Set(2, 2, 2, 4);  // the only candidate, threatened by (3,3)
    board.Set(3, 3, 1, 4);
    board.Set(1, 8, 2, 3);  // a fallback row that must not be selected any more
    ai_low::Module m;
    const Played p = PlayLow(board, {0.99, 0.99}, &m);
    EXPECT_EQ(m.UseCandidates, 0);
    EXPECT_EQ(m.CandidateCount, 1);
    EXPECT_EQ(m.Candidates[1][2], 1);
    EXPECT_EQ(m.Candidates[1][3], 8);
    EXPECT_EQ(p.column, 7);
    EXPECT_EQ(p.row, 8);
}

TEST(LowMove, RandomPickDrawsAgainOnPlayerOneCells) {
    rules::Board board;
    board.Set(1, 1, 1, 2);
    const Played p = PlayLow(board, {0.0, 0.0, 0.5, 0.5});
    EXPECT_EQ(p.draws, 4u);
    EXPECT_EQ(p.column, 4);
    EXPECT_EQ(p.row, 5);
}

TEST(HighScreening, RulesInTheirOrder) {
    auto verdict = [](const rules::Board& board, int c, int r) {
        return ai_high::CheckChosenCell(Judging(board, c, r));
    };
    rules::Board board;
    EXPECT_TRUE(verdict(board, 3, 3));
    // Shelter before ring: all neighbours the computer's, a threat two columns away.
    rules::Board shelter = BoardFromText({
        ".. .. .. .. .. .. ..",
        ".. .. .. 21 .. .. ..",
        ".. .. 21 .. 21 14 ..",
        ".. .. .. 21 .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
        ".. .. .. .. .. .. ..",
    });
    EXPECT_TRUE(verdict(shelter, 4, 3));
    // Column 1: the frame neighbour is open and the two-step cell (-1, Y) is not looked at.
    rules::Board edge;
    edge.Set(2, 5, 1, 4);
    EXPECT_FALSE(verdict(edge, 1, 4));
    // Chain rule: a full player-1 neighbour plus a threat on the diagonal accepts...
    rules::Board chain;
    chain.Set(4, 3, 1, 4);
    chain.Set(5, 5, 1, 4);
    EXPECT_TRUE(verdict(chain, 4, 4));
    chain.Set(4, 3, 1, 3);  // ...and without the full neighbour the ring rule rejects.
    EXPECT_FALSE(verdict(chain, 4, 4));
    // Crossfire: full neighbours of both players, not full itself.
    rules::Board cross;
    cross.Set(3, 4, 1, 4);
    cross.Set(5, 4, 2, 4);
    EXPECT_FALSE(verdict(cross, 4, 4));
    cross.Set(3, 4, 0, 0);
    cross.Set(3, 3, 2, 4);  // a full diagonal neighbour of the computer counts as well
    EXPECT_FALSE(verdict(cross, 4, 4));
    cross.Set(3, 3, 0, 0);  // only its own full neighbour: not crossfire, accepted
    EXPECT_TRUE(verdict(cross, 4, 4));
    // The computer's own full cell between two full cells always sets off the chain.
    rules::Board own;
    own.Set(4, 4, 2, 4);
    own.Set(3, 4, 1, 4);
    own.Set(5, 4, 2, 4);
    EXPECT_TRUE(verdict(own, 4, 4));
    own.Set(3, 4, 0, 0);  // one full neighbour of its own: rules 3 and 4 decide (accept)
    EXPECT_TRUE(verdict(own, 4, 4));
    EXPECT_TRUE(verdict(own, 4, 4));  // and again, unchanged
}

TEST(HighList, ScoresAndTheFirstBestRow) {
    rules::Board board = BoardFromText({
        ".. 11 .. .. .. .. ..",
        "11 22 13 .. .. .. ..",
        ".. 12 .. .. .. 24 11",
        ".. .. .. .. .. 13 ..",
        ".. .. .. .. 11 .. ..",
        ".. .. .. 11 24 12 ..",
        ".. .. .. .. 14 .. ..",
        ".. .. .. .. .. .. ..",
    });
    ai_high::Module m;
    const GameState state = ComputerToMove(board, rules::HighDifficulty);
    const int best = ai_high::BuildCellList(m, state);
    std::map<std::pair<int, int>, int> score;
    for (int i = 1; i <= m.CellListCount; ++i)
        score[{m.CellList[i][2], m.CellList[i][3]}] = m.CellList[i][1];
    EXPECT_EQ(m.CellListCount, 56 - 10);
    EXPECT_EQ(score.count({2, 1}), 0u);                         // player 1's cells are not listed
    EXPECT_EQ(score[std::make_pair(2, 2)], 1 + 1 + 1 + 1 - 2);  // 2 pieces beside 1, 1, 2, 3
    EXPECT_EQ(score[std::make_pair(6, 3)], 1 + 1 + 1);          // beside 1 and 3
    EXPECT_EQ(score[std::make_pair(5, 6)], 1 + 1 + 1 + 1 + 1);  // beside 1, 1, 2, 4
    EXPECT_EQ(score[std::make_pair(1, 1)], -2 - 2);             // empty beside two pieces
    EXPECT_EQ(score[std::make_pair(7, 8)], 0);
    EXPECT_EQ(m.CellList[best][2], 5);
    EXPECT_EQ(m.CellList[best][3], 6);

    // Equal best scores: the first in board order wins; nothing above 0 gives row 0.
    rules::Board tie;
    tie.Set(6, 2, 2, 1);
    tie.Set(3, 5, 2, 1);
    tie.Set(2, 5, 2, 1);
    const int tied = ai_high::BuildCellList(m, ComputerToMove(tie, rules::HighDifficulty));
    EXPECT_EQ(m.CellList[tied][2], 6);
    EXPECT_EQ(m.CellList[tied][3], 2);
    EXPECT_EQ(ai_high::BuildCellList(m, ComputerToMove({}, rules::HighDifficulty)), 0);
    EXPECT_EQ(m.CellListCount, 56);
}

TEST(HighRandomCell, InnerBlockUntilAllThirtyInnerCellsAreTaken) {
    rules::Board board;
    int taken = 0;
    for (int r = 2; r <= 7; ++r) {
        for (int c = 2; c <= 6; ++c) {
            if (++taken < 30) board.Set(c, r, 1 + taken % 2, 1);
        }
    }
    // 29 taken: only inner cells, so a draw in the corner is pulled in to (2,2), which is
    // player 2's, then (6,7), the one free inner cell.
    ai_high::Module m;
    GameState state = ComputerToMove(board, rules::HighDifficulty);
    ScriptedRandom random({0.0, 0.0, 0.99, 0.99});
    ai_high::PickRandomCell(m, state, random);
    EXPECT_EQ(m.RandomArea, 1);
    EXPECT_EQ(state.MoveColumn, 2);
    EXPECT_EQ(state.MoveRow, 2);
    ai_high::PickRandomCell(m, state, random);
    EXPECT_EQ(state.MoveColumn, 6);
    EXPECT_EQ(state.MoveRow, 7);

    board.Set(6, 7, 1, 1);  // 30 taken: the whole board
    state.board = board;
    ScriptedRandom whole({0.0, 0.0});
    ai_high::PickRandomCell(m, state, whole);
    EXPECT_EQ(m.RandomArea, 2);
    EXPECT_EQ(state.MoveColumn, 1);
    EXPECT_EQ(state.MoveRow, 1);
    EXPECT_EQ(m.CandidateCount, 0);
}

TEST(RandomPickers, ColumnAndRowDistributions) {
    constexpr int Draws = 70000;
    rules::ClockMixedRandom random(2026, [] { return std::uint64_t{5}; });
    std::map<int, int> lowColumns, lowRows, highColumns, highRows;
    const GameState empty = ComputerToMove({}, rules::HighDifficulty);
    for (int i = 0; i < Draws; ++i) {
        GameState state = empty;
        ai_low::Module low;
        ai_low::PickRandomCell(low, state, random);
        ++lowColumns[state.MoveColumn];
        ++lowRows[state.MoveRow];
        ai_high::Module high;
        ai_high::PickRandomCell(high, state, random);
        ++highColumns[state.MoveColumn];
        ++highRows[state.MoveRow];
    }
    auto share = [&](std::map<int, int>& counts, int key) {
        return static_cast<double>(counts[key]) / Draws;
    };
    for (int c = 1; c <= 7; ++c) EXPECT_NEAR(share(lowColumns, c), 1.0 / 7, 0.01) << c;
    for (int r = 1; r <= 8; ++r) EXPECT_NEAR(share(lowRows, r), 1.0 / 8, 0.01) << r;
    EXPECT_EQ(lowColumns.size(), 7u);
    EXPECT_EQ(lowRows.size(), 8u);
    for (int c = 1; c <= 7; ++c) {
        const double expected = c == 2 || c == 6 ? 2.0 / 7 : (c == 1 || c == 7 ? 0 : 1.0 / 7);
        EXPECT_NEAR(share(highColumns, c), expected, 0.01) << c;
    }
    for (int r = 1; r <= 8; ++r) {
        const double expected = r == 2 || r == 7 ? 2.0 / 8 : (r == 1 || r == 8 ? 0 : 1.0 / 8);
        EXPECT_NEAR(share(highRows, r), expected, 0.01) << r;
    }
}

TEST(HighMove, OpeningMoveLandsInTheInnerBlock) {
    int forceAccept = 0;
    const Played p = PlayHigh({}, {0.0, 0.99}, forceAccept);
    EXPECT_EQ(p.column, 2);
    EXPECT_EQ(p.row, 7);
    EXPECT_EQ(p.draws, 2u);
}

TEST(HighMove, ForceAcceptLeftOverPlaysTheFirstRejectedCell) {
    const rules::Board board = ThreatenedCandidateWithEmptyCells({{4, 2}, {6, 2}, {7, 5}});
    int forceAccept = 1;
    const Played p = PlayHigh(board, {}, forceAccept);
    EXPECT_EQ(p.column, 2);
    EXPECT_EQ(p.row, 2);
    EXPECT_EQ(p.draws, 0u);
    EXPECT_EQ(forceAccept, 1);
}

TEST(HighMove, ThirdRejectionReturnsToTheCandidateAndDropsTheListRowJustTaken) {
    // List: (2,2) best, then (4,2) threatened, (6,2) safe, (7,5) safe, (7,6) safe.
    // (2,2) rejected as candidate and as list cell, (4,2) rejected, (6,2) dropped for the
    // candidate, which is rejected a fourth time, and (7,5) is played.
    const rules::Board board = ThreatenedCandidateWithEmptyCells({{4, 2}, {6, 2}, {7, 5}, {7, 6}});
    int forceAccept = 0;
    const Played p = PlayHigh(board, {0.2, 0.2}, forceAccept);
    EXPECT_EQ(p.column, 7);
    EXPECT_EQ(p.row, 5);
    EXPECT_EQ(p.draws, 2u);
    EXPECT_EQ(forceAccept, 0);
}

TEST(HighMove, RejectCountReachingTheListLengthPlaysTheListCellUnscreened) {
    // As above with four rows, the last being (5,3), which the threat at (3,3) would
    // reject: the fourth rejection equals CellListCount and plays it unscreened.
    const rules::Board board = ThreatenedCandidateWithEmptyCells({{4, 2}, {6, 2}, {5, 3}});
    int forceAccept = 0;
    const Played p = PlayHigh(board, {0.2, 0.2}, forceAccept);
    EXPECT_EQ(p.column, 5);
    EXPECT_EQ(p.row, 3);
    EXPECT_FALSE(ai_high::CheckChosenCell(Judging(board, 5, 3)));

    // The smallest case: candidate rejected, the best of a two-row list rejected, row 2
    // played without screening although the threat would reject it.
    const rules::Board two = ThreatenedCandidateWithEmptyCells({{4, 2}});
    forceAccept = 0;
    const Played q = PlayHigh(two, {0.2, 0.2}, forceAccept);
    EXPECT_EQ(q.column, 4);
    EXPECT_EQ(q.row, 2);
}

TEST(HighMove, ThirdRejectionWithoutCandidateScreensTheListCell) {
    // No full cell of the computer's: (2,2) holds one piece. The list's best row (2,2),
    // then (4,2) and (5,3) are rejected; the third rejection has no candidate to go back
    // to and screens the list cell (7,5) it has just taken, which is safe.
    rules::Board board = ThreatenedCandidateWithEmptyCells({{4, 2}, {5, 3}, {7, 5}, {7, 6}});
    board.Set(2, 2, 2, 1);
    int forceAccept = 0;
    const Played p = PlayHigh(board, {0.2, 0.2}, forceAccept);
    EXPECT_EQ(p.column, 7);
    EXPECT_EQ(p.row, 5);
    EXPECT_EQ(p.draws, 2u);
    EXPECT_EQ(forceAccept, 0);
}

TEST(ComputerMoves, NoPlayableCellPassesTheTurnWithoutAMove) {
    const rules::Board board = PlayerOneEverywhereExcept({});
    for (int difficulty : {rules::LowDifficulty, rules::HighDifficulty}) {
        GameState state = ComputerToMove(board, difficulty);
        state.RoundNumber = 1;
        ScriptedRandom random({});
        ai_low::Module low;
        ai_high::Module high;
        const bool moved = difficulty == rules::LowDifficulty
                               ? ai_low::ComputerMoveLow(low, state, random)
                               : ai_high::ComputerMoveHigh(high, state, random);
        EXPECT_FALSE(moved);
        EXPECT_EQ(state.board, board);
        EXPECT_EQ(state.CurrentPlayer, 1);
        EXPECT_EQ(state.RoundNumber, 2);
        // The next check ends the game, except where round 2 at the high level has none.
        EXPECT_EQ(rules::CheckGameOver(state), difficulty == rules::LowDifficulty ? 2 : 0);
    }
}

TEST(ComputerMoves, EveryTurnFromRandomPositionsIsOneLegalMove) {
    std::mt19937 rng(7);
    rules::ClockMixedRandom random(11);
    ai_low::Module low;
    ai_high::Module high;
    int turns = 0;
    for (int game = 0; game < 400; ++game) {
        const int difficulty = 1 + game % 2;
        GameState state = ComputerToMove({}, difficulty);
        state.CurrentPlayer = 1;
        state.RoundNumber = 1;
        const int length = 1 + static_cast<int>(rng() % 60);
        for (int move = 0; move < length; ++move) {
            if (state.CurrentPlayer == 1) {
                std::vector<std::pair<int, int>> cells;
                for (int r = 1; r <= 8; ++r)
                    for (int c = 1; c <= 7; ++c)
                        if (state.board.Owner(c, r) != 2) cells.emplace_back(c, r);
                if (cells.empty()) break;
                std::tie(state.MoveColumn, state.MoveRow) = cells[rng() % cells.size()];
                rules::PlaceMove(state);
                rules::AdvanceTurn(state);
            } else {
                const GameState before = state;
                const bool moved = difficulty == 1 ? ai_low::ComputerMoveLow(low, state, random)
                                                   : ai_high::ComputerMoveHigh(high, state, random);
                ++turns;
                ASSERT_TRUE(moved);
                const int owner = before.board.Owner(state.MoveColumn, state.MoveRow);
                ASSERT_TRUE(owner == 0 || owner == 2) << state.MoveColumn << "," << state.MoveRow;
                GameState expected = before;
                expected.MoveColumn = state.MoveColumn;
                expected.MoveRow = state.MoveRow;
                rules::PlaceMove(expected);
                ASSERT_EQ(state.board, expected.board);
                ASSERT_EQ(state.CurrentPlayer, 1);
                ASSERT_EQ(state.RoundNumber, before.RoundNumber + 1);
                ASSERT_EQ(state.PieceColor, state.Player2Color);
            }
            if (rules::CheckGameOver(state) != 0) break;
        }
    }
    EXPECT_GT(turns, 4000);
}
