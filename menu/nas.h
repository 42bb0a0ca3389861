#pragma once

#include <QDialog>

#include "game_state.h"

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

// The menu: the kind of game, the level, start, information and the end of the program.
// A fresh menu is made for every showing, so its choices start from their defaults.
class nas : public QDialog {
    Q_OBJECT

  public:
    enum class Choice { None, Start, Info, Quit };

    // Loading the menu sets two players and the low level in `state`; the buttons change
    // them.
    explicit nas(rules::GameState& state, QWidget* parent = nullptr);

    Choice choice() const { return choice_; }

    QRadioButton* jhra(int index) const { return jhra_[index]; }
    QRadioButton* obtt(int index) const { return obtt_[index]; }
    QLabel* pp3() const { return pp3_; }
    QPushButton* info() const { return info_; }
    QPushButton* Command2() const { return command2_; }
    QFrame* Frame1() const { return frame1_; }
    bool StartButtonHovered() const { return hovered_; }

  public slots:
    // Esc and closing the window do not leave the menu: only its three buttons do.
    void reject() override {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void ShowStartImage(bool hovered);
    void Leave(Choice choice);

    rules::GameState& state_;
    Choice choice_ = Choice::None;
    QFrame* frame1_;
    QRadioButton* jhra_[2];
    QRadioButton* obtt_[2];
    QLabel* pp3_;
    QPushButton* info_;
    QPushButton* command2_;
    bool hovered_ = false;
};
