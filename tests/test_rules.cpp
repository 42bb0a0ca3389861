#include <gtest/gtest.h>

#include <random>
#include <set>

#include "game_state.h"
#include "random_source.h"

using rules::Board;
using rules::GameState;

namespace {

int TotalPieces(const Board& board) {
    return rules::CountPieces(board, 1) + rules::CountPieces(board, 2);
}

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

void ExpectFrameEmpty(const Board& board) {
    for (int c = 0; c <= 9; ++c) {
        for (int r = 0; r <= 10; ++r) {
            if (rules::IsPlayable(c, r)) continue;
            ASSERT_EQ(board.Owner(c, r), 0) << c << "," << r;
            ASSERT_EQ(board.Count(c, r), 0) << c << "," << r;
        }
    }
}

void ExpectBetweenMoves(const Board& board) {
    for (int r = 1; r <= 8; ++r) {
        for (int c = 1; c <= 7; ++c) {
            const int count = board.Count(c, r);
            const int owner = board.Owner(c, r);
            ASSERT_GE(count, 0);
            ASSERT_LE(count, 4) << c << "," << r;
            ASSERT_EQ(owner == 0, count == 0) << c << "," << r;
            ASSERT_LE(owner, 2);
        }
    }
    ExpectFrameEmpty(board);
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

TEST(ChainReaction, AdjacentOverfullCellsBurstInRowMajorOrderWithRescan) {
    GameState state = Playing(1);
    state.board.Set(1, 1, 1, 5);
    state.board.Set(2, 1, 1, 5);
    rules::ResolveChainReaction(state);
    EXPECT_EQ(state.board.Count(1, 1), 2);
    EXPECT_EQ(state.board.Count(2, 1), 1);
    EXPECT_EQ(state.board.Count(3, 1), 1);
    EXPECT_EQ(state.board.Count(1, 2), 1);
    EXPECT_EQ(state.board.Count(2, 2), 1);
    EXPECT_EQ(state.board.Owner(3, 1), 1);
    EXPECT_EQ(TotalPieces(state.board), 6);
}

TEST(ChainReaction, CornerAndEdgeBurstsLosePiecesOffTheBoard) {
    GameState corner = Playing(2);
    corner.board.Set(7, 8, 2, 4);
    Play(corner, 7, 8);
    EXPECT_EQ(corner.board.Count(7, 8), 1);
    EXPECT_EQ(corner.board.Count(6, 8), 1);
    EXPECT_EQ(corner.board.Count(7, 7), 1);
    EXPECT_EQ(corner.board.Owner(6, 8), 2);
    EXPECT_EQ(TotalPieces(corner.board), 3);  // 5 pieces, 2 lost

    GameState edge = Playing(1);
    edge.board.Set(4, 1, 1, 4);
    Play(edge, 4, 1);
    EXPECT_EQ(TotalPieces(edge.board), 4);  // 5 pieces, 1 lost
    EXPECT_EQ(edge.board.Count(4, 2), 1);

    GameState inner = Playing(1);
    inner.board.Set(4, 4, 1, 4);
    Play(inner, 4, 4);
    EXPECT_EQ(TotalPieces(inner.board), 5);  // nothing lost in the interior
    ExpectFrameEmpty(inner.board);

    GameState surplus = Playing(1);  // a cell fed past 5 loses the surplus as well
    surplus.board.Set(4, 4, 1, 7);
    rules::ResolveChainReaction(surplus);
    EXPECT_EQ(TotalPieces(surplus.board), 5);
}

TEST(ChainReaction, CapturedFullCellBurstsInTurnForTheMover) {
    GameState state = Playing(1);
    state.board.Set(1, 1, 1, 4);
    state.board.Set(2, 1, 2, 4);
    state.board.Set(3, 1, 2, 2);
    Play(state, 1, 1);
    // (1,1) bursts, (2,1) becomes player 1's with 5 and bursts, taking (3,1) too.
    EXPECT_EQ(state.board.Owner(2, 1), 1);
    EXPECT_EQ(state.board.Count(2, 1), 1);
    EXPECT_EQ(state.board.Owner(3, 1), 1);
    EXPECT_EQ(state.board.Count(3, 1), 3);
    EXPECT_EQ(state.board.Count(1, 1), 2);
    EXPECT_EQ(rules::CountPieces(state, 2), 0);
}

TEST(ChainReaction, BurstingCellKeepsItsOwnerAndFourCausesNoBurst) {
    GameState state = Playing(1);
    state.board.Set(5, 5, 2, 6);  // player 2's cell overfull while player 1 moves
    rules::ResolveChainReaction(state);
    EXPECT_EQ(state.board.Owner(5, 5), 2);
    EXPECT_EQ(state.board.Count(5, 5), 1);
    EXPECT_EQ(state.board.Owner(4, 5), 1);

    GameState quiet = Playing(1);
    quiet.board.Set(3, 3, 1, 3);
    Play(quiet, 3, 3);
    EXPECT_EQ(quiet.board.Count(3, 3), 4);
    EXPECT_EQ(TotalPieces(quiet.board), 4);
    EXPECT_EQ(rules::ResolveChainReaction(quiet), 0);
}

TEST(ChainReaction, BoardThatFeedsItselfStillSettles) {
    GameState state = Playing(2);
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 7; ++c) state.board.Set(c, r, 2, 4);
    Play(state, 4, 4);
    ExpectBetweenMoves(state.board);

    GameState mixed = Playing(1);  // every cell overfull at once, both owners
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 7; ++c) mixed.board.Set(c, r, 1 + (c + r) % 2, 5 + (c * r) % 4);
    const int bursts = rules::ResolveChainReaction(mixed);
    EXPECT_GE(bursts, 56);
    ExpectBetweenMoves(mixed.board);
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

TEST(ChainReaction, RandomGamesKeepTheBoardInvariants) {
    std::mt19937 rng(2024);
    for (int game = 0; game < 300; ++game) {
        GameState state = Playing(1);
        for (int move = 0; move < 400; ++move) {
            std::vector<int> playable;
            for (int n = 1; n <= 56; ++n) {
                const int owner = state.board.Owner((n - 1) % 7 + 1, (n - 1) / 7 + 1);
                if (owner == 0 || owner == state.CurrentPlayer) playable.push_back(n);
            }
            ASSERT_FALSE(playable.empty());
            const int n = playable[rng() % playable.size()];
            const int before = TotalPieces(state.board);
            Board copy = state.board;
            copy.Set((n - 1) % 7 + 1, (n - 1) / 7 + 1, state.CurrentPlayer,
                     copy.Count((n - 1) % 7 + 1, (n - 1) / 7 + 1) + 1);
            Play(state, (n - 1) % 7 + 1, (n - 1) / 7 + 1);
            ExpectBetweenMoves(state.board);
            EXPECT_LE(TotalPieces(state.board), before + 1);
            // The placed cell is the mover's unless a later burst handed it back.
            NaiveResolve(copy, state.CurrentPlayer);
            ASSERT_EQ(copy, state.board);
            rules::AdvanceTurn(state);
            if (rules::CheckGameOver(state) != 0) break;
        }
    }
}

TEST(TurnCycle, AdvanceTurnCountsRoundsAfterPlayerTwo) {
    GameState state = Playing(1);
    rules::AdvanceTurn(state);
    EXPECT_EQ(state.CurrentPlayer, 2);
    EXPECT_EQ(state.RoundNumber, 1);
    rules::AdvanceTurn(state);
    EXPECT_EQ(state.CurrentPlayer, 1);
    EXPECT_EQ(state.RoundNumber, 2);
    EXPECT_EQ(rules::RoundLabelText(state.RoundNumber), "2 kolo");
    EXPECT_EQ(rules::PlayerLabelText(state.CurrentPlayer), "Hráč:1");
    EXPECT_EQ(rules::PlayerLabelColor(state), state.Player1Color);
    rules::AdvanceTurn(state);
    EXPECT_EQ(rules::PlayerLabelColor(state), 255u);
}

TEST(TurnCycle, TextsAndColours) {
    EXPECT_EQ(rules::StartRoundLabelText(1), "1kolo");
    EXPECT_EQ(rules::RoundLabelText(12), "12 kolo");
    EXPECT_EQ(rules::PlayerLabelText(2), "Hráč:2");
    EXPECT_EQ(rules::GameOverText(1), "Konec hry hráč 1 prohrál");
    EXPECT_EQ(rules::GameOverText(2), "Konec hry hráč 2 prohrál");
    const GameState state;
    EXPECT_EQ(state.Player1Color, 16711680u);
    EXPECT_EQ(state.Player2Color - 90, rules::Rgb(165, 0, 0));
    EXPECT_EQ(state.Player1DarkColor, rules::Rgb(0, 0, 165));
}

TEST(TurnCycle, NewGameAndBoardSetUp) {
    GameState state;
    state.board.Set(3, 3, 1, 2);
    state.CurrentPlayer = 2;
    state.RoundNumber = 9;
    state.CriticalMass = 0;
    rules::StartNewGame(state);
    EXPECT_EQ(state.CriticalMass, 4);
    EXPECT_EQ(state.CurrentPlayer, 1);
    EXPECT_EQ(state.RoundNumber, 1);
    EXPECT_EQ(state.board.Count(3, 3), 2);  // the board waits for the set-up

    state.GameMode = rules::TwoPlayers;
    state.Difficulty = rules::HighDifficulty;
    EXPECT_FALSE(rules::SetUpBoard(state));
    EXPECT_EQ(state.board, Board{});
    EXPECT_EQ(state.CurrentPlayer, 1);

    state.GameMode = rules::AgainstComputer;
    state.Difficulty = rules::LowDifficulty;
    EXPECT_FALSE(rules::SetUpBoard(state));
    EXPECT_EQ(state.CurrentPlayer, 1);

    state.Difficulty = rules::HighDifficulty;
    EXPECT_TRUE(rules::SetUpBoard(state));
    EXPECT_EQ(state.CurrentPlayer, 2);
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
    for (int mode : {rules::TwoPlayers, rules::AgainstComputer}) {
        state.GameMode = mode;
        state.Difficulty = rules::HighDifficulty;
        state.RoundNumber = 2;
        EXPECT_EQ(rules::CheckGameOver(state), 0) << "mode " << mode;
        state.RoundNumber = 3;
        EXPECT_EQ(rules::CheckGameOver(state), 1) << "mode " << mode;
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

TEST(RandomSource, ScriptedReplaysInOrderAndReportsRunningOut) {
    rules::ScriptedRandom random({0.25, 0.5});
    random.Reseed();
    EXPECT_EQ(random.Next(), 0.25);
    random.Reseed();
    EXPECT_EQ(random.Next(), 0.5);
    EXPECT_EQ(random.Draws(), 2u);
    EXPECT_THROW(random.Next(), rules::RandomExhausted);
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
