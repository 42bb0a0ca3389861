#include "savegame.h"

#include <atomic>
#include <cstdio>

#include "system.h"

namespace savegame {
namespace {

void Say(std::string* error, std::string message) {
    if (error) *error = std::move(message);
}

// "<what>: <the reason>."
std::string Because(const std::string& what, sys::Error error) {
    return what + ": " + sys::Reason(error) + ".";
}

// A path as the messages show it, in UTF-8 on every system.
std::string Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
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

std::string Reason(int error) {
    return sys::Reason(error);
}

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

namespace {

// Opens a temporary file of a name nobody else uses, beside `file`.
sys::Error OpenTemporary(const std::filesystem::path& file, std::filesystem::path* temporary,
                         sys::Handle* handle) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%lu-%u.tmp", sys::ProcessId(), serial++);
        *temporary = file;
        *temporary += suffix;
        const sys::Error failed = sys::CreateNew(*temporary, handle);
        if (failed != sys::Exists) return failed;
    }
    return sys::Exists;
}

// Writes all of `text` and puts it on the disk.
sys::Error WriteAndFlush(sys::Handle handle, std::string_view text) {
    while (!text.empty()) {
        std::size_t written = 0;
        if (const sys::Error failed = sys::Write(handle, text.data(), text.size(), &written))
            return failed;
        if (written == 0) return sys::ShortWrite;
        text.remove_prefix(written);
    }
    return sys::Flush(handle);
}

}  // namespace

Slot FindSlot(const std::filesystem::path& programDirectory,
              const std::filesystem::path& dataFolder) {
    // With no data folder there is nowhere else to go: the save then fails with a message
    // naming the program's folder.
    if (sys::SaveBesideProgram(programDirectory) || dataFolder.empty())
        return {programDirectory / FileName, false};
    return {dataFolder / FileName, true};
}

Slot FindSlot(const std::filesystem::path& programDirectory) {
    return FindSlot(programDirectory, sys::PlayerDataFolder());
}

bool SaveGame(const Slot& slot, const rules::Board& board, std::string* error,
              std::string* warning) {
    const std::filesystem::path& file = slot.file;
    const std::filesystem::path folder = file.parent_path();
    if (slot.makeFolder) {
        if (const sys::Error failed = sys::MakeFolders(folder)) {
            Say(error, Because("Složku " + Text(folder) + " nelze vytvořit", failed));
            return false;
        }
    }
    std::filesystem::path temporary;
    sys::Handle handle = sys::NoHandle;
    if (const sys::Error failed = OpenTemporary(file, &temporary, &handle)) {
        Say(error, Because("Ve složce " + Text(folder) + " nelze vytvořit soubor", failed));
        return false;
    }
    sys::Error failure = WriteAndFlush(handle, FormatBoard(board));
    if (const sys::Error closed = sys::Close(handle); failure == 0) failure = closed;
    if (failure != 0) {
        sys::Remove(temporary);
        Say(error, Because("Zápis souboru " + Text(file) + " selhal", failure));
        return false;
    }
    if (const sys::Error failed = sys::Replace(temporary, file)) {
        sys::Remove(temporary);
        Say(error, Because("Soubor " + Text(file) + " nelze nahradit novým", failed));
        return false;
    }
    // The new save is in place from here on: a folder that cannot be synced makes it less
    // sure to survive a power cut, not a failed save.
    if (const sys::Error synced =
            sys::SyncFolder(folder.empty() ? std::filesystem::path(".") : folder))
        Say(warning, Because("Složku " + Text(folder) + " se nepodařilo zapsat na disk", synced));
    return true;
}

int ReadAtMost(sys::Handle handle, std::size_t limit, std::string& text) {
    // One byte past the limit tells a text that is too long, without reading it all.
    text.assign(limit + 1, '\0');
    std::size_t used = 0;
    while (used < text.size()) {
        std::size_t got = 0;
        if (const sys::Error failed =
                sys::Read(handle, text.data() + used, text.size() - used, &got))
            return failed;
        if (got == 0) break;
        used += got;
    }
    text.resize(used);
    return used > limit ? sys::TooLarge : 0;
}

std::optional<rules::Board> LoadGame(const std::filesystem::path& file, std::string* error) {
    sys::Handle handle = sys::NoHandle;
    if (const sys::Error failed = sys::OpenToRead(file, &handle)) {
        Say(error, Because("Soubor " + Text(file) + " nelze otevřít", failed));
        return std::nullopt;
    }
    sys::Kind kind = sys::Kind::Other;
    sys::Error failure = sys::KindOf(handle, &kind);
    if (failure == 0 && kind == sys::Kind::Folder) failure = sys::IsFolder;
    std::string text;
    if (failure == 0 && kind == sys::Kind::Plain) failure = ReadAtMost(handle, MaxFileSize, text);
    sys::Close(handle);
    if (failure == 0 && kind != sys::Kind::Plain) {
        Say(error, "Soubor " + Text(file) + " není obyčejný soubor.");
        return std::nullopt;
    }
    if (failure == sys::TooLarge) {
        Say(error, "Soubor " + Text(file) + " je příliš velký na uloženou hru.");
        return std::nullopt;
    }
    if (failure != 0) {
        Say(error, Because("Soubor " + Text(file) + " nelze přečíst", failure));
        return std::nullopt;
    }
    std::string why;
    std::optional<rules::Board> board = ParseBoard(text, &why);
    if (!board) Say(error, "Soubor " + Text(file) + ": " + why);
    return board;
}

}  // namespace savegame
