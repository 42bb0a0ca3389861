#pragma once

// What the saved game's tests share, on every system.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "board_text.h"
#include "savegame.h"
#include "system.h"

namespace fs = std::filesystem;

// A path as the messages show it.
inline std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

inline std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

inline std::ptrdiff_t Entries(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

// Where the cases make their folders: the temporary folder on POSIX systems; on Windows,
// where a copy in the temporary folder never saves beside itself, the current folder.
fs::path TestFolders();

// Makes the system refuse to replace `file`, as a folder the player may no longer write
// into or a read-only file does; `allow` undoes it. Not every player can be refused:
// false when this one cannot (root on POSIX systems).
bool RefuseToReplace(const fs::path& file);
void AllowToReplace(const fs::path& file);

// A fresh folder of its own for each case, with Czech letters and blanks in its name, as
// a player's folders have.
class SaveDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        dir_ = TestFolders() / fs::path(u8"Hry – hráč Jiří ");
        dir_ += std::to_string(random()) + "-" + std::to_string(random());
        ASSERT_TRUE(fs::create_directory(dir_));
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// The message names `path` and gives the reason for `error`, in Czech.
inline ::testing::AssertionResult Names(const std::string& message, const fs::path& path,
                                        savegame::sys::Error error) {
    const std::string why = savegame::Reason(error);
    if (message.find(Utf8(path)) != std::string::npos && message.find(why) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "'" << message << "' should name " << Utf8(path) << " and '" << why << "'";
}

// A good save says nothing: no error and no warning, whatever errno was before it.
inline ::testing::AssertionResult Saves(const savegame::Slot& slot, const rules::Board& board) {
    for (int stale : {0, ENOENT, EBADF, EAGAIN}) {
        std::string error, warning;
        errno = stale;
        if (!savegame::SaveGame(slot, board, &error, &warning) || !warning.empty())
            return ::testing::AssertionFailure()
                   << "errno " << stale << " before the save: '" << error << warning << "'";
    }
    return ::testing::AssertionSuccess();
}

inline rules::Board PlayedBoard() {
    return BoardWith("1,1:11 7,1:24 2,2:22 3,3:13 4,4:14 5,5:21 6,6:12 1,8:23 7,8:11");
}
