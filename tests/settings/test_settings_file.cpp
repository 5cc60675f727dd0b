#include "shell/settings/settings_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

using test::TempFolder;

// The five keys as code page 932 bytes, spelled out rather than converted, so that the tests
// check the encoding too.
#define PICTURE_MODE "\x89\xE6\x91\x9C"
#define PICTURE_FILE "\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9"
#define MUSIC_MODE "BGM\x8B\xE6\x95\xAA"
#define REPEAT_TRACK "BGM\xD8\xCB\xDF\xB0\xC4"
#define MUSIC_FILE "BGM\xCC\xA7\xB2\xD9"

class SettingsFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string ini = folder.file("Quorlane.ini");

    SettingsValues load() {
        SettingsValues values;
        values.repeatTrack = 99;  // loading starts from the defaults, whatever was held
        values.musicFile = "stale";
        loadSettings(values, folder.path());
        return values;
    }
};

TEST(SettingsFilePath, SitsBesideTheShell) {
    EXPECT_EQ(settingsFilePath("/opt/quorlane"), "/opt/quorlane/Quorlane.ini");
    EXPECT_EQ(settingsFilePath("/"), "/Quorlane.ini");
}

TEST(FolderOfPath, TakesEverythingBeforeTheLastSlash) {
    EXPECT_EQ(folderOfPath("/home/u/pics/a.bmp"), "/home/u/pics");
    EXPECT_EQ(folderOfPath("/a.bmp"), "/");
    EXPECT_EQ(folderOfPath("a.bmp"), "");
    EXPECT_EQ(folderOfPath("/home/u/pics/"), "/home/u/pics");
    EXPECT_EQ(folderOfPath("/mnt/c:/x:y.bmp"), "/mnt/c:");  // ":" is no separator here
    EXPECT_EQ(folderOfPath(""), "");
}

TEST_F(SettingsFileTest, CanOpenOnlyReadableFiles) {
    folder.write("a.bmp", "BM");
    EXPECT_TRUE(canOpenFile(folder.file("a.bmp")));
    EXPECT_TRUE(canOpenFile(folder.file("a.bmp/")));  // one trailing separator is dropped
    EXPECT_FALSE(canOpenFile(folder.file("missing.bmp")));
    EXPECT_FALSE(canOpenFile(folder.path()));
    EXPECT_FALSE(canOpenFile(""));
    ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(canOpenFile(folder.file("fifo")));  // and does not wait for a writer
}

TEST_F(SettingsFileTest, CannotOpenAnUnreadableFile) {
    folder.write("a.bmp", "BM");
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    ASSERT_EQ(::chmod(folder.file("a.bmp").c_str(), 0), 0);
    EXPECT_FALSE(canOpenFile(folder.file("a.bmp")));
}

TEST_F(SettingsFileTest, ValuesAreCutAt255BytesBetweenCharacters) {
    const std::string exact(255, 'a');
    const std::string straddling = std::string(254, 'a') + "\x95\x5C";  // "表" at 255-256
    const std::string fitting = std::string(253, 'a') + "\x95\x5C";     // "表" at 254-255
    folder.write("Quorlane.ini", "[Section]\r\nexact=" + exact + "\r\nlong=" + exact +
                                     "bc\r\nstraddling=" + straddling + "\r\nfitting=" + fitting +
                                     "\r\n");
    EXPECT_EQ(readIniValue("Section", "exact", ini), exact);
    EXPECT_EQ(readIniValue("Section", "long", ini), exact);
    EXPECT_EQ(readIniValue("Section", "straddling", ini), std::string(254, 'a'));
    EXPECT_EQ(readIniValue("Section", "fitting", ini), std::string(253, 'a') + "表");
}

TEST_F(SettingsFileTest, WritesWhatTheWindowsRoutinesWriteAndReadsWhatTheyWrote) {
    SettingsValues values;
    values.pictureMode = 1;
    values.pictureFile = folder.file("表\\~.bmp");
    values.musicMode = -2;
    values.repeatTrack = 3;
    saveSettings(values, ini);
    EXPECT_EQ(folder.read("Quorlane.ini"),
              "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" + folder.path().string() +
                  "/\x95\x5C\\~.bmp\r\n" MUSIC_MODE "=-2\r\n" REPEAT_TRACK "=3\r\n" MUSIC_FILE
                  "=\r\n");  // an empty value keeps its key

    // A file as Windows leaves it after more writes, with keys in another case and order.
    folder.write("Quorlane.ini",
                 "[SECTION]\r\n"
                 "bgm\x8B\xE6\x95\xAA=1\r\n" PICTURE_MODE "=0\r\n" REPEAT_TRACK "=12\r\n");
    SettingsValues loaded = load();
    EXPECT_EQ(loaded.musicMode, 1);
    EXPECT_EQ(loaded.repeatTrack, 12);
    EXPECT_EQ(loaded.pictureMode, 0);
}

TEST_F(SettingsFileTest, MissingFileLoadsTheDefaults) {
    SettingsValues values = load();
    EXPECT_EQ(values.pictureMode, 0);
    EXPECT_EQ(values.musicMode, 0);
    EXPECT_EQ(values.repeatTrack, 0);
    EXPECT_EQ(values.pictureFile, "");
    EXPECT_EQ(values.musicFile, "");
    EXPECT_EQ(values.pictureFolder, folder.path());
    EXPECT_EQ(values.musicFolder, folder.path());
}

TEST_F(SettingsFileTest, UsableFilesAreKeptWithTheirFolders) {
    std::filesystem::create_directory(folder.file("pics"));
    std::filesystem::create_directory(folder.file("音楽"));
    folder.write("pics/a.bmp", "BM");
    folder.write("音楽/b.mp3", "ID3");
    folder.write("Quorlane.ini", "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" +
                                     folder.file("pics/a.bmp") + "\r\n" MUSIC_MODE "=2\r\n" +
                                     MUSIC_FILE "=" + folder.path().string() +
                                     "/\x89\xB9\x8A\x79/b.mp3\r\n");
    SettingsValues values = load();
    EXPECT_EQ(values.pictureMode, 1);
    EXPECT_EQ(values.pictureFile, folder.file("pics/a.bmp"));
    EXPECT_EQ(values.pictureFolder, folder.file("pics"));
    EXPECT_EQ(values.musicMode, 2);
    EXPECT_EQ(values.musicFile, folder.file("音楽/b.mp3"));
    EXPECT_EQ(values.musicFolder, folder.file("音楽"));
}

TEST_F(SettingsFileTest, UnusableFilesResetOnlyTheModeThatUsesThem) {
    const std::string gone = folder.file("deleted.bmp");
    folder.write("Quorlane.ini", "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" + gone +
                                     "\r\n" MUSIC_MODE "=2\r\n" MUSIC_FILE "=\r\n");
    SettingsValues values = load();
    EXPECT_EQ(values.pictureMode, 0);
    EXPECT_EQ(values.pictureFile, "");
    EXPECT_EQ(values.pictureFolder, folder.path());
    EXPECT_EQ(values.musicMode, 0);
    EXPECT_EQ(values.musicFile, "");

    folder.write("Quorlane.ini", "[Section]\r\n" PICTURE_MODE "=2\r\n" PICTURE_FILE "=" + gone +
                                     "\r\n" MUSIC_MODE "=1\r\n" MUSIC_FILE "=" + gone + "\r\n");
    values = load();
    EXPECT_EQ(values.pictureMode, 2);
    EXPECT_EQ(values.musicMode, 1);
    EXPECT_EQ(values.musicFile, "");
    EXPECT_EQ(values.musicFolder, folder.path());
}

TEST_F(SettingsFileTest, NumbersAreFlooredAndChecked) {
    const std::pair<const char*, int> cases[] = {
        {"1.9", 1},         {"abc", 0},      {"-0.5", -1}, {"+3", 3},          {" 7 ", 7},
        {"1e1", 10},        {".5", 0},       {"2.", 2},    {"32767.9", 32767}, {"32768", 0},
        {"-32768", -32768}, {"-32768.5", 0}, {"1,9", 0},   {"0x10", 0},        {"inf", 0},
        {"nan", 0},         {"1e999", 0},    {"-", 0},     {"1 2", 0},         {"", 0},
    };
    folder.write("a.bmp", "BM");  // so that a picture mode of 1 is kept
    for (const auto& [text, expected] : cases) {
        folder.write("Quorlane.ini", std::string("[Section]\r\n" REPEAT_TRACK "=") + text +
                                         "\r\n" PICTURE_MODE "=" + text + "\r\n" PICTURE_FILE "=" +
                                         folder.file("a.bmp") + "\r\n");
        SettingsValues values = load();
        EXPECT_EQ(values.repeatTrack, expected) << text;
        EXPECT_EQ(values.pictureMode, expected) << text;
    }
}

TEST_F(SettingsFileTest, PathsTheFileCannotHoldAreNeverStoredAltered) {
    std::filesystem::create_directory(folder.file("old"));
    folder.write("old/a.mp3", "ID3");
    SettingsValues values;
    values.musicMode = 2;
    values.musicFile = folder.file("old/a.mp3");
    saveSettings(values, ini);

    // A character CP932 lacks, one it maps only one way, bytes that are not UTF-8, a line break.
    const std::string before = folder.read("Quorlane.ini");
    for (const std::string name :
         {"\xF0\x9F\x8E\xB5.mp3", "\xC2\xA5.mp3", "\xFF.mp3", "a\nb.mp3"}) {
        EXPECT_FALSE(writeIniValue("Section", "BGMﾌｧｲﾙ", folder.file(name), ini));
        values.musicFile = folder.file(name);
        values.repeatTrack = 4;
        // All or nothing: the repeat track, which could be held, is not saved either.
        EXPECT_EQ(saveSettings(values, ini), (std::vector<std::string>{"BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"}))
            << name;
        EXPECT_EQ(folder.read("Quorlane.ini"), before) << name;
    }
    values.repeatTrack = 0;

    // A name with outer blanks, which reading would trim, still comes back whole.
    folder.write("old/ b.mp3 ", "ID3");
    values.musicFile = folder.file("old/ b.mp3 ");
    saveSettings(values, ini);
    EXPECT_EQ(load().musicFile, folder.file("old/ b.mp3 "));
}

// Counts the times the settings file is opened while `work` runs.
template <class Work>
int opensDuring(const std::string& file, Work work) {
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Closes are watched too: inotify merges identical events that follow each other.
    EXPECT_GE(::inotify_add_watch(watch, file.c_str(), IN_OPEN | IN_CLOSE), 0);
    work();
    int opens = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;
             p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len) {
            if (reinterpret_cast<inotify_event*>(p)->mask & IN_OPEN) ++opens;
        }
    }
    ::close(watch);
    return opens;
}

TEST_F(SettingsFileTest, TheFileIsReadOnceForAllKeys) {
    folder.write("a.bmp", "BM");
    folder.write("Quorlane.ini", "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" +
                                     folder.file("a.bmp") +
                                     "\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=3\r\n");
    SettingsValues values;
    EXPECT_EQ(opensDuring(ini, [&] { values = load(); }), 1);
    EXPECT_EQ(values.pictureMode, 1);
    EXPECT_EQ(values.musicMode, 1);
    EXPECT_EQ(values.repeatTrack, 3);
}

// Short lines by the million make a file that takes long to take apart; well above any real
// settings file it is refused whole, and the show goes on with the defaults.
TEST_F(SettingsFileTest, AFileFarLargerThanAnyRealOneIsRefusedWithAMessage) {
    const std::string keys = "[Section]\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=3\r\n";
    std::string filler;
    while (filler.size() < 1048576 - keys.size() - 9) filler += ";\r\n";
    const struct {
        std::string text;
        int musicMode;
    } cases[] = {
        {keys + filler, 1},                          // just under 1 MiB: read
        {keys + filler + "; one more line\r\n", 0},  // over it: refused
        {keys + filler + filler + filler, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        folder.write("Quorlane.ini", c.text);
        ::testing::internal::CaptureStderr();
        SettingsValues values = load();
        const std::string message = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(values.musicMode, c.musicMode);
        EXPECT_EQ(values.repeatTrack, c.musicMode ? 3 : 0);
        if (c.musicMode) {
            EXPECT_EQ(message, "");
            continue;
        }
        EXPECT_EQ(message,
                  "Quorlane: the settings file " + ini +
                      " is larger than 1024 KiB, which no settings file is; it is not read and the "
                      "defaults are used.\n");
        // Nor is it rewritten: keeping its other contents would mean reading it whole.
        EXPECT_FALSE(writeIniValue("Section", "BGM区分", "2", ini));
        EXPECT_EQ(folder.read("Quorlane.ini"), c.text);
    }
}

// Two complete sets of choices that differ in every key, and the files they make.
SettingsValues choicesA(const TempFolder& folder) {
    SettingsValues values;
    values.pictureMode = 1;
    values.pictureFile = folder.file("a.bmp");
    values.musicMode = 2;
    values.repeatTrack = 3;
    values.musicFile = folder.file("a.mp3");
    return values;
}

SettingsValues choicesB(const TempFolder& folder) {
    SettingsValues values;
    values.pictureMode = 2;
    values.pictureFile = folder.file("b.bmp");
    values.musicMode = 1;
    values.repeatTrack = 7;
    values.musicFile = folder.file("b.mp3");
    return values;
}

std::string fileOfA(const TempFolder& folder) {
    return "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" + folder.file("a.bmp") +
           "\r\n" MUSIC_MODE "=2\r\n" REPEAT_TRACK "=3\r\n" MUSIC_FILE "=" + folder.file("a.mp3") +
           "\r\n";
}

std::string fileOfB(const TempFolder& folder) {
    return "[Section]\r\n" PICTURE_MODE "=2\r\n" PICTURE_FILE "=" + folder.file("b.bmp") +
           "\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=7\r\n" MUSIC_FILE "=" + folder.file("b.mp3") +
           "\r\n";
}

std::vector<std::string> temporariesIn(const TempFolder& folder) {
    std::vector<std::string> found;
    for (const std::string& name : folder.names()) {
        if (name != "Quorlane.ini") found.push_back(name);
    }
    return found;
}

TEST_F(SettingsFileTest, ASaveReplacesTheFileOnceForAllFiveKeys) {
    const struct {
        const char* what;
        std::string before;  // empty: no file yet
    } cases[] = {
        {"no file", ""},
        {"other keys only", "[Other]\r\nX=1\r\n"},
        {"all five keys old", fileOfA(folder)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(ini);
        if (!c.before.empty()) folder.write("Quorlane.ini", c.before);
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(watch, folder.path().c_str(), IN_MOVED_TO | IN_CREATE), 0);
        EXPECT_TRUE(saveSettings(choicesB(folder), ini).empty());
        int renames = 0;
        int creates = 0;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;
                 p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len) {
                const uint32_t mask = reinterpret_cast<inotify_event*>(p)->mask;
                renames += (mask & IN_MOVED_TO) != 0;
                creates += (mask & IN_CREATE) != 0;
            }
        }
        ::close(watch);
        EXPECT_EQ(renames, 1);
        EXPECT_EQ(creates, 1);
        const std::string other = c.before.rfind("[Other]", 0) == 0 ? c.before : "";
        EXPECT_EQ(folder.read("Quorlane.ini"), other + fileOfB(folder));
    }
}

// A save killed at any moment (the dialog closed by force, the session ended) leaves either
// the old choices or the new ones, never a mix; what it left behind goes at the next save.
TEST_F(SettingsFileTest, ASaveKilledAtRandomIsNeverHalfDone) {
    const std::string a = fileOfA(folder);
    const std::string b = fileOfB(folder);
    std::mt19937 random(17);
    int sawA = 0;
    int sawB = 0;
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            // Saves without end, so that the kill lands inside some save; says so once the
            // first save is whole, since a kill before it would find the file of no save.
            ::close(started[0]);
            for (int i = 0;; ++i) {
                saveSettings(i % 2 ? choicesA(folder) : choicesB(folder), ini);
                if (i == 0) {
                    (void)!::write(started[1], "s", 1);
                    ::close(started[1]);
                }
            }
        }
        ::close(started[1]);
        char byte = 0;
        ASSERT_EQ(::read(started[0], &byte, 1), 1);
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(saver, &status, 0), saver);
        const std::string now = folder.read("Quorlane.ini");
        ASSERT_TRUE(now == a || now == b) << now;
        (now == a ? sawA : sawB)++;
    }
    // The kills fell after saves of both kinds, not always at one point of the cycle.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);

    // Temporaries a kill left are removed by the next save once they are idle. Whether a kill
    // left one is chance, so one half-written as a kill leaves it is always among them.
    folder.write("Quorlane.ini.k1ll3d", "[Section]\r\n" PICTURE_MODE "=");
    for (const std::string& name : temporariesIn(folder)) {
        std::filesystem::last_write_time(
            folder.file(name),
            std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
    }
    EXPECT_TRUE(saveSettings(choicesA(folder), ini).empty());
    EXPECT_EQ(temporariesIn(folder), std::vector<std::string>{});
    EXPECT_EQ(folder.read("Quorlane.ini"), a);
}

// The Windows routines refuse a file its owner made read-only; so does the save, root's too.
TEST_F(SettingsFileTest, AReadOnlyFileIsKeptAndTheChangedChoicesReported) {
    const struct {
        ::mode_t mode;
        SettingsValues values;
        std::vector<std::string> unsaved;
    } cases[] = {
        {0444, choicesB(folder), {"画像", "画像ﾌｧｲﾙ", "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"}},
        {0400,
         [&] {
             SettingsValues v = choicesA(folder);
             v.repeatTrack = 9;
             return v;
         }(),
         {"BGMﾘﾋﾟｰﾄ"}},
        {0444, choicesA(folder), {}},  // holds them already: nothing is lost
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        std::filesystem::remove(ini);
        folder.write("Quorlane.ini", fileOfA(folder));
        ASSERT_EQ(::chmod(ini.c_str(), c.mode), 0);
        EXPECT_EQ(saveSettings(c.values, ini), c.unsaved);
        EXPECT_EQ(folder.read("Quorlane.ini"), fileOfA(folder));
        struct stat st {};
        ASSERT_EQ(::stat(ini.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        EXPECT_EQ(temporariesIn(folder), std::vector<std::string>{});
    }
}

TEST(SettingsValuesTest, IsOneSharedInstance) {
    settingsValues().repeatTrack = 5;
    EXPECT_EQ(&settingsValues(), &settingsValues());
    EXPECT_EQ(settingsValues().repeatTrack, 5);
}

}  // namespace
}  // namespace quorlane
