// The real game window, its menu and its message boxes under seeded random sequences of
// everything a player can do (presses anywhere, Esc and other keys, "#S#", "#L#" with a
// good, missing or damaged save, every menu choice, boxes closed after a while), with the
// window's real timer ticking in between. The turn cycle itself is proven on its
// controller, headless and at length (test_play_interleaving); this shows that the window
// applies what the controller says faithfully: what is visible, the pointer, the boxes'
// texts, nothing changing under a box, the timers. After every event a model of the turn
// cycle, kept by the test itself, is checked against what the window shows and does.
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
#include <tuple>

#include "file_storage.h"
#include "hra.h"
#include "nas.h"
#include "savegame.h"
#include "system.h"

namespace {

constexpr int Events = 100;  // random events a sequence, then it winds down to "X"
constexpr int DelayMs = 3;   // the computer's delay, shortened for the test
// Surely past a pending computer move: timers fire in the order of their deadlines, so a
// late-running test still sees the computer's tick before the next event.
constexpr int LongWaitMs = 2 * DelayMs + 4;

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

    // Plays the sequence to its end; the first invariant it broke, if any.
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

    int count = 0;                // events so far
    QStringList log;              // what they were, each with the window's state before it
    std::map<QString, int> seen;  // kinds of thing that happened, for the run's totals

  private:
    // The next event runs `ms` from now, from whichever event loop is innermost then: a
    // box's or the menu's while one is open. It is posted from the timer rather than run
    // in its tick, so that it never runs in the last turn of a loop that is closing, before
    // the handler that opened the box or the menu has gone on.
    void Next(int ms) {
        nextAt_ = clock_.elapsed() + ms;
        QTimer::singleShot(ms, this, [this] {
            QMetaObject::invokeMethod(this, &Sequence::Step, Qt::QueuedConnection);
        });
    }

    void Fail(const QString& what) {
        if (!failure_) failure_ = QStringLiteral("event %1: ").arg(count) + what;
    }

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

    // Every cell 0..4 pieces, an owner exactly when it holds some; cells that changed since
    // `before_` are `mover`'s, with pieces.
    void CheckCells(const char* when, int mover = 0) {
        for (int r = 1; r <= rules::Rows; ++r)
            for (int c = 1; c <= rules::Columns; ++c) {
                const int owner = Board().Owner(c, r), n = Board().Count(c, r);
                const bool changed = owner != before_.Owner(c, r) || n != before_.Count(c, r);
                if (n < 0 || n > 4 || owner < 0 || owner > 2 || (owner == 0) != (n == 0) ||
                    (mover && changed && owner != mover))
                    Fail(QString::asprintf("%s: cell %d,%d holds owner %d, count %d", when, c, r,
                                           owner, n));
            }
    }

    // The game as the model knows it: the mode and level it chose on the menu, the player
    // and the round from the moves it saw.
    rules::GameState Modelled() const {
        rules::GameState modelled = controller_.Game();
        modelled.GameMode = mode_;
        modelled.Difficulty = level_;
        modelled.CurrentPlayer = player_;
        modelled.RoundNumber = round_;
        return modelled;
    }

    void Moved(int player) {
        const bool computer = player == 2 && mode_ == rules::AgainstComputer;
        seen[computer ? (level_ == rules::HighDifficulty ? "computer moves at the high level"
                                                         : "computer moves at the low level")
                      : "person moves"]++;
        if (player != player_)
            Fail(QString::asprintf("player %d moved on player %d's turn", player, player_));
        if (QApplication::activeModalWidget()) Fail("a move under an open box or menu");
        if (setUpPending_) before_ = rules::Board{};  // the new game's set-up emptied it
        setUpPending_ = fresh_ = false;
        CheckCells("after a move", player);
        const rules::Board previous = std::exchange(before_, Board());
        // The turn's first check judges the board it found (loaded, maybe, meanwhile).
        rules::GameState found = Modelled();
        found.board = previous;
        player_ = 3 - player_;
        round_ += player_ == 1;
        endDue_ = rules::CheckGameOver(Modelled()) != 0;
        if (computer) {
            if (!owed_ && !opening_) Fail("a computer move that no person's move asked for");
            if (rules::CheckGameOver(found) != 0) Fail("the computer moved in a game already over");
            if (clock_.elapsed() < earliest_)
                Fail(QString::asprintf("the computer moved %lld ms before its delay was over",
                                       earliest_ - clock_.elapsed()));
            if (opening_) seen["openings of the computer at the high level"]++;
            owed_ = recheck_ = opening_ = false;
            dueAt_ = -1;
            return;
        }
        if (owed_) Fail(QString::asprintf("player %d moved while the computer's was due", player));
        if (!clicking_ || !acceptExpected_) Fail("a person's move from an ignored press");
        ++clickMoves_;
        owed_ = mode_ == rules::AgainstComputer;
        // The timer starts after this; it cannot end sooner than the delay from now.
        earliest_ = clock_.elapsed() + DelayMs - 1;
    }

    void ModalOpened(QWidget* top) {
        if (auto* menu = qobject_cast<nas*>(top)) {  // whatever was going on is left
            seen["menus"]++;
            if (!menuExpected_) Fail("a menu that neither Esc nor the end of a game asked for");
            if (!menu->jhra(0)->isChecked() || !menu->obtt(0)->isChecked() ||
                menu->obtt(0)->isEnabled() || menu->obtt(1)->isEnabled() ||
                menu->StartButtonHovered() || controller_.Game().GameMode != rules::TwoPlayers ||
                controller_.Game().Difficulty != rules::LowDifficulty)
                Fail("the menu did not start from two people and the low level");
            const QStringList texts{menu->windowTitle(), menu->jhra(0)->text(),
                                    menu->jhra(1)->text(), menu->obtt(0)->text(),
                                    menu->obtt(1)->text()};
            if (texts != QStringList{"Form1", "Hra dvou hráčů", "Hra hráč proti počítači",
                                     "Obtížnost malá", "Obtížnost velká"})
                Fail("the menu reads " + texts.join(", "));
            for (QWidget* w : std::initializer_list<QWidget*>{window_.Plocha(), window_.Label2()})
                if (w->isVisible()) Fail("a control of the game or the information under the menu");
            mode_ = rules::TwoPlayers;  // what the menu shows on opening
            level_ = rules::LowDifficulty;
            owed_ = recheck_ = info_ = shown_ = live_ = heldByBox_ = false;
            setUpPending_ = opening_ = awaitMenu_ = menuExpected_ = infoRead_ = false;
            dueAt_ = -1;
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(top);
        shot_ = Shot();
        heldByBox_ = owed_;  // the computer's move waits for the box, if it comes meanwhile
        endBox_ = box && box->text().startsWith(QStringLiteral("Konec hry"));
        if (!endBox_) {
            seen["warnings"]++;
            if (warningExpected_.isEmpty() || !box || !box->text().startsWith(warningExpected_))
                Fail("an unexpected box: " + (box ? box->text() : "?"));
        } else {
            seen[recheck_ ? "end messages again after ?" : "end messages"]++;
            const int p1 = rules::CountPieces(Board(), 1), p2 = rules::CountPieces(Board(), 2);
            const int loser = p1 == 0 ? 1 : p2 == 0 ? 2 : 0;
            if (!loser || box->text() != QStringLiteral("Konec hry hráč %1 prohrál").arg(loser) ||
                box->windowTitle() != QStringLiteral("Morvel") ||
                box->icon() != QMessageBox::Information || box->buttons().size() != 1)
                Fail(box->text() + QString::asprintf(" with %d and %d pieces", p1, p2));
            if (!live_ && !recheck_) Fail("an end message with no game going on");
            owed_ = live_ = recheck_ = endDue_ = heldByBox_ = false;
            dueAt_ = -1;
        }
        warningExpected_ = {};
    }

    // What the window shows now, against the model.
    void Observe(QWidget* top) {
        if (Visible<nas>() + Visible<QMessageBox>() > 1)
            Fail(QString::asprintf("%d menus, %d boxes", Visible<nas>(), Visible<QMessageBox>()));
        CheckCells("between moves");
        if (top != modal_) {
            modal_ = top;
            if (top) ModalOpened(top);
        } else if (qobject_cast<QMessageBox*>(top) && Shot() != shot_) {
            Fail("the board, the bar or a label changed under a box");
        }
        if (awaitMenu_ && (qobject_cast<QMessageBox*>(top) || ++awaitSteps_ > 50))
            Fail("the end message was not followed by the menu");
        if (endDue_) Fail("a move ended the game, and no end message came");

        const bool board = window_.Plocha()->isVisible();
        if (board && setUpPending_) {  // the new game has been set up, on an empty board
            if (Board() != rules::Board{}) Fail("the new game's board is not empty");
            setUpPending_ = false;
            before_ = Board();
            owed_ = opening_;  // the computer opens at the high level, at once
            if (opening_) {
                dueAt_ = clock_.elapsed() + 1;
                earliest_ = 0;
            }
        }
        shown_ = shown_ || board;
        live_ = live_ || board;

        const QCursor cursor = window_.cursor();
        if (window_.PointerSetting() == hra::ArrowPointer
                ? cursor.shape() != Qt::ArrowCursor
                : cursor.hotSpot() != (owed_ ? QPoint(0, 0) : QPoint(7, 7)))
            Fail(QString::asprintf(
                "pointer %d with hot spot %d,%d while the computer's move is%s due", cursor.shape(),
                cursor.hotSpot().x(), cursor.hotSpot().y(), owed_ ? "" : " not"));

        if (!top && (window_.Label2()->isVisible() != info_ || board != (shown_ && !info_)))
            Fail(QString::asprintf("information text %d, board %d on the window",
                                   window_.Label2()->isVisible(), board));
        if (!top && info_ && !infoRead_) {  // once a showing
            infoRead_ = true;
            seen["information shown"]++;
            const QStringList lines = window_.Label2()->text().split('\n');
            if (lines.size() != 6 || lines[0] != "INFORMACE:" || lines[5] != "Přeji hodně zábavy" ||
                lines[4] != "Úkolem v této hře je abyste soupeřovy zabraly všechny body na ploše")
                Fail("the information text reads: " + window_.Label2()->text());
        }
        for (QWidget* w :
             std::initializer_list<QWidget*>{window_.kbod(), window_.Label1(0), window_.Label1(1),
                                             window_.sav(), window_.nah()})
            if (w->isVisible() != board) Fail("the bar, a label or a button apart from the board");
        if (!board) return;
        const QString round = window_.Label1(0)->text(), player = window_.Label1(1)->text();
        const QColor colour = window_.Label1(1)->palette().color(QPalette::WindowText);
        auto playerColour = [](int p) { return p == 1 ? QColor(0, 0, 255) : QColor(255, 0, 0); };
        const bool written = round == QStringLiteral("%1 kolo").arg(round_) &&
                             player == QStringLiteral("Hráč:%1").arg(player_) &&
                             colour == playerColour(player_);
        const bool asTheMenuLeftThem = fresh_ && round_ == 1 && round == "1kolo" &&
                                       player == "Hráč:1" && colour == playerColour(1);
        if (!written && !asTheMenuLeftThem)
            Fail(QStringLiteral("the labels read '%1' '%2' in %3, round %4, player %5")
                     .arg(round, player, colour.name(), QString::number(round_),
                          QString::number(player_)));
    }

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // A position where one player is a move away from losing: the loser's one cell beside
    // the winner's full cell, among scattered pieces of the winner.
    rules::Board Brink() {
        rules::Board board;
        const int loser = 1 + Pick(2);
        for (int r = 1; r <= rules::Rows; ++r)
            for (int c = 1; c <= rules::Columns; ++c)
                if (Chance(25)) board.Set(c, r, 3 - loser, 1 + Pick(3));
        const int c = 2 + Pick(5), r = 2 + Pick(6);
        board.Set(c, r, loser, 1 + Pick(3));
        board.Set(c + (Chance(50) ? 1 : -1), r, 3 - loser, 4);
        return board;
    }

    struct Event {
        QString name;
        int waitMs;
        std::function<void()> act;
    };

    Event OnMenu(nas* menu) {
        if (winding_) return {"X", 0, [menu] { menu->Command2()->click(); }};
        int roll = Pick(100);
        // The menu of a game a press has just ended leads to the computer's extra turn more
        // often: switched to the computer, then left through "?".
        if (endedByPress_ && Chance(60)) roll = mode_ == rules::AgainstComputer ? 60 : 8;
        // Each button and what it means to the game: a mode, or a level (which the buttons
        // take only while the computer is chosen).
        using Mode = std::optional<rules::Mode>;
        using Level = std::optional<rules::Level>;
        const std::tuple<int, QAbstractButton*, Mode, Level> buttons[] = {
            {8, menu->jhra(0), rules::TwoPlayers, {}},
            {38, menu->jhra(1), rules::AgainstComputer, {}},
            {46, menu->obtt(0), {}, rules::LowDifficulty},
            {58, menu->obtt(1), {}, rules::HighDifficulty}};
        for (const auto& [below, button, mode, level] : buttons)
            if (roll < below)
                return {"menu: " + button->text(), 0, [this, button, mode, level] {
                            if (mode) mode_ = *mode;
                            if (level && mode_ == rules::AgainstComputer) level_ = *level;
                            button->click();
                        }};
        if (roll < 60) return {"menu: Esc", 0, [menu] { QTest::keyClick(menu, Qt::Key_Escape); }};
        if (roll < 72)
            return {"menu: ?", 0, [this, menu] {
                        // A menu opened by the end of a game a press made: leaving it hands
                        // the computer its turn, as after any person's move (which ends the
                        // game again).
                        owed_ = recheck_ = std::exchange(endedByPress_, false) &&
                                           mode_ == rules::AgainstComputer && player_ == 2;
                        if (owed_) {
                            dueAt_ = clock_.elapsed() + DelayMs;
                            earliest_ = dueAt_ - 1;
                        }
                        info_ = true;
                        menu->info()->click();
                    }};
        return {"menu: start", 0, [this, menu] {
                    setUpPending_ = fresh_ = true;
                    endedByPress_ = false;
                    opening_ = mode_ == rules::AgainstComputer && level_ == rules::HighDifficulty;
                    seen[mode_ == rules::TwoPlayers ? "games of two people"
                         : opening_                 ? "games against the high level"
                                                    : "games against the low level"]++;
                    round_ = 1;
                    player_ = opening_ ? 2 : 1;
                    QTest::mouseClick(menu->pp3(), Qt::LeftButton);
                }};
    }

    Event OnBox(QMessageBox* box) {
        if (!winding_ && Chance(45)) return {"box: wait", Pick(DelayMs + 2), [] {}};
        return {"box: OK", 0, [this, box] {
                    awaitMenu_ = menuExpected_ = endBox_;
                    awaitSteps_ = 0;
                    box->button(QMessageBox::Ok)->click();
                }};
    }

    // A press with any button on a cell of the mover's (half of them full ones, which
    // burst), of the opponent's, an empty one, or off every cell.
    Event Press() {
        const int roll = Pick(100), mover = player_;
        std::vector<int> cells;
        for (int n = 1; n <= 56; ++n) {
            const int c = screen::CellColumn(n), r = screen::CellRow(n);
            const int owner = Board().Owner(c, r);
            if (roll < 40 ? owner == mover && (roll >= 20 || Board().Count(c, r) == 4)
                          : owner == (roll < 55 ? 3 - mover : 0))
                cells.push_back(n);
        }
        const int b = Pick(3);
        const Qt::MouseButton button =
            std::array{Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}[b];
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
        const bool accept = owner >= 0 && (owner == 0 || owner == mover) && !owed_;
        return {
            QString::asprintf("press %d,%d (owner %d) with button %d", at.x(), at.y(), owner, b), 0,
            [this, target, at, button, accept] {
                seen[owed_    ? "presses during the computer's delay"
                     : accept ? "presses"
                              : "ignored presses"]++;
                acceptExpected_ = accept;
                clicking_ = true;
                clickMoves_ = 0;
                const bool wasOwed = owed_;
                QTest::mouseClick(target, button, {}, at);
                clicking_ = false;
                // The boxes do not block: the end message this press brought stands open.
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    endedByPress_ = box->text().startsWith(QStringLiteral("Konec hry"));
                // The press handed the computer its turn (or, on the "?" path, the turn of
                // the game it ended): it is due a delay from now at the latest.
                if (owed_ && !wasOwed) dueAt_ = clock_.elapsed() + DelayMs;
                if (clickMoves_ != (accept ? 1 : 0))
                    Fail(QString::asprintf("the press made %d moves", clickMoves_));
            }};
    }

    Event Load() {
        const char* kind = std::array{"brink", "brink", "kept", "missing", "damaged"}[Pick(5)];
        return {QStringLiteral("#L# with a %1 save").arg(kind), 0, [this, kind] {
                    const std::string k = kind;
                    if (k == "missing") std::filesystem::remove(slot_.file);
                    if (k == "damaged" || k == "brink" || !std::filesystem::exists(slot_.file))
                        std::ofstream(slot_.file, std::ios::binary)
                            << (k == "damaged"
                                    ? savegame::FormatBoard(Board()).substr(0, 5 * Pick(112))
                                    : savegame::FormatBoard(Brink()));
                    const std::optional<rules::Board> saved = savegame::LoadGame(slot_.file);
                    if (owed_) seen["loads during the computer's delay"]++;
                    const QStringList before = Shot();
                    // What failed and where: the file is missing, or not a saved board.
                    if (!saved)
                        warningExpected_ = "Hru se nepodařilo nahrát. Soubor " + File() +
                                           (k == "missing" ? " nelze otevřít: " : ": ");
                    window_.nah()->click();
                    // The board changes, and nothing else: not the player, nor the round.
                    if (saved && (Board() != *saved || Shot().mid(3) != before.mid(3)))
                        Fail("#L# did not put the saved board alone in place");
                    before_ = Board();
                }};
    }

    Event OnWindow() {
        const bool board = window_.Plocha()->isVisible();
        if (winding_)
            return {"Esc (winding down)", 1, [this] {
                        menuExpected_ = true;
                        menuDue_ = seen["menus"] > 0;
                        QTest::keyClick(&window_, Qt::Key_Escape);
                    }};
        // Without the board, no presses: the rest keep their shares.
        const int roll = board ? Pick(100) : 45 + Pick(55);
        if (roll < 45) return Press();
        if (roll < 49)
            return {"Esc", 0, [this, board] {
                        if (owed_) seen["Esc during the computer's delay"]++;
                        menuExpected_ = true;
                        // Once the start-up has opened the menu, Esc leaves whatever is on
                        // the window for the menu.
                        menuDue_ = seen["menus"] > 0;
                        // Typed over the board, it reaches the window all the same.
                        QWidget* at = board && Chance(30) ? window_.Plocha()
                                                          : static_cast<QWidget*>(&window_);
                        QTest::keyClick(at, Qt::Key_Escape);
                    }};
        if (roll < 52)
            return {"another key", 0, [this] {
                        const std::string before = controller_.Describe();
                        QTest::keyClick(&window_, Qt::Key_A);
                        if (controller_.Describe() != before)
                            Fail("a key other than Esc did something");
                    }};
        if (board && roll < 55)
            return {"#S#", 0, [this] {
                        window_.sav()->click();
                        std::ifstream in(slot_.file, std::ios::binary);
                        if (std::string(std::istreambuf_iterator<char>(in), {}) !=
                            savegame::FormatBoard(Board()))
                            Fail("#S# saved another board");
                    }};
        if (board && roll < 57)
            return {"#S# into a folder", 0, [this] {
                        seen[owed_ ? "failed saves during the computer's delay" : "failed saves"]++;
                        std::filesystem::remove(slot_.file);
                        std::filesystem::create_directory(slot_.file);
                        warningExpected_ = "Hru se nepodařilo uložit. Soubor " + File();
                        window_.sav()->click();
                        if (!std::filesystem::is_directory(slot_.file) ||
                            !std::filesystem::is_empty(slot_.file))
                            Fail("the failed save changed the folder in its place");
                        std::filesystem::remove(slot_.file);
                    }};
        if (board && roll < 69) return Load();
        if (roll < 77) {
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
        if (roll < 80) return {"long wait", LongWaitMs, [] {}};
        return {"wait", Pick(DelayMs), [] {}};
    }

    void Step() {
        QWidget* top = QApplication::activeModalWidget();
        if (quits_ > 0) {
            // "X": the program ends, once, with nothing left to come: no menu or box, no
            // move, no timer.
            const int moves = seen["person moves"] + seen["computer moves at the low level"] +
                              seen["computer moves at the high level"];
            if (!finalWait_) movesAtQuit_ = moves;
            if (quits_ != 1 || top || moves != movesAtQuit_ || window_.Timer().isActive())
                Fail("the program did not end cleanly on X");
            if (finalWait_) return loop_.quit();
            finalWait_ = true;
            return Next(LongWaitMs);
        }
        if (std::exchange(menuDue_, false) && !qobject_cast<nas*>(top))
            Fail("Esc did not bring the menu");
        // A box held the computer's move back: it comes a tick after the box has gone.
        if (heldByBox_ && !top) {
            heldByBox_ = false;
            if (dueAt_ >= 0 && clock_.elapsed() > dueAt_) seen["held computer moves"]++;
            dueAt_ = std::max(dueAt_, clock_.elapsed() + 1);
        }
        // Timers run in the order of their deadlines: one due before this event's timer has
        // run, unless a box or the menu holds it.
        if (owed_ && dueAt_ >= 0 && !top && !heldByBox_ && nextAt_ > dueAt_ + 1)
            Fail(QString::asprintf("the computer's move had not come %lld ms after it was due",
                                   nextAt_ - dueAt_));
        Observe(top);
        winding_ = winding_ || count >= Events || failure_;
        if (++count > 20 * Events) Fail("it would not wind down");
        Event event = awaitMenu_ && !top                ? Event{"(waiting for the menu)", 0, [] {}}
                      : qobject_cast<nas*>(top)         ? OnMenu(static_cast<nas*>(top))
                      : qobject_cast<QMessageBox*>(top) ? OnBox(static_cast<QMessageBox*>(top))
                                                        : OnWindow();
        log << QStringLiteral("%1 [%2] %3")
                   .arg(QString::number(count), QString::fromStdString(controller_.Describe()),
                        event.name);
        Next(event.waitMs);
        event.act();
    }

    // The saved game's path as the messages name it.
    // The save file as the game's messages name it (with the system's own separators).
    QString File() const { return QString::fromStdString(savegame::sys::PathText(slot_.file)); }

    const rules::Board& Board() const { return controller_.Game().board; }

    std::mt19937_64 rng_;
    rules::ClockMixedRandom random_;
    QTemporaryDir dir_;
    savegame::Slot slot_{std::filesystem::path(dir_.path().toStdU16String()) / "hra.dat"};
    int quits_ = 0;
    screen::FileStorage storage_{slot_};
    play::Controller controller_{random_, storage_, DelayMs};
    hra window_{controller_, [this] { ++quits_; }};
    QEventLoop loop_;
    bool winding_ = false, finalWait_ = false;
    int movesAtQuit_ = 0;
    QElapsedTimer clock_;
    qint64 nextAt_ = 0;  // when the timer of the next event runs, on clock_
    std::optional<QString> failure_;

    // The model of the turn cycle, kept from what the test did and saw.
    rules::Mode mode_ = rules::TwoPlayers;       // as the test chose on the menu
    rules::Level level_ = rules::LowDifficulty;  // kept for a two-player game chosen after it
    int player_ = 1, round_ = 1;                 // whose turn, which round: from the moves seen
    bool owed_ = false;          // a person's move asked for the computer's, which has not come
    qint64 dueAt_ = -1;          // when the computer's move must have come, on clock_
    qint64 earliest_ = 0;        // when it may come at the earliest
    bool heldByBox_ = false;     // a box opened while the computer's move was owed
    bool menuDue_ = false;       // an Esc must have brought the menu
    bool infoRead_ = false;      // the information text has been read since the menu
    bool opening_ = false;       // a game against the high level, started but not set up yet
    bool recheck_ = false;       // the "?" path: the finished game's computer turn is due
    bool info_ = false;          // the menu was left through "?"
    bool shown_ = false;         // a game has been set up since the menu
    bool live_ = false;          // ... and has not ended
    bool fresh_ = false;         // no move yet in the game: the labels are the menu's
    bool setUpPending_ = false;  // the menu started a game that is not set up yet
    bool menuExpected_ = true;   // the start-up, Esc or an end message asked for the menu
    bool awaitMenu_ = false, endBox_ = false;
    QString warningExpected_;  // how the next box must begin, when one is due
    bool endDue_ = false;      // the last move left a player without pieces, past the first rounds
    int awaitSteps_ = 0;
    bool clicking_ = false, acceptExpected_ = false;
    bool endedByPress_ = false;  // the end message came from a press: its menu's "?" hands on
    int clickMoves_ = 0;
    rules::Board before_;  // the board before the next move
    QPointer<QWidget> modal_;
    QStringList shot_;
};

}  // namespace

class InterleavingTest : public QObject {
    Q_OBJECT

  private slots:
    void randomSequencesKeepTheTurnCycleSound();
};

void InterleavingTest::randomSequencesKeepTheTurnCycleSound() {
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
    for (const char* what : {"games of two people",
                             "games against the low level",
                             "games against the high level",
                             "openings of the computer at the high level",
                             "computer moves at the low level",
                             "computer moves at the high level",
                             "person moves",
                             "presses",
                             "ignored presses",
                             "presses during the computer's delay",
                             "end messages",
                             "end messages again after ?",
                             "held computer moves",
                             "menus",
                             "information shown",
                             "warnings",
                             "failed saves",
                             "failed saves during the computer's delay",
                             "loads during the computer's delay",
                             "Esc during the computer's delay"})
        QVERIFY2(one || seen[what] > 0, what);
}

QTEST_MAIN(InterleavingTest)
#include "test_interleaving.moc"
