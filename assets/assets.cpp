#include "assets.h"

#include <QFile>
#include <QFontDatabase>

namespace assets {

namespace {

// A build for a system without the face (Windows) carries it among the pictures; there it
// is registered once, on first use, which needs the application object and comes before
// the first text is laid out. Elsewhere the system's own copy is used.
bool RegisterCarriedFace() {
    const QString carried = QStringLiteral(":/fonts/DejaVuSans-Bold.ttf");
    return QFile::exists(carried) && QFontDatabase::addApplicationFont(carried) >= 0;
}

}  // namespace

QFont ClassicFont(double points) {
    [[maybe_unused]] static const bool registered = RegisterCarriedFace();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QIcon WindowIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/morvel-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace assets
