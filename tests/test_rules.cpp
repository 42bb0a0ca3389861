#include <gtest/gtest.h>

#include <random>
#include <set>

#include "board_text.h"
#include "game_state.h"
#include "random_source.h"

using rules::Board;
using rules::GameState;

namespace {

// The burst rule stated as plainly as possible, rescanning from (1,1) after every
// burst, to check the engine's shortcut against.
void NaiveResolve(Board& board, int mover) {
    for (;;) {
        bool burst = false;
        for (int r = 1; r <= 8 && !burst; ++r) {
            for (int c = 1; c <= 7 && !burst; ++c) {
                if (board.Count(c, r) <= 4) continue;
                board.SetCount(c, r, 1);
                if (c > 1) board.Set(c - 1, r, mover, board.Count(c - 1, r) + 1);
                if (c < 7) board.Set(c + 1, r, mover, board.Count(c + 1, r) + 1);
                if (r < 8) board.Set(c, r + 1, mover, board.Count(c, r + 1) + 1);
                if (r > 1) board.Set(c, r - 1, mover, board.Count(c, r - 1) + 1);
                burst = true;
            }
        }
        if (!burst) return;
    }
}

GameState Playing(int player) {
    GameState state;
    rules::StartNewGame(state);
    state.CurrentPlayer = player;
    return state;
}

void Play(GameState& state, int column, int row) {
    state.MoveColumn = column;
    state.MoveRow = row;
    rules::PlaceMove(state);
}

}  // namespace

// One move (or, without a move, one resolution of a board already overfull) and the whole
// board it leaves.
struct ReactionCase {
    const char* name;
    int mover;
    const char* before;
    std::pair<int, int> move;  // (0, 0): resolve only
    const char* after;
};

TEST(ChainReaction, BoardsAfterOneMove) {
    const char* plus = "4,4:11 3,4:11 5,4:11 4,3:11 4,5:11";
    // clang-format off
    const ReactionCase cases[] = {
        {"adjacent overfull cells burst in row order and the scan goes back", 1,
         "1,1:15 2,1:15", {0, 0}, "1,1:12 2,1:11 3,1:11 1,2:11 2,2:11"},
        {"a corner burst loses two pieces off the board", 2,
         "7,8:24", {7, 8}, "7,8:21 6,8:21 7,7:21"},
        {"an edge burst loses one", 1, "4,1:14", {4, 1}, "4,1:11 3,1:11 5,1:11 4,2:11"},
        {"an inner burst loses none", 1, "4,4:14", {4, 4}, plus},
        {"a cell fed past five loses the surplus", 1, "4,4:17", {0, 0}, plus},
        {"a captured full cell bursts in turn for the mover", 1,
         "1,1:14 2,1:24 3,1:22", {1, 1}, "1,1:12 2,1:11 3,1:13 1,2:11 2,2:11"},
        {"a bursting cell keeps its owner, its neighbours go to the mover", 1,
         "5,5:26", {0, 0}, "5,5:21 4,5:11 6,5:11 5,4:11 5,6:11"},
        {"four pieces do not burst", 1, "3,3:13", {3, 3}, "3,3:14"},
        {"an empty cell becomes the mover's", 2, "", {7, 1}, "7,1:21"},
    };
    // clang-format on
    for (const ReactionCase& c : cases) {
        GameState state = Playing(c.mover);
        state.board = BoardWith(c.before);
        if (c.move.first)
            Play(state, c.move.first, c.move.second);
        else
            rules::ResolveChainReaction(state);
        EXPECT_EQ(state.board, BoardWith(c.after)) << c.name;
    }
}

// Every cell full and one piece more: the longest chain there is, and it still settles.
TEST(ChainReaction, BoardThatFeedsItselfStillSettles) {
    GameState state = Playing(2);
    state.board = Everywhere(2, 4);
    Board expected = state.board;
    expected.SetCount(4, 4, 5);
    NaiveResolve(expected, 2);
    Play(state, 4, 4);
    EXPECT_EQ(state.board, expected);
}

TEST(ChainReaction, MatchesPlainRescanOnRandomOverfullBoards) {
    std::mt19937 rng(12345);
    for (int trial = 0; trial < 2000; ++trial) {
        Board board;
        for (int r = 1; r <= 8; ++r) {
            for (int c = 1; c <= 7; ++c) {
                const int count = static_cast<int>(rng() % 8);
                board.Set(c, r, count == 0 ? 0 : 1 + static_cast<int>(rng() % 2), count);
            }
        }
        Board expected = board;
        const int mover = 1 + trial % 2;
        NaiveResolve(expected, mover);
        rules::ResolveBursts(board, 4, mover);
        ASSERT_EQ(board, expected) << "trial " << trial;
    }
}

// The label texts and the disc colours are checked where a player sees them: in the
// window's labels and messages and in the rendered board.
TEST(TurnCycle, RoundsCountAfterPlayerTwoAndTheLabelColourFollowsThePlayer) {
    GameState state = Playing(1);
    rules::AdvanceTurn(state);
    EXPECT_EQ(state.CurrentPlayer, 2);
    EXPECT_EQ(state.RoundNumber, 1);
    EXPECT_EQ(rules::PlayerLabelColor(state), 255u);
    rules::AdvanceTurn(state);
    EXPECT_EQ(state.CurrentPlayer, 1);
    EXPECT_EQ(state.RoundNumber, 2);
    EXPECT_EQ(rules::PlayerLabelColor(state), 16711680u);
}

TEST(GameOver, DecidedByRoundDifficultyAndPlayerOneFirst) {
    GameState state;
    // Player 1 has nothing, player 2 one piece.
    state.board.Set(1, 1, 2, 1);
    state.RoundNumber = 1;
    EXPECT_EQ(rules::CheckGameOver(state), 0);
    state.RoundNumber = 2;
    state.Difficulty = rules::LowDifficulty;
    EXPECT_EQ(rules::CheckGameOver(state), 1);
    for (rules::Mode mode : {rules::TwoPlayers, rules::AgainstComputer}) {
        state.GameMode = mode;
        state.Difficulty = rules::HighDifficulty;
        state.RoundNumber = 2;
        EXPECT_EQ(rules::CheckGameOver(state), 0) << "mode " << static_cast<int>(mode);
        state.RoundNumber = 3;
        EXPECT_EQ(rules::CheckGameOver(state), 1) << "mode " << static_cast<int>(mode);
    }
    // An empty board: player 1 is looked at first.
    state.board.Clear();
    EXPECT_EQ(rules::CheckGameOver(state), 1);
    state.board.Set(8 - 1, 8, 1, 3);
    EXPECT_EQ(rules::CheckGameOver(state), 2);
    state.board.Set(1, 8, 2, 1);
    EXPECT_EQ(rules::CheckGameOver(state), 0);
}

TEST(RandomSource, ReseedWithinOneTickDoesNotRestartTheSequence) {
    rules::ClockMixedRandom random(7, [] { return std::uint64_t{42}; });
    std::set<double> seen;
    for (int i = 0; i < 1000; ++i) {
        random.Reseed();
        const double value = random.Next();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

#ifndef NDEBUG
TEST(BoardDeathTest, WritingOutsideThePlayableAreaIsCaught) {
    Board board;
    EXPECT_DEATH(board.SetCount(0, 3, 1), "");
    EXPECT_DEATH(board.SetOwner(8, 1, 1), "");
    EXPECT_DEATH(board.Set(3, 9, 1, 1), "");
    EXPECT_DEATH((void)board.Count(10, 1), "");
}
#endif
