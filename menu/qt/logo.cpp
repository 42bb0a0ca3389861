#include "logo.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <utility>
#include <variant>

#include "assets.h"

namespace {

QString Style(screen::Control control) {
    return QStringLiteral("color: %1; background: transparent;")
        .arg(assets::Colour(screen::Content(control).colour).name());
}

}  // namespace

logo::logo(play::Controller& game, std::function<void()> showGame, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      game_(game),
      picture_(assets::Picture(screen::Content(screen::Control::Logo).picture)),
      showGame_(std::move(showGame)) {
    assets::Build(this, screen::Control::Logo);
    setFixedSize(size());
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The splash has no title bar: the icon in the sizes a taskbar takes is all it needs,
    // and the first window comes lighter without the large ones decoded.
    setWindowIcon(assets::WindowIcon(assets::TaskbarIconSizes));

    auto* title = new QLabel(this);
    assets::Build(title, screen::Control::LogoTitle);
    title->setWordWrap(true);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    title->setStyleSheet(Style(screen::Control::LogoTitle));

    auto* address = new QLabel(this);
    assets::Build(address, screen::Control::LogoAddress);
    address->setStyleSheet(Style(screen::Control::LogoAddress));

    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this,
            [this] { Apply(game_.TimerDue(play::Timer::Splash)); });
}

void logo::showEvent(QShowEvent* event) {
    if (QScreen* where = screen()) move(where->geometry().center() - rect().center());
    QWidget::showEvent(event);
    Apply(game_.Shown(play::Window::Splash));
}

// The splash's part of what the controller says: its time; and once the controller shows
// the game window, the splash goes. The game window applies the rest.
void logo::Apply(const play::Effects& effects) {
    for (const play::Effect& effect : effects) {
        if (const auto* run = std::get_if<play::StartTimer>(&effect)) {
            if (run->timer == play::Timer::Splash)
                timer1_.start(run->milliseconds);
            else
                timer1_.stop();
        }
    }
    if (isVisible() && game_.Screen().window == play::Showing::Game) {
        if (showGame_) showGame_();
        close();
    }
}

void logo::paintEvent(QPaintEvent*) {
    // The picture is drawn at its own size from the top-left corner; its bottom rows fall
    // outside the window.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawPixmap(0, 0, picture_);
    // Told once the painting has reached the screen, after this event.
    if (!std::exchange(painted_, true)) QTimer::singleShot(0, this, &logo::FirstPainted);
}
