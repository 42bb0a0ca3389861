// What the saved game does on Windows: Czech reasons for Windows' failures, the slot of
// a portable and of an installed copy, %APPDATA% with a player's name in it, and a save
// that another program holds open.

#include <windows.h>

#include "savegame_cases.h"

namespace sys = savegame::sys;

TEST(Reasons, CzechForWhatAPlayerMeets) {
    for (const long error : std::initializer_list<long>{
             ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED,
             ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL,
             ERROR_WRITE_PROTECT, ERROR_NOT_READY, ERROR_FILE_TOO_LARGE, sys::IsFolder,
             ERROR_DIRECTORY, ERROR_WRITE_FAULT, ERROR_INVALID_NAME, ERROR_FILENAME_EXCED_RANGE}) {
        const int code = static_cast<int>(error);
        EXPECT_NE(sys::Reason(code), sys::SystemMessage(code)) << code;
        EXPECT_FALSE(sys::Reason(code).empty()) << code;
    }
    EXPECT_EQ(sys::Reason(ERROR_INVALID_FUNCTION), sys::SystemMessage(ERROR_INVALID_FUNCTION));
    EXPECT_FALSE(sys::SystemMessage(ERROR_INVALID_FUNCTION).empty());
}

// A copy unpacked anywhere the player may write keeps the save beside it; an installed
// copy, whose uninstaller stands beside it, keeps it in the player's data folder, where
// uninstalling does not reach.
TEST_F(SaveDirectory, AnInstalledCopySavesInTheDataFolder) {
    const fs::path data = dir_ / u8"AppData Jiří" / "Morvel";
    EXPECT_EQ(savegame::FindSlot(dir_, data).file, dir_ / "hra.dat");
    WriteBytes(dir_ / "uninstall.exe", "MZ");
    const savegame::Slot slot = savegame::FindSlot(dir_, data);
    EXPECT_EQ(slot.file, data / "hra.dat");
    EXPECT_TRUE(slot.makeFolder);
    ASSERT_TRUE(Saves(slot, PlayedBoard()));
    EXPECT_EQ(savegame::LoadGame(slot.file), PlayedBoard());
    // The writability test leaves nothing behind.
    EXPECT_EQ(Entries(dir_), 2);
}

TEST_F(SaveDirectory, TheDataFolderIsAppDataMorvel) {
    const fs::path appData = dir_ / u8"Users" / u8"Jiří Čermák" / "AppData" / "Roaming";
    const wchar_t* old = ::_wgetenv(L"APPDATA");
    const std::wstring kept = old ? old : L"";
    ASSERT_EQ(::_wputenv_s(L"APPDATA", appData.c_str()), 0);
    EXPECT_EQ(sys::PlayerDataFolder(), appData / "Morvel");
    ASSERT_EQ(::_wputenv_s(L"APPDATA", L"relative\\folder"), 0);
    EXPECT_NE(sys::PlayerDataFolder(), fs::path(L"relative\\folder") / "Morvel");
    ::_wputenv_s(L"APPDATA", kept.c_str());
}

// Another program holding hra.dat open, sharing nothing: the save fails, says which file
// and why in Czech, and the previous save is still there, with nothing left beside it.
TEST_F(SaveDirectory, ASaveHeldByAnotherProgramIsKept) {
    const savegame::Slot slot{dir_ / "hra.dat"};
    ASSERT_TRUE(Saves(slot, PlayedBoard()));
    const HANDLE held = ::CreateFileW(slot.file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
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
}
