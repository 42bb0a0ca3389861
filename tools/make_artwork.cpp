// Paints every picture of the game into a folder (by default assets/):
//   make-artwork [FOLDER]
// The pictures are committed; run this again after changing how they look.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>
#include <cstdio>
#include <string>

#include "geometry.h"

namespace {

// Smooth value noise, deterministic, so the pictures come out the same every run.
double Hash(int x, int y, int seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                 static_cast<unsigned>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double Noise(double x, double y, int seed) {
    const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y));
    const double fx = x - xi, fy = y - yi;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = Hash(xi, yi, seed), b = Hash(xi + 1, yi, seed);
    const double c = Hash(xi, yi + 1, seed), d = Hash(xi + 1, yi + 1, seed);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// Wood: long grain along x (or y), rings wobbling with the noise.
QColor Wood(double x, double y, const QColor& light, const QColor& dark, int seed,
            bool vertical = false) {
    if (vertical) std::swap(x, y);
    const double wobble = Noise(x * 0.02, y * 0.15, seed) * 6.0;
    const double rings =
        std::sin((y + wobble * 3.0) * 0.9 + Noise(x * 0.05, y * 0.3, seed + 1) * 4);
    const double fine = Noise(x * 0.6, y * 2.5, seed + 2);
    const double t = 0.35 + 0.25 * rings + 0.3 * (fine - 0.5);
    return Mix(light, dark, t);
}

QImage NewImage(int w, int h, double scale) {
    QImage image(static_cast<int>(w * scale), static_cast<int>(h * scale),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

int failures = 0;

void Save(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "make-artwork: cannot write %s\n", qPrintable(path));
        ++failures;
    } else {
        std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
    }
}

// A Windows icon file holding `images`, each stored as a PNG (which Windows reads in icons
// of any size): a header, a directory entry an image, then the images.
void SaveIco(const QList<QImage>& images, const QString& path) {
    QByteArray header, data;
    auto put16 = [&header](int v) { header.append(char(v & 0xff)).append(char(v >> 8 & 0xff)); };
    auto put32 = [&](qint64 v) {
        put16(int(v & 0xffff));
        put16(int(v >> 16 & 0xffff));
    };
    put16(0);  // reserved
    put16(1);  // an icon
    put16(int(images.size()));
    qint64 offset = 6 + 16 * images.size();
    for (const QImage& image : images) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        header.append(char(image.width() % 256)).append(char(image.height() % 256));  // 256 is 0
        header.append(char(0)).append(char(0));  // no palette, reserved
        put16(1);                                // colour planes
        put16(32);                               // bits a pixel
        put32(png.size());
        put32(offset);
        offset += png.size();
        data += png;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(header + data) != header.size() + data.size() || !file.flush()) {
        std::fprintf(stderr, "make-artwork: cannot write %s\n", qPrintable(path));
        ++failures;
    } else {
        std::printf("%s %d sizes\n", qPrintable(path), int(images.size()));
    }
}

QString Suffix(double scale) {
    return scale > 1 ? QStringLiteral("@2x") : QString();
}

QFont TitleFont(int pixelSize, int weight = QFont::Black) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

// The board: a wooden frame and the 7 x 8 squares exactly where the cell table puts them.
QImage Board(double scale) {
    QImage image = NewImage(306, 351, scale);
    const double k = scale;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixelColor(x, y,
                                Wood(x / k, y / k * 0.7, QColor(122, 70, 36), QColor(72, 38, 18),
                                     11, (x / k < 6 || x / k > 300)));
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    // Bevel of the frame.
    p.setPen(QPen(QColor(190, 130, 80, 160), 1.0));
    p.drawLine(QPointF(0.5, 0.5), QPointF(305.5, 0.5));
    p.drawLine(QPointF(0.5, 0.5), QPointF(0.5, 350.5));
    p.setPen(QPen(QColor(30, 14, 6, 200), 1.0));
    p.drawLine(QPointF(305.5, 0.5), QPointF(305.5, 350.5));
    p.drawLine(QPointF(0.5, 350.5), QPointF(305.5, 350.5));
    // Groove between the frame and the playing field.
    p.setPen(QPen(QColor(35, 18, 8), 1.2));
    p.setBrush(QColor(45, 24, 10));
    p.drawRoundedRect(QRectF(3.2, 3.6, 299.6, 342.4), 2, 2);
    p.end();

    screen::CellRectTable cells;
    screen::InitCellGeometry(cells);
    for (int n = 1; n <= screen::CellCount; ++n) {
        const bool light = (screen::CellColumn(n) + screen::CellRow(n)) % 2 == 0;
        const auto& r = cells[n];
        const QRectF rect(r.x1 / 15.0, r.y1 / 15.0, (r.x2 - r.x1) / 15.0, (r.y2 - r.y1) / 15.0);
        const QColor hi = light ? QColor(236, 204, 150) : QColor(150, 92, 48);
        const QColor lo = light ? QColor(214, 174, 116) : QColor(118, 66, 30);
        const int seed = 100 + n;
        for (int y = static_cast<int>(rect.top() * k); y < static_cast<int>(rect.bottom() * k);
             ++y) {
            for (int x = static_cast<int>(rect.left() * k); x < static_cast<int>(rect.right() * k);
                 ++x) {
                QColor c = Wood(x / k * 1.3, y / k * 0.9 + n * 7, hi, lo, seed, n % 3 == 0);
                // Soft light from the top left, a touch of shade at the far edges.
                const double fx = (x / k - rect.left()) / rect.width();
                const double fy = (y / k - rect.top()) / rect.height();
                if (fx < 0.035 || fy < 0.035)
                    c = Mix(c, QColor(255, 240, 210), 0.3);
                else if (fx > 0.965 || fy > 0.965)
                    c = Mix(c, QColor(50, 25, 8), 0.35);
                image.setPixelColor(x, y, c);
            }
        }
    }
    return image;
}

// Background tile: dark grey and black speckle.
QImage Tile(double scale) {
    QImage image = NewImage(73, 72, scale);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double u = x / scale, v = y / scale;
            const double blotch = Noise(u * 0.18, v * 0.18, 5);
            const double grain = Hash(static_cast<int>(u), static_cast<int>(v), 6);
            double g = 14 + 34 * blotch + (grain > 0.82 ? 38 * (grain - 0.82) / 0.18 : 0);
            if (grain < 0.1) g *= 0.4;
            const int level = static_cast<int>(std::clamp(g, 0.0, 255.0));
            image.setPixelColor(x, y, QColor(level, level, level + 3));
        }
    }
    return image;
}

// The grabbing hand: white, outlined, with a blue cuff; its hot spot (7,7) is the tip of
// the index finger.
QImage Hand() {
    QImage image = NewImage(32, 32, 1);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.moveTo(7, 6);
    hand.cubicTo(9, 4, 12, 5, 12, 8);      // index finger
    hand.cubicTo(13, 5, 17, 5, 17, 8.5);   // middle
    hand.cubicTo(18, 6, 22, 6, 22, 9.5);   // ring
    hand.cubicTo(23, 8, 26.5, 9, 26, 12);  // little finger
    hand.lineTo(25.5, 19);
    hand.cubicTo(25, 23, 22, 24.5, 19, 24.5);
    hand.lineTo(11, 24.5);
    hand.cubicTo(8, 22, 4, 19, 3, 15);  // thumb side
    hand.cubicTo(2.5, 12.5, 5, 12, 6.5, 14);
    hand.lineTo(6, 9);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.3));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    for (double x : {12.0, 17.0, 22.0}) p.drawLine(QPointF(x, 9.5), QPointF(x, 13));
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(QColor(30, 60, 200));
    p.drawRoundedRect(QRectF(10, 24, 14, 6), 1.5, 1.5);
    p.setPen(QPen(QColor(120, 160, 255), 1));
    p.drawLine(QPointF(11.5, 25.5), QPointF(22.5, 25.5));
    return image;
}

QImage Hourglass() {
    QImage image = NewImage(32, 32, 1);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath glass;
    glass.moveTo(3, 3);
    glass.lineTo(19, 3);
    glass.cubicTo(19, 11, 12.5, 12, 12.5, 14);
    glass.cubicTo(12.5, 16, 19, 17, 19, 25);
    glass.lineTo(3, 25);
    glass.cubicTo(3, 17, 9.5, 16, 9.5, 14);
    glass.cubicTo(9.5, 12, 3, 11, 3, 3);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(glass);
    // Sand: a little left on top, a heap below.
    QPainterPath sand;
    sand.moveTo(6, 8);
    sand.lineTo(16, 8);
    sand.cubicTo(15, 11, 11, 12, 11, 14);
    sand.cubicTo(11, 12, 7, 11, 6, 8);
    sand.moveTo(4.5, 24);
    sand.cubicTo(6, 19, 9, 18.5, 11, 17.5);
    sand.cubicTo(13, 18.5, 16, 19, 17.5, 24);
    sand.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 80, 220));
    p.drawPath(sand);
    p.setPen(QPen(QColor(40, 80, 220), 1));
    p.drawLine(QPointF(11, 14), QPointF(11, 17.5));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(20, 45, 160));
    p.drawRoundedRect(QRectF(1, 0.5, 20, 3.5), 1, 1);
    p.drawRoundedRect(QRectF(1, 24.5, 20, 3.5), 1, 1);
    return image;
}

void Disc(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    const QColor shadow = colour.darker(165);
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(centre + QPointF(radius * 0.4, radius * 0.4), radius * 0.8, radius * 0.8);
    QRadialGradient shine(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    shine.setColorAt(0, colour.lighter(160));
    shine.setColorAt(0.5, colour);
    shine.setColorAt(1, colour.darker(130));
    p.setBrush(shine);
    p.drawEllipse(centre, radius, radius);
}

// A board seen in perspective: the four corners of the field in picture coordinates.
void PerspectiveBoard(QPainter& p, const QPolygonF& corners, int columns, int rows,
                      const std::vector<std::tuple<int, int, int, int>>& pieces,
                      double pieceRadius) {
    auto at = [&](double u, double v) {
        const QPointF top = corners[0] + (corners[1] - corners[0]) * u;
        const QPointF bottom = corners[3] + (corners[2] - corners[3]) * u;
        return top + (bottom - top) * v;
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            QPolygonF cell;
            cell << at(double(c) / columns, double(r) / rows)
                 << at(double(c + 1) / columns, double(r) / rows)
                 << at(double(c + 1) / columns, double(r + 1) / rows)
                 << at(double(c) / columns, double(r + 1) / rows);
            const bool light = (c + r) % 2 == 0;
            QLinearGradient g(cell[0], cell[2]);
            g.setColorAt(0, light ? QColor(240, 208, 152) : QColor(156, 96, 50));
            g.setColorAt(1, light ? QColor(210, 168, 110) : QColor(112, 62, 28));
            p.setPen(QPen(QColor(60, 30, 12), 0.6));
            p.setBrush(g);
            p.drawPolygon(cell);
        }
    }
    for (const auto& [c, r, owner, count] : pieces) {
        const QColor colour = owner == 1 ? QColor(30, 60, 255) : QColor(230, 20, 20);
        static const QPointF kSpots[5][4] = {
            {{0.5, 0.5}},
            {{0.5, 0.5}},
            {{0.3, 0.3}, {0.7, 0.7}},
            {{0.5, 0.5}, {0.28, 0.28}, {0.72, 0.72}},
            {{0.28, 0.28}, {0.72, 0.28}, {0.72, 0.72}, {0.28, 0.72}}};
        for (int i = 0; i < count; ++i) {
            const QPointF spot = kSpots[count][i];
            const double v = (r + spot.y()) / rows;
            const double shrink = 0.6 + 0.4 * v;  // farther rows look smaller
            Disc(p, at((c + spot.x()) / columns, v), pieceRadius * shrink, colour);
        }
    }
}

QImage Icon(int size) {
    QImage image = NewImage(size, size, 1);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = size / 32.0;
    p.scale(k, k);
    p.setPen(QPen(QColor(50, 24, 8), 1));
    p.setBrush(QColor(96, 52, 22));
    if (size < 32) {
        // The title cannot be read so small: a board seen from above, pieces of both players.
        p.scale(2, 2);
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
        p.setPen(Qt::NoPen);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                p.setBrush((c + r) % 2 == 0 ? QColor(236, 200, 140) : QColor(150, 92, 48));
                p.drawRect(QRectF(2 + 4 * c, 2 + 4 * r, 4, 4));
            }
        }
        const QColor blue(30, 60, 255), red(230, 20, 20);
        for (const auto& [c, r, colour] :
             {std::tuple{0, 0, blue}, {2, 0, red}, {1, 1, blue}, {0, 2, red}, {2, 2, blue}})
            Disc(p, QPointF(4 + 4 * c, 4 + 4 * r), 1.7, colour);
        return image;
    }
    QPolygonF frame;
    frame << QPointF(7, 11) << QPointF(25, 11) << QPointF(31.5, 31) << QPointF(0.5, 31);
    p.drawPolygon(frame);
    QPolygonF field;
    field << QPointF(8.5, 12.5) << QPointF(23.5, 12.5) << QPointF(29.3, 29.8) << QPointF(2.7, 29.8);
    PerspectiveBoard(p, field, 4, 3,
                     {{0, 2, 1, 1}, {1, 1, 2, 2}, {2, 2, 1, 3}, {3, 1, 2, 1}, {2, 0, 1, 1}}, 1.9);
    QPainterPath text;
    text.addText(0, 0, TitleFont(10, QFont::Black), QStringLiteral("Morvel"));
    // Squeeze the title into the width left beside the mark.
    const QRectF box = text.boundingRect();
    QTransform fit;
    fit.translate(0.5, 1);
    fit.scale(24.5 / box.width(), 8.5 / box.height());
    fit.translate(-box.left(), -box.top());
    text = fit.map(text);
    p.setPen(QPen(QColor(0, 0, 110), 0.6));
    p.setBrush(QColor(50, 110, 255));
    p.drawPath(text);
    // The small green mark.
    p.setPen(QPen(QColor(20, 200, 40), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(26.5, 5), QPointF(28, 7.5), QPointF(31, 1.5)}));
    return image;
}

QImage Banner() {
    QImage image(299, 73, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = TitleFont(50);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    QPainterPath title;
    title.addText(0, 0, font, QStringLiteral("MORVEL"));
    const QRectF box = title.boundingRect();
    title.translate(149.5 - box.center().x(), 36.5 - box.center().y() - 4);
    // Blue glow behind grey letters.
    for (int i = 6; i >= 1; --i) {
        p.setPen(
            QPen(QColor(20, 60, 255, 30), i * 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(title);
    }
    QLinearGradient metal(0, title.boundingRect().top(), 0, title.boundingRect().bottom());
    metal.setColorAt(0, QColor(235, 235, 240));
    metal.setColorAt(0.5, QColor(150, 150, 160));
    metal.setColorAt(0.52, QColor(110, 110, 120));
    metal.setColorAt(1, QColor(190, 190, 200));
    p.setPen(QPen(QColor(30, 70, 230), 1.5));
    p.setBrush(metal);
    p.drawPath(title);
    QFont small = TitleFont(11, QFont::Bold);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(small);
    p.setPen(QColor(70, 120, 255));
    p.drawText(QRectF(0, 56, 299, 16), Qt::AlignCenter, QStringLiteral("LOGICKÁ HRA"));
    return image;
}

QImage StartButton(bool hover) {
    QImage image(44, 26, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, 26);
    face.setColorAt(0, QColor(214, 214, 214));
    face.setColorAt(1, QColor(168, 168, 168));
    p.fillRect(image.rect(), face);
    p.setPen(QPen(QColor(250, 250, 250), 1));
    p.drawLine(QPointF(0.5, 0.5), QPointF(43.5, 0.5));
    p.drawLine(QPointF(0.5, 0.5), QPointF(0.5, 25.5));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(43.5, 0.5), QPointF(43.5, 25.5));
    p.drawLine(QPointF(0.5, 25.5), QPointF(43.5, 25.5));
    p.setPen(QPen(QColor(130, 130, 130), 1));
    p.drawLine(QPointF(42.5, 1.5), QPointF(42.5, 24.5));
    p.drawLine(QPointF(1.5, 24.5), QPointF(42.5, 24.5));
    if (hover) {
        p.setPen(QPen(QColor(140, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4, 4, 36, 18));
    }
    // A small grey figure walking to the right: off into the game.
    p.setPen(QPen(QColor(80, 80, 80), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(80, 80, 80));
    p.drawEllipse(QPointF(22, 8), 2.2, 2.2);
    p.drawLine(QPointF(22, 10.5), QPointF(21, 15.5));
    p.drawLine(QPointF(21, 15.5), QPointF(18.5, 20));
    p.drawLine(QPointF(21, 15.5), QPointF(24.5, 19.5));
    p.drawLine(QPointF(21.8, 12), QPointF(18.5, 14));
    p.drawLine(QPointF(21.8, 12), QPointF(25, 13.5));
    return image;
}

QImage Splash() {
    QImage image(256, 252, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(20, 10, 4));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF field;
    field << QPointF(40, 40) << QPointF(216, 40) << QPointF(300, 260) << QPointF(-44, 260);
    PerspectiveBoard(p, field, 5, 5,
                     {{0, 0, 1, 2},
                      {1, 0, 1, 1},
                      {3, 0, 2, 3},
                      {4, 1, 2, 4},
                      {1, 1, 1, 4},
                      {2, 1, 2, 1},
                      {0, 2, 1, 3},
                      {2, 2, 2, 2},
                      {3, 2, 2, 1},
                      {1, 3, 1, 1},
                      {4, 3, 2, 2},
                      {0, 4, 2, 1},
                      {2, 4, 1, 2},
                      {3, 4, 2, 3}},
                     9);
    // Darken towards the bottom so the credits stand out.
    QLinearGradient shade(0, 80, 0, 252);
    shade.setColorAt(0, QColor(0, 0, 0, 0));
    shade.setColorAt(0.45, QColor(0, 0, 0, 150));
    shade.setColorAt(1, QColor(0, 0, 0, 215));
    p.fillRect(image.rect(), shade);
    QLinearGradient top(0, 0, 0, 60);
    top.setColorAt(0, QColor(0, 0, 0, 200));
    top.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRect(0, 0, 256, 60), top);

    QFont font = TitleFont(58);
    QPainterPath title;
    title.addText(0, 0, font, QStringLiteral("Morvel"));
    const QRectF box = title.boundingRect();
    title.translate(128 - box.center().x(), 50 - box.center().y());
    p.setPen(QPen(QColor(0, 0, 0, 160), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(title.translated(2, 3));
    QLinearGradient gold(0, title.boundingRect().top(), 0, title.boundingRect().bottom());
    gold.setColorAt(0, QColor(255, 250, 150));
    gold.setColorAt(0.55, QColor(255, 220, 0));
    gold.setColorAt(1, QColor(220, 150, 0));
    p.setPen(QPen(QColor(90, 50, 0), 2));
    p.setBrush(gold);
    p.drawPath(title);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    const char* const usage =
        "usage: make-artwork [FOLDER]\n"
        "Paints every picture of the game into FOLDER (default: assets) and lists them.\n"
        "Exit status: 0 done, 1 a picture or the list could not be written, 2 bad arguments.\n";
    // Looked at before Qt, which would take some options for itself.
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::fputs(usage, stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (argc > 2 || (!first.empty() && first[0] == '-')) {
        std::fprintf(stderr, "make-artwork: %s '%s'\n%s",
                     argc > 2 ? "unexpected argument" : "unknown option", argv[argc > 2 ? 2 : 1],
                     usage);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets");
    QDir().mkpath(dir);
    for (double scale : {1.0, 2.0}) {
        Save(Board(scale), dir + "/board" + Suffix(scale) + ".png");
        Save(Tile(scale), dir + "/tile" + Suffix(scale) + ".png");
    }
    Save(Hand(), dir + "/hand.png");
    Save(Hourglass(), dir + "/hourglass.png");
    // The desktop's icons, each size painted at that size.
    QDir(dir).mkpath(QStringLiteral("icons"));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 192, 256, 512})
        Save(Icon(size), dir + QStringLiteral("/icons/morvel-%1.png").arg(size));
    // The same icons for the Windows program, its Start-menu entry and its uninstaller.
    QList<QImage> windowsIcons;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) windowsIcons << Icon(size);
    SaveIco(windowsIcons, dir + QStringLiteral("/icons/morvel.ico"));
    Save(Banner(), dir + "/banner.png");
    Save(StartButton(false), dir + "/start.png");
    Save(StartButton(true), dir + "/start-hover.png");
    Save(Splash(), dir + "/splash.png");
    // The list of what was written is the answer: unwritten, it is a failure too.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "make-artwork: cannot write the list of pictures\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
