// The game as a WebAssembly module for a browser page (a WASI reactor): one session, its
// events as exported functions, and the page's side (bridge.h's Page) as imported ones,
// which the module calls with numbers and texts (a text as its UTF-8 bytes' address and
// length, line breaks and all). The save is kept by the page through two more.
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "bridge.h"
#include "geometry.h"
#include "random_source.h"

#define MORVEL_EXPORT(name) extern "C" __attribute__((export_name(#name)))
#define MORVEL_IMPORT(name) __attribute__((import_module("morvel"), import_name(#name)))

extern "C" {
// Keeps `length` bytes of text as the save. 0 when kept; otherwise the length of the
// reason, in Czech, that the page wrote into the reply buffer.
MORVEL_IMPORT(storage_save) int morvel_storage_save(const char* text, int length);
// The save's text, written into the reply buffer: its length; or, when there is none,
// -1 - the length of the reason written there instead.
MORVEL_IMPORT(storage_load) int morvel_storage_load();

// The page (bridge.h), call for call; a text is (address, length), a colour red, green, blue.
MORVEL_IMPORT(start_timer) void page_start_timer(int timer, int milliseconds);
MORVEL_IMPORT(stop_timers) void page_stop_timers();
MORVEL_IMPORT(move_played) void page_move_played(int player);
MORVEL_IMPORT(warn) void page_warn(const char* text, int length);
MORVEL_IMPORT(title) void page_title(const char* text, int length);
MORVEL_IMPORT(place)
void page_place(const char* control, int length, int left, int top, int width, int height,
                int fitsText);
MORVEL_IMPORT(face)
void page_face(const char* control, int length, double pixels, int red, int green, int blue,
               int own);
MORVEL_IMPORT(tooltip)
void page_tooltip(const char* control, int length, const char* text, int textLength);
MORVEL_IMPORT(accessible_name)
void page_accessible_name(const char* control, int length, const char* text, int textLength);
MORVEL_IMPORT(image)
void page_image(const char* control, int length, const char* file, int fileLength,
                const char* hover, int hoverLength);
MORVEL_IMPORT(action) void page_action(const char* control, int length, int action);
MORVEL_IMPORT(preload) void page_preload(const char* file, int length);
MORVEL_IMPORT(show_window) void page_show_window(const char* window, int length, int shown);
MORVEL_IMPORT(visible) void page_visible(const char* control, int length, int visible);
MORVEL_IMPORT(text)
void page_text(const char* control, int length, const char* text, int textLength);
MORVEL_IMPORT(colour)
void page_colour(const char* control, int length, int red, int green, int blue);
MORVEL_IMPORT(pointer)
void page_pointer(const char* picture, int length, int hotX, int hotY, const char* shape,
                  int shapeLength);
MORVEL_IMPORT(check)
void page_check(const char* control, int length, int checked, int enabled);
MORVEL_IMPORT(open_dialog) void page_open_dialog(const char* dialog, int length);
MORVEL_IMPORT(layout) void page_layout(int width, int height, double scale);
MORVEL_IMPORT(surface)
void page_surface(const char* control, int length, int width, int height, int unitsPerPixel,
                  double devicePixels);
MORVEL_IMPORT(picture_width) int page_picture_width(const char* file, int length);
MORVEL_IMPORT(picture_height) int page_picture_height(const char* file, int length);
MORVEL_IMPORT(picture)
void page_picture(const char* file, int length, double x, double y, double width, double height);
MORVEL_IMPORT(disc) void page_disc(double x, double y, double radius, int red, int green, int blue);
MORVEL_IMPORT(box)
void page_box(double x, double y, double width, double height, int red, int green, int blue);
}

namespace {

#define TEXT(view) (view).data(), static_cast<int>((view).size())
#define RGB(colour) rules::RedOf(colour), rules::GreenOf(colour), rules::BlueOf(colour)

class ImportedPage final : public web::Page {
  public:
    void StartTimer(int timer, int milliseconds) override { page_start_timer(timer, milliseconds); }
    void StopTimers() override { page_stop_timers(); }
    void MovePlayed(int player) override { page_move_played(player); }
    void Warn(std::string_view text) override { page_warn(TEXT(text)); }
    void Title(std::string_view text) override { page_title(TEXT(text)); }
    void Place(std::string_view control, int left, int top, int width, int height,
               bool fitsText) override {
        page_place(TEXT(control), left, top, width, height, fitsText);
    }
    void Face(std::string_view control, double pixels, rules::Color colour) override {
        page_face(TEXT(control), pixels, RGB(colour), colour == 0);
    }
    void Tooltip(std::string_view control, std::string_view text) override {
        page_tooltip(TEXT(control), TEXT(text));
    }
    void AccessibleName(std::string_view control, std::string_view text) override {
        page_accessible_name(TEXT(control), TEXT(text));
    }
    void Image(std::string_view control, std::string_view file, std::string_view hover) override {
        page_image(TEXT(control), TEXT(file), TEXT(hover));
    }
    void Action(std::string_view control, int action) override {
        page_action(TEXT(control), action);
    }
    void Preload(std::string_view file) override { page_preload(TEXT(file)); }
    void ShowWindow(std::string_view window, int shown) override {
        page_show_window(TEXT(window), shown);
    }
    void Visible(std::string_view control, bool visible) override {
        page_visible(TEXT(control), visible);
    }
    void Text(std::string_view control, std::string_view text) override {
        page_text(TEXT(control), TEXT(text));
    }
    void Colour(std::string_view control, rules::Color colour) override {
        page_colour(TEXT(control), RGB(colour));
    }
    void Pointer(std::string_view picture, int hotX, int hotY, std::string_view shape) override {
        page_pointer(TEXT(picture), hotX, hotY, TEXT(shape));
    }
    void Check(std::string_view control, bool checked, bool enabled) override {
        page_check(TEXT(control), checked, enabled);
    }
    void OpenDialog(std::string_view dialog) override { page_open_dialog(TEXT(dialog)); }
    void Layout(int width, int height, double scale) override { page_layout(width, height, scale); }
    void Surface(std::string_view control, int width, int height, int unitsPerPixel,
                 double devicePixels) override {
        page_surface(TEXT(control), width, height, unitsPerPixel, devicePixels);
    }
    int PictureWidth(std::string_view file) override { return page_picture_width(TEXT(file)); }
    int PictureHeight(std::string_view file) override { return page_picture_height(TEXT(file)); }
    void Picture(const char* name, double x, double y, double width, double height) override {
        page_picture(TEXT(std::string_view(name)), x, y, width, height);
    }
    void Fill(const drawing::Disc& disc) override {
        page_disc(disc.x, disc.y, disc.radius, RGB(disc.colour));
    }
    void Fill(const drawing::Box& box) override {
        page_box(box.x, box.y, box.width, box.height, RGB(box.colour));
    }
};

// What the page writes for the game: a save is 560 bytes, a reason a line.
constexpr int ReplyCapacity = 64 * 1024;
char reply[ReplyCapacity];

std::string Reply(int length) {
    return std::string(reply, static_cast<std::size_t>(length < 0               ? 0
                                                       : length > ReplyCapacity ? ReplyCapacity
                                                                                : length));
}

class PageStorage final : public play::Storage {
  public:
    play::SaveOutcome Save(const std::string& text) override {
        const int refused = morvel_storage_save(text.data(), static_cast<int>(text.size()));
        if (refused == 0) return {true, {}, {}, {}};
        return {false, Reply(refused), {}, {}};
    }
    play::LoadOutcome Load() override {
        const int got = morvel_storage_load();
        if (got >= 0) return {Reply(got), {}};
        return {std::nullopt, Reply(-1 - got)};
    }
};

ImportedPage page;
rules::ClockMixedRandom numbers{rules::ClockMixedRandom::SteadyClockNanoseconds()};
PageStorage storage;
std::optional<web::Session> session;

// Bounds a number from the page.
int Within(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

}  // namespace

MORVEL_EXPORT(morvel_reply_buffer) char* morvel_reply_buffer() {
    return reply;
}
MORVEL_EXPORT(morvel_reply_capacity) int morvel_reply_capacity() {
    return ReplyCapacity;
}

// The screens' content, told to the page (before the start: the pictures it names).
MORVEL_EXPORT(morvel_describe) void morvel_describe() {
    web::Session::Describe(page);
}
// A new game, the computer waiting `computer_delay_ms` after a person's move (the game's
// own delay when it is not between 1 ms and a minute: the number comes from the page's
// address).
MORVEL_EXPORT(morvel_start) void morvel_start(int computer_delay_ms) {
    session.emplace(page, numbers, storage,
                    computer_delay_ms >= 1 && computer_delay_ms <= 60000
                        ? computer_delay_ms
                        : play::Controller::ComputerDelayMilliseconds);
    session->Repaint();
}

// The events; before the start there is no game to take them.
MORVEL_EXPORT(morvel_shown) void morvel_shown(int window) {
    if (session) session->Shown(window);
}
MORVEL_EXPORT(morvel_timer_due) void morvel_timer_due(int timer) {
    if (session) session->TimerDue(timer);
}
MORVEL_EXPORT(morvel_pressed) void morvel_pressed(double x, double y) {
    if (session) session->Pressed(x, y);
}
MORVEL_EXPORT(morvel_pointer_moved) void morvel_pointer_moved(int on_board) {
    if (session) session->PointerMoved(on_board != 0);
}
MORVEL_EXPORT(morvel_escape) void morvel_escape() {
    if (session) session->Escape();
}
MORVEL_EXPORT(morvel_act) void morvel_act(int action) {
    if (session) session->Act(action);
}
MORVEL_EXPORT(morvel_dialog_closed) void morvel_dialog_closed() {
    if (session) session->DialogClosed();
}
MORVEL_EXPORT(morvel_lay_out)
void morvel_lay_out(int width, int height, int information_right, int information_bottom,
                    double device_pixels) {
    width = Within(width, 0, 1 << 16), height = Within(height, 0, 1 << 16);
    information_right = Within(information_right, 0, 1 << 16);
    information_bottom = Within(information_bottom, 0, 1 << 16);
    // Before the start, the page lays out to know how sharp its pictures must be.
    if (session)
        session->LayOut(width, height, information_right, information_bottom, device_pixels);
    else
        web::LayOut(page, width, height, information_right, information_bottom);
}

// What the screens show now, told again (changing nothing), and the board's cells (1..56,
// row by row): for the page's tests.
MORVEL_EXPORT(morvel_paint) void morvel_paint() {
    if (session) session->Repaint();
}
MORVEL_EXPORT(morvel_cells) int morvel_cells() {
    return rules::Cells;
}
MORVEL_EXPORT(morvel_cell_owner) int morvel_cell_owner(int cell) {
    if (!session || cell < 1 || cell > rules::Cells) return 0;
    return session->Game().Game().board.Owner(screen::CellColumn(cell), screen::CellRow(cell));
}
MORVEL_EXPORT(morvel_cell_count) int morvel_cell_count(int cell) {
    if (!session || cell < 1 || cell > rules::Cells) return 0;
    return session->Game().Game().board.Count(screen::CellColumn(cell), screen::CellRow(cell));
}
// The middle of a cell (1..56) on the board picture, in the page's pixels.
MORVEL_EXPORT(morvel_cell_x) double morvel_cell_x(int cell) {
    if (cell < 1 || cell > rules::Cells) return -1;
    const screen::CellBounds& r = screen::Cells()[cell];
    return (r.x1 + r.x2) / 2.0 / screen::TwipsPerPixel;
}
MORVEL_EXPORT(morvel_cell_y) double morvel_cell_y(int cell) {
    if (cell < 1 || cell > rules::Cells) return -1;
    const screen::CellBounds& r = screen::Cells()[cell];
    return (r.y1 + r.y2) / 2.0 / screen::TwipsPerPixel;
}
