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

using assets::TwipRect;

QRadioButton* OptionButton(QWidget* parent, const QRect& where) {
    auto* button = new QRadioButton(parent);
    button->setGeometry(where);
    button->setFont(assets::ClassicFont(8.25));
    button->setStyleSheet(QStringLiteral(
        "QRadioButton { color: white; background: black; }"
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

QPushButton* SmallButton(QWidget* parent, const QString& caption, const QRect& where) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(where);
    button->setFont(assets::ClassicFont(8.25));
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: white; color: black; border: 1px solid #808080; }"
                       "QPushButton:pressed { background: #c0c0c0; }"));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

nas::nas(const play::Menu& menu, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), menu_(menu) {
    setWindowTitle(QStringLiteral("Form1"));
    setModal(true);
    setFixedSize(TwipRect(0, 0, 4755, 3195).size());
    setStyleSheet(QStringLiteral("nas { background: black; }"));

    frame1_ = new QFrame(this);
    frame1_->setGeometry(TwipRect(0, 0, 4695, 3135));
    frame1_->setStyleSheet(QStringLiteral("QFrame#Frame1 { background: black; color: white; }"));
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setMouseTracking(true);
    frame1_->installEventFilter(this);

    auto* title = new QLabel(QStringLiteral("Morvel V1.3"), frame1_);
    title->setGeometry(TwipRect(1680, 120, 1215, 375));
    title->setFont(assets::ClassicFont(12));
    title->setStyleSheet(QStringLiteral("color: rgb(0, 0, 192);"));
    title->adjustSize();  // the fallback face runs wider than the classic one

    info_ = SmallButton(frame1_, QStringLiteral("?"), TwipRect(4200, 120, 255, 255));
    command2_ = SmallButton(frame1_, QStringLiteral("X"), TwipRect(4440, 120, 255, 255));

    auto* frame2 = new QFrame(frame1_);
    frame2->setGeometry(TwipRect(120, 360, 3015, 855));
    frame2->setStyleSheet(QStringLiteral("background: black;"));
    jhra_[0] = OptionButton(frame2, TwipRect(0, 240, 1815, 255));
    jhra_[1] = OptionButton(frame2, TwipRect(0, 480, 2655, 255));

    auto* banner = new QLabel(frame1_);
    banner->setGeometry(TwipRect(120, 1080, 4485, 1095));
    banner->setPixmap(QPixmap(assets::Banner));
    banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    obtt_[0] = OptionButton(frame1_, TwipRect(120, 2160, 2535, 255));
    obtt_[1] = OptionButton(frame1_, TwipRect(120, 2400, 2535, 255));

    pp3_ = new QLabel(frame1_);
    pp3_->setGeometry(TwipRect(3840, 2640, 660, 390));
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

    // Load.
    jhra_[0]->setText(QStringLiteral("Hra dvou hráčů"));
    jhra_[1]->setText(QStringLiteral("Hra hráč proti počítači"));
    obtt_[0]->setText(QStringLiteral("Obtížnost malá"));
    obtt_[1]->setText(QStringLiteral("Obtížnost velká"));
    Show();
    ShowStartImage(false);

    for (int i = 0; i < 2; ++i) {
        connect(jhra_[i], &QRadioButton::clicked, this, [this, i] {
            menu_.ChooseMode(i == 0 ? rules::TwoPlayers : rules::AgainstComputer);
            Show();
        });
        connect(obtt_[i], &QRadioButton::clicked, this, [this, i] {
            menu_.ChooseLevel(i == 0 ? rules::LowDifficulty : rules::HighDifficulty);
            Show();
        });
    }
    connect(info_, &QPushButton::clicked, this, [this] { Leave(play::MenuAction::Information); });
    connect(command2_, &QPushButton::clicked, this, [this] { Leave(play::MenuAction::Quit); });
}

void nas::Show() {
    jhra_[menu_.mode == rules::TwoPlayers ? 0 : 1]->setChecked(true);
    obtt_[menu_.level == rules::LowDifficulty ? 0 : 1]->setChecked(true);
    for (QRadioButton* level : obtt_) level->setEnabled(menu_.LevelsEnabled());
}

void nas::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the game window.
    if (QScreen* where = screen()) move(where->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

void nas::ShowStartImage(bool hovered) {
    hovered_ = hovered;
    pp3_->setPixmap(QPixmap(hovered ? assets::StartHover : assets::Start));
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
    emit Left(menu_, action);
}
