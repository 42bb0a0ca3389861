// The desktop's painter paints what the renderer asks of it: hard-edged discs at the
// screen's resolution, their shadows, the bar's stripes and lead. Where the shapes lie is
// the drawing list's and the renderer's, proven headless (test_drawing).
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "painter.h"
#include "renderer.h"

using rules::GameState;

namespace {

// The desktop's painter, without the board's picture: the pieces over a plain ground.
struct WithoutPictures final : drawing::Painter {
    screen::QtPainter& painter;
    explicit WithoutPictures(screen::QtPainter& qt) : painter(qt) {}
    void Picture(const char*, double, double, double, double) override {}
    void Fill(const drawing::Disc& disc) override { painter.Fill(disc); }
    void Fill(const drawing::Box& box) override { painter.Fill(box); }
};

constexpr int W = 306;  // board picture, pixels
constexpr int H = 351;

QImage Render(const GameState& state, qreal ratio = 1.0) {
    QImage image(QSize(W, H) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(200, 200, 200));
    QPainter painter(&image);
    screen::QtPainter twips(painter);
    WithoutPictures pieces(twips);
    screen::DrawBoardPicture(pieces, state, twips.DevicePixels());
    return image;
}

QImage RenderBar(const GameState& state) {
    QImage image(W, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    screen::QtPainter twips(painter);
    screen::DrawBalanceBar(twips, state, 4590, twips.DevicePixels());
    return image;
}

// The pixel under a point given in twips.
QColor At(const QImage& image, int xTwips, int yTwips) {
    const qreal k = image.devicePixelRatio() / 15.0;
    return image.pixelColor(static_cast<int>(xTwips * k), static_cast<int>(yTwips * k));
}

bool IsGradient(const QColor& c) {
    // Red twice the green, green equal to blue: the bar's grey-brown background.
    return c.green() == c.blue() && std::abs(c.red() - 2 * c.green()) <= 1 && c.green() > 0;
}

}  // namespace

class RendererTest : public QObject {
    Q_OBJECT

  private slots:
    void shadowShowsAsACrescentAtTheLowerRight();
    void sharpScreensGetDiscsAtTheirResolution();
    void barLeansToThePlayerAhead();
};

void RendererTest::shadowShowsAsACrescentAtTheLowerRight() {
    GameState state;
    state.board.Set(1, 1, 1, 1);  // centre of cell 1 at (390, 390)
    state.board.Set(7, 8, 2, 1);  // centre of cell 56 at (4185, 4815)
    // Drawn four times finer, where the crescent is several pixels wide.
    const QImage image = Render(state, 4.0);
    // Right of the disc, a little below its middle: inside the shadow, outside the disc.
    QCOMPARE(At(image, 390 + 55, 390 + 20), QColor(0, 0, 165));
    QCOMPARE(At(image, 4185 + 55, 4815 + 20), QColor(165, 0, 0));
    QCOMPARE(At(image, 390 + 20, 390 + 55), QColor(0, 0, 165));
    // Upper left of the disc: no shadow there.
    QCOMPARE(At(image, 390 - 60, 390 - 60), QColor(200, 200, 200));
}

void RendererTest::sharpScreensGetDiscsAtTheirResolution() {
    GameState state;
    state.board.Set(1, 1, 1, 1);
    const QImage image = Render(state, 2.0);
    QCOMPARE(image.size(), QSize(2 * W, 2 * H));
    // Centre (390, 390) twips is device pixel (52, 52); the disc's radius of 50 twips is
    // 6.7 device pixels, so 5 pixels up and left is still the piece, 8 is past it.
    QCOMPARE(image.pixelColor(52 - 5, 52), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(52, 52 - 5), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(52 - 8, 52), QColor(200, 200, 200));
}

void RendererTest::barLeansToThePlayerAhead() {
    // What a column of the bar shows: G the grey-brown gradient, K black, B blue, R red.
    auto kind = [](const QColor& c) {
        if (c == QColor(Qt::black)) return 'K';
        if (IsGradient(c)) return 'G';
        if (c.red() == 0 && c.green() == 0 && c.blue() > 0) return 'B';
        return c.red() > 0 && c.green() == 0 && c.blue() == 0 ? 'R' : '?';
    };
    struct Case {
        const char* name;
        int ones, twos;  // pieces of each player
        std::vector<std::pair<int, char>> columns;
    };
    const Case cases[] = {
        {"empty board: the gradient only", 0, 0, {{0, 'G'}, {76, 'G'}, {153, 'G'}, {305, 'G'}}},
        {"equal totals: a thin black line", 3, 3, {{151, 'G'}, {153, 'K'}, {155, 'G'}}},
        // From the middle (153) leftwards by half of half the width: to 76.5.
        {"3 to 1: half of player 1's half", 3, 1, {{70, 'G'}, {78, 'B'}, {100, 'B'}, {160, 'G'}}},
        {"all player 2's: its whole half", 0, 2, {{140, 'G'}, {154, 'R'}, {200, 'R'}, {305, 'R'}}},
    };
    for (const Case& c : cases) {
        GameState state;
        if (c.ones) state.board.Set(1, 1, 1, c.ones);
        if (c.twos) state.board.Set(7, 8, 2, c.twos);
        const QImage bar = RenderBar(state);
        for (const auto& [x, expected] : c.columns)
            for (int y = 0; y < bar.height(); ++y)
                QVERIFY2(kind(bar.pixelColor(x, y)) == expected,
                         qPrintable(QStringLiteral("%1: x %2, y %3").arg(c.name).arg(x).arg(y)));
        // Down the bar the gradient grows lighter and the lead bar darker.
        if (c.ones == 3 && c.twos == 1)
            QVERIFY(bar.pixelColor(100, 0).blue() > bar.pixelColor(100, 9).blue());
        // The gradient's stripes are 10 twips high, each 3 lighter than the one above: the
        // top row of pixels is the first stripe's, the last row the fifteenth's.
        if (c.ones == 0 && c.twos == 0) {
            QCOMPARE(bar.pixelColor(10, 0), QColor(6, 3, 3));
            QCOMPARE(bar.pixelColor(10, 9), QColor(90, 45, 45));
        }
    }
}

QTEST_MAIN(RendererTest)
#include "test_renderer.moc"
