#include <algorithm>
#include <chrono>
#include <vector>

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
    // Up to nine digits.
    const auto padded =
        savegame::ParseBoard(" 000000002 \r\n 000000004 \r\n" + Repeat(" 0 \r\n", 110));
    ASSERT_TRUE(padded);
    EXPECT_EQ(*padded, BoardWith("1,1:24"));
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
        {"ten digits", withValue(1, " 0000000001 ")},
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
    {
        // The data folder before the first save: there is no save yet.
        const fs::path never = dir_ / "data" / "hra.dat";
        EXPECT_FALSE(savegame::LoadGame(never, &error));
        EXPECT_TRUE(Names(error, never, savegame::sys::NotFound)) << error;
    }
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

// Only the installer's own file, with its own first line, makes a copy an installed one:
// such a copy saves in the player's data folder, where uninstalling does not reach.
TEST_F(SaveDirectory, AnInstalledCopyIsKnownByTheInstallersMark) {
    const fs::path mark = dir_ / savegame::InstallMarkerName, data = dir_ / "data";
    const std::string text = savegame::InstallMarkerText;
    WriteBytes(dir_ / "uninstall.exe", "MZ");
    for (const std::string& foreign :
         std::vector<std::string>{std::string(), text.substr(0, text.size() - 1), text + "x\r\n",
                                  " " + text, "Morvel installation\r\n"}) {
        WriteBytes(mark, foreign);
        EXPECT_FALSE(savegame::IsInstalled(dir_)) << foreign;
        EXPECT_EQ(savegame::FindSlot(dir_, data).file, dir_ / "hra.dat") << foreign;
    }
    for (const std::string& ours : std::vector<std::string>{
             text, text + "\r\nTuto složku vytvořil instalátor.\r\n", text + "\n"}) {
        WriteBytes(mark, ours);
        EXPECT_TRUE(savegame::IsInstalled(dir_)) << ours;
        const savegame::Slot slot = savegame::FindSlot(dir_, data);
        EXPECT_EQ(slot.file, data / "hra.dat") << ours;
        EXPECT_TRUE(slot.makeFolder);
        EXPECT_TRUE(slot.refuge.empty());
    }
    fs::remove(mark);
    fs::create_directory(mark);
    EXPECT_FALSE(savegame::IsInstalled(dir_));
}

namespace {

// A temporary file as a save leaves it when it is cut short, written `age` ago.
void LeaveTemporary(const fs::path& file, const std::string& text,
                    fs::file_time_type::duration age) {
    WriteBytes(file, text);
    fs::last_write_time(file, fs::file_time_type::clock::now() - age);
}

}  // namespace

// Where hra.dat is lost (FAT deletes it before the rename) or damaged, the newest
// temporary file beside it that holds a whole board is the save; the next save puts
// hra.dat back and removes what crashes left, but not a temporary file so new that
// another game may be saving it.
TEST_F(SaveDirectory, ALostSaveComesBackFromItsTemporaryFile) {
    using namespace std::chrono_literals;
    const fs::path file = dir_ / "hra.dat";
    const rules::Board older = Everywhere(1, 1), newer = Everywhere(2, 3);
    const std::string whole = savegame::FormatBoard(newer);
    // The names sort the other way round: the time decides.
    LeaveTemporary(dir_ / "hra.dat.91-0.tmp", savegame::FormatBoard(older), 3h);
    LeaveTemporary(dir_ / "hra.dat.42-0.tmp", whole, 2h);
    // Newer, but cut short, or not a temporary file of hra.dat's.
    LeaveTemporary(dir_ / "hra.dat.43-0.tmp", whole.substr(0, 300), 1h);
    LeaveTemporary(dir_ / "hra.dat.tmp", savegame::FormatBoard(PlayedBoard()), 1h);
    LeaveTemporary(dir_ / "jina.dat.44-0.tmp", savegame::FormatBoard(PlayedBoard()), 1h);
    LeaveTemporary(dir_ / "hra.dat.45-0.bak", savegame::FormatBoard(PlayedBoard()), 1h);

    EXPECT_EQ(savegame::LoadGame(file), newer);  // hra.dat is missing
    WriteBytes(file, whole.substr(0, 200));
    EXPECT_EQ(savegame::LoadGame(file), newer);  // hra.dat is damaged
    // A whole hra.dat is the save, however new its temporary files are.
    WriteBytes(file, savegame::FormatBoard(PlayedBoard()));
    fs::last_write_time(file, fs::file_time_type::clock::now() - 5h);
    EXPECT_EQ(savegame::LoadGame(file), PlayedBoard());

    // Another game's save under way.
    LeaveTemporary(dir_ / "hra.dat.46-0.tmp", whole.substr(0, 100), 0s);
    fs::remove(file);
    ASSERT_TRUE(Saves({file}, older));
    EXPECT_EQ(savegame::LoadGame(file), older);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir_))
        left.push_back(Utf8(entry.path().filename()));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"hra.dat", "hra.dat.45-0.bak", "hra.dat.46-0.tmp",
                                              "hra.dat.tmp", "jina.dat.44-0.tmp"}));
}

// With no whole board anywhere, the failure is hra.dat's own.
TEST_F(SaveDirectory, NoWholeTemporaryFileLeavesTheLoadsOwnFailure) {
    const fs::path file = dir_ / "hra.dat";
    WriteBytes(dir_ / "hra.dat.7-1.tmp", " 1 \r\n");
    std::string error;
    EXPECT_FALSE(savegame::LoadGame(file, &error));
    EXPECT_TRUE(Names(error, file, savegame::sys::NotFound)) << error;
}

// A portable copy whose folder refuses the save (a read-only hra.dat, a folder the player
// may no longer write into) saves in the player's data folder instead and says so; the
// saves and loads that follow use that folder, and the old file stays as it was. A save
// that fails for another reason, or has no refuge, is a failure.
TEST_F(SaveDirectory, ARefusedSaveGoesToTheDataFolder) {
    const fs::path program = dir_ / "Morvel", data = dir_ / "AppData" / "Morvel";
    fs::create_directory(program);
    savegame::Slot slot = savegame::FindSlot(program, data);
    ASSERT_EQ(slot.file, program / "hra.dat");
    ASSERT_EQ(slot.refuge, data / "hra.dat");
    std::string error, warning, notice;
    ASSERT_TRUE(savegame::SaveGame(slot, PlayedBoard(), &error, &warning, &notice)) << error;
    EXPECT_TRUE(notice.empty()) << notice;
    if (!RefuseToReplace(program / "hra.dat")) GTEST_SKIP() << "this player is never refused";

    EXPECT_FALSE(savegame::SaveGame(savegame::Slot{program / "hra.dat"}, Everywhere(1, 2), &error));
    ASSERT_TRUE(savegame::SaveGame(slot, Everywhere(1, 2), &error, &warning, &notice)) << error;
    AllowToReplace(program / "hra.dat");
    EXPECT_EQ(slot.file, data / "hra.dat");
    EXPECT_TRUE(slot.refuge.empty());
    EXPECT_NE(notice.find(Utf8(data / "hra.dat")), std::string::npos) << notice;
    EXPECT_NE(notice.find(Utf8(program)), std::string::npos) << notice;
    EXPECT_EQ(ReadBytes(program / "hra.dat"), savegame::FormatBoard(PlayedBoard()));
    EXPECT_EQ(savegame::LoadGame(slot.file), Everywhere(1, 2));
    notice.clear();
    ASSERT_TRUE(savegame::SaveGame(slot, Everywhere(2, 4), &error, &warning, &notice));
    EXPECT_TRUE(notice.empty()) << notice;
    EXPECT_EQ(savegame::LoadGame(data / "hra.dat"), Everywhere(2, 4));

    // A folder in hra.dat's place is no refusal: the save fails, and the slot stays.
    const fs::path blocked = dir_ / "blocked";
    fs::create_directories(blocked / "hra.dat");
    savegame::Slot kept{blocked / "hra.dat", false, dir_ / "elsewhere" / "hra.dat"};
    EXPECT_FALSE(savegame::SaveGame(kept, PlayedBoard(), &error, &warning, &notice));
    EXPECT_TRUE(Names(error, blocked / "hra.dat", savegame::sys::IsFolder)) << error;
    EXPECT_EQ(kept.file, blocked / "hra.dat");
    EXPECT_FALSE(fs::exists(dir_ / "elsewhere"));
}
