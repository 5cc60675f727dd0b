#include "shell/settings/profile_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "temp_folder.h"

namespace quorlane {
namespace {

using test::TempFolder;

// A file as people and other programs leave it: comments, blank lines, odd spacing and case,
// other sections before and after, LF-only line ends.
constexpr std::string_view kEdited =
    "; written by hand\n"
    "[Other]\n"
    "Mode=7\n"
    "\n"
    "  [ section ]  \n"
    ";Mode=9\n"
    "  MODE  =  \"two words\"  \n"
    "Path='/tmp/x'\n"
    "Half=\"open\n"
    "Empty=\n"
    "noequals\n"
    "\n"
    "[Section]\n"
    "Late=1\n";

TEST(ProfileText, ReadsLikeTheWindowsRoutines) {
    ProfileText text(kEdited);
    EXPECT_EQ(text.value("SECTION", "mode"), "two words");  // blanks trimmed, quotes removed
    EXPECT_EQ(text.value("Section", "Path"), "/tmp/x");
    EXPECT_EQ(text.value("Section", "Half"), "\"open");  // quotes only in matching pairs
    EXPECT_EQ(text.value("Section", "Empty"), "");
    EXPECT_EQ(text.value("Other", "Mode"), "7");
    EXPECT_EQ(text.value("Section", "noequals"), std::nullopt);
    EXPECT_EQ(text.value("Section", ";Mode"), std::nullopt);  // a comment, not a key
    EXPECT_EQ(text.value("Section", "Late"), std::nullopt);   // only the first section counts
    EXPECT_EQ(text.value("Missing", "Mode"), std::nullopt);
    EXPECT_EQ(ProfileText("").value("Section", "Mode"), std::nullopt);
}

TEST(ProfileText, MatchesDoubleByteNamesExactly) {
    // 0x83 0x41 "ア" and 0x83 0x61 "ヂ" differ only in an ASCII-looking second byte, and
    // 0x83 0x5D "ゾ" ends in "]": neither may be taken for ASCII.
    ProfileText text("[\x83\x5D]\r\n\x83\x61=wrong\r\n\x83\x41=right\r\n");
    EXPECT_EQ(text.value("\x83\x5D", "\x83\x41"), "right");
    EXPECT_EQ(text.value("\x83\x5D", "\x83\x61"), "wrong");
    EXPECT_EQ(text.value("\x83\x7D", "\x83\x41"), std::nullopt);
}

TEST(ProfileText, ChangesOnlyTheKeyAndKeepsEverythingElse) {
    ProfileText text(kEdited);
    ASSERT_TRUE(text.setValue("Section", "mode", "3"));
    ASSERT_TRUE(text.setValue("Section", "New", ""));
    ASSERT_TRUE(text.setValue("Added", "Key", "v"));
    EXPECT_EQ(text.bytes(),
              "; written by hand\r\n"
              "[Other]\r\n"
              "Mode=7\r\n"
              "\r\n"
              "  [ section ]  \r\n"
              ";Mode=9\r\n"
              "MODE=3\r\n"  // the key keeps its spelling
              "Path='/tmp/x'\r\n"
              "Half=\"open\r\n"
              "Empty=\r\n"
              "noequals\r\n"
              "New=\r\n"  // after the section's last line, before the blank one
              "\r\n"
              "[Section]\r\n"
              "Late=1\r\n"
              "[Added]\r\n"
              "Key=v\r\n");
}

TEST(ProfileText, StoresValuesSoTheyReadBackAsGiven) {
    ProfileText text("");
    for (std::string_view value : {"/tmp/a.mp3 ", " lead", "\"q\"", "'x'", "a\"b", "\""}) {
        ASSERT_TRUE(text.setValue("S", "K", value));
        EXPECT_EQ(ProfileText(text.bytes()).value("S", "K"), value) << value;
    }
    ASSERT_TRUE(text.setValue("S", "K", "plain value"));
    EXPECT_EQ(text.bytes(), "[S]\r\nK=plain value\r\n");  // ordinary values as Windows writes

    // A line break or NUL would let a value forge other lines; such text is refused.
    for (std::string_view value :
         {std::string_view("a\nb"), std::string_view("a\r\n[S]"), std::string_view("a\0b", 3)}) {
        EXPECT_FALSE(text.setValue("S", "K", value));
    }
    EXPECT_FALSE(text.setValue("S", "K=", "v"));
    EXPECT_FALSE(text.setValue("S]", "K", "v"));
    EXPECT_FALSE(text.setValue("S", "", "v"));
    EXPECT_EQ(text.bytes(), "[S]\r\nK=plain value\r\n");
}

class ProfileFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string ini = folder.file("Quorlane.ini");
};

TEST_F(ProfileFileTest, CreatesAMissingFileAndKeepsTheModeOfAnOldOne) {
    EXPECT_EQ(readProfileString(ini, "Section", "K"), std::nullopt);
    ASSERT_TRUE(writeProfileString(ini, "Section", "K", "1"));
    EXPECT_EQ(folder.read("Quorlane.ini"), "[Section]\r\nK=1\r\n");
    EXPECT_EQ(readProfileString(ini, "section", "k"), "1");

    ASSERT_EQ(::chmod(ini.c_str(), 0640), 0);
    ASSERT_TRUE(writeProfileString(ini, "Section", "K", "2"));
    struct stat st {};
    ASSERT_EQ(::stat(ini.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorlane.ini"});  // no temporary left
}

TEST_F(ProfileFileTest, WritesThroughASymbolicLink) {
    folder.write("real.ini", "[Section]\r\nK=1\r\n");
    ASSERT_EQ(::symlink("real.ini", ini.c_str()), 0);
    ASSERT_TRUE(writeProfileString(ini, "Section", "K", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
    EXPECT_EQ(folder.read("real.ini"), "[Section]\r\nK=2\r\n");
}

TEST_F(ProfileFileTest, AFailedWriteLeavesTheOldFileWhole) {
    const std::string old = "[Section]\r\nK=old\r\n";
    folder.write("Quorlane.ini", old);

    // Running out of room mid-write (a full disk): limit the size of files this process writes.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = writeProfileString(ini, "Section", "K", std::string(100, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(folder.read("Quorlane.ini"), old);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Quorlane.ini"});

    // Something that is not a file where the file should be is left alone.
    std::filesystem::create_directory(folder.file("dir.ini"));
    EXPECT_FALSE(writeProfileString(folder.file("dir.ini"), "Section", "K", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("dir.ini")));
}

TEST_F(ProfileFileTest, AnUnwritableFolderLeavesTheOldFileWhole) {
    const std::string old = "[Section]\r\nK=old\r\n";
    folder.write("Quorlane.ini", old);
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    EXPECT_FALSE(writeProfileString(ini, "Section", "K", "new"));
    EXPECT_EQ(folder.read("Quorlane.ini"), old);
}

}  // namespace
}  // namespace quorlane
