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
        // Code page 932: "表" is 95 5C, and its second byte is no backslash.
        {"C:\\\x95\x5C\\\x95\x5C.jpg", "C:\\\x95\x5C"},
        {"\x95\x5C.jpg", ""},
        {"C:\\\xB6\xDE\\a.bmp", "C:\\\xB6\xDE"},  // half-width katakana: one byte each
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(folderOfPath(path), folder) << path;
}

TEST(WindowsPaths, JoinedPathPutsOneBackslashBetween) {
    EXPECT_EQ(joinedPath("C:\\Program Files\\Quorlane", "Quorlane.ini"),
              "C:\\Program Files\\Quorlane\\Quorlane.ini");
    EXPECT_EQ(joinedPath("C:\\", "Quorlane.ini"), "C:\\Quorlane.ini");
    EXPECT_EQ(joinedPath("C:/games/", "Quorlane.ini"), "C:/games/Quorlane.ini");
    EXPECT_EQ(joinedPath("C:\\\x95\x5C", "Quorlane.ini"), "C:\\\x95\x5C\\Quorlane.ini");
}

}  // namespace
}  // namespace quorlane
