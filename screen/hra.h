#pragma once

#include <QCursor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "controller.h"
#include "geometry.h"

class QLabel;
class QPushButton;

// A picture control: shows a pixmap that stays until it is replaced, so covering and
// uncovering the window never loses what was drawn.
class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }

  signals:
    void Pressed(QPointF position);
    void Moved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QPixmap picture_;
};

// The game window: the board, the balance bar, the two status labels, the information
// text, the save and load buttons, and the timer that drives a game. It passes what the
// player does to the game's controller and applies what the controller says; which
// controls show and the pointer image follow from the controller's phase.
class hra : public QWidget {
    Q_OBJECT

  public:
    enum class CustomImage { Hand, Hourglass };
    static constexpr int ArrowPointer = 0;
    static constexpr int CustomPointer = 99;

    // `quit` ends the program (the menu's "X").
    explicit hra(play::Controller& game, std::function<void()> quit = {},
                 QWidget* parent = nullptr);

    // Draws the board and the balance bar again from the game.
    void RedrawBoard();
    // Applies what the controller said, in order, then brings the controls and the pointer
    // in line with its phase.
    void Apply(const play::Effects& effects);

    // The controls, for the tests and the tools.
    PictureBox* Plocha() const { return plocha_; }
    PictureBox* kbod() const { return kbod_; }
    QLabel* Label1(int index) const { return label1_[index]; }
    QLabel* Label2() const { return label2_; }
    QPushButton* sav() const { return sav_; }
    QPushButton* nah() const { return nah_; }
    QTimer& Timer() { return timer_; }
    int PointerSetting() const { return pointerSetting_; }
    const play::Controller& Game() const { return game_; }
    // The hourglass exactly while the computer's move is pending, the hand otherwise.
    CustomImage CurrentCustomImage() const {
        return play::ComputerPending(game_.CurrentPhase()) ? CustomImage::Hourglass
                                                           : CustomImage::Hand;
    }
    bool BackgroundTiled() const { return !background_.isNull(); }
    bool MenuOpen() const { return game_.CurrentPhase() == play::Phase::Menu; }
    const screen::CellRectTable& CellRect() const { return cellRect_; }
    // The picture drawn behind the controls.
    const QPixmap& Background() const { return background_; }

    static QString InformationText();

  signals:
    // A move has been placed, its chain reaction resolved, the board drawn and the turn
    // passed on; `player` made it.
    void MovePlayed(int player);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void Apply(const play::Effect& effect);
    void Follow();
    void OpenBox(const play::OpenBox& box);
    void OpenMenu(const play::OpenMenu& menu);
    void SetPointer(int setting);
    void TileBackground();
    QPixmap BlankPicture(const QWidget* box) const;

    play::Controller& game_;
    std::function<void()> quit_;
    screen::CellRectTable cellRect_{};

    PictureBox* plocha_;
    PictureBox* kbod_;
    QLabel* label1_[2];
    QLabel* label2_;
    QPushButton* sav_;
    QPushButton* nah_;
    QTimer timer_;

    QPixmap boardBitmap_;
    QPixmap tile_;
    QCursor hand_;
    QCursor hourglass_;
    QPixmap background_;
    int pointerSetting_ = CustomPointer;  // follows the mouse: over the board or not
    bool screenFollowed_ = false;         // the window's screen changes are followed
};
