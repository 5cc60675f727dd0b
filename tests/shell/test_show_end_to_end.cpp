// Whole shows with the built programs on a private X display: capture, renderer, Escape,
// the single-instance rule, the chosen picture, music, and the ways a show can fail.
#include <gtest/gtest.h>

#include <QImage>

#include <X11/Xlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <thread>

#include "shell/startup/settings_file.h"
#include "tests/shell/show_harness.h"

namespace quorlane::testing {
namespace {

using namespace std::chrono_literals;

// Generous: the shared machine is slow, the sanitizer build slower still.
constexpr auto kAppear = 15s;
constexpr auto kQuick = 5s;

int exitCodeOf(const std::optional<int>& status) {
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

void writeSettingsFile(const fs::path& bin, const SettingsValues& values) {
    writeSettings(values, bin.string());
}

// 16-bit stereo PCM at 44.1 kHz: a sine of the given frequency.
void writeWav(const fs::path& file, double frequency, double seconds) {
    const uint32_t rate = 44100, frames = static_cast<uint32_t>(rate * seconds);
    const uint32_t dataSize = frames * 4;
    std::ofstream out(file, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + dataSize);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(rate);
    u32(rate * 4);
    u16(4);
    u16(16);
    out.write("data", 4);
    u32(dataSize);
    for (uint32_t i = 0; i < frames; ++i) {
        const auto s = static_cast<int16_t>(12000 * std::sin(2 * M_PI * frequency * i / rate));
        u16(static_cast<uint16_t>(s));
        u16(static_cast<uint16_t>(s));
    }
}

TEST(ShowEndToEnd, CapturesTheDesktopRunsTheRendererAndEndsOnEscape) {
    ShowHarness show;
    show.paintRoot(0x3366cc);
    const pid_t shell = show.startShell({"/s"});
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    // The show window: there for a second start to find, never seen, the screen's size.
    const unsigned long showWindow = show.findWindow("Vantorel_Main");
    ASSERT_NE(showWindow, 0u);
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
    // Its window gone, the renderer is ending and must not stay. A sanitizer build spends a
    // while in its exit checks after the window has closed, so it is given a moment.
    for (int i = 0; i < 300 && !show.rendererProcesses().empty(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(show.rendererProcesses().empty());
    EXPECT_EQ(show.findWindow("Vantorel_Main"), 0u);
}

TEST(ShowEndToEnd, OtherSwitchesEndWithoutAShow) {
    ShowHarness show;
    // Preview with no usable host: nothing happens at all, not even the folder.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/p"}, {"/p", "0"}, {"/p", "123456789"}}) {
        EXPECT_EQ(exitCodeOf(show.waitExit(show.startShell(args), kQuick)), 0);
    }
    EXPECT_FALSE(fs::exists(show.runtimeDir() / "orvask"));
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
    writeSettingsFile(show.bin(), settings);

    const pid_t shell = show.startShell({"/s"});
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    const auto bmp = readBmp(show.desktopImage());
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width, 640);
    EXPECT_EQ(bmp->height, 360);
    const unsigned long centre = bmp->pixel(320, 180);
    EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xff), 0xa0, 6);
    show.pressEscape(renderer);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);
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

TEST(ShowEndToEnd, WavMusicPlaysDuringTheShowAndStopsWithIt) {
    ShowHarness show;
    const fs::path wav = show.root() / "tone.Wav";
    writeWav(wav, 440, 0.5);
    SettingsValues settings;
    settings.musicMode = 2;
    settings.musicFile = wav;
    writeSettingsFile(show.bin(), settings);
    const fs::path heard = show.root() / "heard.raw";
    show.setEnv("SDL_AUDIODRIVER", "disk");
    show.setEnv("SDL_DISKAUDIOFILE", heard);

    const pid_t shell = show.startShell({"/s"});
    const unsigned long renderer = show.waitForWindow("Torvane_VC", kAppear);
    ASSERT_NE(renderer, 0u);
    std::this_thread::sleep_for(1500ms);  // the half-second tone loops
    show.pressEscape(renderer);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kQuick)), 0);

    std::ifstream in(heard, std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(raw.size(), 44100u * 4 / 2);  // at least half a second was played
    EXPECT_NEAR(crossingsPerSecond(raw), 880, 40);
    // The shell is gone: nothing is written any more.
    const auto size = fs::file_size(heard);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(fs::file_size(heard), size);
}

TEST(ShowEndToEnd, AMissingRendererEndsTheShowAsAFailure) {
    ShowHarness show(/*withRenderer=*/false);
    const pid_t shell = show.startShell({"/s"});
    const auto status = show.waitExit(shell, kQuick);
    ASSERT_TRUE(status);
    EXPECT_NE(exitCodeOf(status), 0);
    EXPECT_TRUE(fs::exists(show.desktopImage()));  // the picture was still saved first
}

TEST(ShowEndToEnd, TerminationSignalEndsTheShowCleanly) {
    ShowHarness show;
    const pid_t shell = show.startShell({"/s"});
    ASSERT_NE(show.waitForWindow("Torvane_VC", kAppear), 0u);
    kill(shell, SIGTERM);
    const auto status = show.waitExit(shell, kQuick);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status));  // ended by itself, not killed by the signal
    EXPECT_EQ(exitCodeOf(status), 128 + SIGTERM);
    EXPECT_EQ(show.findWindow("Vantorel_Main"), 0u);
    // The renderer does not outlive the shell it belongs to.
    for (int i = 0; i < 200 && !show.rendererProcesses().empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(show.rendererProcesses().empty());
}

}  // namespace
}  // namespace quorlane::testing
