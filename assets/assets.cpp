#include "assets.h"

namespace assets {

QFont ClassicFont(double points) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace assets
