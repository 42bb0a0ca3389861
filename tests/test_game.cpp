#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <utility>

#include "file_storage.h"
#include "geometry.h"
#include "hra.h"
#include "logo.h"
#include "nas.h"
#include "savegame.h"

namespace {

// Closes every modal window, innermost first, so that no test leaves one for the next.
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

// The modal window open now or soon, when it is a `Window` (the menu or a message box).
template <typename Window>
Window* Awaited() {
    Window* found = nullptr;
    const bool came = QTest::qWaitFor([&] {
        found = qobject_cast<Window*>(QApplication::activeModalWidget());
        return found && found->isVisible();
    });
    return came ? found : nullptr;
}

void Start(nas* menu, rules::Mode mode, rules::Level difficulty = rules::LowDifficulty) {
    if (mode == rules::AgainstComputer) {
        menu->jhra(1)->click();
        menu->obtt(difficulty == rules::LowDifficulty ? 0 : 1)->click();
    }
    QTest::mouseClick(menu->pp3(), Qt::LeftButton);
}

// A pointer movement delivered straight to a control.
void Hover(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

struct Game {
    rules::ClockMixedRandom random{17, [] { return std::uint64_t{3}; }};
    QTemporaryDir dir;
    const std::filesystem::path saveFile =
        std::filesystem::path(dir.path().toStdU16String()) / "hra.dat";
    savegame::FileStorage storage{{saveFile}};
    play::Controller controller{random, storage};
    hra window{controller};

    // Shows the window; the start-up menu starts a game of the given kind.
    void Begin(rules::Mode mode, rules::Level difficulty = rules::LowDifficulty) {
        window.show();
        nas* menu = Awaited<nas>();
        QVERIFY(menu);
        Start(menu, mode, difficulty);
        QTRY_VERIFY(window.Plocha()->isVisible());
    }

    QPoint CellCentre(int n) const {
        const auto& r = screen::Cells()[n];
        return QPoint((r.x1 + r.x2) / 2 / 15, (r.y1 + r.y2) / 2 / 15);
    }

    void Click(int n) { QTest::mouseClick(window.Plocha(), Qt::LeftButton, {}, CellCentre(n)); }
};

// Where a control's text is laid out, and how: a label's contents, or a button's text area
// as its style gives it.
std::pair<QRect, int> TextArea(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control))
        return {label->contentsRect(),
                int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0)};
    auto* button = qobject_cast<QAbstractButton*>(control);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (qobject_cast<QRadioButton*>(button))
        return {button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic};
    return {button->contentsRect(), Qt::AlignCenter | Qt::TextShowMnemonic};
}

// Every text of a window is set in DejaVu Sans Bold, fits its control, and no part of its
// letters lies outside a widget that holds it or under a widget drawn over it (a later
// sibling of the control or of any widget around it).
void ExpectEveryTextWhole(QWidget* window) {
    QList<QWidget*> controls;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (!label->text().isEmpty()) controls.append(label);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (!button->text().isEmpty()) controls.append(button);
    QVERIFY(!controls.isEmpty());
    for (QWidget* control : controls) {
        if (!control->isVisibleTo(window)) continue;
        const QString text = qobject_cast<QLabel*>(control)
                                 ? qobject_cast<QLabel*>(control)->text()
                                 : qobject_cast<QAbstractButton*>(control)->text();
        const QString what = QStringLiteral("\"%1\" in %2").arg(text, window->windowTitle());
        const QFontInfo face(control->font());
        QVERIFY2(face.family() == QStringLiteral("DejaVu Sans") && face.bold(),
                 qPrintable(what + QStringLiteral(": ") + face.family()));
        const QFontMetrics metrics(control->font());
        const auto [area, flags] = TextArea(control);
        const QRect laidOut = metrics.boundingRect(area, flags, text);
        QVERIFY2(area.contains(laidOut), qPrintable(what + QStringLiteral(" does not fit")));
        // The letters themselves: one line's ink from its baseline, or a wrapped text's lines.
        QRect ink = laidOut;
        if (!text.contains(QLatin1Char('\n')) && laidOut.height() < 2 * metrics.lineSpacing())
            ink = metrics.tightBoundingRect(text).translated(laidOut.left(),
                                                             laidOut.top() + metrics.ascent());
        const QRect inWindow = ink.translated(control->mapTo(window, QPoint(0, 0)));
        for (QWidget* w = control; w != window; w = w->parentWidget()) {
            const QRect holder(w->mapTo(window, QPoint(0, 0)), w->size());
            QVERIFY2(holder.contains(inWindow), qPrintable(what + QStringLiteral(" runs out of ") +
                                                           w->metaObject()->className()));
            const QObjectList& siblings = w->parentWidget()->children();
            for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
                auto* above = qobject_cast<QWidget*>(siblings[i]);
                if (!above || !above->isVisibleTo(window) || above->isWindow()) continue;
                const QRect over(above->mapTo(window, QPoint(0, 0)), above->size());
                QVERIFY2(!over.intersects(inWindow),
                         qPrintable(what + QStringLiteral(" lies under a ") +
                                    above->metaObject()->className() + QStringLiteral(" ") +
                                    above->objectName()));
            }
        }
    }
}

}  // namespace

class GameWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { CloseModals(); }
    void drawingSurvivesHidingAndResizing();
    void menuButtonsAndStartImage();
    void splashShowsTheGameAfterFourSeconds();
    void everyTextIsWhole();
};

void GameWindowTest::drawingSurvivesHidingAndResizing() {
    Game g;
    g.Begin(rules::TwoPlayers);
    g.Click(1);
    g.Click(56);
    QVERIFY(!g.window.Background().isNull());
    const QImage board = g.window.Plocha()->Picture().toImage();
    const QPoint boardAt = g.window.Plocha()->pos();
    // Hidden and shown again (as when minimised and restored): no second start-up menu.
    g.window.hide();
    g.window.show();
    QTest::qWait(20);
    QVERIFY(!g.window.OpenMenu());
    g.window.resize(g.window.width() + 120, g.window.height() + 80);
    QTRY_COMPARE(g.window.Background().size(), g.window.size() * g.window.devicePixelRatioF());
    QCOMPARE(g.window.Plocha()->Picture().toImage(), board);
    QCOMPARE(g.window.Plocha()->pos(), boardAt);
    // The board shows its picture exactly, from its top-left corner on.
    QCOMPARE(g.window.Plocha()->grab().toImage().convertToFormat(QImage::Format_RGB32),
             board.convertToFormat(QImage::Format_RGB32));
    // What the window shows: the tiles outside the board, from the window's corner on.
    const QImage shown = g.window.grab().toImage();
    QVERIFY(shown.pixelColor(QPoint(g.window.width() - 3, g.window.height() - 3)) !=
                QColor(Qt::black) ||
            shown.pixelColor(QPoint(g.window.width() - 9, g.window.height() - 7)) !=
                QColor(Qt::black));
    const QImage background = g.window.Background().toImage();
    for (int x = 0; x < 40; ++x)
        QCOMPARE(shown.pixelColor(x, shown.height() - 2),
                 background.pixelColor(x, background.height() - 2));
    // The bar lies right on the board's top edge, as wide as the board.
    QCOMPARE(g.window.kbod()->geometry().bottom() + 1, g.window.Plocha()->geometry().top());
    QCOMPARE(g.window.kbod()->width(), g.window.Plocha()->width());
    QCOMPARE(g.window.kbod()->x(), g.window.Plocha()->x());
    // The taskbar and the title bar take the icon's size they need: all are there.
    const QList<QSize> sizes = g.window.windowIcon().availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
}

void GameWindowTest::menuButtonsAndStartImage() {
    // The menu shows what the controller has made of each click, by the menu's rules.
    Game g;
    g.window.show();
    nas& menu = *Awaited<nas>();
    QVERIFY(&menu);
    auto model = [&] { return g.controller.Screen().menu; };
    QVERIFY(menu.jhra(0)->isChecked() && menu.obtt(0)->isChecked());
    QVERIFY(!menu.obtt(0)->isEnabled() && !menu.obtt(1)->isEnabled());
    menu.jhra(1)->click();
    QVERIFY(model().mode == rules::AgainstComputer);
    QVERIFY(menu.obtt(0)->isEnabled() && menu.obtt(1)->isEnabled());
    menu.obtt(1)->click();
    QVERIFY(!menu.obtt(0)->isChecked());
    QVERIFY(menu.jhra(1)->isChecked());  // the two arrays do not exclude each other
    // Back to two players: the levels are disabled, and the level stays for the game.
    menu.jhra(0)->click();
    QVERIFY(model().mode == rules::TwoPlayers);
    QVERIFY(model().level == rules::HighDifficulty);
    QVERIFY(!menu.obtt(0)->isEnabled() && !menu.obtt(1)->isEnabled());
    QVERIFY(menu.obtt(1)->isChecked());
    menu.jhra(1)->click();
    menu.obtt(0)->click();
    QVERIFY(model().level == rules::LowDifficulty);

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
    QCOMPARE(g.controller.CurrentPhase(), play::Phase::NewGame);
    QTRY_VERIFY(g.window.Plocha()->isVisible());
}

void GameWindowTest::splashShowsTheGameAfterFourSeconds() {
    bool shown = false;
    Game g;
    logo splash(g.controller, [&] { shown = true; });
    // The game window is built once the splash is on the screen: told once, not per paint.
    QSignalSpy painted(&splash, &logo::FirstPainted);
    splash.show();
    QTRY_COMPARE(painted.count(), 1);
    splash.repaint();
    QTest::qWait(10);
    QCOMPARE(painted.count(), 1);
    QCOMPARE(splash.windowTitle(), QStringLiteral("logo"));
    QTest::mouseClick(&splash, Qt::LeftButton);
    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::qWait(3500);
    QVERIFY(!shown);
    QVERIFY(splash.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(shown, 2000);
    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.Timer1().isActive());  // it fires once
}

void GameWindowTest::everyTextIsWhole() {
    Game splashing;
    logo splash(splashing.controller, [] {});
    splash.show();
    ExpectEveryTextWhole(&splash);
    splash.close();
    if (QTest::currentTestFailed()) return;

    nas menu;
    menu.Show(play::Menu{});
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    ExpectEveryTextWhole(&menu);
    menu.done(QDialog::Rejected);
    if (QTest::currentTestFailed()) return;

    // The labels as a new game shows them, and as a move changes them.
    Game g;
    g.Begin(rules::TwoPlayers);
    ExpectEveryTextWhole(&g.window);
    g.Click(1);
    QTRY_COMPARE(g.window.Label1(0)->text(), QStringLiteral("1 kolo"));
    ExpectEveryTextWhole(&g.window);
}

QTEST_MAIN(GameWindowTest)
#include "test_game.moc"
