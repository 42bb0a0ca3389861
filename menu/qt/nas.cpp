#include "nas.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "assets.h"

namespace {

using screen::Control;

QString Colour(const screen::ControlContent& entry) {
    return assets::Colour(entry.colour).name();
}

QRadioButton* OptionButton(QWidget* parent, Control control) {
    auto* button = new QRadioButton(parent);
    assets::Build(button, control);
    button->setStyleSheet(
        QStringLiteral("QRadioButton { color: %1; background: black; }")
            .arg(Colour(screen::Content(control))) +
        QStringLiteral(
            "QRadioButton:disabled { color: #808080; }"
            "QRadioButton::indicator { width: 9px; height: 9px; border-radius: 5px;"
            "  border: 1px solid #a0a0a0; background: white; }"
            "QRadioButton::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5,"
            "  radius:0.5, fx:0.5, fy:0.5, stop:0 black, stop:0.45 black, stop:0.55 white,"
            "  stop:1 white); }"
            "QRadioButton::indicator:disabled { background: #c0c0c0; border-color: #606060; }"
            "QRadioButton::indicator:checked:disabled { background: qradialgradient(cx:0.5,"
            "  cy:0.5, radius:0.5, fx:0.5, fy:0.5, stop:0 #505050, stop:0.45 #505050,"
            "  stop:0.55 #c0c0c0, stop:1 #c0c0c0); }"));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* SmallButton(QWidget* parent, Control control) {
    auto* button = new QPushButton(parent);
    assets::Build(button, control);
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: white; color: black; border: 1px solid #808080; }"
                       "QPushButton:pressed { background: #c0c0c0; }"));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

nas::nas(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    assets::Build(this, Control::Nas);
    setModal(true);
    setFixedSize(size());
    setStyleSheet(QStringLiteral("nas { background: black; }"));

    // The controls stand in the menu's own corner, as the places say; Frame1 covers it.
    frame1_ = new QFrame(this);
    assets::Build(frame1_, Control::Frame1);
    frame1_->setStyleSheet(QStringLiteral("QFrame#Frame1 { background: black; color: white; }"));
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setMouseTracking(true);
    frame1_->installEventFilter(this);

    auto* title = new QLabel(frame1_);
    assets::Build(title, Control::Title);
    title->setStyleSheet(QStringLiteral("color: %1;").arg(Colour(screen::Content(Control::Title))));
    title->adjustSize();  // the fallback face runs wider than the classic one

    info_ = SmallButton(frame1_, Control::Info);
    command2_ = SmallButton(frame1_, Control::Command2);

    auto* frame2 = new QFrame(frame1_);
    assets::Build(frame2, Control::Frame2);
    frame2->setStyleSheet(QStringLiteral("background: black;"));
    jhra_[0] = OptionButton(frame1_, Control::Jhra0);
    jhra_[1] = OptionButton(frame1_, Control::Jhra1);

    auto* banner = new QLabel(frame1_);
    assets::Build(banner, Control::Banner);
    banner->setPixmap(assets::Picture(screen::Content(Control::Banner).picture));
    banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    obtt_[0] = OptionButton(frame1_, Control::Obtt0);
    obtt_[1] = OptionButton(frame1_, Control::Obtt1);

    pp3_ = new QLabel(frame1_);
    assets::Build(pp3_, Control::Pp3);
    pp3_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pp3_->setMouseTracking(true);
    pp3_->installEventFilter(this);
    pp3_->setCursor(Qt::PointingHandCursor);

    // Each array excludes within itself; the two arrays are independent.
    auto* modes = new QButtonGroup(this);
    auto* levels = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        modes->addButton(jhra_[i], i);
        levels->addButton(obtt_[i], i);
    }
    ShowStartImage(false);

    for (int i = 0; i < 2; ++i) {
        connect(jhra_[i], &QRadioButton::clicked, this, [this, i] {
            emit Chosen(i == 0 ? play::MenuOption::TwoPlayers : play::MenuOption::AgainstComputer);
        });
        connect(obtt_[i], &QRadioButton::clicked, this, [this, i] {
            emit Chosen(i == 0 ? play::MenuOption::LowLevel : play::MenuOption::HighLevel);
        });
    }
    connect(info_, &QPushButton::clicked, this, [this] { Leave(play::MenuAction::Information); });
    connect(command2_, &QPushButton::clicked, this, [this] { Leave(play::MenuAction::Quit); });
}

void nas::Show(const play::Menu& menu) {
    jhra_[menu.mode == rules::TwoPlayers ? 0 : 1]->setChecked(true);
    obtt_[menu.level == rules::LowDifficulty ? 0 : 1]->setChecked(true);
    for (QRadioButton* level : obtt_) level->setEnabled(menu.LevelsEnabled());
}

void nas::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the game window.
    if (QScreen* where = screen()) move(where->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

void nas::ShowStartImage(bool hovered) {
    hovered_ = hovered;
    const screen::ControlContent& start = screen::Content(Control::Pp3);
    pp3_->setPixmap(assets::Picture(hovered ? start.hoverPicture : start.picture));
}

bool nas::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pp3_) {
        if (event->type() == QEvent::MouseMove) {
            if (!hovered_) ShowStartImage(true);
            return true;  // not passed on to the frame beneath, which would undo it
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && pp3_->rect().contains(mouse->pos())) {
                ShowStartImage(false);
                Leave(play::MenuAction::Start);
                return true;
            }
        }
    } else if (watched == frame1_ && event->type() == QEvent::MouseMove && hovered_) {
        ShowStartImage(false);
    }
    return QDialog::eventFilter(watched, event);
}

void nas::Leave(play::MenuAction action) {
    if (choice_) return;  // left once
    choice_ = action;
    done(action == play::MenuAction::Start ? QDialog::Accepted : QDialog::Rejected);
    emit Left(action);
}
