#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QScreen>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "controller.h"
#include "file_storage.h"
#include "hra.h"
#include "logo.h"
#include "platform.h"
#include "random_source.h"
#include "savegame.h"

namespace {

constexpr int BadUsage = 2;

const char* const HelpText =
    "Použití: morvel [volby]\n"
    "Morvel, desková hra pro dva hráče u jednoho počítače.\n"
    "\n"
    "Volby:\n"
    "  -h, --help     vypíše tuto nápovědu a skončí\n"
    "  -v, --version  vypíše verzi a skončí\n"
    "\n";

// Looks at the command line before any window exists, so that --help and --version answer
// without a display. Returns the exit status when the program should end here.
std::optional<int> HandleCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // Qt's own options (-platform xcb, -display :1, ...) take one dash and a whole word.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    // The options QApplication takes for itself are passed on to it.
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "display",
                             "geometry", "qwindowgeometry", "qwindowtitle", "qwindowicon", "style",
                             "stylesheet", "session", "name", "title"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("x")));
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    const bool parsed = parser.parse(arguments);
    const bool answers = !parsed || !parser.positionalArguments().isEmpty() || parser.isSet(help) ||
                         parser.isSet(version);
    const bool heard = answers && platform::UseParentConsole();
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        QString why, what;
        if (!parser.unknownOptionNames().isEmpty()) {
            what = parser.unknownOptionNames().constFirst();
            why = QStringLiteral("neznámá volba '%1'").arg(what);
        } else if (!parsed) {
            why = what = parser.errorText();
        } else {
            what = parser.positionalArguments().constFirst();
            why = QStringLiteral("nečekaný argument '%1'").arg(what);
        }
        // A file dropped on the program, or "Open with", with no console to say it in: the
        // player is told, and the game starts all the same.
        if (!heard &&
            platform::TellWithoutConsole(
                QStringLiteral("Hra Morvel neotvírá soubory a jiné volby než --help a --version "
                               "nezná, a „%1“ proto nechává stranou. Spustí se jako obvykle.")
                    .arg(what)))
            return std::nullopt;
        std::fprintf(stderr, "morvel: %s\nPoužití: morvel [--help] [--version]\n",
                     why.toLocal8Bit().constData());
        return BadUsage;
    }
    if (parser.isSet(help)) {
        std::fputs(HelpText, stdout);
        std::fputs(platform::SaveLocationHelp(), stdout);
    } else if (parser.isSet(version)) {
        // The first line alone is the version, for scripts; then the notice that the Qt
        // libraries' licence asks for, which the screens do not show.
        std::printf(
            "morvel %s\n"
            "Copyright 2026 tým Morvel.\n"
            "Používá knihovnu Qt %s pod licencí GNU LGPL 3.0; Morvel dovoluje ji\n"
            "upravit a nahradit. Licence: %s\n",
            MORVEL_VERSION, qVersion(), platform::LicenceLocation());
    } else
        return std::nullopt;
    // What could not be written (a full disk, a closed pipe) is no answer.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "morvel: standardní výstup nelze zapsat: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = HandleCommandLine(argc, argv)) return *status;

    platform::PrepareStart();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvel"));
    QApplication::setApplicationVersion(QStringLiteral(MORVEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVEL_APP_ID));

    rules::ClockMixedRandom random(rules::ClockMixedRandom::SteadyClockNanoseconds());
    const std::filesystem::path programDirectory =
        QCoreApplication::applicationDirPath().toStdU16String();
    savegame::FileStorage storage(savegame::FindSlot(programDirectory));
    play::Controller controller(random, storage);
    // The splash is the first window the player sees: the game window, with its pictures
    // and cursors, is built while the splash stands, once the splash is on the screen (or
    // when its four seconds are up, if it never was).
    std::unique_ptr<hra> game;
    auto build = [&] {
        if (game) return;
        game = std::make_unique<hra>(controller, [] {
            QApplication::closeAllWindows();
            QCoreApplication::exit(0);
        });
    };
    logo splash(controller, [&] {
        build();
        // Fill the screen even where no window manager maximises windows.
        if (QScreen* where = game->screen()) game->setGeometry(where->availableGeometry());
        game->showMaximized();
    });
    QObject::connect(&splash, &logo::FirstPainted, build);
    splash.show();
    return QApplication::exec();
}
