#pragma once

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

#include "geometry.h"

// Paths of the compiled-in pictures.
namespace assets {

inline const QString Board = QStringLiteral(":/board.png");  // board@2x.png on sharp screens
inline const QString Tile = QStringLiteral(":/tile.png");
inline const QString Hand = QStringLiteral(":/hand.png");
inline const QString Hourglass = QStringLiteral(":/hourglass.png");
inline const QString Banner = QStringLiteral(":/banner.png");
inline const QString Start = QStringLiteral(":/start.png");
inline const QString StartHover = QStringLiteral(":/start-hover.png");
inline const QString Splash = QStringLiteral(":/splash.png");

// The desktop's icon in each of its sizes (16 to 256 pixels), for the window and the
// taskbar, sharp at any scale.
QIcon WindowIcon();

// The face of every text on the screens: DejaVu Sans Bold, the same letters on every system
// (the system's copy on Debian, the program's own where the system has none).
QFont ClassicFont(double points);

// A control's place and size given in twips, as pixels.
inline QRect TwipRect(int left, int top, int width, int height) {
    constexpr int k = screen::TwipsPerPixel;
    return QRect(left / k, top / k, width / k, height / k);
}

}  // namespace assets
