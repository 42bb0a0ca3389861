#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <span>

#include "content.h"

// The screens' content as Qt takes it: the compiled-in pictures, the face, the places.
namespace assets {

// A picture of assets/ by its file's name (content.h), at the screen's sharpness.
QPixmap Picture(const char* name);

// The desktop's icon in each of its sizes (16 to 256 pixels), for the window and the
// taskbar, sharp at any scale; or in the sizes a taskbar and a title bar take.
inline constexpr int IconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
inline constexpr int TaskbarIconSizes[] = {16, 24, 32, 48};
QIcon WindowIcon(std::span<const int> sizes = IconSizes);

// The face of every text on the screens: DejaVu Sans Bold, the same letters on every system
// (the system's copy on Debian, the program's own where the system has none).
QFont ClassicFont(double points);

inline QColor Colour(rules::Color colour) {
    return QColor(rules::RedOf(colour), rules::GreenOf(colour), rules::BlueOf(colour));
}

// A pointer: its picture with its hot spot, or the arrow.
QCursor Pointer(const screen::PointerLook& pointer);

// A control's place and size given in twips, as pixels.
inline QRect TwipRect(int left, int top, int width, int height) {
    return QRect(screen::Pixels(left), screen::Pixels(top), screen::Pixels(width),
                 screen::Pixels(height));
}
inline QRect Place(const screen::ControlContent& control) {
    return TwipRect(control.left, control.top, control.width, control.height);
}

// A control given its place, text, face, text colour, tooltip and name for screen readers
// as the screens' content has them (a window: its size and caption).
void Build(QWidget* widget, screen::Control control);

}  // namespace assets
