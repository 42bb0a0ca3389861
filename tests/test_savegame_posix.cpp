// What the saved game does on a POSIX system: the reasons for errno's failures, pipes,
// limits, processes saving at once, and where the save slot is.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "savegame_cases.h"
#include "system_posix.h"

fs::path TestFolders() {
    return fs::temp_directory_path();
}

// Renaming over a file needs only the right to write into its folder; root has it always.
bool RefuseToReplace(const fs::path& file) {
    if (::geteuid() == 0) return false;
    fs::permissions(file.parent_path(), fs::perms::owner_write, fs::perm_options::remove);
    return true;
}

void AllowToReplace(const fs::path& file) {
    fs::permissions(file.parent_path(), fs::perms::owner_write, fs::perm_options::add);
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

// Only the system refusing to write sends a save to the data folder; a failure to write
// (a full disk, a broken medium, a folder in the file's place) is reported.
TEST(Reasons, RefusalsAreNoPermissionAndReadOnly) {
    for (int errnum : {EACCES, EPERM, EROFS}) EXPECT_TRUE(savegame::sys::IsRefusal(errnum));
    for (int errnum : {0, ENOENT, ENOSPC, EDQUOT, EIO, EISDIR, ENOTDIR, ENAMETOOLONG})
        EXPECT_FALSE(savegame::sys::IsRefusal(errnum)) << errnum;
}

// A pipe named hra.dat must not hang the game.
TEST_F(SaveDirectory, APipeIsRefusedAtOnce) {
    const fs::path file = dir_ / "hra.dat";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(savegame::LoadGame(file, &error));
    EXPECT_NE(error.find(Utf8(file)), std::string::npos) << error;
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
    EXPECT_EQ(Entries(dir_), 1);
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
    EXPECT_EQ(Entries(dir_), 1);
}

// Where the one save slot is. Root may write into any folder, so the read-only cases run
// only for an ordinary user; the test command runs them again as one.
TEST_F(SaveDirectory, OnlyUsrItselfIsThePackageManagers) {
    fs::create_directories(dir_ / "usr" / "games");
    EXPECT_EQ(savegame::FindSlot(dir_ / "usr" / "games", "/elsewhere/morvel").file,
              dir_ / "usr" / "games" / "hra.dat");
}

// A program under /usr never saves beside itself, even when it may write there (as root
// may): the package manager's folders get no file that no package owns.
TEST_F(SaveDirectory, NeverASlotUnderUsr) {
    fs::create_directory_symlink("/usr/share", dir_ / "link");
    for (const fs::path& program :
         {fs::path("/usr"), fs::path("/usr/share"), fs::path("/usr/./share"), dir_ / "link"}) {
        const savegame::Slot slot =
            savegame::FindSlot(program, savegame::sys::DataFolderFrom("/data", "/home/player"));
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

    savegame::Slot slot =
        savegame::FindSlot(program, savegame::sys::DataFolderFrom(data.c_str(), home.c_str()));
    EXPECT_EQ(slot.file, data / "morvel" / "hra.dat");
    EXPECT_TRUE(slot.makeFolder);
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/data"}) {
        EXPECT_EQ(savegame::sys::DataFolderFrom(ignored, home.c_str()),
                  home / ".local" / "share" / "morvel")
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
