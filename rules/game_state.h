#pragma once

#include <cstdint>
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

inline constexpr int TwoPlayers = 0;
inline constexpr int AgainstComputer = 1;
inline constexpr int LowDifficulty = 1;
inline constexpr int HighDifficulty = 2;

// The one game: the window, the renderer, the computer players and the saved game all
// work on the same instance.
struct GameState {
    Board board;
    int CriticalMass = 4;
    int CurrentPlayer = 1;
    int RoundNumber = 1;
    int GameMode = TwoPlayers;
    int Difficulty = LowDifficulty;
    int MoveColumn = 0;
    int MoveRow = 0;
    int ClickedCell = 0;
    Color Player1Color = Rgb(0, 0, 255);
    Color Player2Color = 255;
    Color Player1DarkColor = Rgb(0, 0, 165);
    Color PieceColor = 0;
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

inline int CountPieces(const GameState& state, int player) {
    return CountPieces(state.board, player);
}

// The end-of-game decision: 0 while the game goes on, otherwise the player who has no
// pieces left (player 1 is looked at first). Nothing is decided in round 1, nor in
// round 2 at the high level, in either mode.
int CheckGameOver(const GameState& state);

// Texts of the status labels and the end message.
std::string RoundLabelText(int roundNumber);       // "3 kolo", written after every move
std::string StartRoundLabelText(int roundNumber);  // "1kolo", written by the menu
std::string PlayerLabelText(int player);           // "Hráč:2"
Color PlayerLabelColor(const GameState& state);
std::string GameOverText(int loser);  // "Konec hry hráč 1 prohrál"
inline constexpr const char* GameTitle = "Morvel";

}  // namespace rules
