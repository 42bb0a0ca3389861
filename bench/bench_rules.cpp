#include <benchmark/benchmark.h>

#include "game_state.h"
#include "geometry.h"

namespace {

// Every cell of one player at 4 pieces, and one more piece added: the longest reaction
// we know of.
void WorstChainReaction(benchmark::State& bench) {
    rules::GameState full;
    for (int r = 1; r <= rules::Rows; ++r)
        for (int c = 1; c <= rules::Columns; ++c) full.board.Set(c, r, 1, 4);
    full.MoveColumn = 4;
    full.MoveRow = 4;
    int bursts = 0;
    for (auto _ : bench) {
        rules::GameState state = full;
        state.board.SetCount(4, 4, 5);
        bursts = rules::ResolveChainReaction(state);
        benchmark::DoNotOptimize(state.board);
    }
    bench.counters["bursts"] = bursts;
}
BENCHMARK(WorstChainReaction);

void HitTest(benchmark::State& bench) {
    screen::CellRectTable table;
    screen::InitCellGeometry(table);
    // A grid of points over the whole picture: cells, gaps, edges and frame.
    std::vector<std::pair<int, int>> points;
    for (int y = 0; y < 5265; y += 37)
        for (int x = 0; x < 4590; x += 41) points.emplace_back(x, y);
    std::size_t i = 0;
    for (auto _ : bench) {
        const auto& [x, y] = points[i];
        benchmark::DoNotOptimize(screen::CellAtPoint(table, x, y));
        if (++i == points.size()) i = 0;
    }
}
BENCHMARK(HitTest);

}  // namespace
