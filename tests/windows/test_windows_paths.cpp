// The path rules of the Windows build: where the desktop picture goes, and how a path is cut
// into its folder (as the settings dialog's choosers start there).
#include <gtest/gtest.h>

#include <string>

#include "common/desktop_image_location.h"
#include "common/file_path.h"

namespace quorlane {
namespace {

TEST(WindowsPaths, TheDesktopPictureLivesInTheUsersLocalApplicationData) {
    struct Case {
        const char* localAppData;
        const char* folder;
        const char* file;
    };
    const Case cases[] = {
        {"C:\\Users\\ann\\AppData\\Local", "C:\\Users\\ann\\AppData\\Local\\orvask",
         "C:\\Users\\ann\\AppData\\Local\\orvask\\Torvane.bmp"},
        {"D:\\", "D:\\orvask", "D:\\orvask\\Torvane.bmp"},
        {"\\\\server\\home\\ann", "\\\\server\\home\\ann\\orvask",
         "\\\\server\\home\\ann\\orvask\\Torvane.bmp"},
        // Unset, empty or relative: no place rather than one beside the working folder.
        {nullptr, "", ""},
        {"", "", ""},
        {"AppData\\Local", "", ""},
        {"C:", "", ""},
    };
    for (const Case& c : cases) {
        const DesktopImageLocation location = desktopImageLocationIn(c.localAppData);
        const std::string label = c.localAppData ? c.localAppData : "(unset)";
        EXPECT_EQ(location.folder, c.folder) << label;
        EXPECT_EQ(location.file, c.file) << label;
    }
}

TEST(WindowsPaths, FolderOfPathCutsAtTheLastColonOrBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\pictures\\sea.bmp", "C:\\pictures"},
        {"C:\\a.bmp", "C:"},  // a drive's root gives the drive alone
        {"C:a.bmp", "C:"},
        {"a.bmp", ""},
        {"C:\\pictures\\", "C:\\pictures"},
        {"\\\\server\\share\\m.mp3", "\\\\server\\share"},
        // UTF-8: "像" (E5 83 8F) ends in a byte that is a lead byte in code page 932, and the
        // backslash after it still cuts.
        {"C:\\pics\\画像\\sea.bmp", "C:\\pics\\画像"},
        {"C:\\表\\表.jpg", "C:\\表"},
        {"ｶﾞ\\a.bmp", "ｶﾞ"},
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(folderOfPath(path), folder) << path;
}

TEST(WindowsPaths, JoinedPathPutsOneBackslashBetween) {
    EXPECT_EQ(joinedPath("C:\\Program Files\\Quorlane", "Quorlane.ini"),
              "C:\\Program Files\\Quorlane\\Quorlane.ini");
    EXPECT_EQ(joinedPath("C:\\", "Quorlane.ini"), "C:\\Quorlane.ini");
    EXPECT_EQ(joinedPath("C:/games/", "Quorlane.ini"), "C:/games/Quorlane.ini");
    EXPECT_EQ(joinedPath("C:\\画像", "Quorlane.ini"), "C:\\画像\\Quorlane.ini");
}

}  // namespace
}  // namespace quorlane
