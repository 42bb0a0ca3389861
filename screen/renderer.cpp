#include "renderer.h"

#include <QPainter>
#include <algorithm>

#include "drawing.h"

namespace screen {
namespace {

constexpr double Twip = 1.0 / 15.0;

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
    for (const drawing::Disc& disc : drawing::Pieces(state, CellRect))
        Disc(painter, disc.x, disc.y, disc.radius, ToQColor(disc.colour));
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
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(Twip, Twip);
    const double onePixel = 15.0 / painter.device()->devicePixelRatioF();
    for (const drawing::Box& box : drawing::BalanceBar(state, widthTwips, heightTwips)) {
        const double width = box.atLeastOnePixel ? std::max(box.width, onePixel) : box.width;
        painter.fillRect(QRectF(box.x, box.y, width, box.height), ToQColor(box.colour));
    }
    painter.restore();
}

}  // namespace screen
