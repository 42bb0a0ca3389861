// What the saved game does on Windows: Czech reasons for Windows' failures, the slot of
// a copy in the temporary folder, the roaming folder as the system knows it, both ways of
// replacing the save and a save that another program holds open.

#include <windows.h>

#include <chrono>
#include <thread>

#include "savegame_cases.h"
#include "system_windows.h"

namespace sys = savegame::sys;

fs::path TestFolders() {
    return fs::current_path();
}

// Windows refuses to replace a read-only file; Wine replaces it all the same, and then
// this player is never refused.
bool RefuseToReplace(const fs::path& file) {
    const fs::path probe = file.parent_path() / "probe.tmp", target = file.parent_path() / "probe";
    WriteBytes(probe, "new");
    WriteBytes(target, "old");
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool refused = !::MoveFileExW(probe.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove(probe);
    fs::remove(target);
    return refused && ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
}

void AllowToReplace(const fs::path& file) {
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Reasons, CzechForWhatAPlayerMeets) {
    for (const long error : std::initializer_list<long>{ERROR_FILE_NOT_FOUND,
                                                        ERROR_PATH_NOT_FOUND,
                                                        ERROR_ACCESS_DENIED,
                                                        ERROR_SHARING_VIOLATION,
                                                        ERROR_LOCK_VIOLATION,
                                                        ERROR_DISK_FULL,
                                                        ERROR_HANDLE_DISK_FULL,
                                                        ERROR_WRITE_PROTECT,
                                                        ERROR_NOT_READY,
                                                        ERROR_FILE_TOO_LARGE,
                                                        sys::IsFolder,
                                                        ERROR_DIRECTORY,
                                                        ERROR_WRITE_FAULT,
                                                        ERROR_INVALID_NAME,
                                                        ERROR_FILENAME_EXCED_RANGE,
                                                        ERROR_USER_MAPPED_FILE,
                                                        ERROR_FILE_READ_ONLY,
                                                        ERROR_BAD_NETPATH,
                                                        ERROR_BAD_NET_NAME,
                                                        ERROR_UNEXP_NET_ERR,
                                                        ERROR_NETNAME_DELETED,
                                                        ERROR_NO_MEDIA_IN_DRIVE,
                                                        ERROR_DEVICE_NOT_CONNECTED,
                                                        ERROR_NOT_ENOUGH_QUOTA,
                                                        1295L /* disk quota */,
                                                        225L /* a virus found */,
                                                        226L /* a virus removed */}) {
        const int code = static_cast<int>(error);
        EXPECT_NE(sys::Reason(code), sys::SystemMessage(code)) << code;
        EXPECT_FALSE(sys::Reason(code).empty()) << code;
    }
    EXPECT_EQ(sys::Reason(ERROR_INVALID_FUNCTION), sys::SystemMessage(ERROR_INVALID_FUNCTION));
    EXPECT_FALSE(sys::SystemMessage(ERROR_INVALID_FUNCTION).empty());
}

// Only the system refusing to write sends a save to the data folder; a failure to write,
// or a file another program holds, is reported.
TEST(Reasons, RefusalsAreNoPermissionAndWriteProtection) {
    for (const long error : {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_FILE_READ_ONLY})
        EXPECT_TRUE(sys::IsRefusal(static_cast<int>(error))) << error;
    for (const long error : std::initializer_list<long>{
             0, ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_DISK_FULL, ERROR_NOT_READY,
             ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, sys::IsFolder})
        EXPECT_FALSE(sys::IsRefusal(static_cast<int>(error))) << error;
}

// Explorer runs a program opened inside a zip from a copy in the temporary folder, which
// the system empties by itself: such a copy never saves beside itself, however the
// folder is spelt.
TEST_F(SaveDirectory, ACopyInTheTemporaryFolderSavesInTheDataFolder) {
    const fs::path data = dir_ / "AppData" / "Morvel";
    const fs::path unpacked = fs::temp_directory_path() / fs::path(u8"Temp1_morvel-1.3 Jiří.zip");
    fs::create_directories(unpacked / "Morvel");
    std::wstring upper = unpacked.wstring();
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    for (const fs::path& program :
         {unpacked / "Morvel", fs::path(upper) / "Morvel", fs::temp_directory_path()}) {
        const savegame::Slot slot = savegame::FindSlot(program, data);
        EXPECT_EQ(slot.file, data / "hra.dat") << program;
        EXPECT_TRUE(slot.makeFolder);
    }
    // A folder whose name only begins like the temporary folder's is not in it.
    fs::path beside = fs::temp_directory_path();
    if (!beside.has_filename()) beside = beside.parent_path();
    beside += " copy";
    fs::create_directories(beside);
    EXPECT_EQ(savegame::FindSlot(beside, data).file, beside / "hra.dat");
    fs::remove_all(beside);
    fs::remove_all(unpacked);
}

// The roaming folder as the system knows it (where a redirected profile has it, too),
// not as %APPDATA% says, which the C runtime copies from its narrow environment.
TEST_F(SaveDirectory, TheDataFolderIsTheKnownRoamingFolder) {
    const fs::path known = sys::PlayerDataFolder();
    ASSERT_FALSE(known.empty());
    EXPECT_TRUE(known.is_absolute()) << Utf8(known);
    EXPECT_EQ(known.filename(), "Morvel");
    EXPECT_EQ(known.parent_path().filename(), "Roaming");
    const wchar_t* old = ::_wgetenv(L"APPDATA");
    const std::wstring kept = old ? old : L"";
    ASSERT_EQ(::_wputenv_s(L"APPDATA", (dir_ / u8"Jiří Čermák").c_str()), 0);
    EXPECT_EQ(sys::PlayerDataFolder(), known);
    ::_wputenv_s(L"APPDATA", kept.c_str());
}

// A message shows a path with Windows' separators however it was put together (Qt gives
// the program's folder with slashes), and a name with an unpaired surrogate, which NTFS
// allows and UTF-8 cannot hold, with U+FFFD in its place: building the message never
// fails.
TEST_F(SaveDirectory, MessagesShowEveryPath) {
    const fs::path slashed(dir_.generic_wstring() + L"/gone/hra.dat");
    std::string error;
    EXPECT_FALSE(savegame::SaveGame({slashed}, PlayedBoard(), &error));
    EXPECT_EQ(error.find('/'), std::string::npos) << error;
    EXPECT_TRUE(Names(error, dir_ / "gone", ERROR_PATH_NOT_FOUND)) << error;

    const fs::path lone = dir_ / std::wstring(L"Hry \xD800 hráč") / "hra.dat";
    EXPECT_FALSE(savegame::SaveGame({lone}, PlayedBoard(), &error));
    EXPECT_NE(error.find("Hry \xEF\xBF\xBD hráč"), std::string::npos) << error;
    EXPECT_FALSE(savegame::LoadGame(lone, &error));
    EXPECT_NE(error.find("\xEF\xBF\xBD"), std::string::npos) << error;
}

namespace {

// Another program that opens the file and lets others delete it meanwhile, as antivirus
// and synchronising tools do.
HANDLE OpenLikeAScanner(const fs::path& file, DWORD share) {
    return ::CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

// Both ways of putting the new file in place: into a free name, over the previous save,
// and over a save another program reads. Where the system has no replace by handle, it
// says so with an error that sends Replace to the other way, and changes nothing.
TEST_F(SaveDirectory, BothWaysOfReplacingKeepOneWholeFile) {
    const std::string before = savegame::FormatBoard(PlayedBoard());
    const std::string after = savegame::FormatBoard(Everywhere(2, 1));
    const fs::path file = dir_ / "hra.dat", fresh = dir_ / "hra.dat.1-0.tmp";
    struct Way {
        const char* name;
        sys::Error (*replace)(const fs::path&, const fs::path&);
    };
    for (const Way& way :
         {Way{"by handle", sys::ReplaceByHandle}, Way{"by move", sys::ReplaceByMove}}) {
        SCOPED_TRACE(way.name);
        fs::remove(file);
        WriteBytes(fresh, before);
        const sys::Error intoFree = way.replace(fresh, file);
        if (intoFree != 0) {
            EXPECT_TRUE(sys::RenameRefused(intoFree)) << sys::SystemMessage(intoFree);
            EXPECT_EQ(ReadBytes(fresh), before);
            EXPECT_FALSE(fs::exists(file));
            std::printf("[ %s ] refused by this system: %s\n", way.name,
                        sys::SystemMessage(intoFree).c_str());
            fs::remove(fresh);
            continue;
        }
        EXPECT_EQ(ReadBytes(file), before);
        EXPECT_FALSE(fs::exists(fresh));
        WriteBytes(fresh, after);
        ASSERT_EQ(way.replace(fresh, file), 0);
        EXPECT_EQ(ReadBytes(file), after);
        EXPECT_FALSE(fs::exists(fresh));

        // Over a file another program has open and lets go of: the replace by handle
        // takes its place at once; the move may be refused, and then nothing changes.
        WriteBytes(fresh, before);
        const HANDLE reader = OpenLikeAScanner(file, FILE_SHARE_READ | FILE_SHARE_DELETE);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        const sys::Error held = way.replace(fresh, file);
        ::CloseHandle(reader);
        if (held == 0) {
            EXPECT_EQ(ReadBytes(file), before);
            EXPECT_FALSE(fs::exists(fresh));
        } else {
            EXPECT_EQ(way.replace, sys::ReplaceByMove) << sys::SystemMessage(held);
            EXPECT_EQ(ReadBytes(file), after);
            EXPECT_EQ(ReadBytes(fresh), before);
            fs::remove(fresh);
        }
    }
    EXPECT_EQ(Entries(dir_), 1);
}

// Another program holding hra.dat open, sharing nothing: the save fails after a short
// wait, says which file and why in Czech, and the previous save is still there, with
// nothing left beside it. Held only for a moment (a scan of the new save), it is waited
// for, and the save succeeds once the other program lets go.
TEST_F(SaveDirectory, ASaveHeldByAnotherProgram) {
    const savegame::Slot slot{dir_ / "hra.dat"};
    ASSERT_TRUE(Saves(slot, PlayedBoard()));
    HANDLE held = OpenLikeAScanner(slot.file, 0);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string error;
    const bool saved = savegame::SaveGame(slot, rules::Board{}, &error);
    ::CloseHandle(held);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(Names(error, slot.file, ERROR_SHARING_VIOLATION) ||
                Names(error, slot.file, ERROR_ACCESS_DENIED))
        << error;
    EXPECT_EQ(ReadBytes(slot.file), savegame::FormatBoard(PlayedBoard()));
    EXPECT_EQ(Entries(dir_), 1);

    held = OpenLikeAScanner(slot.file, 0);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread letGo([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ::CloseHandle(held);
    });
    const bool waited = savegame::SaveGame(slot, Everywhere(1, 4), &error);
    letGo.join();
    EXPECT_TRUE(waited) << error;
    EXPECT_EQ(savegame::LoadGame(slot.file), Everywhere(1, 4));
    EXPECT_EQ(Entries(dir_), 1);
}
