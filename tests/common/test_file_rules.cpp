// The program's one set of file rules: path splitting and joining, ASCII case, and the atomic
// replacement every written file goes through.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/ascii_case.h"
#include "common/atomic_file.h"
#include "common/file_path.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;

TEST(FilePath, SplitsAndJoinsAtSlashesOnly) {
    // (More of folderOfPath with the settings file, whose helper it is.)
    EXPECT_EQ(folderOfPath("C:\\pics\\a.bmp"), "");  // a backslash is part of a name here

    EXPECT_EQ(joinedPath("/opt/quorlane", "Quorlane.ini"), "/opt/quorlane/Quorlane.ini");
    EXPECT_EQ(joinedPath("/opt/quorlane//", "Quorlane.ini"), "/opt/quorlane/Quorlane.ini");
    EXPECT_EQ(joinedPath("/", "Quorlane.ini"), "/Quorlane.ini");
    EXPECT_EQ(joinedPath("", "Quorlane.ini"), "/Quorlane.ini");
}

TEST(AsciiCase, ChangesAsciiLettersAndNothingElse) {
    EXPECT_EQ(asciiUppercase("song.mp3"), "SONG.MP3");
    EXPECT_EQ(asciiUpper('i'), 'I');
    EXPECT_EQ(asciiLower('Z'), 'z');
    EXPECT_EQ(asciiUppercase("\xC3\xA9t\xC3\xA9.wav"), "\xC3\xA9T\xC3\xA9.WAV");  // UTF-8 "été"
    EXPECT_EQ(asciiUppercase("@[`{"), "@[`{");  // the neighbours of the letter ranges
    EXPECT_TRUE(asciiEqualIgnoringCase("Play CDAudio", "play cdaudio"));
    EXPECT_FALSE(asciiEqualIgnoringCase("play", "plays"));
    EXPECT_FALSE(asciiEqualIgnoringCase("@", "`"));  // 0x40 and 0x60 differ by the case bit
    EXPECT_TRUE(asciiEndsWithIgnoringCase("/discs/Album.CUE", ".cue"));
    EXPECT_FALSE(asciiEndsWithIgnoringCase("cue", ".cue"));
}

class AtomicFile : public ::testing::Test {
protected:
    test::TempFolder temp;
    fs::path folder = temp.path();

    static std::string read(const fs::path& file) { return test::readFile(file); }
    static unsigned modeOf(const fs::path& file) {
        struct stat info {};
        ::stat(file.c_str(), &info);
        return info.st_mode & 07777;
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
};

TEST_F(AtomicFile, NewFilesTakeTheModeAskedFor) {
    const mode_t old = ::umask(027);
    EXPECT_TRUE(replaceFileAtomically(folder / "private", "a"));
    EXPECT_TRUE(replaceFileAtomically(folder / "shared", "b", kModeFromUmask));
    EXPECT_TRUE(replaceFileAtomically(folder / "kept", "c", 0644));
    ::umask(old);
    EXPECT_EQ(modeOf(folder / "private"), 0600u);
    EXPECT_EQ(modeOf(folder / "shared"), 0640u);
    EXPECT_EQ(modeOf(folder / "kept"), 0644u);
    EXPECT_EQ(read(folder / "kept"), "c");
}

TEST_F(AtomicFile, ReplacesWholeOrLeavesTheOldFile) {
    const fs::path file = folder / "Quorlane.ini";
    ASSERT_TRUE(replaceFileAtomically(file, "a long first version", kModeFromUmask));
    ASSERT_TRUE(replaceFileAtomically(file, "short", kModeFromUmask));
    EXPECT_EQ(read(file), "short");

    // A folder in the target's place cannot be replaced: false, and no temporary stays.
    fs::create_directories(folder / "busy" / "inside");
    EXPECT_FALSE(replaceFileAtomically(folder / "busy", "x"));
    EXPECT_TRUE(fs::is_directory(folder / "busy" / "inside"));
    EXPECT_FALSE(replaceFileAtomically(folder / "missing" / "x", "x"));
    EXPECT_EQ(entries(), 2u);
}

}  // namespace
}  // namespace quorlane
