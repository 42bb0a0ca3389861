#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "assets.h"
#include "file_storage.h"
#include "hra.h"
#include "painter.h"
#include "renderer.h"

namespace {

// Every cell full: 56 cells of 4 pieces, both players, 448 discs.
rules::GameState FullBoard() {
    rules::GameState state;
    for (int r = 1; r <= rules::Rows; ++r)
        for (int c = 1; c <= rules::Columns; ++c) state.board.Set(c, r, 1 + (c + r) % 2, 4);
    return state;
}

void BoardPictureIntoImage(benchmark::State& bench) {
    rules::GameState state = FullBoard();
    QImage image(306, 351, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        QPainter painter(&image);
        screen::QtPainter twips(painter);
        screen::DrawBoardPicture(twips, state, 1);
        screen::DrawBalanceBar(twips, state, 4590, 1);
    }
}
BENCHMARK(BoardPictureIntoImage)->Unit(benchmark::kMicrosecond);

// The game's own RedrawBoard: both pictures rebuilt and handed to their controls.
void GameRedrawBoard(benchmark::State& bench) {
    rules::ClockMixedRandom random;
    savegame::FileStorage storage({"/nonexistent/hra.dat"});
    play::Controller game(random, storage, play::Controller::ComputerDelayMilliseconds,
                          FullBoard());
    hra window(game);
    for (auto _ : bench) window.RedrawBoard();
}
BENCHMARK(GameRedrawBoard)->Unit(benchmark::kMicrosecond);

// The whole window painted into an image: tiled background, board, bar, labels.
void WholeWindowIntoImage(benchmark::State& bench) {
    rules::ClockMixedRandom random;
    savegame::FileStorage storage({"/nonexistent/hra.dat"});
    play::Controller game(random, storage, play::Controller::ComputerDelayMilliseconds,
                          FullBoard());
    hra window(game);
    window.resize(1280, 800);
    window.Plocha()->show();
    window.kbod()->show();
    window.RedrawBoard();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        window.RedrawBoard();
        window.render(&image);
    }
}
BENCHMARK(WholeWindowIntoImage)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
