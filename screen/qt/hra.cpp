#include "hra.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <utility>
#include <variant>

#include "assets.h"
#include "content.h"
#include "nas.h"
#include "painter.h"
#include "renderer.h"

namespace {

constexpr int Twips = screen::TwipsPerPixel;
using screen::Control;

QLabel* StatusLabel(QWidget* parent, Control control) {
    auto* label = new QLabel(parent);
    assets::Build(label, control);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
}

QPushButton* Button(QWidget* parent, Control control) {
    auto* button = new QPushButton(parent);
    assets::Build(button, control);
    button->setFocusPolicy(Qt::NoFocus);  // Esc must reach the window
    return button;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void PictureBox::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emit Pressed(event->position());
}

void PictureBox::mouseMoveEvent(QMouseEvent*) {
    emit Moved();
}

hra::hra(play::Controller& game, std::function<void()> quit, QWidget* parent)
    : QWidget(parent), game_(game), quit_(std::move(quit)) {
    assets::Build(this, Control::Hra);
    // Every size of the icon is the game window's, and its menu's and boxes' through it.
    setWindowIcon(assets::WindowIcon());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    plocha_ = new PictureBox(this);
    assets::Build(plocha_, Control::Plocha);
    kbod_ = new PictureBox(this);
    assets::Build(kbod_, Control::Kbod);
    label1_[0] = StatusLabel(this, Control::LabelRound);
    label1_[1] = StatusLabel(this, Control::LabelPlayer);
    label2_ = StatusLabel(this, Control::Information);
    sav_ = Button(this, Control::Sav);
    nah_ = Button(this, Control::Nah);

    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Apply(game_.TimerDue(game_.Running())); });
    connect(plocha_, &PictureBox::Pressed, this, [this](QPointF at) {
        Apply(game_.CellPressed(screen::CellAtPoint(screen::Cells(),
                                                    static_cast<int>(std::floor(at.x() * Twips)),
                                                    static_cast<int>(std::floor(at.y() * Twips)))));
    });
    connect(plocha_, &PictureBox::Moved, this,
            [this] { Apply(game_.PointerMoved(play::Area::Board)); });
    connect(sav_, &QPushButton::clicked, this, [this] { Apply(game_.SavePressed()); });
    connect(nah_, &QPushButton::clicked, this, [this] { Apply(game_.LoadPressed()); });

    // The board moves a quarter of the spare room right and down from its design place,
    // measured on the screen the maximised window will fill.
    const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const screen::PixelPoint place = screen::BoardPlace(area.width(), area.height());
    plocha_->move(place.x, place.y);
    kbod_->setGeometry(plocha_->x(), plocha_->y() - screen::BarHeightTwips / Twips,
                       plocha_->width(), screen::BarHeightTwips / Twips);
    Paint(game_.Screen());
}

void hra::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Moving to a screen of another pixel density redraws the pictures at its resolution.
    if (QWindow* window = windowHandle(); window && !screenFollowed_) {
        screenFollowed_ = true;
        connect(window, &QWindow::screenChanged, this, [this] {
            if (game_.Screen().backgroundTiled) TileBackground();
            RedrawBoard();
        });
    }
    Apply(game_.Shown(play::Window::Game));
}

void hra::TileBackground() {
    const qreal ratio = devicePixelRatioF();
    QPixmap background(size() * ratio);
    background.setDevicePixelRatio(ratio);
    {
        QPainter painter(&background);
        screen::QtPainter twips(painter);
        const QPixmap tile = assets::Picture(screen::picture::Tile);
        screen::DrawBackground(twips, width() * Twips, height() * Twips,
                               static_cast<int>(tile.width() / tile.devicePixelRatio()),
                               static_cast<int>(tile.height() / tile.devicePixelRatio()));
    }
    background_ = background;
    update();
}

void hra::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background_.isNull())
        painter.drawPixmap(0, 0, background_);
    else
        painter.fillRect(rect(), Qt::black);
}

void hra::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The layout stays as computed at load; only the background grows with the window.
    if (game_.Screen().backgroundTiled) TileBackground();
}

void hra::Apply(const play::Effects& effects) {
    for (const play::Effect& effect : effects) Apply(effect);
    Paint(game_.Screen());
}

void hra::Apply(const play::Effect& effect) {
    struct {
        hra* window;
        void operator()(const play::StartTimer& run) const {
            // The splash's time is the splash's.
            if (run.timer == play::Timer::None)
                window->timer_.stop();
            else if (run.timer != play::Timer::Splash)
                window->timer_.start(run.milliseconds);
        }
        void operator()(const play::Redraw&) const { window->RedrawBoard(); }
        void operator()(const play::TileBackground&) const { window->TileBackground(); }
        void operator()(const play::MovePlayed& move) const {
            emit window->MovePlayed(move.player);
        }
        void operator()(const play::Warn& warning) const {
            std::fprintf(stderr, "morvel: %s\n", warning.text.c_str());
        }
    } apply{this};
    std::visit(apply, effect);
}

void hra::Paint(const play::View& view) {
    for (QWidget* control : {static_cast<QWidget*>(label1_[1]), static_cast<QWidget*>(label1_[0]),
                             static_cast<QWidget*>(plocha_), static_cast<QWidget*>(kbod_),
                             static_cast<QWidget*>(sav_), static_cast<QWidget*>(nah_)}) {
        control->setVisible(view.showsGame);
    }
    label2_->setVisible(view.showsInformation);
    const QString round = QString::fromStdString(view.labels.round);
    const QString player = QString::fromStdString(view.labels.player);
    if (label1_[0]->text() != round || label1_[1]->text() != player) {
        label1_[0]->setText(round);
        label1_[0]->adjustSize();
        label1_[1]->setText(player);
        label1_[1]->adjustSize();
    }
    if (!player.isEmpty()) {
        QPalette palette = label1_[1]->palette();
        palette.setColor(QPalette::WindowText, assets::Colour(view.labels.colour));
        label1_[1]->setPalette(palette);
    }
    setCursor(assets::Pointer(view.pointer));
    ShowBox(view);
    ShowMenu(view);
    if (view.window == play::Showing::Ended && quit_) quit_();
}

void hra::Dismiss(QDialog* gone) {
    if (!gone) return;
    gone->disconnect(this);
    gone->hide();
    gone->deleteLater();
}

// The boxes and the menu are modal but do not block: each says when it has been closed,
// and the timers tick on meanwhile in the one event loop.
void hra::ShowBox(const play::View& view) {
    if (view.dialog != play::Dialog::Box) return Dismiss(std::exchange(box_, nullptr));
    const QString text = QString::fromStdString(view.boxText);
    if (box_) {
        if (box_->text() != text) box_->setText(text);
        return;
    }
    const bool failure = view.boxKind == play::BoxKind::Failure;
    box_ = new QMessageBox(failure ? QMessageBox::Warning : QMessageBox::Information,
                           QString::fromUtf8(screen::GameTitle), text, QMessageBox::Ok, this);
    box_->setAttribute(Qt::WA_DeleteOnClose);
    box_->setWindowModality(Qt::ApplicationModal);
    connect(box_, &QDialog::finished, this, [this] {
        box_ = nullptr;
        Apply(game_.BoxClosed());
    });
    box_->show();
}

void hra::ShowMenu(const play::View& view) {
    if (view.dialog != play::Dialog::Menu) return Dismiss(std::exchange(menu_, nullptr));
    if (!menu_) {
        menu_ = new nas(this);
        menu_->setAttribute(Qt::WA_DeleteOnClose);
        connect(menu_, &nas::Chosen, this,
                [this](play::MenuOption option) { Apply(game_.Choose(option)); });
        connect(menu_, &nas::Left, this, [this](play::MenuAction action) {
            menu_ = nullptr;
            Apply(game_.MenuClosed(action));
        });
        menu_->Show(view.menu);
        menu_->show();
        return;
    }
    menu_->Show(view.menu);
}

QPixmap hra::BlankPicture(const QWidget* box) const {
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(box->size() * ratio);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

void hra::RedrawBoard() {
    QPixmap board = BlankPicture(plocha_);
    {
        QPainter painter(&board);
        screen::QtPainter twips(painter);
        screen::DrawBoardPicture(twips, game_.Game(), twips.DevicePixels());
    }
    plocha_->SetPicture(board);
    QPixmap bar = BlankPicture(kbod_);
    {
        QPainter painter(&bar);
        screen::QtPainter twips(painter);
        screen::DrawBalanceBar(twips, game_.Game(), kbod_->width() * Twips, twips.DevicePixels());
    }
    kbod_->SetPicture(bar);
}

void hra::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    Apply(game_.Escape());
}

void hra::mouseMoveEvent(QMouseEvent* event) {
    Apply(game_.PointerMoved(play::Area::Background));
    QWidget::mouseMoveEvent(event);
}
