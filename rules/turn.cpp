#include <cassert>

#include "game_state.h"

namespace rules {

void StartNewGame(GameState& state) {
    state.CriticalMass = 4;
    state.CurrentPlayer = 1;
    state.RoundNumber = 1;
}

bool SetUpBoard(GameState& state) {
    state.board.Clear();
    if (state.GameMode == AgainstComputer && state.Difficulty == HighDifficulty) {
        state.CurrentPlayer = 2;
        return true;
    }
    return false;
}

int ResolveChainReaction(GameState& state) {
    return ResolveBursts(state.board, state.CriticalMass, state.CurrentPlayer);
}

void PlaceMove(GameState& state) {
    assert(IsPlayable(state.MoveColumn, state.MoveRow));
    Board& board = state.board;
    board.Set(state.MoveColumn, state.MoveRow, state.CurrentPlayer,
              board.Count(state.MoveColumn, state.MoveRow) + 1);
    ResolveChainReaction(state);
}

void AdvanceTurn(GameState& state) {
    state.CurrentPlayer += 1;
    if (state.CurrentPlayer > 2) {
        state.CurrentPlayer = 1;
        state.RoundNumber += 1;
    }
}

TurnOutcome TakeTurn(GameState& state, std::optional<Move> move) {
    TurnOutcome outcome{state.CurrentPlayer, move.has_value(), 0};
    if (move) {
        state.MoveColumn = move->column;
        state.MoveRow = move->row;
        PlaceMove(state);
    }
    AdvanceTurn(state);
    outcome.loser = CheckGameOver(state);
    return outcome;
}

int CheckGameOver(const GameState& state) {
    if (state.RoundNumber <= 1) return 0;
    if (state.Difficulty == HighDifficulty && state.RoundNumber == 2) return 0;
    if (CountPieces(state, 1) == 0) return 1;
    if (CountPieces(state, 2) == 0) return 2;
    return 0;
}

Color PlayerLabelColor(const GameState& state) {
    return state.CurrentPlayer == 2 ? state.Player2Color : state.Player1Color;
}

}  // namespace rules
