#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "board_text.h"
#include "savegame.h"

namespace fs = std::filesystem;

namespace {

std::string Repeat(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += line;
    return text;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

class SaveDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("morvel-save-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

rules::Board PlayedBoard() {
    return BoardFromText({
        "11 .. .. .. .. .. 24",
        ".. 22 .. .. .. .. ..",
        ".. .. 13 .. .. .. ..",
        ".. .. .. 14 .. .. ..",
        ".. .. .. .. 21 .. ..",
        ".. .. .. .. .. 12 ..",
        ".. .. .. .. .. .. ..",
        "23 .. .. .. .. .. 11",
    });
}

}  // namespace

TEST(SaveFormat, FreshBoardIs112LinesOfZeroIn560Bytes) {
    const std::string text = savegame::FormatBoard({});
    EXPECT_EQ(text, Repeat(" 0 \r\n", 112));
    EXPECT_EQ(text.size(), 560u);
}

TEST(SaveFormat, PlayedBoardByteForByte) {
    const std::string text = savegame::FormatBoard(PlayedBoard());
    ASSERT_EQ(text.size(), 560u);
    EXPECT_EQ(text.substr(0, 10), " 1 \r\n 1 \r\n");        // (1,1) player 1, one piece
    EXPECT_EQ(text.substr(5 * 12, 10), " 2 \r\n 4 \r\n");   // (7,1) player 2, four
    EXPECT_EQ(text.substr(5 * 16, 10), " 2 \r\n 2 \r\n");   // (2,2)
    EXPECT_EQ(text.substr(5 * 110, 10), " 1 \r\n 1 \r\n");  // (7,8)
    EXPECT_EQ(text.substr(5 * 98, 10), " 2 \r\n 3 \r\n");   // (1,8)
    EXPECT_EQ(text.substr(5 * 2, 10), " 0 \r\n 0 \r\n");
}

TEST(SaveFormat, EveryOwnerAndCountSurvivesTheRoundTrip) {
    rules::Board board;
    int i = 0;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 7; ++c, ++i) board.Set(c, r, i % 3, (i / 3) % 5);
    std::string error;
    const auto back = savegame::ParseBoard(savegame::FormatBoard(board), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, board);
}

TEST(SaveFormat, ReaderToleratesBlanksLfAndTrailingBlankLines) {
    const rules::Board board = PlayedBoard();
    std::string loose;
    for (char ch : savegame::FormatBoard(board)) {
        if (ch == '\r') continue;
        if (ch == ' ')
            loose += "  \t";
        else
            loose += ch;
    }
    loose += "\n   \n\r\n";
    std::string error;
    const auto back = savegame::ParseBoard(loose, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, board);
    EXPECT_TRUE(savegame::ParseBoard(Repeat("0", 1) + Repeat("\n0", 111)));  // no final newline
}

TEST(SaveFormat, ReaderRejectsAnythingThatIsNotASavedBoard) {
    const std::string good = Repeat(" 0 \r\n", 112);
    auto withValue = [&](int line, const std::string& value) {
        std::string text =
            Repeat(" 0 \r\n", line - 1) + value + "\r\n" + Repeat(" 0 \r\n", 112 - line);
        return text;
    };
    struct Case {
        const char* what;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"111 values", Repeat(" 0 \r\n", 111)},
        {"113 values", good + " 0 \r\n"},
        {"a letter", withValue(7, " a ")},
        {"1.5", withValue(9, " 1.5 ")},
        {"two numbers on a line", withValue(9, " 1 1 ")},
        {"owner 3", withValue(1, " 3 ")},
        {"count 5", withValue(2, " 5 ")},
        {"count -1", withValue(112, "-1 ")},
        {"owner -1", withValue(111, "-1 ")},
        {"huge number", withValue(4, " 99999999999999999999999 ")},
        {"blank line among the values", withValue(50, "   ")},
        {"text after the values", good + "hello\r\n"},
        {"plus sign", withValue(3, "+1")},
        {"a NUL byte", withValue(3, std::string(" 1\0", 3))},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(savegame::ParseBoard(c.text, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST_F(SaveDirectory, SaveTwiceGivesIdenticalFilesAndLoadReturnsTheBoard) {
    const fs::path file = savegame::SaveFilePath(dir_);
    EXPECT_EQ(file.filename(), "hra.dat");
    ASSERT_TRUE(savegame::SaveGame(file, PlayedBoard()));
    const std::string first = ReadBytes(file);
    ASSERT_TRUE(savegame::SaveGame(file, PlayedBoard()));
    EXPECT_EQ(ReadBytes(file), first);
    EXPECT_EQ(first, savegame::FormatBoard(PlayedBoard()));
    const auto loaded = savegame::LoadGame(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, PlayedBoard());
    // Nothing but hra.dat is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SaveDirectory, LoadRefusesMissingHugeAndDirectoryFiles) {
    std::string error;
    EXPECT_FALSE(savegame::LoadGame(dir_ / "hra.dat", &error));
    EXPECT_FALSE(error.empty());
    // A valid board followed by a megabyte of blank lines is still too large to read.
    WriteBytes(dir_ / "hra.dat", Repeat(" 0 \r\n", 112) + std::string(1 << 20, '\n'));
    EXPECT_FALSE(savegame::LoadGame(dir_ / "hra.dat", &error));
    fs::remove(dir_ / "hra.dat");
    fs::create_directory(dir_ / "hra.dat");
    EXPECT_FALSE(savegame::LoadGame(dir_ / "hra.dat", &error));
}

TEST_F(SaveDirectory, FailedSaveLeavesThePreviousFileByteForByte) {
    const fs::path file = savegame::SaveFilePath(dir_);
    ASSERT_TRUE(savegame::SaveGame(file, PlayedBoard()));
    const std::string before = ReadBytes(file);
    // The temporary file cannot be created: a directory stands where it would go.
    fs::create_directory(fs::path(file) += ".tmp");
    std::string error;
    EXPECT_FALSE(savegame::SaveGame(file, rules::Board{}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(file), before);

    // A directory named hra.dat: nothing is written and the directory stays.
    const fs::path other = dir_ / "sub";
    fs::create_directories(other / "hra.dat");
    EXPECT_FALSE(savegame::SaveGame(savegame::SaveFilePath(other), PlayedBoard(), &error));
    EXPECT_TRUE(fs::is_directory(other / "hra.dat"));

    // The program's directory itself is missing.
    EXPECT_FALSE(savegame::SaveGame(dir_ / "gone" / "hra.dat", PlayedBoard(), &error));
    EXPECT_FALSE(fs::exists(dir_ / "gone"));
}
