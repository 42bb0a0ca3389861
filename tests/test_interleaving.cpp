// The real game window, its menu and its message boxes under seeded random sequences of
// everything a player can do (presses anywhere with any button, Esc and other keys, "#S#"
// that works or fails, "#L#" with a good, missing or damaged save, every menu button,
// boxes closed after a while, the pointer moved), with the window's real timer ticking in
// between. The turn cycle itself is proven on its controller, headless and at length
// (test_play_interleaving); this proves the window a faithful frontend of it. After every
// event what the window shows is checked against the controller's state: the controls
// that show, the pointer, the timer, the menu and the boxes and their texts, the labels,
// nothing changing under a box, a move for each press that may play, the computer's move
// never under a box nor before its delay.
//
//   MORVEL_SEED=S test_interleaving        runs sequence S alone and prints its events
//   MORVEL_SEQUENCES=N test_interleaving   runs sequences 1..N (default 100)

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "file_storage.h"
#include "hra.h"
#include "nas.h"
#include "savegame.h"
#include "system.h"

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
        connect(&window_, &hra::MovePlayed, this, &Sequence::Moved);
    }

    // Plays the sequence to its end; the first thing it found wrong, if any.
    std::optional<QString> Run() {
        clock_.start();
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

    const play::Controller& Game() const { return controller_; }
    const rules::Board& Board() const { return controller_.Game().board; }

    // What a box must leave alone: the board, its picture and the bar (neither drawn
    // again), and the labels.
    QStringList Shot() const {
        QStringList shot{QString::fromStdString(savegame::FormatBoard(Board())),
                         QString::number(window_.Plocha()->Picture().cacheKey()),
                         QString::number(window_.kbod()->Picture().cacheKey())};
        for (QLabel* label : {window_.Label1(0), window_.Label1(1), window_.Label2()})
            shot << label->text() << label->palette().color(QPalette::WindowText).name()
                 << QString::number(label->isVisible());
        return shot;
    }

    void Moved(int player) {
        const bool computer =
            player == 2 && Game().Game().GameMode == rules::AgainstComputer && !pressing_;
        seen[computer ? "computer moves" : "person moves"]++;
        if (QApplication::activeModalWidget()) Fail("a move under an open box or menu");
        if (computer && armedAt_ >= 0 && clock_.elapsed() < armedAt_ + DelayMs - 1)
            Fail(QString::asprintf("the computer moved %lld ms after the person, before its delay",
                                   clock_.elapsed() - armedAt_));
        if (window_.Plocha()->Picture().cacheKey() == pictureKey_)
            Fail("a move, and the board was not drawn again");
        pictureKey_ = window_.Plocha()->Picture().cacheKey();
        armedAt_ = -1;
        ++moves_;
    }

    // What the window shows now, against the controller.
    void Observe(QWidget* top) {
        const play::Phase phase = Game().CurrentPhase();
        if (Visible<nas>() + Visible<QMessageBox>() > 1)
            Fail(QString::asprintf("%d menus, %d boxes", Visible<nas>(), Visible<QMessageBox>()));
        if ((qobject_cast<nas*>(top) != nullptr) != (phase == play::Phase::Menu))
            Fail("the menu is open exactly in the menu's phase, or it is not");
        if ((qobject_cast<QMessageBox*>(top) != nullptr) != Game().BoxOpen())
            Fail("a box is open exactly while the controller has one, or it is not");
        const bool game = play::ShowsGame(phase);
        for (QWidget* w :
             std::initializer_list<QWidget*>{window_.Plocha(), window_.kbod(), window_.Label1(0),
                                             window_.Label1(1), window_.sav(), window_.nah()})
            if (w->isVisible() != game) Fail("a control of the game shows apart from its phase");
        if (window_.Label2()->isVisible() != play::ShowsInformation(phase))
            Fail("the information text shows apart from its phase");
        const bool timed =
            Game().Running() != play::Timer::None && Game().Running() != play::Timer::Splash;
        if (window_.Timer().isActive() != timed)
            Fail(QString("the window's timer is ") + (timed ? "stopped" : "running") + " in " +
                 QString::fromStdString(Game().Describe()));
        const bool hourglass = play::ComputerPending(phase);
        const QCursor cursor = window_.cursor();
        if (window_.PointerSetting() == hra::ArrowPointer
                ? cursor.shape() != Qt::ArrowCursor
                : cursor.hotSpot() != (hourglass ? QPoint(0, 0) : QPoint(7, 7)))
            Fail(QString::asprintf("the pointer has its hot spot at %d,%d with%s the hourglass",
                                   cursor.hotSpot().x(), cursor.hotSpot().y(),
                                   hourglass ? "" : "out"));
        if (hourglass && Game().CurrentPhase() == play::Phase::ComputerHeld)
            seen["held computer moves"]++;

        if (top != modal_) {
            modal_ = top;
            if (auto* menu = qobject_cast<nas*>(top)) MenuOpened(menu);
            if (auto* box = qobject_cast<QMessageBox*>(top)) BoxOpened(box);
        } else if (qobject_cast<QMessageBox*>(top) && Shot() != shot_) {
            Fail("the board, the bar or a label changed under a box");
        }
        if (game) CheckLabels();
    }

    void MenuOpened(nas* menu) {
        seen["menus"]++;
        if (!menu->jhra(0)->isChecked() || !menu->obtt(0)->isChecked() ||
            menu->obtt(0)->isEnabled() || menu->obtt(1)->isEnabled() || menu->StartButtonHovered())
            Fail("the menu did not open at two people and the low level");
        const QStringList texts{menu->windowTitle(), menu->jhra(0)->text(), menu->jhra(1)->text(),
                                menu->obtt(0)->text(), menu->obtt(1)->text()};
        if (texts != QStringList{"Form1", "Hra dvou hráčů", "Hra hráč proti počítači",
                                 "Obtížnost malá", "Obtížnost velká"})
            Fail("the menu reads " + texts.join(", "));
    }

    void BoxOpened(QMessageBox* box) {
        shot_ = Shot();
        if (!box->text().startsWith(QStringLiteral("Konec hry"))) {
            seen["warnings"]++;
            if (warningExpected_.isEmpty() || !box->text().startsWith(warningExpected_) ||
                box->icon() != QMessageBox::Warning)
                Fail("an unexpected box: " + box->text());
            return;
        }
        seen["end messages"]++;
        const int p1 = rules::CountPieces(Board(), 1), p2 = rules::CountPieces(Board(), 2);
        const int loser = p1 == 0 ? 1 : p2 == 0 ? 2 : 0;
        if (!loser || box->text() != QStringLiteral("Konec hry hráč %1 prohrál").arg(loser) ||
            box->windowTitle() != QStringLiteral("Morvel") ||
            box->icon() != QMessageBox::Information || box->buttons().size() != 1)
            Fail(box->text() + QString::asprintf(" with %d and %d pieces", p1, p2));
    }

    // The labels as the menu leaves them for a new game, or as the last move wrote them.
    void CheckLabels() {
        const rules::GameState& state = Game().Game();
        const QString round = window_.Label1(0)->text(), player = window_.Label1(1)->text();
        const QColor colour = window_.Label1(1)->palette().color(QPalette::WindowText);
        auto qcolour = [](rules::Color c) {
            return QColor(rules::RedOf(c), rules::GreenOf(c), rules::BlueOf(c));
        };
        const bool written =
            round == QString::fromStdString(rules::RoundLabelText(state.RoundNumber)) &&
            player == QString::fromStdString(rules::PlayerLabelText(state.CurrentPlayer)) &&
            colour == qcolour(rules::PlayerLabelColor(state));
        const bool fresh = round == "1kolo" && player == "Hráč:1" && colour == QColor(0, 0, 255);
        if (!written && !fresh)
            Fail(QStringLiteral("the labels read '%1' '%2' in %3 at round %4, player %5")
                     .arg(round, player, colour.name(), QString::number(state.RoundNumber),
                          QString::number(state.CurrentPlayer)));
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
        if (roll < 70)
            return {"menu: ?", 0, [this, menu] {
                        seen["information shown"]++;
                        menu->info()->click();
                    }};
        return {"menu: start", 0, [menu] { QTest::mouseClick(menu->pp3(), Qt::LeftButton); }};
    }

    Event OnBox(QMessageBox* box) {
        if (!winding_ && Chance(45)) return {"box: wait", Pick(DelayMs + 2), [] {}};
        return {"box: OK", 0, [box] { box->button(QMessageBox::Ok)->click(); }};
    }

    // A press with any button on a cell of the mover's (half of them full ones, which
    // burst), of the opponent's, an empty one, or off every cell.
    Event Press() {
        const int roll = Pick(100), mover = Game().Game().CurrentPlayer;
        std::vector<int> cells;
        for (int n = 1; n <= rules::Cells; ++n) {
            const int owner = Board().Owner(screen::CellColumn(n), screen::CellRow(n));
            if (roll < 40 ? owner == mover && (roll >= 20 || Board().Count(screen::CellColumn(n),
                                                                           screen::CellRow(n)) == 4)
                          : owner == (roll < 55 ? 3 - mover : 0))
                cells.push_back(n);
        }
        const Qt::MouseButton button =
            std::array{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}[Pick(3)];
        QWidget* target = window_.Plocha();
        QPoint at;
        int owner = -1;
        if (roll >= 92 || cells.empty()) {
            // The board's frame, left of the first column, or the window's background.
            // (Never the point 0,0, which Qt Test takes for the middle of the target.)
            if (Chance(50))
                at = QPoint(1 + Pick(4), 1 + Pick(window_.Plocha()->height() - 2));
            else
                at = QPoint(1 + Pick(window_.Plocha()->x() - 1), 5), target = &window_;
        } else {
            const int n = cells[Pick(static_cast<int>(cells.size()))];
            owner = Board().Owner(screen::CellColumn(n), screen::CellRow(n));
            const auto& r = window_.CellRect()[n];
            at = QPoint((r.x1 + r.x2) / 2 / 15, (r.y1 + r.y2) / 2 / 15);
        }
        return {QString::asprintf("press %d,%d (owner %d)", at.x(), at.y(), owner), 0,
                [this, target, at, button, owner, mover] {
                    const bool plays =
                        owner >= 0 && (owner == 0 || owner == mover) && Game().PersonMayMove();
                    seen[plays ? "presses" : "ignored presses"]++;
                    if (play::ComputerPending(Game().CurrentPhase()))
                        seen["presses during the computer's delay"]++;
                    const int before = moves_;
                    pressing_ = true;
                    QTest::mouseClick(target, button, {}, at);
                    pressing_ = false;
                    if (moves_ - before != (plays ? 1 : 0))
                        Fail(QString::asprintf("the press made %d moves", moves_ - before));
                    if (plays && Game().CurrentPhase() == play::Phase::ComputerArmed)
                        armedAt_ = clock_.elapsed();
                }};
    }

    Event Load() {
        const char* kind = std::array{"brink", "brink", "kept", "missing", "damaged"}[Pick(5)];
        return {QStringLiteral("#L# with a %1 save").arg(kind), 0, [this, kind] {
                    const std::string k = kind;
                    if (k == "missing") std::filesystem::remove(slot_.file);
                    // The mover's full cell beside the opponent's one piece: the next
                    // press there may end the game.
                    rules::Board brink;
                    brink.Set(2, 1, Game().Game().CurrentPlayer, 4);
                    brink.Set(1, 1, 3 - Game().Game().CurrentPlayer, 1);
                    if (k == "brink")
                        std::ofstream(slot_.file, std::ios::binary) << savegame::FormatBoard(brink);
                    if (k == "damaged")
                        std::ofstream(slot_.file, std::ios::binary)
                            << savegame::FormatBoard(Board()).substr(0, 5 * Pick(112));
                    const std::optional<rules::Board> saved = savegame::LoadGame(slot_.file);
                    const QStringList before = Shot();
                    // What failed, and where.
                    if (!saved) warningExpected_ = "Hru se nepodařilo nahrát. Soubor " + File();
                    window_.nah()->click();
                    // The board changes, and nothing else: not the player, nor the round.
                    if (saved && (Board() != *saved || Shot().mid(3) != before.mid(3)))
                        Fail("#L# did not put the saved board alone in place");
                }};
    }

    Event OnWindow() {
        const bool board = window_.Plocha()->isVisible();
        if (winding_) return {"Esc (winding down)", 1, [this] { Escape(&window_); }};
        // Without the board, no presses: the rest keep their shares.
        const int roll = board ? Pick(100) : 45 + Pick(55);
        if (roll < 45) return Press();
        if (roll < 50)
            return {"Esc", 0, [this, board] {
                        // Typed over the board, it reaches the window all the same.
                        Escape(board && Chance(30) ? static_cast<QWidget*>(window_.Plocha())
                                                   : &window_);
                    }};
        if (roll < 53)
            return {"another key", 0, [this] {
                        const std::string before = Game().Describe();
                        QTest::keyClick(&window_, Qt::Key_A);
                        if (Game().Describe() != before) Fail("a key other than Esc did something");
                    }};
        if (board && roll < 57)
            return {"#S#", 0, [this] {
                        window_.sav()->click();
                        std::ifstream in(slot_.file, std::ios::binary);
                        if (std::string(std::istreambuf_iterator<char>(in), {}) !=
                            savegame::FormatBoard(Board()))
                            Fail("#S# saved another board");
                    }};
        if (board && roll < 60)
            return {"#S# into a folder", 0, [this] {
                        std::filesystem::remove(slot_.file);
                        std::filesystem::create_directory(slot_.file);
                        warningExpected_ = "Hru se nepodařilo uložit. Soubor " + File();
                        window_.sav()->click();
                        std::filesystem::remove(slot_.file);
                    }};
        if (board && roll < 70) return Load();
        if (roll < 78) {
            QWidget* over =
                board && Chance(50) ? static_cast<QWidget*>(window_.Plocha()) : &window_;
            return {over == &window_ ? "pointer over the background" : "pointer over the board", 0,
                    [this, over] {
                        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2),
                                         over->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                                         Qt::NoButton, Qt::NoModifier);
                        QApplication::sendEvent(over, &move);
                        if (window_.PointerSetting() !=
                            (over == &window_ ? hra::ArrowPointer : hra::CustomPointer))
                            Fail("the pointer setting did not follow the mouse");
                    }};
        }
        if (roll < 82) return {"long wait", 2 * DelayMs + 4, [] {}};
        return {"wait", Pick(DelayMs), [] {}};
    }

    void Escape(QWidget* at) {
        const bool opens = play::EscapeOpensMenu(Game().CurrentPhase());
        if (play::ComputerPending(Game().CurrentPhase())) seen["Esc during the computer's delay"]++;
        QTest::keyClick(at, Qt::Key_Escape);
        if (opens != (qobject_cast<nas*>(QApplication::activeModalWidget()) != nullptr))
            Fail(opens ? "Esc did not bring the menu" : "Esc brought the menu");
    }

    void Step() {
        QWidget* top = QApplication::activeModalWidget();
        if (quits_ > 0) {
            // "X": the program ends, once, with nothing left to come: no menu or box, no
            // move, no timer.
            if (!finalWait_) movesAtQuit_ = moves_;
            if (quits_ != 1 || top || moves_ != movesAtQuit_ || window_.Timer().isActive())
                Fail("the program did not end cleanly on X");
            if (finalWait_) return loop_.quit();
            finalWait_ = true;
            return Next(2 * DelayMs + 4);
        }
        Observe(top);
        winding_ = winding_ || count >= Events || failure_;
        if (++count > 20 * Events) Fail("it would not wind down");
        Event event = qobject_cast<nas*>(top)           ? OnMenu(static_cast<nas*>(top))
                      : qobject_cast<QMessageBox*>(top) ? OnBox(static_cast<QMessageBox*>(top))
                                                        : OnWindow();
        log << QStringLiteral("%1 [%2] %3")
                   .arg(QString::number(count), QString::fromStdString(Game().Describe()),
                        event.name);
        Next(event.waitMs);
        warningExpected_.clear();
        event.act();
    }

    // The save file as the game's messages name it (with the system's own separators).
    QString File() const { return QString::fromStdString(savegame::sys::PathText(slot_.file)); }

    std::mt19937_64 rng_;
    rules::ClockMixedRandom random_;
    QTemporaryDir dir_;
    savegame::Slot slot_{std::filesystem::path(dir_.path().toStdU16String()) / "hra.dat"};
    screen::FileStorage storage_{slot_};
    play::Controller controller_{random_, storage_, DelayMs};
    int quits_ = 0;
    hra window_{controller_, [this] { ++quits_; }};
    QEventLoop loop_;
    QElapsedTimer clock_;
    std::optional<QString> failure_;
    bool winding_ = false, finalWait_ = false, pressing_ = false;
    int moves_ = 0, movesAtQuit_ = 0;
    qint64 armedAt_ = -1;      // when a press handed the computer its move
    qint64 pictureKey_ = 0;    // the board's picture after the last move
    QString warningExpected_;  // how the box this event opens must begin
    QPointer<QWidget> modal_;
    QStringList shot_;
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
         {"computer moves", "person moves", "presses", "ignored presses",
          "presses during the computer's delay", "end messages", "held computer moves", "menus",
          "information shown", "warnings", "Esc during the computer's delay"})
        QVERIFY2(one || seen[what] > 0, what);
}

QTEST_MAIN(InterleavingTest)
#include "test_interleaving.moc"
