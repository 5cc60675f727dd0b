#include "shell/settings/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "shell/settings/settings_file.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

// A program folder the user cannot write: read-only for an ordinary user; for root, whom
// permissions do not bind, a folder that is not there at all, which no one can write either.
std::string readOnlyProgramFolder(const TempFolder& temp) {
    const std::string folder = temp.file("lib");
    if (::geteuid() == 0) return folder + "/missing";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    return folder;
}

TEST(SettingsLocation, AWritableCopyKeepsItsSettingsBesideIt) {
    TempFolder temp;
    const std::string config = temp.file("config");
    EXPECT_EQ(settingsFolder(temp.path(), config.c_str(), "/home/u"), temp.path());
    EXPECT_FALSE(fs::exists(config)) << "a portable copy leaves the user's folders alone";
}

TEST(SettingsLocation, AnInstalledCopyUsesTheUsersOwnFolderWithoutMakingIt) {
    // Values starting with "/" are taken inside a fresh temporary folder; null is unset.
    struct Case {
        const char* configHome;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/config", "/home", "/config/quorlane"},      {"/config//", "/home", "/config/quorlane"},
        {nullptr, "/home", "/home/.config/quorlane"},  {"", "/home/", "/home/.config/quorlane"},
        {"config", "/home", "/home/.config/quorlane"},  // relative values are ignored
    };
    for (const Case& c : cases) {
        TempFolder temp;
        auto inTemp = [&](const char* value) {
            return value[0] == '/' ? temp.path().string() + value : std::string(value);
        };
        const std::string configHome = c.configHome ? inTemp(c.configHome) : "";
        const std::string folder =
            settingsFolder(readOnlyProgramFolder(temp), c.configHome ? configHome.c_str() : nullptr,
                           inTemp(c.home).c_str());
        EXPECT_EQ(folder, temp.path().string() + c.expected)
            << (c.configHome ? c.configHome : "(unset)");
        // Made by the dialog's first save alone: a run that saves nothing leaves nothing.
        EXPECT_FALSE(fs::exists(folder)) << "made before a save";
    }
}

TEST(SettingsLocation, WithNowhereElseTheProgramFolderStays) {
    TempFolder temp;
    const std::string program = readOnlyProgramFolder(temp);
    EXPECT_EQ(settingsFolder(program, nullptr, nullptr), program);
    EXPECT_EQ(settingsFolder(program, "config", "home"), program);
}

// A copy that brought its settings file along is portable even where it cannot write.
TEST(SettingsLocation, AFileBesideAReadOnlyCopyIsStillUsed) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TempFolder temp;
    const std::string program = temp.file("lib");
    fs::create_directory(program);
    temp.write("lib/Quorlane.ini", "[Section]\r\n");
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string config = temp.file("config");
    EXPECT_EQ(settingsFolder(program, config.c_str(), nullptr), program);
    fs::permissions(program, fs::perms::owner_all);
    fs::remove(program + "/Quorlane.ini");
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(settingsFolder(program, config.c_str(), nullptr), config + "/quorlane");
}

#define PICTURE_MODE "\x89\xE6\x91\x9C"
#define PICTURE_FILE "\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9"
#define MUSIC_MODE "BGM\x8B\xE6\x95\xAA"
#define REPEAT_TRACK "BGM\xD8\xCB\xDF\xB0\xC4"

// An installed copy (marked by its install step) keeps each user's settings in the user's own
// folder, even where the user can write beside the programs (root can) and even when a
// Quorlane.ini is there: that file is the administrator's defaults, read and never written.
TEST(SettingsLocation, AnInstalledCopyKeepsEveryUsersSettingsInTheirOwnFolder) {
    TempFolder temp;
    const std::string program = temp.file("lib");
    fs::create_directory(program);
    temp.write("lib/Quorlane.installed", "installed\n");
    temp.write("picture.jpg", "a picture");
    const std::string admin = "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" +
                              temp.file("picture.jpg") +
                              "\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=4\r\n";
    temp.write("lib/Quorlane.ini", admin);
    const std::string config = temp.file("config");
    const std::string folder = settingsFolder(program, config.c_str(), "/home/u");
    EXPECT_EQ(folder, config + "/quorlane");
    EXPECT_EQ(settingsDefaultsFile(program), program + "/Quorlane.ini");

    // Without a file of the user's own: the administrator's choices.
    SettingsValues values;
    loadSettings(values, folder, settingsDefaultsFile(program));
    EXPECT_EQ(values.pictureMode, 1);
    EXPECT_EQ(values.pictureFile, temp.file("picture.jpg"));
    EXPECT_EQ(values.musicMode, 1);
    EXPECT_EQ(values.repeatTrack, 4);

    // The user's save lands in the user's file alone; a key it holds wins over the default,
    // one it lacks still comes from the administrator's file.
    values.musicMode = 0;
    fs::create_directories(folder);  // as the dialog's save makes it
    EXPECT_TRUE(saveSettings(values, settingsFilePath(folder)).empty());
    EXPECT_TRUE(fs::exists(folder + "/Quorlane.ini"));
    EXPECT_EQ(test::readFile(program + "/Quorlane.ini"), admin);
    temp.write("config/quorlane/Quorlane.ini", "[Section]\r\n" MUSIC_MODE "=0\r\n");
    loadSettings(values, folder, settingsDefaultsFile(program));
    EXPECT_EQ(values.musicMode, 0);
    EXPECT_EQ(values.repeatTrack, 4);
    EXPECT_EQ(values.pictureMode, 1);

    // A copy run from its own folder is portable: its file beside it is the user's own.
    fs::remove(program + "/Quorlane.installed");
    EXPECT_EQ(settingsFolder(program, config.c_str(), "/home/u"), program);
    EXPECT_EQ(settingsDefaultsFile(program), "");
}

}  // namespace
}  // namespace quorlane
