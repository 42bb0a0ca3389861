#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>

#include "ai_high.h"
#include "ai_low.h"
#include "board_text.h"
#include "candidates.h"
#include "game_state.h"
#include "players.h"
#include "scripted_random.h"

using rules::GameState;
using rules::HighDifficulty;
using rules::LowDifficulty;
using rules::ScriptedRandom;

namespace {

GameState ComputerToMove(const rules::Board& board, rules::Level difficulty, int column = 0,
                         int row = 0) {
    GameState state;
    rules::StartNewGame(state);
    state.board = board;
    state.GameMode = rules::AgainstComputer;
    state.Difficulty = difficulty;
    state.CurrentPlayer = 2;
    state.RoundNumber = 5;
    state.MoveColumn = column;
    state.MoveRow = row;
    return state;
}

// One computer turn as the game plays it: the level's player chooses, the turn step
// applies. Returns whether a piece was placed.
bool ComputerTurn(players::Computers& computers, GameState& state, rules::RandomSource& random) {
    return rules::TakeTurn(state, computers.At(state.Difficulty).Choose(state, random)).moved;
}

rules::CandidateTable Rows(const std::vector<std::pair<int, int>>& totals) {
    rules::CandidateTable table{};
    int i = 0;
    for (const auto& [own, opponent] : totals) table[++i] = {0, own, i, 1, opponent};
    return table;
}

// A full player-2 cell at (2,2) under a full player-1 cell on its diagonal (3,3), in a sea
// of single player-1 pieces. The high player's list then holds (2,2) first, then the
// empty cells in board order.
rules::Board ThreatenedCandidateWithEmptyCells(const std::string& empty) {
    return Everywhere(1, 1, "2,2:24 3,3:14 " + empty);
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

TEST(Evaluation, TrialIsTheRealChainReactionOnACopy) {
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
        const GameState state = ComputerToMove(board, LowDifficulty);
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
        EXPECT_EQ(low.Candidates[1], high.Candidates[2]);
        GameState played = ComputerToMove(board, LowDifficulty, 4, 4);
        rules::PlaceMove(played);
        EXPECT_EQ(low.TrialBoard, played.board);
        EXPECT_EQ(low.Candidates[1][1], rules::CountPieces(played, 2));
        EXPECT_EQ(low.Candidates[1][4], rules::CountPieces(played, 1));
    }
}

TEST(Evaluation, CornerCandidateLosesPiecesAndCapturesWholeCells) {
    ai_low::Module m;
    m.ScanColumn = 1;
    m.ScanRow = 1;
    ai_low::EvaluateCandidate(m, ComputerToMove(BoardWith("1,1:24 2,1:13 7,8:12"), LowDifficulty));
    // (1,1) keeps 1, (1,2) gets 1, (2,1) is taken with its 3 pieces plus one.
    EXPECT_EQ(m.CandidateCount, 1);
    EXPECT_EQ(m.Candidates[1], (std::array<int, 5>{0, 1 + 1 + 4, 1, 1, 2}));
}

struct ScreeningCase {
    const char* name;
    const char* board;
    int column, row;
    bool played;
};

template <std::size_t N>
void ExpectVerdicts(const ScreeningCase (&cases)[N], bool (*check)(const GameState&)) {
    for (const ScreeningCase& c : cases)
        EXPECT_EQ(check(ComputerToMove(BoardWith(c.board), HighDifficulty, c.column, c.row)),
                  c.played)
            << c.name;
}

// Player 2's own cells as threats and answers; player 1's are the ring test's below.
TEST(Screening, LowLevelRejectsAThreatUnlessAFullNeighbourAnswersIt) {
    const ScreeningCase cases[] = {
        {"answered by its own full neighbour", "5,5:14 4,3:24", 4, 4, true},
        {"a neighbour of three answers nothing", "5,5:14 4,3:13", 4, 4, false},
        {"neighbours of three are open to the threat", "4,3:13 3,4:23 5,4:13 4,5:23 5,5:14", 4, 4,
         false},
        {"its own full cell is no threat", "4,6:24", 4, 4, true},
        {"all four neighbours full", "4,3:14 3,4:24 5,4:14 4,5:24", 4, 4, true},
    };
    ExpectVerdicts(cases, ai_low::CheckChosenCell);
}

// Which cells the two screenings look at, for every cell of the board and so up to every
// edge in every direction: a full player-1 cell on the second ring (the four diagonal
// neighbours and the four cells two steps away in a straight line) is a threat, one
// anywhere else on the board is none; and a full cell in each of the four orthogonal
// neighbours answers a threat on the ring.
TEST(Screening, BothLevelsWatchTheSecondRingAndTheFourNeighboursOfEveryCell) {
    const std::pair<const char*, bool (*)(const GameState&)> levels[] = {
        {"low", ai_low::CheckChosenCell}, {"high", ai_high::CheckChosenCell}};
    auto onBoard = [](int c, int r) { return c >= 1 && c <= 7 && r >= 1 && r <= 8; };
    auto onRing = [](int dc, int dr) {
        dc = std::abs(dc);
        dr = std::abs(dr);
        return (dc == 1 && dr == 1) || (dc == 2 && dr == 0) || (dc == 0 && dr == 2);
    };
    const std::pair<int, int> ring[] = {{1, 1}, {-1, -1}, {-1, 1}, {1, -1},
                                        {2, 0}, {-2, 0},  {0, 2},  {0, -2}};
    const std::pair<int, int> sides[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& [level, check] : levels) {
        for (int r = 1; r <= 8; ++r) {
            for (int c = 1; c <= 7; ++c) {
                const std::string at =
                    std::string(level) + ", cell " + std::to_string(c) + "," + std::to_string(r);
                for (int tr = 1; tr <= 8; ++tr) {
                    for (int tc = 1; tc <= 7; ++tc) {
                        if (tc == c && tr == r) continue;
                        rules::Board board;
                        board.Set(tc, tr, 1, 4);
                        EXPECT_EQ(check(ComputerToMove(board, HighDifficulty, c, r)),
                                  !onRing(tc - c, tr - r))
                            << at << ", threat at " << tc << "," << tr;
                    }
                }
                const auto threat = std::find_if(std::begin(ring), std::end(ring), [&](auto d) {
                    return onBoard(c + d.first, r + d.second);
                });
                ASSERT_NE(threat, std::end(ring));
                for (const auto& [dc, dr] : sides) {
                    if (!onBoard(c + dc, r + dr)) continue;
                    rules::Board board;
                    board.Set(c + threat->first, r + threat->second, 1, 4);
                    board.Set(c + dc, r + dr, 1, 4);
                    EXPECT_TRUE(check(ComputerToMove(board, HighDifficulty, c, r)))
                        << at << ", full neighbour at " << c + dc << "," << r + dr;
                }
            }
        }
    }
}

TEST(Screening, HighLevelRulesInTheirOrder) {
    const ScreeningCase cases[] = {
        {"shelter before ring: every neighbour its own, a threat two columns away",
         "4,2:21 3,3:21 5,3:21 6,3:14 4,4:21", 4, 3, true},
        {"ring: the diagonal threat without the full neighbour", "4,3:13 5,5:14", 4, 4, false},
        {"crossfire: full neighbours of both players", "3,4:14 5,4:24", 4, 4, false},
        {"crossfire counts its own full diagonal", "3,3:24 5,4:24", 4, 4, false},
        {"only its own full neighbour", "5,4:24", 4, 4, true},
        {"its own full cell between two full cells", "4,4:24 3,4:14 5,4:24", 4, 4, true},
        {"its own full cell beside its own full cell", "4,4:24 5,4:24", 4, 4, true},
    };
    ExpectVerdicts(cases, ai_high::CheckChosenCell);
}

// Whole computer turns with scripted random numbers: where the piece goes, how many
// numbers it took, and the high level's ForceAccept before and after.
struct TurnCase {
    const char* name;
    rules::Level level;
    rules::Board board;
    std::vector<double> draws;
    int column, row;
    std::size_t used;
    int forceAccept = 0, forceAcceptAfter = 0;
};

TEST(ComputerTurn, PlaysTheScriptedCell) {
    // (4,4) and (1,8) the computer's, player 1's cell beside (4,4).
    auto fallback = [](const std::string& own, const std::string& opponent) {
        return BoardWith("4,4:2" + own + " 5,4:1" + opponent + " 1,8:2" + own);
    };
    // clang-format off
    const TurnCase cases[] = {
        {"low: tied candidates keep the earlier and draw nothing", LowDifficulty,
         BoardWith("1,1:24 7,1:24 7,8:11"), {}, 1, 1, 0},
        {"low: a candidate in the last row and column", LowDifficulty,
         BoardWith("7,8:24 1,1:11"), {}, 7, 8, 0},
        {"low: a rejected candidate hands over to the next row", LowDifficulty,
         BoardWith("2,2:24 3,3:14 6,7:24"), {}, 6, 7, 0},
        {"low: a full player-1 neighbour lets the threatened cell be played", LowDifficulty,
         BoardWith("2,2:24 3,3:14 6,7:24 2,1:14"), {}, 2, 2, 0},
        {"low: three beside three is skipped", LowDifficulty, fallback("3", "3"), {0, 0}, 1, 8, 2},
        {"low: three beside four is skipped", LowDifficulty, fallback("3", "4"), {0, 0}, 1, 8, 2},
        {"low: three beside two is played", LowDifficulty, fallback("3", "2"), {0, 0}, 4, 4, 2},
        {"low: two beside two is skipped", LowDifficulty, fallback("2", "2"), {0, 0}, 1, 8, 2},
        {"low: two beside three is skipped", LowDifficulty, fallback("2", "3"), {0, 0}, 1, 8, 2},
        {"low: two beside one is played", LowDifficulty, fallback("2", "1"), {0, 0}, 4, 4, 2},
        {"low: single pieces are never candidates", LowDifficulty,
         BoardWith("4,4:21"), {0, 0}, 1, 1, 2},
        {"low: an exhausted table leaves the screened random cell", LowDifficulty,
         BoardWith("2,2:24 3,3:14 1,8:23"), {0.99, 0.99}, 7, 8, 2},
        {"low: the random pick draws again on player 1's cell", LowDifficulty,
         BoardWith("1,1:12"), {0, 0, 0.5, 0.5}, 4, 5, 4},
        {"low: the one free cell is in the last row", LowDifficulty,
         Everywhere(1, 1, "4,8:00"), {0.5, 0.99}, 4, 8, 2},
        {"high: the opening lands in the inner block", HighDifficulty, {}, {0, 0.99}, 2, 7, 2},
        {"high: the one free cell is in the last row", HighDifficulty,
         Everywhere(1, 1, "4,8:00"), {0.5, 0.99}, 4, 8, 2},
        {"high: a candidate in the first column", HighDifficulty,
         BoardWith("1,3:24 7,8:11"), {}, 1, 3, 0},
        {"high: a candidate in the first row", HighDifficulty,
         BoardWith("4,1:24 7,8:11"), {}, 4, 1, 0},
        {"high: a candidate in the last column", HighDifficulty,
         BoardWith("7,5:24 1,1:11"), {}, 7, 5, 0},
        {"high: a leftover ForceAccept plays the first rejected cell", HighDifficulty,
         ThreatenedCandidateWithEmptyCells("4,2:00 6,2:00 7,5:00"), {}, 2, 2, 0, 1, 1},
        // (2,2) rejected as candidate and as list cell, (4,2) rejected, (6,2) dropped for the
        // candidate, which is rejected a fourth time, and (7,5) is played.
        {"high: the third rejection drops the list row just taken", HighDifficulty,
         ThreatenedCandidateWithEmptyCells("4,2:00 6,2:00 7,5:00 7,6:00"), {0.2, 0.2}, 7, 5, 2},
        // The fourth rejection equals CellListCount: (5,3) is played although the threat at
        // (3,3) would reject it.
        {"high: RejectCount reaching the list's length plays unscreened", HighDifficulty,
         ThreatenedCandidateWithEmptyCells("4,2:00 6,2:00 5,3:00"), {0.2, 0.2}, 5, 3, 2},
        {"high: the same with a two-row list", HighDifficulty,
         ThreatenedCandidateWithEmptyCells("4,2:00"), {0.2, 0.2}, 4, 2, 2},
        // No full cell of its own: the third rejection screens the list cell it has just
        // taken, (7,5), which is safe.
        {"high: the third rejection without a candidate", HighDifficulty,
         ThreatenedCandidateWithEmptyCells("4,2:00 5,3:00 7,5:00 7,6:00 2,2:21"), {0.2, 0.2},
         7, 5, 2},
    };
    // clang-format on
    for (const TurnCase& c : cases) {
        GameState state = ComputerToMove(c.board, c.level);
        ScriptedRandom random(c.draws);
        players::Computers computers;
        computers.HighTables().ForceAccept = c.forceAccept;
        const bool moved = ComputerTurn(computers, state, random);
        EXPECT_TRUE(moved) << c.name;
        EXPECT_EQ(std::make_pair(state.MoveColumn, state.MoveRow), std::make_pair(c.column, c.row))
            << c.name;
        EXPECT_EQ(random.Draws(), c.used) << c.name;
        EXPECT_EQ(computers.HighTables().ForceAccept, c.forceAcceptAfter) << c.name;
    }
}

// The low level's fallback scan finds its own cell one or two pieces below full wherever
// it lies, from the first row and column to the last; the random pick (4,5) stays unused.
TEST(ComputerTurn, LowLevelFallbackScanReachesEveryCell) {
    for (int pieces : {3, 2})
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 7; ++c) {
                GameState state = ComputerToMove(BoardWith(""), LowDifficulty);
                state.board.Set(c, r, 2, pieces);
                ScriptedRandom random({0.5, 0.5});
                players::Computers computers;
                ASSERT_TRUE(ComputerTurn(computers, state, random));
                EXPECT_EQ(std::make_pair(state.MoveColumn, state.MoveRow), std::make_pair(c, r))
                    << pieces << " pieces at " << c << "," << r;
            }
}

// Both levels' first scan finds their one full cell wherever it lies, from the first row
// and column to the last, and plays it without drawing a random number.
TEST(ComputerTurn, BothLevelsFindTheirFullCellOnEveryCell) {
    for (rules::Level difficulty : {LowDifficulty, HighDifficulty})
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 7; ++c) {
                GameState state = ComputerToMove(BoardWith(""), difficulty);
                state.board.Set(c, r, 2, state.CriticalMass);
                ScriptedRandom random({0.5, 0.5});
                players::Computers computers;
                ASSERT_TRUE(ComputerTurn(computers, state, random));
                const int level = static_cast<int>(difficulty);
                EXPECT_EQ(std::make_pair(state.MoveColumn, state.MoveRow), std::make_pair(c, r))
                    << "level " << level << ", full cell at " << c << "," << r;
                EXPECT_EQ(random.Draws(), 0u) << "level " << level << " at " << c << "," << r;
            }
}

TEST(ComputerTurn, NoPlayableCellPassesTheTurnWithoutAMove) {
    const rules::Board board = Everywhere(1, 1);
    for (rules::Level difficulty : {LowDifficulty, HighDifficulty}) {
        GameState state = ComputerToMove(board, difficulty);
        state.RoundNumber = 1;
        ScriptedRandom random({});
        players::Computers computers;
        const bool moved = ComputerTurn(computers, state, random);
        EXPECT_FALSE(moved);
        EXPECT_EQ(state.board, board);
        EXPECT_EQ(state.CurrentPlayer, 1);
        EXPECT_EQ(state.RoundNumber, 2);
        // The next check ends the game, except where round 2 at the high level has none.
        EXPECT_EQ(rules::CheckGameOver(state), difficulty == LowDifficulty ? 2 : 0);
    }
}

TEST(HighList, ScoresAndTheFirstBestRow) {
    const rules::Board board = BoardFromText({
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
    const int best = ai_high::BuildCellList(m, ComputerToMove(board, HighDifficulty));
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
    EXPECT_EQ(std::make_pair(m.CellList[best][2], m.CellList[best][3]), std::make_pair(5, 6));

    // Equal best scores: the first in board order wins; nothing above 0 gives row 0.
    const int tied = ai_high::BuildCellList(
        m, ComputerToMove(BoardWith("6,2:21 3,5:21 2,5:21"), HighDifficulty));
    EXPECT_EQ(std::make_pair(m.CellList[tied][2], m.CellList[tied][3]), std::make_pair(6, 2));
    EXPECT_EQ(ai_high::BuildCellList(m, ComputerToMove({}, HighDifficulty)), 0);
    EXPECT_EQ(m.CellListCount, 56);

    // The one cell that scores (its own, 1) is found wherever it stands in the list: first,
    // last, or between.
    for (int n = 1; n <= 56; ++n) {
        const int c = (n - 1) % 7 + 1, r = (n - 1) / 7 + 1;
        rules::Board one;
        one.Set(c, r, 2, 1);
        const int row = ai_high::BuildCellList(m, ComputerToMove(one, HighDifficulty));
        EXPECT_EQ(row, n) << c << "," << r;
    }
}

TEST(RandomCell, HighLevelKeepsToTheInnerBlockUntilAllThirtyInnerCellsAreTaken) {
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
    GameState state = ComputerToMove(board, HighDifficulty);
    ScriptedRandom random({0.0, 0.0, 0.99, 0.99});
    ai_high::PickRandomCell(m, state, random);
    EXPECT_EQ(m.RandomArea, 1);
    EXPECT_EQ(std::make_pair(state.MoveColumn, state.MoveRow), std::make_pair(2, 2));
    ai_high::PickRandomCell(m, state, random);
    EXPECT_EQ(std::make_pair(state.MoveColumn, state.MoveRow), std::make_pair(6, 7));

    state.board.Set(6, 7, 1, 1);  // 30 taken: the whole board
    ScriptedRandom whole({0.0, 0.0});
    ai_high::PickRandomCell(m, state, whole);
    EXPECT_EQ(m.RandomArea, 2);
    EXPECT_EQ(std::make_pair(state.MoveColumn, state.MoveRow), std::make_pair(1, 1));
    EXPECT_EQ(m.CandidateCount, 0);
}

TEST(RandomCell, ColumnAndRowDistributionsOfBothLevels) {
    constexpr int Draws = 70000;
    rules::ClockMixedRandom random(2026, [] { return std::uint64_t{5}; });
    std::map<int, int> lowColumns, lowRows, highColumns, highRows;
    const GameState empty = ComputerToMove({}, HighDifficulty);
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
    // The high level maps the outer ring onto its inner neighbour: twice the share there.
    auto expect = [](std::map<int, int>& counts, int size, bool inner) {
        EXPECT_EQ(counts.size(), static_cast<std::size_t>(inner ? size - 2 : size));
        for (int k = 1; k <= size; ++k) {
            const int weight = !inner                    ? 1
                               : k == 1 || k == size     ? 0
                               : k == 2 || k == size - 1 ? 2
                                                         : 1;
            EXPECT_NEAR(static_cast<double>(counts[k]) / Draws, weight / double(size), 0.01) << k;
        }
    };
    expect(lowColumns, 7, false);
    expect(lowRows, 8, false);
    expect(highColumns, 7, true);
    expect(highRows, 8, true);
}
