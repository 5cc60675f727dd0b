#include "shell/settings/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "temp_folder.h"

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

TEST(SettingsLocation, AnInstalledCopyUsesTheUsersOwnFolderAndMakesIt) {
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
            return value[0] == '/' ? temp.path() + value : std::string(value);
        };
        const std::string configHome = c.configHome ? inTemp(c.configHome) : "";
        const std::string folder =
            settingsFolder(readOnlyProgramFolder(temp), c.configHome ? configHome.c_str() : nullptr,
                           inTemp(c.home).c_str());
        EXPECT_EQ(folder, temp.path() + c.expected) << (c.configHome ? c.configHome : "(unset)");
        EXPECT_TRUE(fs::is_directory(folder)) << "made, so that a save can land";
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

}  // namespace
}  // namespace quorlane
