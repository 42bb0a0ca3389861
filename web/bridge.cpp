#include "bridge.h"

#include <array>
#include <cstdio>
#include <variant>

#include "drawing.h"
#include "geometry.h"

namespace web {

namespace {

const char* BoxName(play::BoxKind kind) {
    return std::array{"game-over", "failure", "notice"}[static_cast<int>(kind)];
}

// A text as one field: tabs and line breaks become blanks.
std::string Field(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

struct Line {
    std::string& out;
    void operator()(const play::StartTimer& run) const {
        out += std::string("timer\t") + play::Name(run.timer) + "\t" +
               std::to_string(run.milliseconds);
    }
    void operator()(const play::Redraw&) const { out += "redraw"; }
    void operator()(const play::Labels& labels) const {
        out += "labels\t" + Field(labels.round) + "\t" + Field(labels.player) + "\t" +
               Hex(labels.colour);
    }
    void operator()(const play::BoardPointer&) const { out += "pointer"; }
    void operator()(const play::TileBackground&) const { out += "tile"; }
    void operator()(const play::OpenBox& box) const {
        out += std::string("box\t") + BoxName(box.kind) + "\t" + Field(box.text);
    }
    void operator()(const play::OpenMenu& menu) const { out += EncodeMenu(menu.menu); }
    void operator()(const play::ShowGameWindow&) const { out += "show-game"; }
    void operator()(const play::Quit&) const { out += "quit"; }
    void operator()(const play::MovePlayed& move) const {
        out += "moved\t" + std::to_string(move.player);
    }
    void operator()(const play::Warn& warning) const { out += "warn\t" + Field(warning.text); }
};

// What follows from the state now: the last line of every answer.
std::string StateLine(const play::Controller& game) {
    const play::Phase phase = game.CurrentPhase();
    return std::string("state\t") + play::Name(phase) + "\t" +
           (play::ShowsGame(phase) ? "1" : "0") + "\t" +
           (play::ShowsInformation(phase) ? "1" : "0") + "\t" +
           (play::ComputerPending(phase) ? "1" : "0") + "\t" + (game.BoxOpen() ? "1" : "0") + "\n";
}

}  // namespace

std::string EncodeMenu(const play::Menu& menu) {
    return std::string("menu\t") +
           (menu.mode == rules::TwoPlayers ? "two-players" : "against-computer") + "\t" +
           (menu.level == rules::LowDifficulty ? "low" : "high") + "\t" +
           (menu.LevelsEnabled() ? "1" : "0");
}

std::string Hex(rules::Color colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rules::RedOf(colour), rules::GreenOf(colour),
                  rules::BlueOf(colour));
    return text;
}

std::string Encode(const play::Effects& effects, const play::Controller& game) {
    std::string out;
    for (const play::Effect& effect : effects) {
        std::visit(Line{out}, effect);
        out += '\n';
    }
    return out + StateLine(game);
}

std::string EncodeView(const play::Controller& game, const play::Menu& menu) {
    std::string out = StateLine(game);
    if (const auto& box = game.OpenedBox()) {
        Line{out}(*box);
        out += '\n';
    } else if (game.CurrentPhase() == play::Phase::Menu) {
        out += EncodeMenu(menu) + "\n";
    }
    const rules::GameState& state = game.Game();
    // Piece by piece: GCC 12 takes "\t" + std::to_string() for an overlapping copy.
    auto field = [&out](int value) {
        out += '\t';
        out += std::to_string(value);
    };
    out += "turn";
    field(state.CurrentPlayer);
    field(state.RoundNumber);
    out += "\nboard";
    for (int row = 1; row <= rules::Rows; ++row) {
        for (int column = 1; column <= rules::Columns; ++column) {
            field(state.board.Owner(column, row));
            field(state.board.Count(column, row));
        }
    }
    return out + "\n";
}

std::string EncodeDrawing(const rules::GameState& state, double barWidthTwips,
                          double barHeightTwips) {
    std::string out;
    for (const drawing::Disc& disc : drawing::Pieces(state, screen::Cells()))
        out += "disc\t" + Number(disc.x) + "\t" + Number(disc.y) + "\t" + Number(disc.radius) +
               "\t" + Hex(disc.colour) + "\n";
    for (const drawing::Box& box : drawing::BalanceBar(state, barWidthTwips, barHeightTwips))
        out += "bar\t" + Number(box.x) + "\t" + Number(box.y) + "\t" + Number(box.width) + "\t" +
               Number(box.height) + "\t" + Hex(box.colour) + "\t" +
               (box.atLeastOnePixel ? "1" : "0") + "\n";
    return out;
}

}  // namespace web
