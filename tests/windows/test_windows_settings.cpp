// The settings file on Windows: written by the same profile code as on Linux, in the same
// bytes (code page 932 through Windows' own table, CR LF), read back from what Windows' own
// profile routines leave, and kept beside Quorlane.scr when that folder can be written.
#include <windows.h>
// windows.h first; the test framework after it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "shell/settings/settings_file.h"
#include "shell/settings/settings_location.h"

namespace quorlane {
namespace {

// The five keys as code page 932 bytes, spelled out rather than converted.
#define PICTURE_MODE "\x89\xE6\x91\x9C"
#define PICTURE_FILE "\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9"
#define MUSIC_MODE "BGM\x8B\xE6\x95\xAA"
#define REPEAT_TRACK "BGM\xD8\xCB\xDF\xB0\xC4"
#define MUSIC_FILE "BGM\xCC\xA7\xB2\xD9"

class WindowsSettings : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "quorlane-settings-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        ini_ = folder_ + "\\Quorlane.ini";
        DeleteFileA(ini_.c_str());
    }
    void TearDown() override {
        DeleteFileA(ini_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string read() const {
        std::ifstream in(ini_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string folder_, ini_;
};

TEST_F(WindowsSettings, TheFileIsTheSameBytesAsOnLinux) {
    SettingsValues values;
    values.pictureMode = 1;
    values.pictureFile = "C:\\写真\\表~.jpg";
    values.musicMode = 2;
    values.repeatTrack = 3;
    values.musicFile = "D:\\音楽\\曲.mp3";
    EXPECT_TRUE(saveSettings(values, ini_).empty());
    EXPECT_EQ(read(), "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE
                      "=C:\\\x8E\xCA\x90\x5E\\\x95\x5C~.jpg\r\n" MUSIC_MODE "=2\r\n" REPEAT_TRACK
                      "=3\r\n" MUSIC_FILE "=D:\\\x89\xB9\x8A\x79\\\x8B\xC8.mp3\r\n");

    // What Windows' profile routines leave after more writes: another case, another order.
    EXPECT_TRUE(WritePrivateProfileStringA("SECTION", REPEAT_TRACK, "12", ini_.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("SECTION", MUSIC_MODE, "-1", ini_.c_str()));
    SettingsValues loaded;
    loadSettings(loaded, folder_);
    EXPECT_EQ(loaded.repeatTrack, 12);
    EXPECT_EQ(loaded.musicMode, -1);
}

TEST_F(WindowsSettings, AWritableFolderOfTheProgramKeepsThem) {
    EXPECT_EQ(settingsFolder(folder_, "C:\\Users\\ann\\AppData\\Roaming", nullptr), folder_);
    // A folder that cannot hold them sends them to the user's application data.
    const std::string missing = folder_ + "\\not-there";
    EXPECT_EQ(settingsFolder(missing, folder_.c_str(), nullptr), folder_ + "\\Quorlane");
    RemoveDirectoryA((folder_ + "\\Quorlane").c_str());
    // With no such folder known, the program's folder is all there is.
    EXPECT_EQ(settingsFolder(missing, nullptr, nullptr), missing);
}

}  // namespace
}  // namespace quorlane
