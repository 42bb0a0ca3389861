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
#include "nas.h"
#include "renderer.h"

namespace {

constexpr int Twips = screen::TwipsPerPixel;

using assets::TwipRect;

QLabel* StatusLabel(QWidget* parent, const QRect& where, double points, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setGeometry(where);
    label->setFont(assets::ClassicFont(points));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
}

void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Half a picture's size in hundredths of a millimetre at 96 dots per inch, used as twips:
// the step of the background tiling, so neighbouring tiles overlap a little.
double TileStep(int pixels) {
    return std::round(pixels * 2540.0 / 96.0) / 2.0;
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
    : QWidget(parent),
      game_(game),
      quit_(std::move(quit)),
      boardBitmap_(assets::Board),
      tile_(assets::Tile),
      hand_(QPixmap(assets::Hand), 7, 7),
      hourglass_(QPixmap(assets::Hourglass), 0, 0) {
    setWindowTitle(QStringLiteral("Morvel   tým Morvel, 2026"));
    setWindowIcon(assets::WindowIcon());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(TwipRect(0, 0, 8730, 5925).size());

    plocha_ = new PictureBox(this);
    plocha_->setGeometry(TwipRect(3360, 1800, screen::BoardWidthTwips, screen::BoardHeightTwips));
    kbod_ = new PictureBox(this);
    kbod_->setGeometry(TwipRect(3360, 1680, 4575, 135));
    label1_[0] = StatusLabel(this, TwipRect(0, 240, 480, 240), 9.75, QColor(0, 192, 0));
    label1_[1] = StatusLabel(this, TwipRect(0, 0, 465, 240), 9.75, QColor(0, 192, 0));
    label2_ = StatusLabel(this, TwipRect(2520, 1800, 840, 195), 8.25, QColor(0, 255, 0));

    sav_ = new QPushButton(QStringLiteral("#S#"), this);
    sav_->setGeometry(TwipRect(720, 1080, 735, 255));
    sav_->setToolTip(QStringLiteral("Uložit hru: rozestavění kamenů se zapíše do souboru hra.dat"));
    nah_ = new QPushButton(QStringLiteral("#L#"), this);
    nah_->setGeometry(TwipRect(720, 840, 735, 255));
    nah_->setToolTip(QStringLiteral("Nahrát hru: rozestavění kamenů se načte ze souboru hra.dat"));
    for (QPushButton* button : {sav_, nah_}) {
        button->setFont(assets::ClassicFont(8.25));
        button->setFocusPolicy(Qt::NoFocus);  // Esc must reach the window
    }

    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Apply(game_.TimerDue(game_.Running())); });
    connect(plocha_, &PictureBox::Pressed, this, [this](QPointF at) {
        Apply(game_.CellPressed(screen::CellAtPoint(cellRect_,
                                                    static_cast<int>(std::floor(at.x() * Twips)),
                                                    static_cast<int>(std::floor(at.y() * Twips)))));
    });
    connect(plocha_, &PictureBox::Moved, this, [this] { SetPointer(CustomPointer); });
    connect(sav_, &QPushButton::clicked, this, [this] { Apply(game_.SavePressed()); });
    connect(nah_, &QPushButton::clicked, this, [this] { Apply(game_.LoadPressed()); });

    // Set-up on load.
    screen::InitCellGeometry(cellRect_);
    label2_->setText(InformationText());
    label2_->adjustSize();
    // The board moves a quarter of the spare room right and down from its design place,
    // measured on the screen the maximised window will fill.
    const QRect area = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const screen::PixelPoint place = screen::BoardPlace(area.width(), area.height());
    plocha_->move(place.x, place.y);
    kbod_->setGeometry(plocha_->x(), plocha_->y() - screen::BarHeightTwips / Twips,
                       plocha_->width(), screen::BarHeightTwips / Twips);
    Follow();
}

QString hra::InformationText() {
    return QStringList{
        QStringLiteral("INFORMACE:"),
        QStringLiteral("Vyrobil: tým Morvel"),
        QStringLiteral("Autor: tým vývojářů hry Morvel, 2026"),
        QStringLiteral("Morvel je logická hra pro dva hráče na desce o 7 × 8 polích."),
        QStringLiteral("Úkolem v této hře je abyste soupeřovy zabraly všechny body na ploše"),
        QStringLiteral("Přeji hodně zábavy"),
    }
        .join(QLatin1Char('\n'));
}

void hra::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Moving to a screen of another pixel density redraws the pictures at its resolution.
    if (QWindow* window = windowHandle(); window && !screenFollowed_) {
        screenFollowed_ = true;
        connect(window, &QWindow::screenChanged, this, [this] {
            if (BackgroundTiled()) TileBackground();
            RedrawBoard();
        });
    }
    Apply(game_.Shown(play::Window::Game));
}

void hra::TileBackground() {
    const qreal ratio = devicePixelRatioF();
    QPixmap background(size() * ratio);
    background.setDevicePixelRatio(ratio);
    background.fill(Qt::black);
    QPainter painter(&background);
    const double stepX = TileStep(tile_.width() / tile_.devicePixelRatio());
    const double stepY = TileStep(tile_.height() / tile_.devicePixelRatio());
    const double heightTwips = height() * Twips;
    const double widthTwips = width() * Twips;
    for (double y = 1; y <= heightTwips; y += stepY) {
        for (double x = 1; x <= widthTwips; x += stepX)
            painter.drawPixmap(QPointF(x / Twips, y / Twips), tile_);
    }
    painter.end();
    background_ = background;
    update();
}

void hra::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (BackgroundTiled())
        painter.drawPixmap(0, 0, background_);
    else
        painter.fillRect(rect(), Qt::black);
}

void hra::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The layout stays as computed at load; only the background grows with the window.
    if (BackgroundTiled()) TileBackground();
}

void hra::Apply(const play::Effects& effects) {
    for (const play::Effect& effect : effects) Apply(effect);
    Follow();
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
        void operator()(const play::Labels& labels) const {
            window->label1_[0]->setText(QString::fromStdString(labels.round));
            window->label1_[0]->adjustSize();
            window->label1_[1]->setText(QString::fromStdString(labels.player));
            window->label1_[1]->adjustSize();
            SetTextColour(window->label1_[1], screen::ToQColor(labels.colour));
        }
        void operator()(const play::BoardPointer&) const { window->SetPointer(CustomPointer); }
        void operator()(const play::TileBackground&) const { window->TileBackground(); }
        void operator()(const play::OpenBox& box) const { window->OpenBox(box); }
        void operator()(const play::OpenMenu& menu) const { window->OpenMenu(menu); }
        void operator()(const play::ShowGameWindow&) const {}  // the splash's
        void operator()(const play::Quit&) const {
            if (window->quit_) window->quit_();
        }
        void operator()(const play::MovePlayed& move) const {
            emit window->MovePlayed(move.player);
        }
        void operator()(const play::Warn& warning) const {
            std::fprintf(stderr, "morvel: %s\n", warning.text.c_str());
        }
    } apply{this};
    std::visit(apply, effect);
}

// What shows and the pointer, from the phase.
void hra::Follow() {
    const play::Phase phase = game_.CurrentPhase();
    const bool game = play::ShowsGame(phase);
    for (QWidget* control : {static_cast<QWidget*>(label1_[1]), static_cast<QWidget*>(label1_[0]),
                             static_cast<QWidget*>(plocha_), static_cast<QWidget*>(kbod_),
                             static_cast<QWidget*>(sav_), static_cast<QWidget*>(nah_)}) {
        control->setVisible(game);
    }
    label2_->setVisible(play::ShowsInformation(phase));
    SetPointer(pointerSetting_);
}

// The boxes and the menu are modal but do not block: each says when it has been closed,
// and the timers tick on meanwhile in the one event loop.
void hra::OpenBox(const play::OpenBox& open) {
    const bool failure = open.kind == play::BoxKind::Failure;
    auto* box = new QMessageBox(failure ? QMessageBox::Warning : QMessageBox::Information,
                                QString::fromUtf8(rules::GameTitle),
                                QString::fromStdString(open.text), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QDialog::finished, this, [this] { Apply(game_.BoxClosed()); });
    box->show();
}

void hra::OpenMenu(const play::OpenMenu& open) {
    auto* menu = new nas(open.menu, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu, &nas::Left, this, [this](const play::Menu& chosen, play::MenuAction action) {
        Apply(game_.MenuClosed(chosen, action));
    });
    menu->show();
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
        screen::DrawBoardPicture(painter, boardBitmap_, game_.Game(), cellRect_);
    }
    plocha_->SetPicture(board);
    QPixmap bar = BlankPicture(kbod_);
    {
        QPainter painter(&bar);
        screen::DrawBalanceBar(painter, game_.Game(), kbod_->width() * Twips,
                               kbod_->height() * Twips);
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
    SetPointer(ArrowPointer);
    QWidget::mouseMoveEvent(event);
}

void hra::SetPointer(int setting) {
    pointerSetting_ = setting;
    if (setting == CustomPointer)
        setCursor(CurrentCustomImage() == CustomImage::Hand ? hand_ : hourglass_);
    else
        setCursor(Qt::ArrowCursor);
}
