#pragma once

#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "controller.h"
#include "nas.h"

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
// player does to the game's controller, applies what happens once (a timer, a drawing),
// and then paints what the controller says the screens show: the controls, the labels, the
// pointer, the open menu or box.
class hra : public QWidget {
    Q_OBJECT

  public:
    // `quit` ends the program (the menu's "X").
    explicit hra(play::Controller& game, std::function<void()> quit = {},
                 QWidget* parent = nullptr);

    // Draws the board and the balance bar again from the game.
    void RedrawBoard();
    // Applies what the controller said, in order, then paints what it shows now.
    void Apply(const play::Effects& effects);

    // The controls, for the tests and the tools.
    PictureBox* Plocha() const { return plocha_; }
    PictureBox* kbod() const { return kbod_; }
    QLabel* Label1(int index) const { return label1_[index]; }
    QLabel* Label2() const { return label2_; }
    QPushButton* sav() const { return sav_; }
    QPushButton* nah() const { return nah_; }
    QTimer& Timer() { return timer_; }
    const play::Controller& Game() const { return game_; }
    // The menu or the box on the screen, if one is.
    nas* OpenMenu() const { return menu_; }
    QMessageBox* OpenBox() const { return box_; }
    // The picture drawn behind the controls.
    const QPixmap& Background() const { return background_; }

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
    void Paint(const play::View& view);
    void ShowBox(const play::View& view);
    void ShowMenu(const play::View& view);
    // A dialog the controller no longer shows goes without a word.
    void Dismiss(QDialog* gone);
    void TileBackground();
    QPixmap BlankPicture(const QWidget* box) const;

    play::Controller& game_;
    std::function<void()> quit_;

    PictureBox* plocha_;
    PictureBox* kbod_;
    QLabel* label1_[2];
    QLabel* label2_;
    QPushButton* sav_;
    QPushButton* nah_;
    QTimer timer_;
    QPointer<QMessageBox> box_;
    QPointer<nas> menu_;

    QPixmap background_;
    bool screenFollowed_ = false;  // the window's screen changes are followed
};
