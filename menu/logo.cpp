#include "logo.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <utility>
#include <variant>

#include "assets.h"

logo::logo(play::Controller& game, std::function<void()> showGame, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      game_(game),
      picture_(assets::Splash),
      showGame_(std::move(showGame)) {
    setWindowTitle(QStringLiteral("logo"));
    setFixedSize(assets::TwipRect(0, 0, 3855, 3555).size());
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* title = new QLabel(this);
    title->setGeometry(assets::TwipRect(480, 1560, 3015, 1575));
    title->setText(
        QStringLiteral("Morvel    Logická hra      Naprogramoval tým Morvel      "
                       "© 2026"));
    title->setWordWrap(true);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    title->setFont(assets::ClassicFont(12));
    title->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    auto* address = new QLabel(QStringLiteral("www.morvel.example"), this);
    address->setGeometry(assets::TwipRect(600, 2760, 3375, 255));
    address->setFont(assets::ClassicFont(8.25));
    address->setStyleSheet(QStringLiteral("color: rgb(255, 255, 0); background: transparent;"));

    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this,
            [this] { Apply(game_.TimerDue(play::Timer::Splash)); });
}

void logo::showEvent(QShowEvent* event) {
    if (QScreen* where = screen()) move(where->geometry().center() - rect().center());
    QWidget::showEvent(event);
    Apply(game_.Shown(play::Window::Splash));
}

// The splash's part of what the controller says: its time, and its end. The game window
// applies the rest of the effects it gets.
void logo::Apply(const play::Effects& effects) {
    for (const play::Effect& effect : effects) {
        if (const auto* run = std::get_if<play::StartTimer>(&effect)) {
            if (run->timer == play::Timer::Splash)
                timer1_.start(run->milliseconds);
            else
                timer1_.stop();
        } else if (std::holds_alternative<play::ShowGameWindow>(effect)) {
            if (showGame_) showGame_();
            close();
        }
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
