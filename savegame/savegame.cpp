#include "savegame.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <vector>

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

}  // namespace

std::string Reason(int error) {
    return sys::Reason(error);
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

bool IsInstalled(const std::filesystem::path& programDirectory) {
    sys::Handle handle = sys::NoHandle;
    if (sys::OpenToRead(programDirectory / InstallMarkerName, &handle) != 0) return false;
    sys::Kind kind = sys::Kind::Other;
    std::string text;
    const bool read = sys::KindOf(handle, &kind) == 0 && kind == sys::Kind::Plain &&
                      ReadAtMost(handle, 4096, text) == 0;
    sys::Close(handle);
    const std::string_view mark = InstallMarkerText;
    if (!read || text.compare(0, mark.size(), mark) != 0) return false;
    const std::string_view rest = std::string_view(text).substr(mark.size());
    return rest.empty() || rest.front() == '\r' || rest.front() == '\n';
}

Slot FindSlot(const std::filesystem::path& programDirectory,
              const std::filesystem::path& dataFolder) {
    const Slot beside{programDirectory / FileName, false,
                      dataFolder.empty() ? std::filesystem::path() : dataFolder / FileName};
    // With no data folder there is nowhere else to go: the save then fails with a message
    // naming the program's folder.
    if (dataFolder.empty()) return beside;
    if (IsInstalled(programDirectory) || sys::InForeignFolder(programDirectory) ||
        !sys::MayCreateIn(programDirectory))
        return {dataFolder / FileName, true, {}};
    return beside;
}

Slot FindSlot(const std::filesystem::path& programDirectory) {
    return FindSlot(programDirectory, sys::PlayerDataFolder());
}

namespace {

// What a save that failed came to: the message, and whether the system refused it.
struct Failure {
    std::string message;
    sys::Error error = 0;
};

// Whether `name` is one of the temporary files that saves of `file` write beside it.
bool IsTemporaryOf(const std::filesystem::path& name, const std::filesystem::path& file) {
    using String = std::filesystem::path::string_type;
    const String own = name.filename().native();
    const String prefix = file.filename().native() + std::filesystem::path(".").native();
    const String suffix = std::filesystem::path(".tmp").native();
    return own.size() > prefix.size() + suffix.size() && own.starts_with(prefix) &&
           own.ends_with(suffix);
}

struct Temporary {
    std::filesystem::path file;
    std::filesystem::file_time_type written;
};

// The temporary files beside `file` that its saves wrote, newest first.
std::vector<Temporary> TemporariesOf(const std::filesystem::path& file) {
    std::vector<Temporary> found;
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!IsTemporaryOf(it->path(), file)) continue;
        std::error_code timeUnknown;
        const auto written = it->last_write_time(timeUnknown);
        if (!timeUnknown) found.push_back({it->path(), written});
    }
    std::sort(found.begin(), found.end(), [](const Temporary& a, const Temporary& b) {
        return a.written != b.written ? a.written > b.written : a.file > b.file;
    });
    return found;
}

// Temporary files of a minute ago or older are what a crash or a power cut left; a newer
// one may be another game's save under way.
void RemoveStaleTemporaries(const std::filesystem::path& file) {
    const auto stale = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1);
    for (const Temporary& temporary : TemporariesOf(file))
        if (temporary.written <= stale) sys::Remove(temporary.file);
}

bool SaveInto(const Slot& slot, const rules::Board& board, Failure* failed, std::string* warning) {
    auto fail = [&](const std::string& what, sys::Error error) {
        *failed = {Because(what, error), error};
        return false;
    };
    const std::filesystem::path& file = slot.file;
    const std::filesystem::path folder = file.parent_path();
    if (slot.makeFolder) {
        if (const sys::Error error = sys::MakeFolders(folder))
            return fail("Složku " + sys::PathText(folder) + " nelze vytvořit", error);
    }
    std::filesystem::path temporary;
    sys::Handle handle = sys::NoHandle;
    if (const sys::Error error = OpenTemporary(file, &temporary, &handle))
        return fail("Ve složce " + sys::PathText(folder) + " nelze vytvořit soubor", error);
    sys::Error failure = WriteAndFlush(handle, FormatBoard(board));
    if (const sys::Error closed = sys::Close(handle); failure == 0) failure = closed;
    if (failure != 0) {
        sys::Remove(temporary);
        return fail("Zápis souboru " + sys::PathText(file) + " selhal", failure);
    }
    if (const sys::Error error = sys::Replace(temporary, file)) {
        sys::Remove(temporary);
        return fail("Soubor " + sys::PathText(file) + " nelze nahradit novým", error);
    }
    // The new save is in place from here on: a folder that cannot be synced makes it less
    // sure to survive a power cut, not a failed save.
    if (const sys::Error synced =
            sys::SyncFolder(folder.empty() ? std::filesystem::path(".") : folder))
        Say(warning,
            Because("Složku " + sys::PathText(folder) + " se nepodařilo zapsat na disk", synced));
    RemoveStaleTemporaries(file);
    return true;
}

}  // namespace

bool SaveGame(const Slot& slot, const rules::Board& board, std::string* error,
              std::string* warning) {
    Failure failed;
    if (SaveInto(slot, board, &failed, warning)) return true;
    Say(error, failed.message);
    return false;
}

bool SaveGame(Slot& slot, const rules::Board& board, std::string* error, std::string* warning,
              std::string* notice) {
    Failure failed;
    if (SaveInto(slot, board, &failed, warning)) return true;
    if (slot.refuge.empty() || !sys::IsRefusal(failed.error)) {
        Say(error, failed.message);
        return false;
    }
    const Slot refuge{slot.refuge, true, {}};
    Failure refused;
    if (!SaveInto(refuge, board, &refused, warning)) {
        Say(error, failed.message + " " + refused.message);
        return false;
    }
    Say(notice, "Hra je uložena do " + sys::PathText(refuge.file) + ". " + failed.message);
    slot = refuge;
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

namespace {

std::optional<rules::Board> ReadSave(const std::filesystem::path& file, std::string* error) {
    sys::Handle handle = sys::NoHandle;
    if (const sys::Error failed = sys::OpenToRead(file, &handle)) {
        // The data folder is made by the first save: before it, there is just no save.
        Say(error, Because("Soubor " + sys::PathText(file) + " nelze otevřít",
                           failed == sys::NoFolder ? sys::NotFound : failed));
        return std::nullopt;
    }
    sys::Kind kind = sys::Kind::Other;
    sys::Error failure = sys::KindOf(handle, &kind);
    if (failure == 0 && kind == sys::Kind::Folder) failure = sys::IsFolder;
    std::string text;
    if (failure == 0 && kind == sys::Kind::Plain) failure = ReadAtMost(handle, MaxFileSize, text);
    sys::Close(handle);
    if (failure == 0 && kind != sys::Kind::Plain) {
        Say(error, "Soubor " + sys::PathText(file) + " není obyčejný soubor.");
        return std::nullopt;
    }
    if (failure == sys::TooLarge) {
        Say(error, "Soubor " + sys::PathText(file) + " je příliš velký na uloženou hru.");
        return std::nullopt;
    }
    if (failure != 0) {
        Say(error, Because("Soubor " + sys::PathText(file) + " nelze přečíst", failure));
        return std::nullopt;
    }
    std::string why;
    std::optional<rules::Board> board = ParseBoard(text, &why);
    if (!board) Say(error, "Soubor " + sys::PathText(file) + ": " + why);
    return board;
}

}  // namespace

std::optional<rules::Board> LoadGame(const std::filesystem::path& file, std::string* error) {
    if (std::optional<rules::Board> board = ReadSave(file, error)) return board;
    for (const Temporary& temporary : TemporariesOf(file))
        if (std::optional<rules::Board> board = ReadSave(temporary.file, nullptr)) return board;
    return std::nullopt;
}

}  // namespace savegame
