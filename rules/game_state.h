#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "board.h"

namespace rules {

// Colours are packed 0x00BBGGRR, red in the low byte; shades are plain arithmetic on them.
using Color = std::uint32_t;

constexpr Color Rgb(int red, int green, int blue) {
    return static_cast<Color>(red + 256 * green + 65536 * blue);
}
constexpr int RedOf(Color color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int GreenOf(Color color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int BlueOf(Color color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

// The menu's two kinds of game, and its two levels. The level also decides when a
// two-player game may first end.
enum class Mode { TwoPlayers, AgainstComputer };
enum class Level { Low = 1, High = 2 };
inline constexpr Mode TwoPlayers = Mode::TwoPlayers;
inline constexpr Mode AgainstComputer = Mode::AgainstComputer;
inline constexpr Level LowDifficulty = Level::Low;
inline constexpr Level HighDifficulty = Level::High;

// A cell played: its column and row.
struct Move {
    int column = 0;
    int row = 0;
    bool operator==(const Move&) const = default;
};

// The one game: the rules' state (the board, the player to move, the round), the menu's
// settings, the last move's cell, and the players' colours.
struct GameState {
    Board board;
    int CriticalMass = 4;
    int CurrentPlayer = 1;
    int RoundNumber = 1;
    Mode GameMode = TwoPlayers;
    Level Difficulty = LowDifficulty;
    int MoveColumn = 0;
    int MoveRow = 0;
    Color Player1Color = Rgb(0, 0, 255);
    Color Player2Color = 255;
    Color Player1DarkColor = Rgb(0, 0, 165);
};

// The menu's start action: CriticalMass 4, player 1 to move, round 1. The board is left
// alone until SetUpBoard.
void StartNewGame(GameState& state);

// The new-game board set-up: every playable cell emptied. Against the computer at the
// high level player 2 opens; returns true when the computer is to make the first move.
bool SetUpBoard(GameState& state);

// Bursts every overfull cell for CurrentPlayer. The game screen puts the board cursor
// back after this returns (every move ends with the hand pointer).
int ResolveChainReaction(GameState& state);

// The piece at (MoveColumn, MoveRow) for CurrentPlayer, then the chain reaction. The
// caller redraws and then calls AdvanceTurn.
void PlaceMove(GameState& state);

// The other player is to move; the round goes up after player 2.
void AdvanceTurn(GameState& state);

// What a turn did: who was to move, whether a piece was placed, and the player who has
// then lost (0 while the game goes on).
struct TurnOutcome {
    int mover = 0;
    bool moved = false;
    int loser = 0;
};

// One turn, a person's or the computer's: the piece at `move` (which becomes MoveColumn,
// MoveRow) for the player to move and its chain reaction, the turn passed on, and the end
// check. Without a move (no cell is empty or the mover's) the turn only passes on.
TurnOutcome TakeTurn(GameState& state, std::optional<Move> move);

inline int CountPieces(const GameState& state, int player) {
    return CountPieces(state.board, player);
}

// The end-of-game decision: 0 while the game goes on, otherwise the player who has no
// pieces left (player 1 is looked at first). Nothing is decided in round 1, nor in
// round 2 at the high level, in either mode.
int CheckGameOver(const GameState& state);

// The colour of the label that says whose turn it is: that player's.
Color PlayerLabelColor(const GameState& state);

}  // namespace rules
