// The real game window, its menu and its message boxes under seeded random sequences of
// everything a player can do (presses anywhere with any button, Esc and other keys, "#S#"
// that works or fails, "#L#" with a kept, missing or damaged save, every menu button,
// boxes closed after a while, the pointer moved), with the window's real timer ticking in
// between. The turn cycle itself is proven on its controller, headless and at length
// (test_play_interleaving), against a model of its own; this proves that the window paints
// what the controller says after every event: the controls that show, the labels and their
// colour, the pointer, the timer, the menu as it is set, the box and its text, the tiles,
// and the board as the game stands.
//
//   MORVEL_SEED=S test_interleaving        runs sequence S alone and prints its events
//   MORVEL_SEQUENCES=N test_interleaving   runs sequences 1..N (default 100)

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "assets.h"
#include "file_storage.h"
#include "geometry.h"
#include "hra.h"
#include "nas.h"
#include "painter.h"
#include "renderer.h"
#include "savegame.h"

namespace {

constexpr int Events = 100;  // random events a sequence, then it winds down to "X"
constexpr int DelayMs = 3;   // the computer's delay, shortened for the test

template <typename Window>
int Visible() {
    const QWidgetList all = QApplication::topLevelWidgets();
    return std::count_if(all.begin(), all.end(),
                         [](QWidget* w) { return qobject_cast<Window*>(w) && w->isVisible(); });
}

class Sequence : public QObject {
  public:
    explicit Sequence(std::uint64_t seed) : rng_(seed), random_(seed, [] { return 0ULL; }) {
        connect(&window_, &hra::MovePlayed, this, [this] { ++seen["moves"]; });
    }

    // Plays the sequence to its end; the first thing it found wrong, if any.
    std::optional<QString> Run() {
        window_.show();
        Next(0);
        QTimer::singleShot(30000, &loop_, [this] {
            Fail("the sequence never ended");
            loop_.quit();
        });
        loop_.exec();
        return failure_;
    }

    int count = 0;
    QStringList log;  // the events, each with the controller's state before it
    std::map<QString, int> seen;

  private:
    struct Event {
        QString name;
        int waitMs;
        std::function<void()> act;
    };

    // The next event runs `ms` from now, from the event loop.
    void Next(int ms) {
        QTimer::singleShot(ms, this, [this] {
            QMetaObject::invokeMethod(this, &Sequence::Step, Qt::QueuedConnection);
        });
    }

    void Fail(const QString& what) {
        if (!failure_) failure_ = QStringLiteral("event %1: ").arg(count) + what;
    }

    const rules::Board& Board() const { return controller_.Game().board; }

    // What the window shows now, against what the controller says it shows.
    void Observe(QWidget* top) {
        const play::View view = controller_.Screen();
        if (Visible<nas>() + Visible<QMessageBox>() > 1)
            Fail(QString::asprintf("%d menus, %d boxes", Visible<nas>(), Visible<QMessageBox>()));
        auto* menu = qobject_cast<nas*>(top);
        auto* box = qobject_cast<QMessageBox*>(top);
        if ((menu != nullptr) != (view.dialog == play::Dialog::Menu))
            Fail("the menu is open apart from the view");
        if ((box != nullptr) != (view.dialog == play::Dialog::Box))
            Fail("a box is open apart from the view");
        if (menu) {
            seen["menus"]++;
            const play::Menu& m = view.menu;
            if (!menu->jhra(m.mode == rules::TwoPlayers ? 0 : 1)->isChecked() ||
                !menu->obtt(m.level == rules::LowDifficulty ? 0 : 1)->isChecked() ||
                menu->obtt(0)->isEnabled() != m.LevelsEnabled() ||
                menu->obtt(1)->isEnabled() != m.LevelsEnabled())
                Fail("the menu does not show how it is set");
        }
        if (box) {
            seen[view.boxKind == play::BoxKind::GameOver ? "end messages" : "other boxes"]++;
            if (box->text() != QString::fromStdString(view.boxText) ||
                (box->icon() == QMessageBox::Warning) != (view.boxKind == play::BoxKind::Failure))
                Fail("the box reads " + box->text());
        }
        for (QWidget* w :
             std::initializer_list<QWidget*>{window_.Plocha(), window_.kbod(), window_.Label1(0),
                                             window_.Label1(1), window_.sav(), window_.nah()})
            if (w->isVisible() != view.showsGame)
                Fail("a control of the game shows apart from the view");
        if (window_.Label2()->isVisible() != view.showsInformation)
            Fail("the information text shows apart from the view");
        if (window_.Label1(0)->text() != QString::fromStdString(view.labels.round) ||
            window_.Label1(1)->text() != QString::fromStdString(view.labels.player) ||
            (!view.labels.player.empty() &&
             window_.Label1(1)->palette().color(QPalette::WindowText) !=
                 assets::Colour(view.labels.colour)))
            Fail("the labels read " + window_.Label1(0)->text() + " " + window_.Label1(1)->text());
        const bool timed = view.timer != play::Timer::None && view.timer != play::Timer::Splash;
        if (window_.Timer().isActive() != timed)
            Fail(QString("the window's timer is ") + (timed ? "stopped" : "running") + " in " +
                 QString::fromStdString(controller_.Describe()));
        const QCursor cursor = window_.cursor();
        if (!view.pointer.picture
                ? cursor.shape() != Qt::ArrowCursor
                : cursor.hotSpot() != QPoint(view.pointer.hotX, view.pointer.hotY))
            Fail(QString::asprintf("the pointer has its hot spot at %d,%d", cursor.hotSpot().x(),
                                   cursor.hotSpot().y()));
        seen[view.pointer.picture ? view.pointer.picture : "arrows"]++;
        if (window_.Background().isNull() == view.backgroundTiled)
            Fail("the background is tiled apart from the view");
        if (view.showsGame &&
            window_.Plocha()->Picture().toImage().convertToFormat(QImage::Format_RGB32) != Drawn())
            Fail("the board shows another position than the game's");
    }

    // The board as the game stands, drawn afresh.
    QImage Drawn() const {
        QImage image(window_.Plocha()->Picture().size(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(window_.Plocha()->Picture().devicePixelRatio());
        {
            QPainter painter(&image);
            screen::QtPainter twips(painter);
            screen::DrawBoardPicture(twips, controller_.Game(), twips.DevicePixels());
        }
        return image.convertToFormat(QImage::Format_RGB32);
    }

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }

    Event OnMenu(nas* menu) {
        if (winding_) return {"X", 0, [menu] { menu->Command2()->click(); }};
        QAbstractButton* const buttons[] = {menu->jhra(0), menu->jhra(1), menu->obtt(0),
                                            menu->obtt(1)};
        const int roll = Pick(100);
        if (roll < 50) {
            QAbstractButton* button = buttons[Pick(4)];
            return {"menu: " + button->text(), 0, [button] { button->click(); }};
        }
        if (roll < 55) return {"menu: Esc", 0, [menu] { QTest::keyClick(menu, Qt::Key_Escape); }};
        if (roll < 70) return {"menu: ?", 0, [menu] { menu->info()->click(); }};
        return {"menu: start", 0, [menu] { QTest::mouseClick(menu->pp3(), Qt::LeftButton); }};
    }

    Event OnBox(QMessageBox* box) {
        if (!winding_ && Chance(45)) return {"box: wait", Pick(DelayMs + 2), [] {}};
        return {"box: OK", 0, [box] { box->button(QMessageBox::Ok)->click(); }};
    }

    // A press with any button on a cell of the mover's (half of them full ones, which
    // burst), of the opponent's, an empty one, or off every cell.
    Event Press() {
        const int roll = Pick(100), mover = controller_.Game().CurrentPlayer;
        std::vector<int> cells;
        for (int n = 1; n <= rules::Cells; ++n) {
            const int c = screen::CellColumn(n), r = screen::CellRow(n);
            const int owner = Board().Owner(c, r);
            if (roll < 40 ? owner == mover && (roll >= 20 || Board().Count(c, r) == 4)
                          : owner == (roll < 55 ? 3 - mover : 0))
                cells.push_back(n);
        }
        const Qt::MouseButton button =
            std::array{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}[Pick(3)];
        QWidget* target = window_.Plocha();
        QPoint at;
        if (roll >= 92 || cells.empty()) {
            // The board's frame, left of the first column, or the window's background.
            // (Never the point 0,0, which Qt Test takes for the middle of the target.)
            if (Chance(50))
                at = QPoint(1 + Pick(4), 1 + Pick(window_.Plocha()->height() - 2));
            else
                at = QPoint(1 + Pick(window_.Plocha()->x() - 1), 5), target = &window_;
        } else {
            const auto& r = screen::Cells()[cells[Pick(static_cast<int>(cells.size()))]];
            at = QPoint((r.x1 + r.x2) / 2 / 15, (r.y1 + r.y2) / 2 / 15);
        }
        return {QString::asprintf("press %d,%d", at.x(), at.y()), 0,
                [target, at, button] { QTest::mouseClick(target, button, {}, at); }};
    }

    Event OnWindow() {
        const bool board = window_.Plocha()->isVisible();
        if (winding_)
            return {"Esc (winding down)", 1, [this] { QTest::keyClick(&window_, Qt::Key_Escape); }};
        // Without the board, no presses: the rest keep their shares.
        const int roll = board ? Pick(100) : 45 + Pick(55);
        if (roll < 45) return Press();
        if (roll < 50)
            return {"Esc", 0, [this, board] {
                        // Typed over the board, it reaches the window all the same.
                        QTest::keyClick(board && Chance(30)
                                            ? static_cast<QWidget*>(window_.Plocha())
                                            : &window_,
                                        Qt::Key_Escape);
                    }};
        if (roll < 53) return {"another key", 0, [this] { QTest::keyClick(&window_, Qt::Key_A); }};
        if (board && roll < 58) return {"#S#", 0, [this] { window_.sav()->click(); }};
        if (board && roll < 61)
            return {"#S# into a folder", 0, [this] {
                        std::filesystem::remove(slot_.file);
                        std::filesystem::create_directory(slot_.file);
                        window_.sav()->click();
                        std::filesystem::remove(slot_.file);
                    }};
        if (board && roll < 70)
            return {"#L#", 0, [this] {
                        if (Chance(20)) std::filesystem::remove(slot_.file);
                        if (Chance(20))
                            std::ofstream(slot_.file, std::ios::binary)
                                << savegame::FormatBoard(Board()).substr(0, 5 * Pick(112));
                        window_.nah()->click();
                    }};
        if (roll < 78) {
            QWidget* over =
                board && Chance(50) ? static_cast<QWidget*>(window_.Plocha()) : &window_;
            return {over == &window_ ? "pointer over the background" : "pointer over the board", 0,
                    [over] {
                        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2),
                                         over->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                                         Qt::NoButton, Qt::NoModifier);
                        QApplication::sendEvent(over, &move);
                    }};
        }
        if (roll < 82) return {"long wait", 2 * DelayMs + 4, [] {}};
        return {"wait", Pick(DelayMs), [] {}};
    }

    void Step() {
        QWidget* top = QApplication::activeModalWidget();
        if (quits_ > 0) {
            // "X": the program ends, once, with nothing left open or running.
            if (quits_ != 1 || top || window_.Timer().isActive())
                Fail("the program did not end cleanly on X");
            return loop_.quit();
        }
        Observe(top);
        winding_ = winding_ || count >= Events || failure_;
        if (++count > 20 * Events) Fail("it would not wind down");
        Event event = qobject_cast<nas*>(top)           ? OnMenu(static_cast<nas*>(top))
                      : qobject_cast<QMessageBox*>(top) ? OnBox(static_cast<QMessageBox*>(top))
                                                        : OnWindow();
        log << QStringLiteral("%1 [%2] %3")
                   .arg(QString::number(count), QString::fromStdString(controller_.Describe()),
                        event.name);
        Next(event.waitMs);
        event.act();
    }

    std::mt19937_64 rng_;
    rules::ClockMixedRandom random_;
    QTemporaryDir dir_;
    savegame::Slot slot_{std::filesystem::path(dir_.path().toStdU16String()) / "hra.dat"};
    savegame::FileStorage storage_{slot_};
    play::Controller controller_{random_, storage_, DelayMs};
    int quits_ = 0;
    hra window_{controller_, [this] { ++quits_; }};
    QEventLoop loop_;
    std::optional<QString> failure_;
    bool winding_ = false;
};

}  // namespace

class InterleavingTest : public QObject {
    Q_OBJECT

  private slots:
    void randomSequencesShowTheControllersTurnCycle();
};

void InterleavingTest::randomSequencesShowTheControllersTurnCycle() {
    const bool one = qEnvironmentVariableIsSet("MORVEL_SEED");
    const int sequences = qEnvironmentVariableIsSet("MORVEL_SEQUENCES")
                              ? qEnvironmentVariableIntValue("MORVEL_SEQUENCES")
                              : 100;
    QElapsedTimer clock;
    clock.start();
    int events = 0;
    std::map<QString, int> seen;
    for (int s = 1; s <= (one ? 1 : sequences); ++s) {
        const std::uint64_t seed = one ? qgetenv("MORVEL_SEED").toULongLong() : s;
        Sequence sequence(seed);
        const std::optional<QString> failure = sequence.Run();
        events += sequence.count;
        for (const auto& [what, n] : sequence.seen) seen[what] += n;
        if (one) qInfo().noquote() << sequence.log.join('\n');
        if (failure)
            QFAIL(qPrintable(QStringLiteral("seed %1, %2\nevents (run this seed alone with "
                                            "MORVEL_SEED=%1):\n%3")
                                 .arg(QString::number(seed), *failure, sequence.log.join('\n'))));
    }
    QStringList totals;
    for (const auto& [what, n] : seen) totals << QStringLiteral("%1 %2").arg(n).arg(what);
    qInfo().noquote() << QString::asprintf("%d events in %.1f s: ", events,
                                           clock.elapsed() / 1000.0)
                      << totals.join(", ");
    // The sequences reached every situation the checks speak of.
    for (const char* what :
         {"moves", "end messages", "other boxes", "menus", "hand.png", "hourglass.png", "arrows"})
        QVERIFY2(one || seen[what] > 0, what);
}

QTEST_MAIN(InterleavingTest)
#include "test_interleaving.moc"
