#pragma once

#include <QCursor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "ai_high.h"
#include "ai_low.h"
#include "game_state.h"
#include "geometry.h"
#include "random_source.h"
#include "savegame.h"

class QDialog;
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
// text, the save and load buttons, and the timers that drive a game.
class hra : public QWidget {
    Q_OBJECT

  public:
    enum class CustomImage { Hand, Hourglass };
    static constexpr int ArrowPointer = 0;
    static constexpr int CustomPointer = 99;
    static constexpr int ComputerDelayMilliseconds = 1000;

    // `saveSlot` is where hra.dat is kept; `quit` ends the program (the menu's "X").
    hra(rules::GameState& state, rules::RandomSource& random, savegame::Slot saveSlot,
        std::function<void()> quit = {}, QWidget* parent = nullptr);

    // The move handlers and procedures of the game.
    void HandleBoardClick(int xTwips, int yTwips);
    void RunComputerTurn();
    void ReturnToMenu();
    void RedrawBoard();
    void SaveGame();
    void LoadGame();

    // The controls, for the tests and the tools.
    PictureBox* Plocha() const { return plocha_; }
    PictureBox* kbod() const { return kbod_; }
    QLabel* Label1(int index) const { return label1_[index]; }
    QLabel* Label2() const { return label2_; }
    QPushButton* sav() const { return sav_; }
    QPushButton* nah() const { return nah_; }
    QTimer& Timer1() { return timer1_; }
    QTimer& zappc() { return zappc_; }
    int PointerSetting() const { return pointerSetting_; }
    CustomImage CurrentCustomImage() const { return customImage_; }
    bool BackgroundTiled() const { return tiled_; }
    bool MenuOpen() const { return menuOpen_; }
    const screen::CellRectTable& CellRect() const { return cellRect_; }
    // The picture drawn behind the controls.
    const QPixmap& Background() const { return background_; }

    static QString InformationText();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void StartUp();
    void NewGameSetUp();
    void ShowMenu();
    void StartGameFromMenu();
    bool CheckGameOver();
    void EndOfMove();
    void WriteLabels();
    void SetPointer(int setting);
    void SetCustomImage(CustomImage image);
    void TileBackground();
    QPixmap BlankPicture(const QWidget* box) const;
    void ShowGameControls(bool shown);
    void Complain(const QString& text);
    // Every box and the menu open through here: while one is open the computer's move
    // waits (its timer still ticks inside the box's own event loop).
    void RunModal(QDialog& dialog);
    void ComputerTick();
    void DropComputerTurn();

    rules::GameState& state_;
    rules::RandomSource& random_;
    savegame::Slot saveSlot_;
    std::function<void()> quit_;
    ai_low::Module low_;
    ai_high::Module high_;
    screen::CellRectTable cellRect_{};

    PictureBox* plocha_;
    PictureBox* kbod_;
    QLabel* label1_[2];
    QLabel* label2_;
    QPushButton* sav_;
    QPushButton* nah_;
    QTimer timer1_;
    QTimer timer2_;
    QTimer zappc_;

    QPixmap boardBitmap_;
    QPixmap tile_;
    QCursor hand_;
    QCursor hourglass_;
    QPixmap background_;
    int pointerSetting_ = CustomPointer;
    CustomImage customImage_ = CustomImage::Hand;
    bool tiled_ = false;
    bool menuOpen_ = false;
    int openModals_ = 0;
    bool computerHeld_ = false;  // its tick came while a box was open
    bool quitting_ = false;
    bool shownOnce_ = false;
};
