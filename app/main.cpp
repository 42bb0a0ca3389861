#include <QApplication>
#include <QIcon>
#include <QScreen>

#include "assets.h"
#include "game_state.h"
#include "hra.h"
#include "logo.h"
#include "random_source.h"
#include "savegame.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvel"));
    QApplication::setWindowIcon(QIcon(assets::Icon));

    rules::GameState state;
    rules::ClockMixedRandom random(rules::ClockMixedRandom::SteadyClockNanoseconds());
    const std::filesystem::path programDirectory =
        QCoreApplication::applicationDirPath().toStdString();
    hra game(state, random, savegame::SaveFilePath(programDirectory), [] {
        QApplication::closeAllWindows();
        QCoreApplication::exit(0);
    });
    logo splash([&game] {
        // Fill the screen even where no window manager maximises windows.
        if (QScreen* where = game.screen()) game.setGeometry(where->availableGeometry());
        game.showMaximized();
    });
    splash.show();
    return QApplication::exec();
}
