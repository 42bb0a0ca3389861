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

#include "assets.h"
#include "nas.h"
#include "renderer.h"
#include "savegame.h"

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

hra::hra(rules::GameState& state, rules::RandomSource& random, savegame::Slot saveSlot,
         std::function<void()> quit, int computerDelayMs, QWidget* parent)
    : QWidget(parent),
      state_(state),
      random_(random),
      saveSlot_(std::move(saveSlot)),
      quit_(std::move(quit)),
      boardBitmap_(assets::Board),
      tile_(assets::Tile),
      hand_(QPixmap(assets::Hand), 7, 7),
      hourglass_(QPixmap(assets::Hourglass), 0, 0),
      computerDelayMs_(computerDelayMs) {
    setWindowTitle(QStringLiteral("Morvel   tým Morvel, 2026"));
    setWindowIcon(assets::WindowIcon());
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(TwipRect(0, 0, 8730, 5925).size());

    plocha_ = new PictureBox(this);
    plocha_->setGeometry(TwipRect(3360, 1800, screen::BoardWidthTwips, screen::BoardHeightTwips));
    plocha_->hide();
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
        button->hide();
    }

    for (QTimer* timer : {&timer1_, &timer2_, &zappc_}) timer->setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, &hra::StartUp);
    connect(&timer2_, &QTimer::timeout, this, &hra::NewGameSetUp);
    connect(&zappc_, &QTimer::timeout, this, &hra::ComputerTick);
    connect(plocha_, &PictureBox::Pressed, this, [this](QPointF at) {
        HandleBoardClick(static_cast<int>(std::floor(at.x() * Twips)),
                         static_cast<int>(std::floor(at.y() * Twips)));
    });
    connect(plocha_, &PictureBox::Moved, this, [this] { SetPointer(CustomPointer); });
    connect(sav_, &QPushButton::clicked, this, &hra::SaveGame);
    connect(nah_, &QPushButton::clicked, this, &hra::LoadGame);

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
    Enter(screen::Phase::Unshown);
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
    // The start-up step runs once per run, just after the window first shows.
    if (window_.phase != screen::Phase::Unshown) return;
    // Moving to a screen of another pixel density redraws the pictures at its resolution.
    if (QWindow* window = windowHandle()) {
        connect(window, &QWindow::screenChanged, this, [this] {
            if (BackgroundTiled()) TileBackground();
            RedrawBoard();
        });
    }
    Enter(screen::Phase::Starting);
}

void hra::StartUp() {
    SetPointer(CustomPointer);
    TileBackground();
    ReturnToMenu();
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

void hra::Become(screen::WindowState next) {
    const screen::WindowState previous = std::exchange(window_, next);
    const screen::Phase phase = next.phase;
    if (phase != previous.phase) {
        const screen::TimerRun run = screen::RunsOnEntering(previous.phase, phase);
        const std::pair<QTimer*, screen::Timer> timers[] = {{&timer1_, screen::Timer::StartUp},
                                                            {&timer2_, screen::Timer::SetUp},
                                                            {&zappc_, screen::Timer::Computer}};
        for (const auto& [timer, kind] : timers) {
            if (kind != run.timer)
                timer->stop();
            else
                timer->start(run.delay == screen::Delay::Computer ? computerDelayMs_ : 1);
        }
    }
    const bool game = screen::ShowsGame(phase);
    for (QWidget* control : {static_cast<QWidget*>(label1_[1]), static_cast<QWidget*>(label1_[0]),
                             static_cast<QWidget*>(plocha_), static_cast<QWidget*>(kbod_),
                             static_cast<QWidget*>(sav_), static_cast<QWidget*>(nah_)}) {
        control->setVisible(game);
    }
    label2_->setVisible(screen::ShowsInformation(phase));
    SetPointer(pointerSetting_);
}

void hra::ReturnToMenu() {
    // Whatever was pending belongs to what is being left: a computer move of the game, or
    // the set-up of a game not shown yet.
    Enter(screen::Phase::Menu);
    nas::Choice choice;
    {
        nas menu(state_, this);
        menu.exec();
        choice = menu.choice();
    }
    switch (choice) {
        case nas::Choice::Start:
            StartGameFromMenu();
            break;
        case nas::Choice::Quit:
            Enter(screen::Phase::Ending);
            if (quit_) quit_();
            break;
        case nas::Choice::Info:
        case nas::Choice::None:  // closed some other way, which only a test can do
            show();
            Enter(screen::Phase::Information);
            break;
    }
}

void hra::StartGameFromMenu() {
    rules::StartNewGame(state_);
    label1_[0]->setText(QString::fromStdString(rules::StartRoundLabelText(state_.RoundNumber)));
    label1_[0]->adjustSize();
    label1_[1]->setText(QString::fromStdString(rules::PlayerLabelText(state_.CurrentPlayer)));
    label1_[1]->adjustSize();
    SetTextColour(label1_[1], screen::ToQColor(state_.Player1Color));
    // The board is set up on the timer's tick, after whatever handler opened the menu has
    // finished: the tick cannot come before control is back in the event loop.
    Enter(screen::Phase::NewGame);
    show();
}

void hra::NewGameSetUp() {
    // The board picture is repainted from scratch by RedrawBoard below, before anything
    // can be shown: the previous game's position never appears.
    const bool computerOpens = rules::SetUpBoard(state_);
    Enter(computerOpens ? screen::Phase::ComputerArmed : screen::Phase::PersonToMove);
    RedrawBoard();
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
        screen::DrawBoardPicture(painter, boardBitmap_, state_, cellRect_);
    }
    plocha_->SetPicture(board);
    QPixmap bar = BlankPicture(kbod_);
    {
        QPainter painter(&bar);
        screen::DrawBalanceBar(painter, state_, kbod_->width() * Twips, kbod_->height() * Twips);
    }
    kbod_->SetPicture(bar);
}

void hra::WriteLabels() {
    label1_[0]->setText(QString::fromStdString(rules::RoundLabelText(state_.RoundNumber)));
    label1_[0]->adjustSize();
    label1_[1]->setText(QString::fromStdString(rules::PlayerLabelText(state_.CurrentPlayer)));
    label1_[1]->adjustSize();
    SetTextColour(label1_[1], screen::ToQColor(rules::PlayerLabelColor(state_)));
}

void hra::EndOfMove(int mover) {
    // After every chain reaction the board cursor is back.
    SetPointer(CustomPointer);
    RedrawBoard();
    WriteLabels();
    if (mover != 0) emit MovePlayed(mover);
}

void hra::HandleBoardClick(int xTwips, int yTwips) {
    // Only while a person is to move: never during the computer's delay, nor before a
    // game is set up.
    if (window_.phase != screen::Phase::PersonToMove) return;
    const int cell = screen::CellAtPoint(cellRect_, xTwips, yTwips);
    if (cell == 0) return;
    const rules::Move move{screen::CellColumn(cell), screen::CellRow(cell)};
    const int owner = state_.board.Owner(move.column, move.row);
    if (owner != 0 && owner != state_.CurrentPlayer) return;

    const rules::TurnOutcome turn = rules::TakeTurn(state_, move);
    EndOfMove(turn.mover);
    EndGameIfLost(turn.loser);
    // Runs whether or not the game just ended. An ended game's menu has set the mode to two
    // players and a new game gives player 1 the move, so this hands the turn on only when
    // the game goes on, or when that menu was switched to the computer and left through
    // "?": then the computer's first check ends the old game once more.
    if (state_.CurrentPlayer != 2 || state_.GameMode != rules::AgainstComputer) return;
    if (window_.phase == screen::Phase::PersonToMove)
        Enter(screen::Phase::ComputerArmed);
    else if (window_.phase == screen::Phase::Information)
        Enter(screen::Phase::InformationComputerArmed);
    // Otherwise the program is ending.
}

void hra::ComputerTick() {
    if (window_.box) {
        Enter(screen::Phase::ComputerHeld);
        return;
    }
    RunComputerTurn();
}

void hra::RunBox(QDialog& box) {
    const bool outer = window_.box;
    Become({window_.phase, true});
    box.exec();
    Become({window_.phase, outer});
    // The computer's move held back by the box comes now, from the event loop, once the
    // handler that opened the box has finished.
    if (!outer && window_.phase == screen::Phase::ComputerHeld) Enter(screen::Phase::ComputerArmed);
}

void hra::RunComputerTurn() {
    // The hand is back: the turn runs to its end within this tick. Any new game chosen on
    // a menu it opens arms its own opening move later, from its set-up.
    Enter(window_.phase == screen::Phase::InformationComputerArmed ? screen::Phase::Information
                                                                   : screen::Phase::PersonToMove);
    if (EndGameIfLost(rules::CheckGameOver(state_))) return;
    const rules::TurnOutcome turn =
        rules::TakeTurn(state_, computers_.At(state_.Difficulty).Choose(state_, random_));
    EndOfMove(turn.moved ? turn.mover : 0);
    EndGameIfLost(turn.loser);
}

bool hra::EndGameIfLost(int loser) {
    if (loser == 0) return false;
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(rules::GameTitle),
                    QString::fromStdString(rules::GameOverText(loser)), QMessageBox::Ok, this);
    RunBox(box);
    ReturnToMenu();
    return true;
}

void hra::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (screen::EscapeOpensMenu(window_.phase)) ReturnToMenu();
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

void hra::Complain(const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, QString::fromUtf8(rules::GameTitle), text, QMessageBox::Ok, this);
    RunBox(box);
}

void hra::SaveGame() {
    std::string why, warning, moved;
    if (!savegame::SaveGame(saveSlot_, state_.board, &why, &warning, &moved)) {
        Complain(QStringLiteral("Hru se nepodařilo uložit. ") + QString::fromStdString(why));
        return;
    }
    if (!warning.empty()) std::fprintf(stderr, "morvel: %s\n", warning.c_str());
    // The save went elsewhere than before: the player should know where it is now.
    if (!moved.empty()) Complain(QString::fromStdString(moved), QMessageBox::Information);
}

void hra::LoadGame() {
    std::string why;
    const std::optional<rules::Board> board = savegame::LoadGame(saveSlot_.file, &why);
    if (!board) {
        // The board on screen stays exactly as it was.
        Complain(QStringLiteral("Hru se nepodařilo nahrát. ") + QString::fromStdString(why));
        return;
    }
    // The status labels already show: the buttons are there only during a game.
    state_.board = *board;
    RedrawBoard();
}
