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
#include <utility>

#include "board_text.h"
#include "hra.h"
#include "logo.h"
#include "nas.h"
#include "renderer.h"
#include "savegame.h"

using rules::GameState;

namespace {

// Polls still waiting for a modal window; cleanup() fails the test that left one.
QList<QPointer<QTimer>>& Pending() {
    static QList<QPointer<QTimer>> polls;
    return polls;
}

// Closes every modal window, innermost first, so that a failed check never leaves one
// waiting for Qt Test's watchdog.
void CloseModals() {
    for (int i = 0; i < 8; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);  // the menu ignores reject()
        else
            modal->close();
    }
}

// Acts on the next modal window, which must be a `Window` (the menu or a message box) and
// must come within `withinMs`. The action runs inside that window's own event loop, as a
// person's clicks would; when a check in it fails, every modal window is closed.
template <typename Window>
void OnNext(std::function<void(Window*)> act, int withinMs = 5000) {
    auto* poll = new QTimer(qApp);
    Pending().append(poll);
    QElapsedTimer waited;
    waited.start();
    poll->setInterval(2);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, withinMs, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool came = modal && modal->isVisible();
        if (!came && !waited.hasExpired(withinMs)) return;
        poll->stop();
        poll->deleteLater();
        Pending().removeAll(poll);
        if (!came) {
            QTest::qFail("the expected modal window never came", __FILE__, __LINE__);
            return;
        }
        auto* window = qobject_cast<Window*>(modal);
        if (!window) {
            QTest::qFail(qPrintable(QStringLiteral("expected a %1, found a %2")
                                        .arg(QLatin1String(Window::staticMetaObject.className()),
                                             QLatin1String(modal->metaObject()->className()))),
                         __FILE__, __LINE__);
        } else {
            act(window);
        }
        if (QTest::currentTestFailed()) CloseModals();
    });
    poll->start();
}

// Waits `ms` with `box` open on top; false, with every modal window closed, as soon as
// another window opens over it.
bool StaysOnTop(QWidget* box, int ms) {
    bool covered = false;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* top = QApplication::activeModalWidget();
        if (top && top != box) {
            covered = true;
            CloseModals();
        }
    });
    watch.start();
    QTest::qWait(ms);
    return !covered && QApplication::activeModalWidget() == box;
}

void Start(nas* menu, int mode, int difficulty = rules::LowDifficulty) {
    if (mode == rules::AgainstComputer) {
        menu->jhra(1)->click();
        menu->obtt(difficulty - 1)->click();
    }
    QTest::mouseClick(menu->pp3(), Qt::LeftButton);
}

// A pointer movement delivered straight to a control.
void Hover(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Clicks `button` expecting exactly one message box titled "Morvel"; closes it with OK and
// returns its text (empty when no such box came).
QString ClickExpectingMessage(QAbstractButton* button) {
    int boxes = 0;
    QString text;
    OnNext<QMessageBox>([&](QMessageBox* box) {
        ++boxes;
        if (box->windowTitle() == QStringLiteral("Morvel")) text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    button->click();
    return boxes == 1 ? text : QString();
}

struct Game {
    GameState state;
    rules::ClockMixedRandom random{17, [] { return std::uint64_t{3}; }};
    QTemporaryDir dir;
    int quits = 0;
    hra window{
        state, random, {std::filesystem::path(dir.path().toStdString()) / "hra.dat"}, [this] {
            ++quits;
        }};

    std::filesystem::path SaveFile() const {
        return std::filesystem::path(dir.path().toStdString()) / "hra.dat";
    }

    // Shows the window; the start-up menu starts a game of the given kind.
    void Begin(int mode, int difficulty = rules::LowDifficulty) {
        OnNext<nas>([=](nas* menu) { Start(menu, mode, difficulty); });
        window.show();
        QTRY_VERIFY(window.Plocha()->isVisible());
    }

    // A game against the high level, up to the computer's opening piece.
    void BeginAgainstHighLevel() {
        Begin(rules::AgainstComputer, rules::HighDifficulty);
        QTRY_COMPARE_WITH_TIMEOUT(rules::CountPieces(state, 2), 1, 500);
    }

    QPoint CellCentre(int n) const {
        const auto& r = window.CellRect()[n];
        return QPoint((r.x1 + r.x2) / 2 / 15, (r.y1 + r.y2) / 2 / 15);
    }

    void Click(int n, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(window.Plocha(), button, {}, CellCentre(n));
    }

    QString Round() const { return window.Label1(0)->text(); }
    QString Player() const { return window.Label1(1)->text(); }
    QColor PlayerColour() const { return window.Label1(1)->palette().color(QPalette::WindowText); }
    int Owner(int n) const { return state.board.Owner((n - 1) % 7 + 1, (n - 1) / 7 + 1); }
    int Count(int n) const { return state.board.Count((n - 1) % 7 + 1, (n - 1) / 7 + 1); }
    int FirstEmptyCell() const {
        for (int n = 1; n <= 56; ++n)
            if (Owner(n) == 0) return n;
        return 0;
    }
};

}  // namespace

class GameWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup();
    void twoPlayerGameToItsEnd();
    void escapeInformationAndOtherKeys();
    void computerOpensAtHighLevelAndAnswersEachMove();
    void gameEndingOnTheComputersMoveStillLetsTheNextGameOpen();
    void escapeDuringTheComputersDelayNeverOpensASecondMenu();
    void theComputerWaitsWhileAMessageBoxIsOpen();
    void aHeldComputerMoveThatEndsTheGameEndsItOnce();
    void theLowLevelIsPlayedByItsOwnPlayer();
    void drawingSurvivesHidingAndResizing();
    void menuButtonsAndStartImage();
    void saveAndLoadThroughTheButtons();
    void splashShowsTheGameAfterFourSeconds();
};

void GameWindowTest::cleanup() {
    // A window that never came fails the test that expected it; its poll must not run on
    // into the next test.
    bool waiting = false;
    for (const QPointer<QTimer>& poll : std::exchange(Pending(), {})) {
        waiting = waiting || poll;
        delete poll.data();
    }
    CloseModals();
    QVERIFY2(!waiting, "a modal window this test expected never came");
}

void GameWindowTest::twoPlayerGameToItsEnd() {
    Game g;
    // Difficulty high, then back to two players: the level stays 2 for the game.
    OnNext<nas>([&](nas* menu) {
        QVERIFY(!menu->obtt(0)->isEnabled() && !menu->obtt(1)->isEnabled());
        menu->jhra(1)->click();
        QVERIFY(menu->obtt(1)->isEnabled());
        menu->obtt(1)->click();
        menu->jhra(0)->click();
        QVERIFY(!menu->obtt(1)->isEnabled());
        QCOMPARE(g.state.Difficulty, 2);
        QTest::mouseClick(menu->pp3(), Qt::LeftButton);
    });
    g.window.show();
    QTRY_VERIFY(g.window.Plocha()->isVisible());
    QCOMPARE(g.state.GameMode, rules::TwoPlayers);
    QCOMPARE(g.state.Difficulty, 2);
    QCOMPARE(g.Round(), QStringLiteral("1kolo"));
    QCOMPARE(g.Player(), QStringLiteral("Hráč:1"));
    QCOMPARE(g.PlayerColour(), QColor(0, 0, 255));
    QVERIFY(g.window.kbod()->isVisible());
    QVERIFY(!g.window.zappc().isActive());

    g.Click(1);
    QCOMPARE(g.Round(), QStringLiteral("1 kolo"));
    QCOMPARE(g.Player(), QStringLiteral("Hráč:2"));
    QCOMPARE(g.PlayerColour(), QColor(255, 0, 0));
    QCOMPARE(g.state.ClickedCell, 1);

    // Ignored: the opponent's cell and a point in no cell (the hit test has its own tests).
    const rules::Board before = g.state.board;
    g.Click(1);
    QTest::mouseClick(g.window.Plocha(), Qt::LeftButton, {}, QPoint(3885 / 15, 300 / 15));
    QCOMPARE(g.state.board, before);
    QCOMPARE(g.state.CurrentPlayer, 2);
    QCOMPARE(g.Player(), QStringLiteral("Hráč:2"));

    g.Click(2, Qt::RightButton);
    QCOMPARE(g.Owner(2), 2);
    QCOMPARE(g.Round(), QStringLiteral("2 kolo"));
    QCOMPARE(g.Player(), QStringLiteral("Hráč:1"));
    QCOMPARE(g.PlayerColour(), QColor(0, 0, 255));
    g.Click(1, Qt::MiddleButton);
    QCOMPARE(g.Count(1), 2);
    for (int i = 0; i < 2; ++i) {
        g.Click(2);
        g.Click(1);
    }
    g.Click(2);
    QCOMPARE(g.Count(1), 4);
    QCOMPARE(g.Count(2), 4);
    QCOMPARE(g.Round(), QStringLiteral("5 kolo"));

    // The fifth piece bursts into player 2's only cell, which bursts in turn.
    int messages = 0;
    OnNext<QMessageBox>([&](QMessageBox* box) {
        ++messages;
        QCOMPARE(box->windowTitle(), QStringLiteral("Morvel"));
        QCOMPARE(box->text(), QStringLiteral("Konec hry hráč 2 prohrál"));
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->buttons().size(), 1);
        OnNext<nas>([&](nas* menu) {
            QVERIFY(!g.window.Plocha()->isVisible());
            QVERIFY(!g.window.kbod()->isVisible());
            QVERIFY(!g.window.Label1(0)->isVisible());
            QVERIFY(!g.window.Label1(1)->isVisible());
            // Every showing starts from two people and the low level.
            QCOMPARE(g.state.GameMode, rules::TwoPlayers);
            QCOMPARE(g.state.Difficulty, rules::LowDifficulty);
            QVERIFY(menu->jhra(0)->isChecked());
            QVERIFY(menu->obtt(0)->isChecked());
            QVERIFY(!menu->obtt(0)->isEnabled());
            QVERIFY(!menu->StartButtonHovered());
            menu->Command2()->click();
        });
        box->button(QMessageBox::Ok)->click();
    });
    g.Click(1);
    QCOMPARE(messages, 1);
    QCOMPARE(g.quits, 1);
    QCOMPARE(rules::CountPieces(g.state, 2), 0);
    QCOMPARE(g.Owner(2), 1);
    // The start-up step ran once: no menu comes back by itself.
    QTest::qWait(20);
    QVERIFY(!g.window.MenuOpen());
    QVERIFY(!g.window.Timer1().isActive());
}

void GameWindowTest::escapeInformationAndOtherKeys() {
    Game g;
    g.Begin(rules::TwoPlayers);
    g.Click(10);
    const rules::Board before = g.state.board;
    QTest::keyClick(&g.window, Qt::Key_A);
    QTest::keyClick(&g.window, Qt::Key_Return);
    QVERIFY(g.window.Plocha()->isVisible());
    QCOMPARE(g.state.board, before);

    OnNext<nas>([&](nas* menu) {
        QVERIFY(!g.window.Plocha()->isVisible());
        QVERIFY(!g.window.kbod()->isVisible());
        QVERIFY(!g.window.sav()->isVisible());
        // Esc on the menu changes nothing.
        QTest::keyClick(menu, Qt::Key_Escape);
        QVERIFY(menu->isVisible());
        QVERIFY(g.window.MenuOpen());
        menu->info()->click();
    });
    // Esc reaches the window even when it is typed over the board.
    QTest::keyClick(g.window.Plocha(), Qt::Key_Escape);
    QVERIFY(!g.window.MenuOpen());
    QVERIFY(g.window.Label2()->isVisible());
    QVERIFY(!g.window.Plocha()->isVisible());
    const QStringList lines = g.window.Label2()->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("INFORMACE:"));
    QCOMPARE(lines[4],
             QStringLiteral("Úkolem v této hře je abyste soupeřovy zabraly všechny body na ploše"));
    QCOMPARE(lines[5], QStringLiteral("Přeji hodně zábavy"));

    // Clicks in the information state do nothing; Esc brings the menu back.
    OnNext<nas>([&](nas* menu) {
        QVERIFY(!g.window.Label2()->isVisible());
        Start(menu, rules::TwoPlayers);
    });
    QTest::keyClick(&g.window, Qt::Key_Escape);
    QTRY_VERIFY(g.window.Plocha()->isVisible());
    QVERIFY(g.window.Label1(0)->isVisible() && g.window.Label1(1)->isVisible());
    QCOMPARE(g.state.board, rules::Board{});
    QCOMPARE(g.Round(), QStringLiteral("1kolo"));
    QCOMPARE(g.state.CurrentPlayer, 1);
}

void GameWindowTest::computerOpensAtHighLevelAndAnswersEachMove() {
    Game g;
    g.BeginAgainstHighLevel();
    QCOMPARE(g.state.CurrentPlayer, 1);
    QCOMPARE(g.state.RoundNumber, 2);
    QCOMPARE(g.Round(), QStringLiteral("2 kolo"));
    QCOMPARE(g.Player(), QStringLiteral("Hráč:1"));
    QVERIFY(!g.window.zappc().isActive());
    // Over the board the pointer is the hand, outside it the arrow.
    QTest::mouseMove(g.window.Plocha(), QPoint(100, 100));
    QTRY_COMPARE(g.window.PointerSetting(), hra::CustomPointer);
    QCOMPARE(g.window.CurrentCustomImage(), hra::CustomImage::Hand);
    QCOMPARE(g.window.cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(g.window.cursor().hotSpot(), QPoint(7, 7));
    QTest::mouseMove(&g.window, QPoint(5, g.window.height() - 5));
    QTRY_COMPARE(g.window.cursor().shape(), Qt::ArrowCursor);

    for (int turn = 0; turn < 3; ++turn) {
        g.Click(g.FirstEmptyCell());
        // The end of the move brings the board's pointer back, now the hourglass.
        QCOMPARE(g.state.CurrentPlayer, 2);
        QCOMPARE(g.window.PointerSetting(), hra::CustomPointer);
        QCOMPARE(g.window.CurrentCustomImage(), hra::CustomImage::Hourglass);
        QCOMPARE(g.window.cursor().hotSpot(), QPoint(0, 0));
        QCOMPARE(g.window.zappc().interval(), hra::ComputerDelayMilliseconds);
        // Presses during the delay are lost.
        const rules::Board waiting = g.state.board;
        g.Click(g.FirstEmptyCell());
        QCOMPARE(g.state.board, waiting);
        QTRY_COMPARE_WITH_TIMEOUT(g.state.CurrentPlayer, 1, 3000);
        // The computer placed a piece: its cell is its own and the board has changed.
        QVERIFY(g.state.board != waiting);
        QCOMPARE(g.state.board.Owner(g.state.MoveColumn, g.state.MoveRow), 2);
        QCOMPARE(g.window.CurrentCustomImage(), hra::CustomImage::Hand);
        QCOMPARE(g.window.cursor().hotSpot(), QPoint(7, 7));
        QVERIFY(!g.window.zappc().isActive());
        QCOMPARE(g.Player(), QStringLiteral("Hráč:1"));
    }
    QCOMPARE(g.state.RoundNumber, 5);
}

void GameWindowTest::gameEndingOnTheComputersMoveStillLetsTheNextGameOpen() {
    Game g;
    g.BeginAgainstHighLevel();
    g.Click(g.FirstEmptyCell());
    QVERIFY(g.window.zappc().isActive());
    // During the delay the board becomes one where the computer takes player 1's last cell.
    g.state.board.Clear();
    g.state.board.Set(1, 1, 1, 1);
    g.state.board.Set(2, 1, 2, 4);

    int messages = 0;
    OnNext<QMessageBox>([&](QMessageBox* box) {
        ++messages;
        QCOMPARE(box->text(), QStringLiteral("Konec hry hráč 1 prohrál"));
        OnNext<nas>([&](nas* menu) { Start(menu, rules::AgainstComputer, rules::HighDifficulty); });
        box->button(QMessageBox::Ok)->click();
    });
    // The new game's opening move comes after the finished game's turn has stopped its timer.
    QTRY_VERIFY_WITH_TIMEOUT(messages == 1 && g.state.RoundNumber == 2 &&
                                 rules::CountPieces(g.state, 2) == 1 &&
                                 rules::CountPieces(g.state, 1) == 0 && g.state.CurrentPlayer == 1,
                             4000);
    QTest::qWait(50);
    QCOMPARE(messages, 1);
    QVERIFY(!g.window.MenuOpen());
    QVERIFY(g.window.Plocha()->isVisible());
}

void GameWindowTest::escapeDuringTheComputersDelayNeverOpensASecondMenu() {
    Game g;
    g.Begin(rules::AgainstComputer, rules::LowDifficulty);
    g.Click(20);
    QVERIFY(g.window.zappc().isActive());
    int menus = 0;
    OnNext<nas>([&](nas* menu) {
        ++menus;
        // Wait past the computer's delay with the menu open.
        QTest::qWait(hra::ComputerDelayMilliseconds + 300);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget* w) { return qobject_cast<nas*>(w) && w->isVisible(); }),
                 1);
        QVERIFY(!g.window.zappc().isActive());
        QCOMPARE(rules::CountPieces(g.state, 2), 0);
        menu->Command2()->click();
    });
    QTest::keyClick(&g.window, Qt::Key_Escape);
    QCOMPARE(menus, 1);
    QCOMPARE(g.quits, 1);
    QCOMPARE(rules::CountPieces(g.state, 2), 0);
}

// A failed load during the computer's delay opens a warning: the computer's move waits
// until it is closed, however long that takes.
void GameWindowTest::theComputerWaitsWhileAMessageBoxIsOpen() {
    Game g;
    g.Begin(rules::AgainstComputer, rules::LowDifficulty);
    g.Click(20);
    QVERIFY(g.window.zappc().isActive());
    const rules::Board afterMove = g.state.board;
    bool waited = false;
    OnNext<QMessageBox>([&](QMessageBox* warning) {
        QVERIFY(StaysOnTop(warning, hra::ComputerDelayMilliseconds + 500));
        QCOMPARE(g.state.board, afterMove);
        QCOMPARE(g.state.CurrentPlayer, 2);
        QCOMPARE(g.Round(), QStringLiteral("1 kolo"));
        waited = true;
        warning->button(QMessageBox::Ok)->click();
    });
    g.window.nah()->click();  // no saved game yet
    QVERIFY(waited);
    QTRY_COMPARE_WITH_TIMEOUT(g.state.CurrentPlayer, 1, 1000);
    QVERIFY(g.state.board != afterMove);
    QCOMPARE(g.state.board.Owner(g.state.MoveColumn, g.state.MoveRow), 2);
    QCOMPARE(g.Round(), QStringLiteral("2 kolo"));
}

void GameWindowTest::aHeldComputerMoveThatEndsTheGameEndsItOnce() {
    Game g;
    g.BeginAgainstHighLevel();
    g.Click(g.FirstEmptyCell());
    // The computer's move will take player 1's last cell.
    g.state.board.Clear();
    g.state.board.Set(1, 1, 1, 1);
    g.state.board.Set(2, 1, 2, 4);
    int endMessages = 0, menus = 0;
    OnNext<QMessageBox>([&](QMessageBox* warning) {
        QVERIFY(StaysOnTop(warning, hra::ComputerDelayMilliseconds + 300));
        QCOMPARE(rules::CountPieces(g.state, 1), 1);
        OnNext<QMessageBox>([&](QMessageBox* end) {
            ++endMessages;
            QCOMPARE(end->text(), QStringLiteral("Konec hry hráč 1 prohrál"));
            OnNext<nas>([&](nas* menu) {
                ++menus;
                menu->Command2()->click();
            });
            end->button(QMessageBox::Ok)->click();
        });
        warning->button(QMessageBox::Ok)->click();
    });
    g.window.nah()->click();
    QTRY_COMPARE_WITH_TIMEOUT(g.quits, 1, 3000);
    QTest::qWait(50);
    QCOMPARE(endMessages, 1);
    QCOMPARE(menus, 1);
    QCOMPARE(rules::CountPieces(g.state, 1), 0);
}

void GameWindowTest::theLowLevelIsPlayedByItsOwnPlayer() {
    // The low level rejects (2,2), threatened by (3,3), and plays (6,7); the high level would not.
    Game g;
    g.Begin(rules::AgainstComputer, rules::LowDifficulty);
    g.state.board = BoardWith("2,2:24 3,3:14 6,7:24 1,1:11");
    g.state.CurrentPlayer = 2;
    g.window.RunComputerTurn();
    QCOMPARE(std::make_pair(g.state.MoveColumn, g.state.MoveRow), std::make_pair(6, 7));
}

void GameWindowTest::drawingSurvivesHidingAndResizing() {
    Game g;
    g.Begin(rules::TwoPlayers);
    g.Click(1);
    g.Click(56);
    QVERIFY(g.window.BackgroundTiled());
    const QImage board = g.window.Plocha()->Picture().toImage();
    const QPoint boardAt = g.window.Plocha()->pos();
    // Hidden and shown again (as when minimised and restored): no second start-up menu.
    g.window.hide();
    g.window.show();
    QTest::qWait(20);
    QVERIFY(!g.window.MenuOpen());
    g.window.resize(g.window.width() + 120, g.window.height() + 80);
    QTRY_COMPARE(g.window.Background().size(), g.window.size() * g.window.devicePixelRatioF());
    QCOMPARE(g.window.Plocha()->Picture().toImage(), board);
    QCOMPARE(g.window.Plocha()->pos(), boardAt);
    // The board shows its picture exactly, from its top-left corner on.
    QCOMPARE(g.window.Plocha()->grab().toImage().convertToFormat(QImage::Format_RGB32),
             board.convertToFormat(QImage::Format_RGB32));
    // What the window shows: the discs on the board, the tiles outside it.
    const QImage shown = g.window.grab().toImage();
    const QPoint disc = boardAt + g.CellCentre(1);
    QCOMPARE(shown.pixelColor(disc * g.window.devicePixelRatioF()), QColor(0, 0, 255));
    QVERIFY(shown.pixelColor(QPoint(g.window.width() - 3, g.window.height() - 3)) !=
                QColor(Qt::black) ||
            shown.pixelColor(QPoint(g.window.width() - 9, g.window.height() - 7)) !=
                QColor(Qt::black));
    // The bar lies right on the board's top edge, as wide as the board.
    QCOMPARE(g.window.kbod()->geometry().bottom() + 1, g.window.Plocha()->geometry().top());
    QCOMPARE(g.window.kbod()->width(), g.window.Plocha()->width());
    QCOMPARE(g.window.kbod()->x(), g.window.Plocha()->x());
}

void GameWindowTest::menuButtonsAndStartImage() {
    GameState state;
    nas menu(state);
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QCOMPARE(menu.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(menu.size(), QSize(317, 213));
    QCOMPARE(menu.jhra(0)->text(), QStringLiteral("Hra dvou hráčů"));
    QCOMPARE(menu.jhra(1)->text(), QStringLiteral("Hra hráč proti počítači"));
    QCOMPARE(menu.obtt(0)->text(), QStringLiteral("Obtížnost malá"));
    QCOMPARE(menu.obtt(1)->text(), QStringLiteral("Obtížnost velká"));
    menu.jhra(1)->click();
    QCOMPARE(state.GameMode, 1);
    menu.obtt(1)->click();
    QVERIFY(!menu.obtt(0)->isChecked());
    QVERIFY(menu.jhra(1)->isChecked());  // the two arrays do not exclude each other
    menu.obtt(0)->click();
    QCOMPARE(state.Difficulty, 1);

    const QImage normal = menu.pp3()->pixmap().toImage();
    Hover(menu.pp3(), QPoint(10, 10));
    QVERIFY(menu.StartButtonHovered());
    QVERIFY(menu.pp3()->pixmap().toImage() != normal);
    Hover(menu.Frame1(), QPoint(20, 200));
    QVERIFY(!menu.StartButtonHovered());
    QCOMPARE(menu.pp3()->pixmap().toImage(), normal);
    Hover(menu.pp3(), QPoint(10, 10));
    QVERIFY(menu.StartButtonHovered());
    // Only the left button, let go over the start button, starts the game.
    QTest::mouseClick(menu.pp3(), Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(menu.pp3(), Qt::LeftButton, {}, QPoint(-20, 10));
    QVERIFY(menu.isVisible());
    QTest::mouseClick(menu.pp3(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!menu.StartButtonHovered());  // the normal image is back before the game
    QCOMPARE(menu.choice(), nas::Choice::Start);
    QVERIFY(!menu.isVisible());
}

void GameWindowTest::saveAndLoadThroughTheButtons() {
    Game g;
    g.Begin(rules::TwoPlayers);
    QVERIFY(g.window.sav()->isVisible() && g.window.nah()->isVisible());
    QVERIFY(!g.window.sav()->toolTip().isEmpty() && !g.window.nah()->toolTip().isEmpty());
    const QString path = QString::fromStdString(g.SaveFile().string());
    const QString cannotLoad = QStringLiteral("Hru se nepodařilo nahrát.");
    const QString missing = ClickExpectingMessage(g.window.nah());
    QVERIFY(missing.startsWith(cannotLoad) && missing.contains(path));

    for (int n : {1, 2, 1, 9}) g.Click(n);
    g.window.sav()->click();
    const rules::Board saved = g.state.board;
    const QImage savedPicture = g.window.Plocha()->Picture().toImage();
    std::ifstream in(g.SaveFile(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    QCOMPARE(bytes, savegame::FormatBoard(saved));

    for (int n : {1, 3, 1, 4}) g.Click(n);
    const int player = g.state.CurrentPlayer, round = g.state.RoundNumber;
    const QString roundLabel = g.Round();
    g.window.nah()->click();
    QCOMPARE(g.state.board, saved);
    QCOMPARE(g.state.CurrentPlayer, player);
    QCOMPARE(g.state.RoundNumber, round);
    QCOMPARE(g.window.Plocha()->Picture().toImage(), savedPicture);
    QCOMPARE(g.Round(), roundLabel);  // labels untouched by a load

    // Bad files and a save that cannot be written leave the board and its picture alone.
    g.Click(5);
    const rules::Board board = g.state.board;
    const QImage picture = g.window.Plocha()->Picture().toImage();
    for (const std::string& text : {std::string("garbage"), std::string(" 0 \r\n"),
                                    savegame::FormatBoard({}).replace(0, 2, " 3")}) {
        std::ofstream(g.SaveFile(), std::ios::binary) << text;
        QVERIFY(ClickExpectingMessage(g.window.nah()).startsWith(cannotLoad));
        QCOMPARE(g.state.board, board);
        QCOMPARE(g.window.Plocha()->Picture().toImage(), picture);
    }
    std::filesystem::remove(g.SaveFile());
    std::filesystem::create_directory(g.SaveFile());
    const QString notSaved = ClickExpectingMessage(g.window.sav());
    QVERIFY(notSaved.startsWith(QStringLiteral("Hru se nepodařilo uložit.")) &&
            notSaved.contains(path));
    QVERIFY(std::filesystem::is_directory(g.SaveFile()));
    QCOMPARE(g.state.board, board);
}

void GameWindowTest::splashShowsTheGameAfterFourSeconds() {
    bool shown = false;
    logo splash([&] { shown = true; });
    splash.show();
    QCOMPARE(splash.windowTitle(), QStringLiteral("logo"));
    QCOMPARE(splash.size(), QSize(257, 237));
    QTest::mouseClick(&splash, Qt::LeftButton);
    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::qWait(3500);
    QVERIFY(!shown);
    QVERIFY(splash.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(shown, 2000);
    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.Timer1().isActive());  // it fires once
}

QTEST_MAIN(GameWindowTest)
#include "test_game.moc"
