// The game as a WebAssembly module for a browser page (a WASI reactor): one game, its
// events as exported functions, each returning the effects as text (bridge.h), and the save
// kept by the page through two imported functions.
#include <cstring>
#include <optional>
#include <string>
#include <variant>

#include "bridge.h"
#include "controller.h"
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
}

namespace {

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

struct Game {
    rules::ClockMixedRandom random{rules::ClockMixedRandom::SteadyClockNanoseconds()};
    PageStorage storage;
    play::Controller controller;
    play::Menu menu;  // as the player sets it while it is open
    explicit Game(int computerDelayMs) : controller(random, storage, computerDelayMs) {}
};

std::optional<Game> game;
std::string said;  // what the last call returns

const char* Say(const play::Effects& effects) {
    for (const play::Effect& effect : effects)
        if (const auto* opened = std::get_if<play::OpenMenu>(&effect)) game->menu = opened->menu;
    said = web::Encode(effects, game->controller);
    return said.c_str();
}

}  // namespace

// A new game, the computer waiting `computer_delay_ms` after a person's move (the game's
// own delay when it is not between 1 ms and a minute: the number comes from the page's
// address).
MORVEL_EXPORT(morvel_start) const char* morvel_start(int computer_delay_ms) {
    game.emplace(computer_delay_ms >= 1 && computer_delay_ms <= 60000
                     ? computer_delay_ms
                     : play::Controller::ComputerDelayMilliseconds);
    return Say({});
}
MORVEL_EXPORT(morvel_reply_buffer) char* morvel_reply_buffer() {
    return reply;
}
MORVEL_EXPORT(morvel_reply_capacity) int morvel_reply_capacity() {
    return ReplyCapacity;
}
MORVEL_EXPORT(morvel_said_length) int morvel_said_length() {
    return static_cast<int>(said.size());
}

// 0: the splash, 1: the game window.
MORVEL_EXPORT(morvel_shown) const char* morvel_shown(int window) {
    return Say(game->controller.Shown(window == 0 ? play::Window::Splash : play::Window::Game));
}
// 1 splash, 2 start-up, 3 set-up, 4 computer, as `timer` lines name them in this order.
MORVEL_EXPORT(morvel_timer_due) const char* morvel_timer_due(int timer) {
    if (timer < 1 || timer > 4) return Say({});
    return Say(game->controller.TimerDue(static_cast<play::Timer>(timer)));
}
// A press at a point of the board picture, in twips from its top-left corner.
MORVEL_EXPORT(morvel_pressed) const char* morvel_pressed(int x_twips, int y_twips) {
    return Say(
        game->controller.CellPressed(screen::CellAtPoint(screen::Cells(), x_twips, y_twips)));
}
MORVEL_EXPORT(morvel_escape) const char* morvel_escape() {
    return Say(game->controller.Escape());
}
MORVEL_EXPORT(morvel_save) const char* morvel_save() {
    return Say(game->controller.SavePressed());
}
MORVEL_EXPORT(morvel_load) const char* morvel_load() {
    return Say(game->controller.LoadPressed());
}
MORVEL_EXPORT(morvel_box_closed) const char* morvel_box_closed() {
    return Say(game->controller.BoxClosed());
}
// A choice in the open menu, by the menu's rules: `entry` 0 two players, 1 against the
// computer, 2 the low level, 3 the high one. Says the menu's line (bridge.h).
MORVEL_EXPORT(morvel_menu_choose) const char* morvel_menu_choose(int entry) {
    play::Menu& menu = game->menu;
    if (entry == 0) menu.ChooseMode(rules::TwoPlayers);
    if (entry == 1) menu.ChooseMode(rules::AgainstComputer);
    if (entry == 2) menu.ChooseLevel(rules::LowDifficulty);
    if (entry == 3) menu.ChooseLevel(rules::HighDifficulty);
    said = web::EncodeMenu(menu) + "\n";
    return said.c_str();
}
// The menu left as it was set: `action` 0 start, 1 "?", 2 "X".
MORVEL_EXPORT(morvel_menu_closed) const char* morvel_menu_closed(int action) {
    if (action < 0 || action > 2) return Say({});
    return Say(game->controller.MenuClosed(game->menu, static_cast<play::MenuAction>(action)));
}
// What the screen should show now (bridge.h): changes nothing.
MORVEL_EXPORT(morvel_view) const char* morvel_view() {
    said = web::EncodeView(game->controller, game->menu);
    return said.c_str();
}
// What the board and the bar show now (bridge.h).
MORVEL_EXPORT(morvel_drawing)
const char* morvel_drawing(int bar_width_twips, int bar_height_twips) {
    said = web::EncodeDrawing(game->controller.Game(), bar_width_twips, bar_height_twips);
    return said.c_str();
}
// Where cell `cell` (1..56) has its middle on the board picture, in twips: x * 65536 + y.
MORVEL_EXPORT(morvel_cell_centre) int morvel_cell_centre(int cell) {
    if (cell < 1 || cell > screen::CellCount) return 0;
    const screen::CellBounds& r = screen::Cells()[cell];
    return (r.x1 + r.x2) / 2 * 65536 + (r.y1 + r.y2) / 2;
}
// Where the board picture's top-left corner lies in a window of `width` by `height`
// pixels, as on the desktop: x * 65536 + y.
MORVEL_EXPORT(morvel_board_place) int morvel_board_place(int width, int height) {
    const screen::PixelPoint place = screen::BoardPlace(width, height);
    return place.x * 65536 + place.y;
}
