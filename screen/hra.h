#pragma once

#include <QCursor>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "game_state.h"
#include "geometry.h"
#include "players.h"
#include "random_source.h"
#include "savegame.h"
#include "window_state.h"

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
// text, the save and load buttons, and the timers that drive a game. What it is doing is
// one screen::WindowState; which controls show and the pointer image follow from it.
class hra : public QWidget {
    Q_OBJECT

  public:
    enum class CustomImage { Hand, Hourglass };
    static constexpr int ArrowPointer = 0;
    static constexpr int CustomPointer = 99;
    static constexpr int ComputerDelayMilliseconds = 1000;

    // `saveSlot` is where hra.dat is kept; `quit` ends the program (the menu's "X");
    // `computerDelayMs` is how long the computer waits after a person's move (tests
    // shorten it, as they script the random numbers).
    hra(rules::GameState& state, rules::RandomSource& random, savegame::Slot saveSlot,
        std::function<void()> quit = {}, int computerDelayMs = ComputerDelayMilliseconds,
        QWidget* parent = nullptr);

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
    const screen::WindowState& State() const { return window_; }
    // The hourglass exactly while the computer's move is pending, the hand otherwise.
    CustomImage CurrentCustomImage() const {
        return screen::ComputerPending(window_.phase) ? CustomImage::Hourglass : CustomImage::Hand;
    }
    bool BackgroundTiled() const { return !background_.isNull(); }
    bool MenuOpen() const { return window_.phase == screen::Phase::Menu; }
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
    void StartUp();
    void NewGameSetUp();
    void StartGameFromMenu();
    // The end of the game when `loser` is a player: the end message, then the menu.
    // Returns whether it ended.
    bool EndGameIfLost(int loser);
    void EndOfMove(int mover);
    void WriteLabels();
    void SetPointer(int setting);
    void TileBackground();
    QPixmap BlankPicture(const QWidget* box) const;
    // A message box over the game: a failure, or (Information) where a save went.
    void Complain(const QString& text, QMessageBox::Icon icon = QMessageBox::Warning);
    // The one place the window's state changes: the controls, the pointer and the timers
    // are brought in line with it. The step into a phase starts the timer the phase runs
    // (screen::RunsOnEntering) and stops every other.
    void Become(screen::WindowState next);
    void Enter(screen::Phase phase) { Become({phase, window_.box}); }
    // Every message box opens through here: while one is open the computer's move waits
    // (its timer still ticks inside the box's own event loop).
    void RunBox(QDialog& box);
    void ComputerTick();

    rules::GameState& state_;
    rules::RandomSource& random_;
    savegame::Slot saveSlot_;
    std::function<void()> quit_;
    players::Computers computers_;
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
    const int computerDelayMs_;
    screen::WindowState window_;
    int pointerSetting_ = CustomPointer;  // follows the mouse: over the board or not
};
