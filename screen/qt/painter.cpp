#include "painter.h"

#include "assets.h"
#include "geometry.h"

namespace screen {

QtPainter::QtPainter(QPainter& painter) : painter_(painter) {
    painter_.save();
    // Hard-edged discs, as the board has always shown them; a sharp screen still gets them
    // at its own resolution.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(Qt::NoPen);
    painter_.scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel);
}

QtPainter::~QtPainter() {
    painter_.restore();
}

double QtPainter::DevicePixels() const {
    return painter_.device()->devicePixelRatioF();
}

void QtPainter::Picture(const char* name, double x, double y, double width, double height) {
    const QPixmap picture = assets::Picture(name);
    painter_.drawPixmap(QRectF(x, y, width, height), picture, QRectF(picture.rect()));
}

void QtPainter::Fill(const drawing::Disc& disc) {
    painter_.setBrush(assets::Colour(disc.colour));
    painter_.drawEllipse(QPointF(disc.x, disc.y), disc.radius, disc.radius);
}

void QtPainter::Fill(const drawing::Box& box) {
    painter_.fillRect(QRectF(box.x, box.y, box.width, box.height), assets::Colour(box.colour));
}

}  // namespace screen
