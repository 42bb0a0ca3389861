#include "savegame_cases.h"

namespace {

std::string Repeat(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += line;
    return text;
}

}  // namespace

TEST(SaveFormat, BoardsByteForByte) {
    EXPECT_EQ(savegame::FormatBoard({}), Repeat(" 0 \r\n", 112));  // 560 bytes
    const std::string text = savegame::FormatBoard(PlayedBoard());
    ASSERT_EQ(text.size(), 560u);
    EXPECT_EQ(text.substr(0, 10), " 1 \r\n 1 \r\n");        // (1,1) player 1, one piece
    EXPECT_EQ(text.substr(5 * 12, 10), " 2 \r\n 4 \r\n");   // (7,1) player 2, four
    EXPECT_EQ(text.substr(5 * 16, 10), " 2 \r\n 2 \r\n");   // (2,2)
    EXPECT_EQ(text.substr(5 * 110, 10), " 1 \r\n 1 \r\n");  // (7,8)
    EXPECT_EQ(text.substr(5 * 98, 10), " 2 \r\n 3 \r\n");   // (1,8)
    EXPECT_EQ(text.substr(5 * 2, 10), " 0 \r\n 0 \r\n");
}

// Every owner with every count comes back, from the exact text and from a loose one: LF
// only, blanks and tabs around the values, blank lines after them.
TEST(SaveFormat, ReaderTakesBackEveryOwnerAndCount) {
    rules::Board board;
    for (int i = 0; i < 56; ++i) board.Set(i % 7 + 1, i / 7 + 1, i % 3, (i / 3) % 5);
    std::string loose;
    for (char ch : savegame::FormatBoard(board))
        loose += ch == ' ' ? "  \t" : ch == '\r' ? "" : std::string(1, ch);
    for (const std::string& text : {savegame::FormatBoard(board), loose + "\n   \n\r\n"}) {
        std::string error;
        const auto back = savegame::ParseBoard(text, &error);
        ASSERT_TRUE(back) << error;
        EXPECT_EQ(*back, board);
    }
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
    const savegame::Slot slot{dir_ / "hra.dat"};
    ASSERT_TRUE(Saves(slot, PlayedBoard()));
    const std::string first = ReadBytes(slot.file);
    ASSERT_TRUE(Saves(slot, PlayedBoard()));
    EXPECT_EQ(ReadBytes(slot.file), first);
    EXPECT_EQ(first, savegame::FormatBoard(PlayedBoard()));
    const auto loaded = savegame::LoadGame(slot.file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, PlayedBoard());
    // Nothing but hra.dat is left behind.
    EXPECT_EQ(Entries(dir_), 1);
}

TEST_F(SaveDirectory, FailuresNameThePathAndChangeNothing) {
    const fs::path file = dir_ / "hra.dat";
    std::string error;
    auto refusedLoad = [&](const char* what, savegame::sys::Error errnum) {
        error.clear();
        EXPECT_FALSE(savegame::LoadGame(file, &error)) << what;
        if (errnum)
            EXPECT_TRUE(Names(error, file, errnum)) << what;
        else
            EXPECT_NE(error.find(Utf8(file)), std::string::npos) << what << ": " << error;
    };
    refusedLoad("missing", savegame::sys::NotFound);
    // A valid board followed by a megabyte of blank lines is still too large to read.
    WriteBytes(file, Repeat(" 0 \r\n", 112) + std::string(1 << 20, '\n'));
    refusedLoad("huge", 0);
    fs::remove(file);
    fs::create_directory(file);
    refusedLoad("a directory", savegame::sys::IsFolder);

    // A directory named hra.dat: nothing is written and the directory stays.
    EXPECT_FALSE(savegame::SaveGame({file}, PlayedBoard(), &error));
    EXPECT_TRUE(Names(error, file, savegame::sys::IsFolder));
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_TRUE(fs::is_empty(file));

    // The program's folder itself is missing: it is not made.
    const fs::path gone = dir_ / "gone" / "hra.dat";
    EXPECT_FALSE(savegame::SaveGame({gone}, PlayedBoard(), &error));
    EXPECT_TRUE(Names(error, gone.parent_path(), savegame::sys::NoFolder));
    EXPECT_FALSE(fs::exists(dir_ / "gone"));

    // A data folder that cannot be made, for a file stands in its way.
    WriteBytes(dir_ / "plain", "x");
    const fs::path blocked = dir_ / "plain" / "morvel" / "hra.dat";
    EXPECT_FALSE(savegame::SaveGame({blocked, true}, PlayedBoard(), &error));
    EXPECT_TRUE(Names(error, blocked.parent_path(), savegame::sys::NotFolder));

    // Only the directory named hra.dat and the plain file are left: no temporary files.
    EXPECT_EQ(Entries(dir_), 2);
}

// A copy of the program in a folder the player may write into keeps its save beside it.
TEST_F(SaveDirectory, SlotBesideAWritableProgram) {
    const savegame::Slot slot = savegame::FindSlot(dir_, dir_ / "data");
    EXPECT_EQ(slot.file, dir_ / "hra.dat");
    EXPECT_FALSE(slot.makeFolder);
    ASSERT_TRUE(Saves(slot, PlayedBoard()));
    EXPECT_EQ(savegame::LoadGame(slot.file), PlayedBoard());
}
