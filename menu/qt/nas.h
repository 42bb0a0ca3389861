#pragma once

#include <QDialog>
#include <optional>

#include "controller.h"

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

// The menu: the kind of game, the level, start, information and the end of the program.
// It shows the menu as the game's controller has it, and tells each choice and how it was
// left; the controller keeps the menu's state. A fresh menu is made for every showing.
class nas : public QDialog {
    Q_OBJECT

  public:
    explicit nas(QWidget* parent = nullptr);

    // The buttons as the menu stands.
    void Show(const play::Menu& menu);
    // How it was left, once it has been.
    std::optional<play::MenuAction> choice() const { return choice_; }

    QRadioButton* jhra(int index) const { return jhra_[index]; }
    QRadioButton* obtt(int index) const { return obtt_[index]; }
    QLabel* pp3() const { return pp3_; }
    QPushButton* info() const { return info_; }
    QPushButton* Command2() const { return command2_; }
    QFrame* Frame1() const { return frame1_; }
    bool StartButtonHovered() const { return hovered_; }

  signals:
    void Chosen(play::MenuOption option);
    void Left(play::MenuAction action);

  public slots:
    // Esc and closing the window do not leave the menu: only its three buttons do.
    void reject() override {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void ShowStartImage(bool hovered);
    void Leave(play::MenuAction action);

    std::optional<play::MenuAction> choice_;
    QFrame* frame1_;
    QRadioButton* jhra_[2];
    QRadioButton* obtt_[2];
    QLabel* pp3_;
    QPushButton* info_;
    QPushButton* command2_;
    bool hovered_ = false;
};
