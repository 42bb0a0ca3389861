#include "format.h"

#include <string>

namespace savegame {
namespace {

void Say(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A whole number of at most nine digits with an optional minus sign.
std::optional<int> ParseValue(std::string_view s) {
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace

std::string FormatBoard(const rules::Board& board) {
    std::string text;
    text.reserve(ValueCount * 5);
    auto put = [&](int value) {
        text += value < 0 ? '-' : ' ';
        text += std::to_string(value < 0 ? -static_cast<long long>(value) : value);
        text += " \r\n";
    };
    for (int row = 1; row <= rules::Rows; ++row) {
        for (int column = 1; column <= rules::Columns; ++column) {
            put(board.Owner(column, row));
            put(board.Count(column, row));
        }
    }
    return text;
}

std::optional<rules::Board> ParseBoard(std::string_view text, std::string* error) {
    int values[ValueCount];
    int read = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = Trim(line);
        if (read == ValueCount) {
            if (!line.empty()) {
                Say(error, "Za 112 hodnotami následuje další text (řádek " +
                               std::to_string(lineNumber) + ").");
                return std::nullopt;
            }
            continue;
        }
        const std::optional<int> value = ParseValue(line);
        if (!value) {
            Say(error, "Řádek " + std::to_string(lineNumber) + " není celé číslo.");
            return std::nullopt;
        }
        const bool isOwner = read % 2 == 0;
        if (isOwner ? (*value < 0 || *value > 2) : (*value < 0 || *value > 4)) {
            Say(error, std::string(isOwner ? "Vlastník" : "Počet kamenů") + " na řádku " +
                           std::to_string(lineNumber) + " je mimo povolený rozsah.");
            return std::nullopt;
        }
        values[read++] = *value;
    }
    if (read != ValueCount) {
        Say(error, "Soubor obsahuje jen " + std::to_string(read) + " ze 112 hodnot.");
        return std::nullopt;
    }
    rules::Board board;
    for (int i = 0; i < rules::Cells; ++i) {
        board.Set(i % rules::Columns + 1, i / rules::Columns + 1, values[2 * i], values[2 * i + 1]);
    }
    return board;
}

}  // namespace savegame
