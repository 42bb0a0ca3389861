#include <benchmark/benchmark.h>

#include "game_state.h"
#include "players.h"

namespace {

// A crowded middle game: every cell taken, most of them full, both players mixed.
rules::GameState CrowdedPosition(rules::Level difficulty) {
    rules::GameState state;
    rules::StartNewGame(state);
    state.GameMode = rules::AgainstComputer;
    state.Difficulty = difficulty;
    state.CurrentPlayer = 2;
    state.RoundNumber = 30;
    for (int r = 1; r <= rules::Rows; ++r) {
        for (int c = 1; c <= rules::Columns; ++c) {
            const int owner = (c * 3 + r * 5) % 7 < 3 ? 1 : 2;
            const int count = (c + 2 * r) % 5 == 0 ? 3 : 4;
            state.board.Set(c, r, owner, count);
        }
    }
    return state;
}

// One whole computer turn: the choice and the turn step that plays it.
void ComputerTurn(benchmark::State& bench, rules::Level difficulty) {
    const rules::GameState position = CrowdedPosition(difficulty);
    rules::ClockMixedRandom random(1, [] { return std::uint64_t{0}; });
    players::Computers computers;
    for (auto _ : bench) {
        rules::GameState state = position;
        rules::TakeTurn(state, computers.At(difficulty).Choose(state, random));
        benchmark::DoNotOptimize(state.board);
    }
}

void LowTurn(benchmark::State& bench) {
    ComputerTurn(bench, rules::LowDifficulty);
}
void HighTurn(benchmark::State& bench) {
    ComputerTurn(bench, rules::HighDifficulty);
}
BENCHMARK(LowTurn);
BENCHMARK(HighTurn);

}  // namespace

#include "arena.h"

namespace {

// Whole headless games, a random player 1 against the high level: games per second on
// one core.
void ArenaRandomVsHigh(benchmark::State& bench) {
    std::uint64_t seed = 1;
    for (auto _ : bench) {
        arena::Options options;
        options.p1 = arena::Player::Random;
        options.p2 = arena::Player::High;
        options.games = 1;
        options.seed = seed++;
        benchmark::DoNotOptimize(arena::Play(options));
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(ArenaRandomVsHigh)->Unit(benchmark::kMicrosecond);

}  // namespace
