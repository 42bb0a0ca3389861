#include "arena.h"

#include <optional>
#include <random>
#include <sstream>
#include <vector>

#include "game_state.h"
#include "players.h"
#include "random_source.h"

namespace arena {
namespace {

// The level a computer contender plays at (player 2's also sets the game's level).
rules::Level LevelOf(Player kind) {
    return kind == Player::Low ? rules::Level::Low : rules::Level::High;
}

struct Contender {
    Player kind;
    players::Computers computers;

    // The cell a computer contender plays as player 2 on `state`.
    std::optional<rules::Move> Choose(const rules::GameState& state, rules::RandomSource& random) {
        return computers.At(LevelOf(kind)).Choose(state, random);
    }
};

rules::Board Swapped(const rules::Board& board) {
    rules::Board swapped;
    for (int r = 1; r <= rules::Rows; ++r) {
        for (int c = 1; c <= rules::Columns; ++c) {
            const int owner = board.Owner(c, r);
            swapped.Set(c, r, owner == 0 ? 0 : 3 - owner, board.Count(c, r));
        }
    }
    return swapped;
}

// The board between moves: counts 0..4, owner 0 exactly when empty, the frame untouched;
// and the move was one piece on an empty or own cell followed by the chain reaction.
std::optional<std::string> Breach(const rules::GameState& before, const rules::GameState& after,
                                  int mover, bool moved) {
    const rules::Board& board = after.board;
    for (int r = 0; r <= rules::Board::LastFrameRow; ++r) {
        for (int c = 0; c <= rules::Board::LastFrameColumn; ++c) {
            const int owner = board.Owner(c, r), count = board.Count(c, r);
            const char* wrong = nullptr;
            if (!rules::IsPlayable(c, r)) {
                if (owner != 0 || count != 0) wrong = "frame written";
            } else if (count < 0 || count > 4) {
                wrong = "count out of range";
            } else if (owner < 0 || owner > 2) {
                wrong = "owner out of range";
            } else if ((owner == 0) != (count == 0)) {
                wrong = "owner and count disagree";
            }
            if (wrong) {
                std::ostringstream what;
                what << wrong << " at (" << c << "," << r << "): owner " << owner << ", count "
                     << count;
                return what.str();
            }
        }
    }
    if (!moved)
        return before.board == board ? std::nullopt
                                     : std::optional<std::string>("board changed without a move");
    const int owner = before.board.Owner(after.MoveColumn, after.MoveRow);
    if (!rules::IsPlayable(after.MoveColumn, after.MoveRow) || (owner != 0 && owner != mover))
        return "move on a cell the mover may not play";
    rules::GameState expected = before;
    expected.CurrentPlayer = mover;
    expected.MoveColumn = after.MoveColumn;
    expected.MoveRow = after.MoveRow;
    rules::PlaceMove(expected);
    if (!(expected.board == board)) return "the move was not one piece and its chain reaction";
    return std::nullopt;
}

}  // namespace

std::optional<Player> ParsePlayer(const std::string& name) {
    if (name == "random") return Player::Random;
    if (name == "low") return Player::Low;
    if (name == "high") return Player::High;
    return std::nullopt;
}

Result Play(const Options& options) {
    Result result;
    // A frozen clock keeps a run reproducible from its seed; re-seeding still moves on.
    rules::ClockMixedRandom random(options.seed, [] { return std::uint64_t{0}; });
    std::mt19937_64 pick(options.seed);
    Contender one{options.p1, {}};
    Contender two{options.p2, {}};
    std::vector<std::pair<int, int>> cells;
    cells.reserve(rules::Cells);

    for (int game = 0; game < options.games; ++game) {
        rules::GameState state;
        rules::StartNewGame(state);
        state.GameMode = rules::AgainstComputer;
        state.Difficulty = LevelOf(options.p2);
        rules::SetUpBoard(state);
        ++result.games;
        int loser = 0;
        int moves = 0;
        for (; moves < options.moveCap && loser == 0; ++moves) {
            const rules::GameState before = state;
            const int mover = state.CurrentPlayer;
            std::optional<rules::Move> move;
            if (mover == 2) {
                // The computer's turn, checked before and after as the game does.
                if ((loser = rules::CheckGameOver(state)) != 0) break;
                move = two.Choose(state, random);
            } else if (one.kind == Player::Random) {
                cells.clear();
                for (int r = 1; r <= rules::Rows; ++r)
                    for (int c = 1; c <= rules::Columns; ++c)
                        if (state.board.Owner(c, r) != 2) cells.emplace_back(c, r);
                if (!cells.empty()) {
                    const auto [column, row] = cells[std::uniform_int_distribution<std::size_t>(
                        0, cells.size() - 1)(pick)];
                    move = rules::Move{column, row};
                }
            } else {
                // A computer as player 1 chooses as player 2 on the mirrored board.
                rules::GameState mirror = state;
                mirror.board = Swapped(state.board);
                mirror.CurrentPlayer = 2;
                move = one.Choose(mirror, random);
            }
            // Every turn, whoever chose it, goes through the game's own turn step.
            const rules::TurnOutcome turn = rules::TakeTurn(state, move);
            const bool moved = turn.moved;
            if (options.check) {
                if (auto breach = Breach(before, state, mover, moved)) {
                    std::ostringstream what;
                    what << *breach << " (game " << game + 1 << ", move " << moves + 1
                         << ", player " << mover << ")";
                    result.breach = what.str();
                    return result;
                }
            }
            loser = turn.loser;
        }
        if (loser == 1)
            ++result.player2Wins;
        else if (loser == 2)
            ++result.player1Wins;
        else
            ++result.unfinished;
        if (loser != 0) result.rounds += state.RoundNumber;
    }
    return result;
}

}  // namespace arena
