#include "renderer.h"

#include <QPainter>

namespace screen {
namespace {

constexpr double Twip = 1.0 / 15.0;

struct Offset {
    int x;
    int y;
};
constexpr Offset TopLeft{150, 150};
constexpr Offset TopRight{430, 150};
constexpr Offset Centre{300, 300};
constexpr Offset BottomLeft{150, 430};
constexpr Offset BottomRight{430, 430};

// The positions drawn for counts 1 to 4, in drawing order.
constexpr Offset Positions[5][4] = {
    {},
    {Centre},
    {TopLeft, BottomRight},
    {Centre, TopLeft, BottomRight},
    {TopLeft, TopRight, BottomRight, BottomLeft},
};

constexpr int MainRadius = 50;
constexpr int ShadowRadius = 40;
constexpr int ShadowShift = 20;

// A disc outlined in its own colour: the one-pixel outline straddles the edge, so the
// disc is filled half a device pixel wider instead (filling alone is three times faster).
void Disc(QPainter& painter, double x, double y, double radius, const QColor& colour) {
    const double halfPixel = 7.5 / painter.device()->devicePixelRatioF();
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(x, y), radius + halfPixel, radius + halfPixel);
}

}  // namespace

QColor ToQColor(rules::Color color) {
    return QColor(rules::RedOf(color), rules::GreenOf(color), rules::BlueOf(color));
}

void DrawPieces(QPainter& painter, const rules::GameState& state, const CellRectTable& CellRect) {
    painter.save();
    // Hard-edged discs, as the board has always shown them; a sharp screen still gets them
    // at its own resolution.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.scale(Twip, Twip);
    for (int row = 1; row <= rules::Rows; ++row) {
        for (int column = 1; column <= rules::Columns; ++column) {
            const int n = CellNumber(column, row);
            const int x0 = CellRect[n].x1;
            const int y0 = CellRect[n].y1;
            const int owner = state.board.Owner(column, row);
            const int count = state.board.Count(column, row);
            // An unowned cell has no colour to draw in; a saved file could still pair
            // owner 0 with pieces, and those stay invisible rather than borrow a colour.
            if (owner != 1 && owner != 2) continue;
            const rules::Color piece = owner == 1 ? state.Player1Color : state.Player2Color;
            const rules::Color shadow =
                owner == 1 ? state.Player1DarkColor : state.Player2Color - 90;
            if (count < 1 || count > 4) continue;
            for (int i = 0; i < count; ++i) {
                const Offset at = Positions[count][i];
                Disc(painter, x0 + at.x + ShadowShift, y0 + at.y + ShadowShift, ShadowRadius,
                     ToQColor(shadow));
                Disc(painter, x0 + at.x, y0 + at.y, MainRadius, ToQColor(piece));
            }
        }
    }
    painter.restore();
}

void DrawBoardPicture(QPainter& painter, const QPixmap& bitmap, const rules::GameState& state,
                      const CellRectTable& CellRect) {
    painter.drawPixmap(QRectF(0, 0, BoardWidthTwips * Twip, BoardHeightTwips * Twip), bitmap,
                       QRectF(bitmap.rect()));
    DrawPieces(painter, state, CellRect);
}

void DrawBalanceBar(QPainter& painter, const rules::GameState& state, double widthTwips,
                    double heightTwips) {
    int total1 = 0;
    int total2 = 0;
    for (int row = 1; row <= rules::Rows; ++row) {
        for (int column = 1; column <= rules::Columns; ++column) {
            const int owner = state.board.Owner(column, row);
            if (owner == 1) total1 += state.board.Count(column, row);
            if (owner == 2) total2 += state.board.Count(column, row);
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(Twip, Twip);
    painter.fillRect(QRectF(0, 0, widthTwips, heightTwips), Qt::black);

    const double half = widthTwips / 2;
    const int diff = total2 - total1;

    int s = 0;
    for (int y = 0; y <= heightTwips; y += 10) {
        s += 3;
        // RGB(s, s, s) + s as a number: the extra s lands in the red byte.
        painter.fillRect(QRectF(0, y, widthTwips, 10), ToQColor(rules::Rgb(s, s, s) + s));
    }

    int t = 0;
    const double onePixel = 15.0 / painter.device()->devicePixelRatioF();
    for (int y = 0; y <= heightTwips; y += 10) {
        rules::Color colour = 0;
        t += 15;
        if (total1 > total2) colour = rules::Rgb(0, 0, 255 - t);
        if (total1 < total2) colour = state.Player2Color - t;
        if (total1 + total2 == 0) continue;
        const double end = half + (half / (total1 + total2)) * diff;
        // A filled box includes both of its edges, so equal totals still leave a line
        // one pixel wide in the middle.
        const double left = std::min(half, end);
        const double width = std::max(std::abs(end - half), onePixel);
        painter.fillRect(QRectF(left, y, width, 10), ToQColor(colour));
    }
    painter.restore();
}

}  // namespace screen
