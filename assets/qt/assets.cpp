#include "assets.h"

#include <QAbstractButton>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QWidget>
#include <map>
#include <string>

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

QPixmap Picture(const char* name) {
    // Loaded once: the board is drawn after every move.
    static std::map<std::string, QPixmap> loaded;
    auto [at, added] = loaded.try_emplace(name);
    if (added) at->second = QPixmap(QStringLiteral(":/") + QString::fromUtf8(name));
    return at->second;
}

QFont ClassicFont(double points) {
    [[maybe_unused]] static const bool registered = RegisterCarriedFace();
    QFont font(QString::fromUtf8(screen::Face));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QIcon WindowIcon(std::span<const int> sizes) {
    QIcon icon;
    for (int size : sizes)
        icon.addFile(QStringLiteral(":/icons/morvel-%1.png").arg(size), QSize(size, size));
    return icon;
}

QCursor Pointer(const screen::PointerLook& pointer) {
    if (!pointer.picture) return QCursor(Qt::ArrowCursor);
    return QCursor(Picture(pointer.picture), pointer.hotX, pointer.hotY);
}

void Build(QWidget* widget, screen::Control control) {
    const screen::ControlContent& entry = screen::Content(control);
    const QString text = QString::fromUtf8(entry.text);
    if (entry.window == control) {
        widget->resize(Place(entry).size());
        widget->setWindowTitle(text);
        return;
    }
    widget->setGeometry(Place(entry));
    if (entry.points > 0) widget->setFont(ClassicFont(entry.points));
    if (entry.colour != 0) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, Colour(entry.colour));
        widget->setPalette(palette);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
    if (*entry.tooltip) widget->setToolTip(QString::fromUtf8(entry.tooltip));
    if (*entry.accessibleName) widget->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.fitsText) widget->adjustSize();
}

}  // namespace assets
