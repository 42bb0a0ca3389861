#pragma once

#include <optional>
#include <string>
#include <variant>

#include "controller.h"
#include "format.h"
#include "geometry.h"

// What the controller's tests share: a save slot of their own, and ways to read effects.
namespace play_support {

// A slot in memory. A save can be made to fail, or to move elsewhere (with a notice), and
// a load to find nothing.
struct MemoryStorage final : play::Storage {
    std::optional<std::string> text;
    std::string failure;  // when set, the next saves fail with it
    std::string notice;   // when set, a save says it went elsewhere
    std::string warning;
    int saves = 0;

    play::SaveOutcome Save(const std::string& saved) override {
        ++saves;
        if (!failure.empty()) return {false, failure, {}, {}};
        text = saved;
        return {true, {}, warning, notice};
    }
    play::LoadOutcome Load() override {
        if (!text) return {std::nullopt, "Soubor hra.dat nelze otevřít: neexistuje."};
        return {text, {}};
    }
    void Keep(const rules::Board& board) { text = savegame::FormatBoard(board); }
    std::optional<rules::Board> Kept() const {
        return text ? savegame::ParseBoard(*text) : std::nullopt;
    }
};

template <typename T>
const T* Find(const play::Effects& effects) {
    for (const play::Effect& effect : effects)
        if (const T* found = std::get_if<T>(&effect)) return found;
    return nullptr;
}

// The first effect of its kind, as a value to compare.
template <typename T>
std::optional<T> Get(const play::Effects& effects) {
    if (const T* found = Find<T>(effects)) return *found;
    return std::nullopt;
}

template <typename T>
int Count(const play::Effects& effects) {
    int n = 0;
    for (const play::Effect& effect : effects) n += std::holds_alternative<T>(effect);
    return n;
}

// The first and the last effect, if there are any.
inline std::optional<play::Effect> First(const play::Effects& effects) {
    if (effects.empty()) return std::nullopt;
    return effects.front();
}
inline std::optional<play::Effect> Last(const play::Effects& effects) {
    if (effects.empty()) return std::nullopt;
    return effects.back();
}

// The open menu set to `menu` as a player sets it (against the computer first, where the
// level can be chosen), then left by `action`.
inline play::Effects Leave(play::Controller& game, const play::Menu& menu,
                           play::MenuAction action) {
    game.Choose(play::MenuOption::AgainstComputer);
    game.Choose(menu.level == rules::HighDifficulty ? play::MenuOption::HighLevel
                                                    : play::MenuOption::LowLevel);
    game.Choose(menu.mode == rules::TwoPlayers ? play::MenuOption::TwoPlayers
                                               : play::MenuOption::AgainstComputer);
    return game.MenuClosed(action);
}

inline int Cell(int column, int row) {
    return screen::CellNumber(column, row);
}

}  // namespace play_support
