#include "bridge.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "content.h"
#include "geometry.h"
#include "renderer.h"

namespace web {

namespace {

using screen::Control;

const char* Name(Control control) {
    return screen::Content(control).name;
}

// What each pressable control hands back.
struct Press {
    Control control;
    Action action;
};
constexpr Press Presses[] = {
    {Control::Sav, Action::Save},         {Control::Nah, Action::Load},
    {Control::Jhra0, Action::TwoPlayers}, {Control::Jhra1, Action::AgainstComputer},
    {Control::Obtt0, Action::LowLevel},   {Control::Obtt1, Action::HighLevel},
    {Control::Pp3, Action::Start},        {Control::Info, Action::Information},
    {Control::Command2, Action::Quit},
};

// The game window's controls that show with a game on it.
constexpr Control GameControls[] = {Control::LabelPlayer, Control::LabelRound, Control::Plocha,
                                    Control::Kbod,        Control::Sav,        Control::Nah};

// The page's own elements, which the desktop draws with its toolkit instead: the message
// box and its parts, the tiled background, the page shown once the game has ended.
constexpr const char* BoxDialog = "box";
constexpr const char* BoxTitle = "box-title";
constexpr const char* BoxText = "box-text";
constexpr const char* BoxOk = "box-ok";
constexpr const char* Background = "background";
constexpr const char* Ended = "ended";

// A page's pixels are three quarters of a point.
constexpr double PixelsPerPoint = 4.0 / 3.0;

}  // namespace

Session::Session(Page& page, rules::RandomSource& random, play::Storage& storage,
                 int computerDelayMs)
    : page_(page), controller_(random, storage, computerDelayMs) {}

void Session::Describe(Page& page) {
    page.Title(screen::WindowTitle);
    for (const screen::ControlContent& entry : screen::Controls()) {
        page.Place(entry.name, screen::Pixels(entry.left), screen::Pixels(entry.top),
                   screen::Pixels(entry.width), screen::Pixels(entry.height), entry.fitsText);
        if (entry.picture) page.Image(entry.name, entry.picture, entry.hoverPicture);
        if (entry.window == entry.id) continue;
        if (entry.points > 0) page.Face(entry.name, entry.points * PixelsPerPoint, entry.colour);
        if (*entry.text) page.Text(entry.name, entry.text);
        if (*entry.pageTooltip) page.Tooltip(entry.name, entry.pageTooltip);
        if (*entry.accessibleName) page.AccessibleName(entry.name, entry.accessibleName);
    }
    for (const Press& press : Presses)
        page.Action(Name(press.control), static_cast<int>(press.action));
    page.Text(BoxTitle, screen::GameTitle);
    page.Text(BoxOk, screen::BoxOk);
    page.Text(Ended, screen::EndedText);
    page.Preload(screen::picture::Board);
    page.Preload(screen::picture::Tile);
}

void Session::Repaint() {
    Paint(controller_.Screen());
}

void Session::Shown(int window) {
    if (window != static_cast<int>(play::Window::Splash) &&
        window != static_cast<int>(play::Window::Game))
        return;
    Apply(controller_.Shown(static_cast<play::Window>(window)));
}

void Session::TimerDue(int timer) {
    if (timer < 1 || timer > static_cast<int>(play::Timer::Computer)) return;
    Apply(controller_.TimerDue(static_cast<play::Timer>(timer)));
}

void Session::Pressed(double x, double y) {
    // Off the board by far, or not a number: off every cell.
    const bool onPicture = x >= 0 && y >= 0 && x < 1e6 && y < 1e6;
    const int cell =
        onPicture ? screen::CellAtPoint(screen::Cells(),
                                        static_cast<int>(std::floor(x * screen::TwipsPerPixel)),
                                        static_cast<int>(std::floor(y * screen::TwipsPerPixel)))
                  : 0;
    Apply(controller_.CellPressed(cell));
}

void Session::PointerMoved(bool onBoard) {
    Apply(controller_.PointerMoved(onBoard ? play::Area::Board : play::Area::Background));
}

void Session::Escape() {
    Apply(controller_.Escape());
}

void Session::Act(int action) {
    switch (static_cast<Action>(action)) {
        case Action::Save:
            return Apply(controller_.SavePressed());
        case Action::Load:
            return Apply(controller_.LoadPressed());
        case Action::TwoPlayers:
            return Apply(controller_.Choose(play::MenuOption::TwoPlayers));
        case Action::AgainstComputer:
            return Apply(controller_.Choose(play::MenuOption::AgainstComputer));
        case Action::LowLevel:
            return Apply(controller_.Choose(play::MenuOption::LowLevel));
        case Action::HighLevel:
            return Apply(controller_.Choose(play::MenuOption::HighLevel));
        case Action::Start:
            return Apply(controller_.MenuClosed(play::MenuAction::Start));
        case Action::Information:
            return Apply(controller_.MenuClosed(play::MenuAction::Information));
        case Action::Quit:
            return Apply(controller_.MenuClosed(play::MenuAction::Quit));
    }
    // A number no control handed out: what shows, again.
    Paint(controller_.Screen());
}

void Session::DialogClosed() {
    // A box closed is the player's answer; a menu the browser closed opens again.
    Apply(controller_.BoxOpen() ? controller_.BoxClosed() : play::Effects{});
}

screen::FittedLayout LayOut(Page& page, int width, int height, int informationRight,
                            int informationBottom) {
    const screen::FittedLayout fitted =
        screen::FitLayout(width, height, informationRight, informationBottom);
    page.Layout(fitted.width, fitted.height, fitted.scale);
    const screen::PixelPoint board = screen::BoardPlace(fitted.width, fitted.height);
    const int boardWidth = screen::BoardWidthTwips / screen::TwipsPerPixel;
    const int barHeight = screen::BarHeightTwips / screen::TwipsPerPixel;
    page.Place(Name(Control::Plocha), board.x, board.y, boardWidth,
               screen::BoardHeightTwips / screen::TwipsPerPixel, false);
    page.Place(Name(Control::Kbod), board.x, board.y - barHeight, boardWidth, barHeight, false);
    return fitted;
}

void Session::LayOut(int width, int height, int informationRight, int informationBottom,
                     double devicePixels) {
    const screen::FittedLayout fitted =
        web::LayOut(page_, width, height, informationRight, informationBottom);
    width_ = fitted.width;
    height_ = fitted.height;
    devicePixels_ = devicePixels > 0 && devicePixels < 64 ? devicePixels * fitted.scale : 1;
    if (controller_.Screen().backgroundTiled) DrawBackground();
    DrawBoard();
}

void Session::Apply(const play::Effects& effects) {
    for (const play::Effect& effect : effects) {
        struct {
            Session* session;
            void operator()(const play::StartTimer& run) const {
                if (run.timer == play::Timer::None)
                    session->page_.StopTimers();
                else
                    session->page_.StartTimer(static_cast<int>(run.timer), run.milliseconds);
            }
            void operator()(const play::Redraw&) const { session->DrawBoard(); }
            void operator()(const play::TileBackground&) const { session->DrawBackground(); }
            void operator()(const play::MovePlayed& move) const {
                session->page_.MovePlayed(move.player);
            }
            void operator()(const play::Warn& warning) const { session->page_.Warn(warning.text); }
        } apply{this};
        std::visit(apply, effect);
    }
    Paint(controller_.Screen());
}

void Session::Paint(const play::View& view) {
    switch (view.window) {
        case play::Showing::Nothing:
        case play::Showing::Splash:
            page_.ShowWindow(Name(Control::Logo), static_cast<int>(play::Window::Splash));
            break;
        case play::Showing::Game:
            page_.ShowWindow(Name(Control::Hra), static_cast<int>(play::Window::Game));
            break;
        case play::Showing::Ended:
            page_.ShowWindow(Ended, -1);
            break;
    }
    for (Control control : GameControls) page_.Visible(Name(control), view.showsGame);
    page_.Visible(Name(Control::Information), view.showsInformation);
    page_.Text(Name(Control::LabelRound), view.labels.round);
    page_.Text(Name(Control::LabelPlayer), view.labels.player);
    if (!view.labels.player.empty()) page_.Colour(Name(Control::LabelPlayer), view.labels.colour);
    page_.Pointer(view.pointer.picture ? view.pointer.picture : "", view.pointer.hotX,
                  view.pointer.hotY, view.pointer.shape);
    switch (view.dialog) {
        case play::Dialog::None:
            page_.OpenDialog("");
            break;
        case play::Dialog::Menu: {
            const play::Menu& menu = view.menu;
            page_.Check(Name(Control::Jhra0), menu.mode == rules::TwoPlayers, true);
            page_.Check(Name(Control::Jhra1), menu.mode == rules::AgainstComputer, true);
            page_.Check(Name(Control::Obtt0), menu.level == rules::LowDifficulty,
                        menu.LevelsEnabled());
            page_.Check(Name(Control::Obtt1), menu.level == rules::HighDifficulty,
                        menu.LevelsEnabled());
            page_.OpenDialog(Name(Control::Nas));
            break;
        }
        case play::Dialog::Box:
            page_.Text(BoxText, view.boxText);
            page_.OpenDialog(BoxDialog);
            break;
    }
}

void Session::DrawBoard() {
    const int width = screen::BoardWidthTwips / screen::TwipsPerPixel;
    page_.Surface(Name(Control::Plocha), width, screen::BoardHeightTwips / screen::TwipsPerPixel,
                  screen::TwipsPerPixel, devicePixels_);
    screen::DrawBoardPicture(page_, controller_.Game(), devicePixels_);
    page_.Surface(Name(Control::Kbod), width, screen::BarHeightTwips / screen::TwipsPerPixel,
                  screen::TwipsPerPixel, devicePixels_);
    screen::DrawBalanceBar(page_, controller_.Game(), screen::BoardWidthTwips, devicePixels_);
}

void Session::DrawBackground() {
    page_.Surface(Background, width_, height_, screen::TwipsPerPixel, devicePixels_);
    // A tile of no size (the page lost its picture) would never end the rows.
    const int tileWidth = std::clamp(page_.PictureWidth(screen::picture::Tile), 1, 1024);
    const int tileHeight = std::clamp(page_.PictureHeight(screen::picture::Tile), 1, 1024);
    screen::DrawBackground(page_, width_ * screen::TwipsPerPixel, height_ * screen::TwipsPerPixel,
                           tileWidth, tileHeight);
}

}  // namespace web
