#pragma once

#include <QFont>
#include <QString>

// Paths of the compiled-in pictures.
namespace assets {

inline const QString Board = QStringLiteral(":/board.png");  // board@2x.png on sharp screens
inline const QString Tile = QStringLiteral(":/tile.png");
inline const QString Hand = QStringLiteral(":/hand.png");
inline const QString Hourglass = QStringLiteral(":/hourglass.png");
inline const QString Icon = QStringLiteral(":/icon.png");
inline const QString Banner = QStringLiteral(":/banner.png");
inline const QString Start = QStringLiteral(":/start.png");
inline const QString StartHover = QStringLiteral(":/start-hover.png");
inline const QString Splash = QStringLiteral(":/splash.png");

// The classic dialog face: bold "MS Sans Serif", or a bold sans-serif where it is missing.
QFont ClassicFont(double points);

}  // namespace assets
