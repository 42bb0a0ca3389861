#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

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

// A fresh folder of its own for each case.
class SaveDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "morvel-save-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// The message names `path` and gives the reason for `errnum`, in Czech.
::testing::AssertionResult Names(const std::string& message, const fs::path& path, int errnum) {
    const std::string why = savegame::Reason(errnum);
    if (message.find(path.string()) != std::string::npos && message.find(why) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "'" << message << "' should name " << path << " and '" << why << "'";
}

// A good save says nothing: no error and no warning, whatever errno was before it.
::testing::AssertionResult Saves(const savegame::Slot& slot, const rules::Board& board) {
    for (int stale : {0, ENOENT, EBADF, EAGAIN}) {
        std::string error, warning;
        errno = stale;
        if (!savegame::SaveGame(slot, board, &error, &warning) || !warning.empty())
            return ::testing::AssertionFailure()
                   << "errno " << stale << " before the save: '" << error << warning << "'";
    }
    return ::testing::AssertionSuccess();
}

rules::Board PlayedBoard() {
    return BoardWith("1,1:11 7,1:24 2,2:22 3,3:13 4,4:14 5,5:21 6,6:12 1,8:23 7,8:11");
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

// The reason is Czech for every failure a player can meet, however the system is set up
// (the test runs under the C locale), and the C library's words for any other.
TEST(Reasons, CzechForWhatAPlayerMeets) {
    for (int errnum : {ENOENT, EACCES, EPERM, EROFS, ENOSPC, EDQUOT, EFBIG, EISDIR, ENOTDIR, EIO,
                       EMLINK, ELOOP, ENAMETOOLONG}) {
        EXPECT_NE(savegame::Reason(errnum), std::strerror(errnum)) << errnum;
        EXPECT_FALSE(savegame::Reason(errnum).empty()) << errnum;
    }
    EXPECT_EQ(savegame::Reason(EAGAIN), std::strerror(EAGAIN));
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
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SaveDirectory, FailuresNameThePathAndChangeNothing) {
    const fs::path file = dir_ / "hra.dat";
    std::string error;
    auto refusedLoad = [&](const char* what, int errnum) {
        error.clear();
        EXPECT_FALSE(savegame::LoadGame(file, &error)) << what;
        if (errnum)
            EXPECT_TRUE(Names(error, file, errnum)) << what;
        else
            EXPECT_NE(error.find(file.string()), std::string::npos) << what << ": " << error;
    };
    refusedLoad("missing", ENOENT);
    // A valid board followed by a megabyte of blank lines is still too large to read.
    WriteBytes(file, Repeat(" 0 \r\n", 112) + std::string(1 << 20, '\n'));
    refusedLoad("huge", 0);
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    refusedLoad("a pipe, which must not hang the game", 0);
    fs::remove(file);
    fs::create_directory(file);
    refusedLoad("a directory", EISDIR);

    // A directory named hra.dat: nothing is written and the directory stays.
    EXPECT_FALSE(savegame::SaveGame({file}, PlayedBoard(), &error));
    EXPECT_TRUE(Names(error, file, EISDIR));
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_TRUE(fs::is_empty(file));

    // The program's folder itself is missing: it is not made.
    const fs::path gone = dir_ / "gone" / "hra.dat";
    EXPECT_FALSE(savegame::SaveGame({gone}, PlayedBoard(), &error));
    EXPECT_TRUE(Names(error, gone.parent_path(), ENOENT));
    EXPECT_FALSE(fs::exists(dir_ / "gone"));

    // A data folder that cannot be made, for a file stands in its way.
    WriteBytes(dir_ / "plain", "x");
    const fs::path blocked = dir_ / "plain" / "morvel" / "hra.dat";
    EXPECT_FALSE(savegame::SaveGame({blocked, true}, PlayedBoard(), &error));
    EXPECT_TRUE(Names(error, blocked.parent_path(), ENOTDIR));

    // Only the directory named hra.dat and the plain file are left: no temporary files.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

// A write that fails half-way (here: the file size limit, as a full disk would) names
// hra.dat and the system's reason, and leaves the previous save and nothing else.
TEST_F(SaveDirectory, AFailedWriteKeepsThePreviousSave) {
    const savegame::Slot slot{dir_ / "hra.dat"};
    ASSERT_TRUE(savegame::SaveGame(slot, PlayedBoard()));
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool saved = savegame::SaveGame(slot, rules::Board{}, &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(Names(error, slot.file, EFBIG));
    EXPECT_EQ(error.find(".tmp"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(slot.file), savegame::FormatBoard(PlayedBoard()));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// Two programs saving into one slot at once: every save succeeds, and whenever the file
// is read it is one of the two boards, whole.
TEST_F(SaveDirectory, TwoProcessesSavingAtOnceNeverMixTheirFiles) {
    const savegame::Slot slot{dir_ / "hra.dat"};
    const rules::Board boards[2] = {PlayedBoard(), Everywhere(1, 1, "4,4:23")};
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            int failures = 0;
            for (int n = 0; n < 200; ++n) failures += !savegame::SaveGame(slot, boards[i]);
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    int reads = 0;
    for (int finished = 0; finished < 2;) {
        if (const auto board = savegame::LoadGame(slot.file)) {
            ++reads;
            EXPECT_TRUE(*board == boards[0] || *board == boards[1]);
        }
        finished = 0;
        for (pid_t& child : children) {
            int status = 0;
            if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
                child = -1;
            }
            finished += child < 0;
        }
    }
    EXPECT_GT(reads, 0);
    const auto last = savegame::LoadGame(slot.file);
    ASSERT_TRUE(last);
    EXPECT_TRUE(*last == boards[0] || *last == boards[1]);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// Where the one save slot is. Root may write into any folder, so the read-only cases run
// only for an ordinary user; the test command runs them again as one.
TEST_F(SaveDirectory, SlotBesideAWritableProgram) {
    const savegame::Slot slot = savegame::FindSlot(dir_, "/elsewhere", "/home/nobody");
    EXPECT_EQ(slot.file, dir_ / "hra.dat");
    EXPECT_FALSE(slot.makeFolder);
    // Only /usr itself is the package manager's, not every folder called usr.
    fs::create_directories(dir_ / "usr" / "games");
    EXPECT_EQ(savegame::FindSlot(dir_ / "usr" / "games", "/elsewhere", nullptr).file,
              dir_ / "usr" / "games" / "hra.dat");
}

// A program under /usr never saves beside itself, even when it may write there (as root
// may): the package manager's folders get no file that no package owns.
TEST_F(SaveDirectory, NeverASlotUnderUsr) {
    fs::create_directory_symlink("/usr/share", dir_ / "link");
    for (const fs::path& program :
         {fs::path("/usr"), fs::path("/usr/share"), fs::path("/usr/./share"), dir_ / "link"}) {
        const savegame::Slot slot = savegame::FindSlot(program, "/data", "/home/player");
        EXPECT_EQ(slot.file, fs::path("/data/morvel/hra.dat")) << program;
        EXPECT_TRUE(slot.makeFolder) << program;
    }
}

TEST_F(SaveDirectory, SlotInTheDataFolderWhenTheProgramsFolderIsReadOnly) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    const fs::path program = dir_ / "games", data = dir_ / "data", home = dir_ / "home";
    fs::create_directories(program);
    ASSERT_TRUE(savegame::SaveGame({program / "hra.dat"}, PlayedBoard()));
    fs::permissions(program, fs::perms::owner_write, fs::perm_options::remove);

    savegame::Slot slot = savegame::FindSlot(program, data.c_str(), home.c_str());
    EXPECT_EQ(slot.file, data / "morvel" / "hra.dat");
    EXPECT_TRUE(slot.makeFolder);
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/data"}) {
        EXPECT_EQ(savegame::FindSlot(program, ignored, home.c_str()).file,
                  home / ".local" / "share" / "morvel" / "hra.dat")
            << (ignored ? ignored : "unset");
    }

    // The first save makes the folder, and loading finds the save there.
    ASSERT_FALSE(fs::exists(data));
    std::string error;
    ASSERT_TRUE(Saves(slot, Everywhere(1, 1)));
    const auto loaded = savegame::LoadGame(slot.file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, Everywhere(1, 1));

    // Saving into the read-only folder itself fails and leaves the old save as it was.
    const std::string before = ReadBytes(program / "hra.dat");
    EXPECT_FALSE(savegame::SaveGame({program / "hra.dat"}, rules::Board{}, &error));
    EXPECT_TRUE(Names(error, program, EACCES));
    EXPECT_EQ(ReadBytes(program / "hra.dat"), before);
    fs::permissions(program, fs::perms::owner_write, fs::perm_options::add);

    // An unreadable save is refused with the system's reason.
    ::chmod(slot.file.c_str(), 0200);
    EXPECT_FALSE(savegame::LoadGame(slot.file, &error));
    EXPECT_TRUE(Names(error, slot.file, EACCES));
}

// A folder that may be written but not read cannot be synced once the new save has been
// renamed into place: the save has succeeded all the same, and only a warning says so.
TEST_F(SaveDirectory, AnUnsyncableFolderIsASaveWithAWarning) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may read any folder";
    const fs::path folder = dir_ / "blind";
    fs::create_directory(folder);
    ASSERT_TRUE(savegame::SaveGame({folder / "hra.dat"}, rules::Board{}));
    ::chmod(folder.c_str(), 0300);
    std::string error, warning;
    EXPECT_TRUE(savegame::SaveGame({folder / "hra.dat"}, PlayedBoard(), &error, &warning)) << error;
    EXPECT_TRUE(Names(warning, folder, EACCES));
    ::chmod(folder.c_str(), 0700);
    EXPECT_EQ(ReadBytes(folder / "hra.dat"), savegame::FormatBoard(PlayedBoard()));
}
