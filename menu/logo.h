#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>

// The splash: four seconds of the title picture, then the game window.
class logo : public QWidget {
    Q_OBJECT

  public:
    // `showGame` is called when the four seconds are up, just before the splash closes.
    explicit logo(std::function<void()> showGame, QWidget* parent = nullptr);

    static constexpr int DisplayMilliseconds = 4000;
    QTimer& Timer1() { return timer1_; }

  signals:
    // The splash is on the screen: its first painting has been shown.
    void FirstPainted();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QPixmap picture_;
    QTimer timer1_;
    std::function<void()> showGame_;
    bool painted_ = false;
};
