#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

#include "controller.h"

// The splash: the title picture for as long as the game's controller says (four seconds),
// then the game window.
class logo : public QWidget {
    Q_OBJECT

  public:
    // `showGame` shows the game window, just before the splash closes.
    logo(play::Controller& game, std::function<void()> showGame, QWidget* parent = nullptr);

    QTimer& Timer1() { return timer1_; }

  signals:
    // The splash is on the screen: its first painting has been shown.
    void FirstPainted();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void Apply(const play::Effects& effects);

    play::Controller& game_;
    QPixmap picture_;
    QTimer timer1_;
    std::function<void()> showGame_;
    bool painted_ = false;
};
