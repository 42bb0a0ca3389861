#pragma once

#include <string_view>

#include "controller.h"
#include "drawing.h"
#include "geometry.h"
#include "random_source.h"
#include "storage.h"

// The game under a browser page: the page passes each event on, and the session answers by
// calling the page's functions (Page), which the module imports: what happens once, then
// everything the screens show. Numbers and texts cross as they are; a number the page gets
// only to hand back (a timer's, a window's, a control's action) means nothing to the page.
namespace web {

// What a page does for the game. Controls and windows are named as the screens name them
// (content.h), and places are in the page's pixels.
class Page : public drawing::Painter {
  public:
    // -- what happens once --------------------------------------------------------------
    // Run `timer` once after `milliseconds`, every other one stopped; when it is due, hand
    // it back to Session::TimerDue.
    virtual void StartTimer(int timer, int milliseconds) = 0;
    virtual void StopTimers() = 0;
    virtual void MovePlayed(int player) = 0;
    virtual void Warn(std::string_view text) = 0;  // for the console, not the player

    // -- the screens' content, once, before anything shows ------------------------------
    virtual void Title(std::string_view text) = 0;
    virtual void Place(std::string_view control, int left, int top, int width, int height,
                       bool fitsText) = 0;
    // Its text's size in pixels and colour (colour 0: the page's own).
    virtual void Face(std::string_view control, double pixels, rules::Color colour) = 0;
    virtual void Tooltip(std::string_view control, std::string_view text) = 0;
    virtual void AccessibleName(std::string_view control, std::string_view text) = 0;
    // The control shows a picture of this name; `hover` while the pointer is on it.
    virtual void Image(std::string_view control, std::string_view file, std::string_view hover) = 0;
    // A press on the control: hand `action` back to Session::Act.
    virtual void Action(std::string_view control, int action) = 0;
    // A picture the drawing needs, to be at hand before the start.
    virtual void Preload(std::string_view file) = 0;

    // -- the view, after every event ----------------------------------------------------
    // Only this window shows; once it is on the screen, hand `shown` back to
    // Session::Shown (-1: nothing to hand back).
    virtual void ShowWindow(std::string_view window, int shown) = 0;
    virtual void Visible(std::string_view control, bool visible) = 0;
    virtual void Text(std::string_view control, std::string_view text) = 0;
    virtual void Colour(std::string_view control, rules::Color colour) = 0;
    // The pointer over the game window: a picture with its hot spot, or none (the arrow),
    // with the system's shape nearest to it.
    virtual void Pointer(std::string_view picture, int hotX, int hotY, std::string_view shape) = 0;
    virtual void Check(std::string_view control, bool checked, bool enabled) = 0;
    // Only this dialog is open ("": none); one the page finds closed otherwise is told to
    // Session::DialogClosed.
    virtual void OpenDialog(std::string_view dialog) = 0;

    // -- the layout and the drawing -----------------------------------------------------
    // The game window is laid out `width` by `height` pixels, shown `scale` times as big.
    virtual void Layout(int width, int height, double scale) = 0;
    // A picture's size in the layout's pixels (0 when the page has not got it).
    virtual int PictureWidth(std::string_view file) = 0;
    virtual int PictureHeight(std::string_view file) = 0;
    // The shapes that follow go onto this control's canvas, `width` by `height` pixels of
    // the layout, each `devicePixels` of the screen's; the shapes are given in units of
    // 1/`unitsPerPixel` pixel of the layout.
    virtual void Surface(std::string_view control, int width, int height, int unitsPerPixel,
                         double devicePixels) = 0;
};

// The presses a page hands back.
enum class Action {
    Save,
    Load,
    TwoPlayers,
    AgainstComputer,
    LowLevel,
    HighLevel,
    Start,
    Information,
    Quit
};

// Lays the game window out for a page's window of `width` by `height` pixels whose
// information text ends at `informationRight`, `informationBottom`: its size and scale, and
// the board's and the bar's places.
screen::FittedLayout LayOut(Page& page, int width, int height, int informationRight,
                            int informationBottom);

class Session {
  public:
    Session(Page& page, rules::RandomSource& random, play::Storage& storage, int computerDelayMs);

    // The screens' content, told to the page once.
    static void Describe(Page& page);

    // -- the events -----------------------------------------------------------------------
    // Tells the page all the screens show now: the first window, at the start.
    void Repaint();
    void Shown(int window);
    void TimerDue(int timer);
    // A press at a point of the board picture, in pixels from its top-left corner.
    void Pressed(double x, double y);
    void PointerMoved(bool onBoard);
    void Escape();
    void Act(int action);
    // The page found its dialog closed (the player's OK, or the browser by itself).
    void DialogClosed();
    // The page's window is `width` by `height` pixels and its screen has `devicePixels`
    // pixels to one of them; the information text ends at `informationRight`,
    // `informationBottom`.
    void LayOut(int width, int height, int informationRight, int informationBottom,
                double devicePixels);

    const play::Controller& Game() const { return controller_; }

  private:
    void Apply(const play::Effects& effects);
    void Paint(const play::View& view);
    void DrawBoard();
    void DrawBackground();

    Page& page_;
    play::Controller controller_;
    // The layout as the page last asked for it.
    int width_ = 0;
    int height_ = 0;
    double devicePixels_ = 1;
};

}  // namespace web
