// Whole shows with the built programs on a private X display: capture, renderer, Escape,
// the single-instance rule, the chosen picture, music, and the ways a show can fail.
#include <gtest/gtest.h>

#include <QImage>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "shell/settings/settings_file.h"
#include "tests/music/tone_tools.h"
#include "tests/support/read_file.h"
#include "tests/support/show_harness.h"
#include "tests/support/wait_for.h"

namespace quorlane::testing {
namespace {

using namespace std::chrono_literals;

// Generous: the shared machine is slow, the sanitizer build slower still (a sanitized
// renderer checks for leaks before its window goes, which can take seconds under load).
constexpr auto kAppear = 15s;
constexpr auto kQuick = 15s;

int exitCodeOf(const std::optional<int>& status) {
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

void writeSettingsFile(const fs::path& bin, const SettingsValues& values) {
    saveSettings(values, settingsFilePath(bin.string()));
}

// The shell loads the toolkit only for a chosen picture, and the audio libraries only for
// music: a show of the desktop without music starts without either.
void expectLibraries(pid_t shell, bool toolkit, bool audio) {
    EXPECT_EQ(mapsLibrary(shell, "libQt6Gui.so"), toolkit);
    EXPECT_EQ(mapsLibrary(shell, "libSDL2_mixer"), audio);
    EXPECT_EQ(mapsLibrary(shell, "libcdio.so"), audio);
}

TEST(ShowEndToEnd, CapturesTheDesktopRunsTheRendererAndEndsOnEscape) {
    ShowHarness show;
    // A session that prefers another platform (a Wayland desktop sets this too): the show
    // window must still be an X window, and the capture this display's screen.
    show.setEnv("QT_QPA_PLATFORM", "offscreen");
    show.paintRoot(0x3366cc);
    const pid_t shell = show.startShell({"/s"});
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    // The show window: there for a second start to find, never seen, the screen's size.
    const unsigned long showWindow = show.findWindow("Vantorel_Main");
    ASSERT_NE(showWindow, 0u);
    expectLibraries(shell, false, false);
    if (Display* display = XOpenDisplay(nullptr)) {
        XWindowAttributes attributes{};
        ASSERT_TRUE(XGetWindowAttributes(display, showWindow, &attributes));
        EXPECT_EQ(attributes.map_state, IsUnmapped);
        EXPECT_EQ(attributes.x, 0);
        EXPECT_EQ(attributes.y, 0);
        EXPECT_EQ(attributes.width, 1920);
        EXPECT_EQ(attributes.height, 1080);
        XCloseDisplay(display);
    }

    // Written before the renderer started: the whole screen, as it was.
    const auto bmp = readBmp(show.desktopImage());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width, 1920);
    EXPECT_EQ(bmp->height, 1080);
    EXPECT_EQ(bmp->bitsPerPixel, 24);
    EXPECT_EQ(bmp->infoHeaderSize, 40);
    EXPECT_EQ(bmp->pixel(0, 0), 0x3366ccu);
    EXPECT_EQ(bmp->pixel(1919, 1079), 0x3366ccu);
    struct stat info {};
    stat(show.desktopImage().c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    stat(show.desktopImage().parent_path().c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A second start while the show runs ends at once and starts no second renderer.
    const pid_t second = show.startShell({"/s"});
    EXPECT_EQ(exitCodeOf(show.waitExit(second, kQuick)), 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(show.rendererProcesses().size(), 1u);
    EXPECT_FALSE(show.waitExit(shell, 0ms));  // the show goes on

    if (const char* shots = std::getenv("QUORLANE_SCREENSHOT_DIR")) {
        std::this_thread::sleep_for(1500ms);
        show.screenshot(fs::path(shots) / "show.png");
    }

    show.pressEscape(renderer);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
    EXPECT_FALSE(fs::exists(show.desktopImage())) << "the screen outlives the show on disk";
    // Its window gone, the renderer is ending and must not stay. A sanitizer build spends a
    // while in its exit checks after the window has closed, so it is given a moment.
    for (int i = 0; i < 300 && !show.rendererProcesses().empty(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(show.rendererProcesses().empty());
    EXPECT_EQ(show.findWindow("Vantorel_Main"), 0u);
}

TEST(ShowEndToEnd, OtherSwitchesEndWithoutAShow) {
    // Which switch does what is the start-up routine's unit test; this is the real program's
    // one case of it.
    ShowHarness show;
    // Any other switch makes the working folder and reads the settings, then ends.
    EXPECT_EQ(exitCodeOf(show.waitExit(show.startShell({"/a"}), kQuick)), 0);
    EXPECT_TRUE(fs::is_directory(show.runtimeDir() / "orvask"));
    EXPECT_FALSE(fs::exists(show.desktopImage()));
    EXPECT_TRUE(show.rendererProcesses().empty());
}

TEST(ShowEndToEnd, AChosenJpegBecomesABmpOfItsOwnSize) {
    ShowHarness show;
    QImage picture(640, 360, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0xa0, 0x40));
    const fs::path jpeg = show.root() / "holiday.JPG";
    ASSERT_TRUE(picture.save(QString::fromStdString(jpeg.string()), "JPEG", 95));
    SettingsValues settings;
    settings.pictureMode = 1;
    settings.pictureFile = jpeg;
    // With music too: the picture's libraries and the music's, loaded one after the other.
    settings.musicMode = 2;
    settings.musicFile = show.root() / "tone.wav";
    test::writeWav(settings.musicFile, 440, 0.5);
    show.setEnv("SDL_AUDIODRIVER", "dummy");
    writeSettingsFile(show.bin(), settings);

    const pid_t shell = show.startShell({"/s"});
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    expectLibraries(shell, true, true);
    const auto bmp = readBmp(show.desktopImage());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width, 640);
    EXPECT_EQ(bmp->height, 360);
    const unsigned long centre = bmp->pixel(320, 180);
    EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xff), 0xa0, 6);
    show.pressEscape(renderer);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
}

// An installed copy run by root: root's own file decides, the administrator's file beside the
// programs gives what it leaves out, and nothing is written beside the programs.
TEST(ShowEndToEnd, AnInstalledCopyKeepsToTheUsersOwnFileOverTheDefaults) {
    ShowHarness show;
    std::ofstream(show.bin() / "Quorlane.installed") << "installed\n";
    QImage picture(64, 36, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0xa0, 0x40));
    const fs::path jpeg = show.root() / "house.jpg";
    ASSERT_TRUE(picture.save(QString::fromStdString(jpeg.string()), "JPEG", 95));
    SettingsValues defaults;
    defaults.pictureMode = 1;
    defaults.pictureFile = jpeg;
    writeSettingsFile(show.bin(), defaults);
    const std::string before = test::readFile(show.bin() / "Quorlane.ini");
    show.setEnv("XDG_CONFIG_HOME", show.root() / "config");
    const fs::path own = show.root() / "config" / "quorlane";
    fs::create_directories(own);
    show.paintRoot(0x3366cc);

    struct Case {
        std::string ownFile;  // root's own Quorlane.ini
        int width;            // of the picture the show saved
    };
    const Case cases[] = {
        {"[Section]\r\nBGM\x8B\xE6\x95\xAA=0\r\n", 64},  // no picture key: the default's
        {"[Section]\r\n\x89\xE6\x91\x9C=0\r\n", 1920},   // its own: the desktop
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        std::ofstream(own / "Quorlane.ini", std::ios::binary) << c.ownFile;
        const pid_t shell = show.startShell({"/s"});
        const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
        ASSERT_NE(renderer, 0u);
        const auto bmp = readBmp(show.desktopImage());
        ASSERT_TRUE(bmp);
        EXPECT_EQ(bmp->width, c.width);
        show.pressEscape(renderer);
        EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
    }
    EXPECT_EQ(test::readFile(show.bin() / "Quorlane.ini"), before);
}

// Zero crossings a second of the left channel of 16-bit stereo samples.
double crossingsPerSecond(const std::string& raw) {
    const std::size_t frames = raw.size() / 4;
    int crossings = 0;
    int16_t previous = 0;
    std::size_t sounding = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        int16_t sample = 0;
        std::memcpy(&sample, raw.data() + i * 4, 2);
        if (sample == 0) continue;
        ++sounding;
        if ((previous < 0) != (sample < 0) && previous != 0) ++crossings;
        previous = sample;
    }
    return sounding == 0 ? 0 : crossings * 44100.0 / static_cast<double>(sounding);
}

// Each kind of music sounds while the show runs, and stops with it.
TEST(ShowEndToEnd, MusicOfEachKindPlaysDuringTheShowAndStopsWithIt) {
    struct Case {
        const char* name;
        double crossings;  // a second: twice the tone's frequency
    };
    for (const Case& kind : {Case{"wav", 880}, Case{"mp3", 1760}, Case{"cd", 1320}}) {
        SCOPED_TRACE(kind.name);
        ShowHarness show;
        SettingsValues settings;
        settings.musicMode = 2;
        if (kind.name == std::string("wav")) {
            settings.musicFile = show.root() / "tone.Wav";
            test::writeWav(settings.musicFile, 440, 0.5);
        } else if (kind.name == std::string("mp3")) {
            settings.musicFile = QUORLANE_SOURCE_DIR "/tests/music/fixtures/tone-880hz.mp3";
        } else {
            settings.musicMode = 1;
            show.setEnv("QUORLANE_CDROM", test::writeDiscImage(show.root(), {660}, 300));
        }
        writeSettingsFile(show.bin(), settings);
        const fs::path heard = show.root() / "heard.raw";
        show.setEnv("SDL_AUDIODRIVER", "disk");
        show.setEnv("SDL_DISKAUDIOFILE", heard);

        const pid_t shell = show.startShell({"/s"});
        const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
        ASSERT_NE(renderer, 0u);
        expectLibraries(shell, false, true);
        std::this_thread::sleep_for(1500ms);  // the half-second tone loops
        show.pressEscape(renderer);
        EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);

        std::ifstream in(heard, std::ios::binary);
        const std::string raw((std::istreambuf_iterator<char>(in)), {});
        ASSERT_GT(raw.size(), 44100u * 4 / 2);  // at least half a second was played
        EXPECT_NEAR(crossingsPerSecond(raw), kind.crossings, kind.crossings * 0.05);
        // The shell is gone: nothing is written any more.
        const auto size = fs::file_size(heard);
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(fs::file_size(heard), size);
    }
}

// Each says why in one line on standard error.
TEST(ShowEndToEnd, AShowThatCannotRunSaysWhyAndFails) {
    ShowHarness show(/*withRenderer=*/false);
    show.captureStderr(show.root() / "missing.txt");
    const pid_t shell = show.startShell({"/s"});
    const auto status = show.waitExit(shell, kQuick);
    ASSERT_TRUE(status);
    EXPECT_EQ(exitCodeOf(status), 1);
    EXPECT_FALSE(fs::exists(show.desktopImage()));  // saved first, and gone with the show
    EXPECT_EQ(linesOf(show.root() / "missing.txt"),
              std::vector<std::string>({"Quorlane.scr: cannot start the renderer " +
                                        (show.bin() / "Quorlane.dll").string() +
                                        ": No such file or directory"}));

    // Without a display neither a show nor the settings dialog can run; both say so, and a
    // Wayland session without XWayland says what to turn on.
    show.setEnv("DISPLAY", "");
    const struct {
        const char* mode;
        const char* waylandDisplay;
        const char* line;
    } noDisplay[] = {
        {"/s", "", "Quorlane.scr: cannot open the X display \"\": no show"},
        {"/c", "", "Quorlane.scr: cannot open the X display \"\": no settings dialog"},
        {"/s", "wayland-1",
         "Quorlane.scr: this Wayland session has no X server (XWayland), which Quorlane's "
         "windows need: no show; enable XWayland in the compositor (sway: \"xwayland enable\")"},
    };
    int run = 0;
    for (const auto& [mode, waylandDisplay, line] : noDisplay) {
        show.setEnv("WAYLAND_DISPLAY", waylandDisplay);
        const fs::path told = show.root() / ("nodisplay-" + std::to_string(++run) + ".txt");
        show.captureStderr(told);
        EXPECT_EQ(exitCodeOf(show.waitExit(show.startShell({mode}), kQuick)), 1) << mode;
        EXPECT_EQ(linesOf(told), std::vector<std::string>({line})) << mode << waylandDisplay;
    }
}

// Without its loadable parts the shell says so in one line each, and a show still runs: the
// chosen picture and the music are what is lost.
TEST(ShowEndToEnd, MissingPartsAreToldInOneLineAndTheShowStillRuns) {
    ShowHarness show;
    fs::remove(show.bin() / "quorlane-qt.so");
    fs::remove(show.bin() / "quorlane-music.so");
    const std::string qtLine =
        "Quorlane.scr: cannot load its Qt part (settings, preview, pictures): " +
        (show.bin() / "quorlane-qt.so").string() +
        ": cannot open shared object file: No such file or directory";
    show.captureStderr(show.root() / "dialog.txt");
    EXPECT_EQ(exitCodeOf(show.waitExit(show.startShell({"/c"}), kQuick)), 1);
    EXPECT_EQ(linesOf(show.root() / "dialog.txt"), std::vector<std::string>({qtLine}));

    SettingsValues settings;
    settings.pictureMode = 1;
    settings.pictureFile = show.root() / "holiday.jpg";
    QImage picture(64, 36, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0xa0, 0x40));
    ASSERT_TRUE(picture.save(QString::fromStdString(settings.pictureFile), "JPEG"));
    settings.musicMode = 2;
    settings.musicFile = show.root() / "tone.wav";
    test::writeWav(settings.musicFile, 440, 0.5);
    writeSettingsFile(show.bin(), settings);
    show.captureStderr(show.root() / "show.txt");
    const pid_t shell = show.startShell({"/s"});
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    EXPECT_TRUE(fs::exists(show.desktopImage()));
    show.pressEscape(renderer);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
    EXPECT_EQ(linesOf(show.root() / "show.txt"),
              std::vector<std::string>(
                  {qtLine, "Quorlane.scr: cannot load its music: " +
                               (show.bin() / "quorlane-music.so").string() +
                               ": cannot open shared object file: No such file or directory"}));
}

// A full disc makes the save fail: the show goes on, says so, and the renderer is not
// handed the previous show's picture.
TEST(ShowEndToEnd, AFailedSaveLeavesNoStalePicture) {
    ShowHarness show;
    fs::create_directory(show.runtimeDir() / "orvask");
    fs::permissions(show.runtimeDir() / "orvask", fs::perms::owner_all);
    std::ofstream(show.desktopImage()) << "BM an earlier show's picture";
    show.captureStderr(show.root() / "stderr.txt");

    // A file size limit stands in for the full disc; ignored, its signal leaves the error.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 1 << 20;
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const pid_t shell = show.startShell({"/s"});
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, previousHandler);

    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    EXPECT_FALSE(fs::exists(show.desktopImage()));
    std::vector<std::string> ours;
    for (const std::string& line : linesOf(show.root() / "stderr.txt")) {
        if (line.rfind("Quorlane.scr:", 0) == 0) ours.push_back(line);
    }
    EXPECT_EQ(ours, std::vector<std::string>({"Quorlane.scr: cannot save the desktop picture " +
                                              show.desktopImage().string() + ": File too large"}));
    show.pressEscape(renderer);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
    EXPECT_EQ(fs::directory_iterator(show.runtimeDir() / "orvask"), fs::directory_iterator())
        << "the failed save left a temporary file behind";
}

TEST(ShowEndToEnd, TerminationSignalEndsTheShowCleanly) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        ShowHarness show;
        const pid_t shell = show.startShell({"/s"});
        ASSERT_NE(show.waitForWindow("Torvane_VC", kAppear), 0u);
        ASSERT_TRUE(fs::exists(show.desktopImage()));
        kill(shell, signalNumber);
        const auto status = show.waitExit(shell, kQuick);
        ASSERT_TRUE(status) << signalNumber;
        // Cleaned up first, then ended by the signal itself, as its sender expects.
        EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == signalNumber)
            << "status " << *status << " after signal " << signalNumber;
        EXPECT_EQ(show.findWindow("Vantorel_Main"), 0u);
        EXPECT_FALSE(fs::exists(show.desktopImage())) << signalNumber;
        // The renderer does not outlive the shell it belongs to, nor its window (which the
        // next round would otherwise take for its own).
        EXPECT_TRUE(waitFor([&] { return show.rendererProcesses().empty(); })) << signalNumber;
        EXPECT_TRUE(waitFor([&] { return show.findWindow("Torvane_VC") == 0; })) << signalNumber;
    }
}

// Started at the same instant, all pass the title test before any show window exists;
// exactly one may show.
TEST(ShowEndToEnd, TenShowsStartedAtOnceGiveOneShow) {
    ShowHarness show;
    std::vector<pid_t> shells;
    for (int i = 0; i < 10; ++i) shells.push_back(show.startShell({"/s"}));
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    std::this_thread::sleep_for(1s);  // long enough for a second show to get as far
    std::vector<pid_t> showing;
    for (pid_t shell : shells) {
        const auto status = show.waitExit(shell, 0ms);
        if (!status) {
            showing.push_back(shell);
        } else {
            EXPECT_EQ(exitCodeOf(status), 0);  // ended like a refused start
        }
    }
    EXPECT_EQ(showing.size(), 1u);
    EXPECT_EQ(show.rendererProcesses().size(), 1u);
    show.pressEscape(renderer);
    for (pid_t shell : showing) EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
}

// Another program's window titled like the renderer's: Escape in ours still ends the show,
// and the next show is not refused.
TEST(ShowEndToEnd, AStrangersWindowOfTheRenderersTitleDoesNotKeepTheShow) {
    ShowHarness show;
    Display* stranger = XOpenDisplay(nullptr);
    ASSERT_NE(stranger, nullptr);
    const Window theirs =
        XCreateSimpleWindow(stranger, DefaultRootWindow(stranger), 0, 0, 64, 64, 0, 0, 0);
    XStoreName(stranger, theirs, "Torvane_VC");
    XMapWindow(stranger, theirs);
    XSync(stranger, False);
    ASSERT_NE(show.waitForWindow("Torvane_VC", kAppear), 0u);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const pid_t shell = show.startShell({"/s"});
        unsigned long ours = 0;
        for (const auto until = std::chrono::steady_clock::now() + kAppear;
             ours == 0 && std::chrono::steady_clock::now() < until;
             std::this_thread::sleep_for(20ms)) {
            for (const unsigned long id : show.findWindows("Torvane_VC")) {
                if (id != theirs) ours = id;
            }
        }
        ASSERT_NE(ours, 0u);
        show.pressEscape(ours);
        EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
        EXPECT_EQ(show.findWindow("Vantorel_Main"), 0u);
    }
    XCloseDisplay(stranger);
}

// Neither a link in the folder's place nor another user's folder receives the user's
// screen; the picture goes to the next place, which the renderer reads as well.
TEST(ShowEndToEnd, OnlyAFolderOfOurOwnHoldsThePicture) {
    enum class Intruder { Link, OtherUsersFolder };
    for (const Intruder intruder : {Intruder::Link, Intruder::OtherUsersFolder}) {
        if (intruder == Intruder::OtherUsersFolder && geteuid() != 0) continue;  // needs chown
        ShowHarness show;
        const fs::path elsewhere = show.root() / "elsewhere";
        fs::create_directory(elsewhere);
        if (intruder == Intruder::Link) {
            fs::create_directory_symlink(elsewhere, show.runtimeDir() / "orvask");
        } else {
            fs::create_directory(show.runtimeDir() / "orvask");
            std::ofstream(show.desktopImage()) << "theirs";
            ASSERT_EQ(chown(show.desktopImage().c_str(), 65534, 65534), 0);
            ASSERT_EQ(chown((show.runtimeDir() / "orvask").c_str(), 65534, 65534), 0);
        }
        // Our own next place is open to others, and holds a killed save's temporary.
        const fs::path ours = show.cacheDir() / "orvask";
        fs::create_directory(ours);
        fs::permissions(ours, fs::perms(0755));
        std::ofstream(ours / "Torvane.bmp.k1ll3d") << std::string(4096, 'x');
        fs::last_write_time(ours / "Torvane.bmp.k1ll3d",
                            fs::file_time_type::clock::now() - std::chrono::minutes(5));

        show.paintRoot(0x3366cc);
        const pid_t shell = show.startShell({"/s"});
        const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
        ASSERT_NE(renderer, 0u);
        EXPECT_TRUE(fs::is_empty(elsewhere));
        if (intruder == Intruder::OtherUsersFolder) {
            std::ifstream theirs(show.desktopImage());
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(theirs), {}), "theirs");
        }
        const auto bmp = readBmp(ours / "Torvane.bmp");
        ASSERT_TRUE(bmp);
        EXPECT_EQ(bmp->pixel(960, 540), 0x3366ccu);
        struct stat info {};
        stat(ours.c_str(), &info);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_FALSE(fs::exists(ours / "Torvane.bmp.k1ll3d"));

        // The renderer found it there: the maze is covered with the desktop's colour. The
        // desktop itself turns black, so only the renderer's window can show that colour.
        show.paintRoot(0x000000);
        std::this_thread::sleep_for(1500ms);
        show.screenshot(show.root() / "maze.png");
        EXPECT_GT(shareOfColour(show.root() / "maze.png", 0x3366cc, 40), 0.1);
        show.pressEscape(renderer);
        EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
    }
}

// A picture in a folder that fails the check is never opened by the renderer, not even read
// ahead: a FIFO there would be held open by a reader waiting for a writer.
TEST(ShowEndToEnd, TheRendererNeverOpensAPictureInARefusedFolder) {
    ShowHarness show;
    const fs::path elsewhere = show.root() / "elsewhere";
    fs::create_directory(elsewhere);
    ASSERT_EQ(mkfifo((elsewhere / "Torvane.bmp").c_str(), 0600), 0);
    fs::create_directory_symlink(elsewhere, show.runtimeDir() / "orvask");

    show.paintRoot(0x3366cc);
    const pid_t shell = show.startShell({"/s"});
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    // Flying with the picture of our own folder: it has read its picture by now. The desktop
    // turns black, so only the renderer's window can show that colour.
    show.paintRoot(0x000000);
    bool flying = false;
    for (const auto until = std::chrono::steady_clock::now() + kAppear;
         !flying && std::chrono::steady_clock::now() < until;) {
        show.screenshot(show.root() / "maze.png");
        flying = shareOfColour(show.root() / "maze.png", 0x3366cc, 40) > 0.1;
    }
    ASSERT_TRUE(flying);
    // A writer's open that does not wait succeeds only while someone has the FIFO open to read.
    const int writer = open((elsewhere / "Torvane.bmp").c_str(), O_WRONLY | O_NONBLOCK);
    const int error = errno;
    EXPECT_EQ(writer, -1) << "the renderer opened the refused folder's picture";
    EXPECT_EQ(error, ENXIO);
    if (writer >= 0) close(writer);
    show.pressEscape(renderer);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
}

// Another user who owns the picture's folder switches the name to a FIFO right after the
// settings have checked it: the show must neither wait on the FIFO for a writer nor take it
// for the picture, and a signal must still end it.
TEST(ShowEndToEnd, APictureSwitchedForAFifoAfterTheCheckHangsNothing) {
    ShowHarness show;
    QImage picture(64, 36, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0xa0, 0x40));
    const fs::path chosen = show.root() / "holiday.jpg";
    ASSERT_TRUE(picture.save(QString::fromStdString(chosen.string()), "JPEG"));
    const fs::path fifo = show.root() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    SettingsValues settings;
    settings.pictureMode = 1;
    settings.pictureFile = chosen;
    writeSettingsFile(show.bin(), settings);

    // The settings' check opens and closes the picture; the switch follows at once, long
    // before the show reads it.
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, chosen.c_str(), IN_CLOSE_NOWRITE), 0);
    const pid_t shell = show.startShell({"/s"});
    alignas(inotify_event) char events[4096];
    pollfd ready{watch, POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, static_cast<int>(std::chrono::milliseconds(kAppear).count())), 1);
    ASSERT_GT(read(watch, events, sizeof events), 0);
    ASSERT_EQ(rename(fifo.c_str(), chosen.c_str()), 0);
    close(watch);

    ASSERT_NE(show.waitForWindow("Torvane_VC", kAppear), 0u) << "the show hangs on the FIFO";
    // Nothing was read from the FIFO for the picture: the show fell back to the desktop.
    const auto bmp = readBmp(show.desktopImage());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width, 1920);
    kill(shell, SIGTERM);
    const auto status = show.waitExit(shell, kQuick);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
}

// A renderer that never shows a window, ignores SIGTERM and has started a child of its
// own: when the shell gives up on it, it and its child end with the show.
TEST(ShowEndToEnd, AStubbornRendererEndsWithTheShowThatGaveUpOnIt) {
    ShowHarness show(/*withRenderer=*/false);
    const fs::path leader = show.root() / "leader", child = show.root() / "child";
    std::ofstream(show.bin() / "Quorlane.dll")
        << "#!/bin/sh\ntrap '' TERM\nsleep 300 &\necho $! > " << child.string() << "\necho $$ > "
        << leader.string() << "\nexec sleep 300\n";
    fs::permissions(show.bin() / "Quorlane.dll", fs::perms::owner_all);
    const pid_t shell = show.startShell({"/s"});
    const auto status = show.waitExit(shell, 10s + kAppear);
    ASSERT_TRUE(status);
    EXPECT_EQ(exitCodeOf(status), 1);
    for (const fs::path& file : {leader, child}) {
        std::ifstream in(file);
        pid_t pid = 0;
        ASSERT_TRUE(in >> pid) << file;
        for (int i = 0; i < 100 && processRunning(pid); ++i) std::this_thread::sleep_for(10ms);
        EXPECT_FALSE(processRunning(pid)) << file.filename() << " outlived the show";
        if (processRunning(pid)) kill(pid, SIGKILL);
    }
}

}  // namespace
}  // namespace quorlane::testing
