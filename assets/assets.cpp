#include "assets.h"

namespace assets {

QFont ClassicFont(double points) {
    QFont font(QStringLiteral("MS Sans Serif"));
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
