// Shows inside a window a screensaver framework owns, with the built programs on a private
// X display: the window handed over in every spelling, the flight drawn and moving in it,
// the framework's screenshot on the maze, and the ways the framework ends it.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/preview/x_test_window.h"
#include "tests/support/show_harness.h"
#include "tests/support/wait_for.h"

namespace quorlane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Generous: the shared machine is slow, the sanitizer build slower still.
constexpr auto kAppear = 30s;
constexpr auto kGone = 5s;
constexpr unsigned kWidth = 320, kHeight = 240;
constexpr unsigned long kHostColour = 0x203040;

struct Display_ {
    Display* display = XOpenDisplay(nullptr);
    ~Display_() {
        if (display != nullptr) XCloseDisplay(display);
    }
};

std::string hex(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

// How many pixels differ from the host's own colour.
std::size_t drawnPixels(const std::vector<unsigned long>& pixels) {
    std::size_t drawn = 0;
    for (unsigned long p : pixels) drawn += p != kHostColour;
    return drawn;
}

// The pixels of the window's part from (left, top) on, as 0xRRGGBB.
std::vector<unsigned long> pixelsFrom(Display* display, Window window, unsigned width,
                                      unsigned height, unsigned left, unsigned top) {
    const std::vector<unsigned long> all = pixelsOf(display, window, width, height);
    if (all.empty()) return all;
    std::vector<unsigned long> part;
    for (unsigned y = top; y < height; ++y) {
        for (unsigned x = left; x < width; ++x) part.push_back(all[y * width + x]);
    }
    return part;
}

// Waits until the flight has covered the window (or its part from (left, top) on) and moved
// on since: two looks at it covered that differ. The pixels of the last look, empty when it
// never happened.
std::vector<unsigned long> waitForMovingFlight(Display* display, Window window, unsigned width,
                                               unsigned height, unsigned left = 0,
                                               unsigned top = 0) {
    const auto until = Clock::now() + kAppear;
    std::vector<unsigned long> first;
    while (Clock::now() < until) {
        std::vector<unsigned long> now = pixelsFrom(display, window, width, height, left, top);
        if (drawnPixels(now) == now.size() && !now.empty()) {
            if (first.empty()) {
                first = std::move(now);
            } else if (now != first) {
                return now;
            }
        }
        std::this_thread::sleep_for(50ms);
    }
    return {};
}

int exitCodeOf(const std::optional<int>& status) {
    if (!status) return -1;
    if (WIFEXITED(*status)) return WEXITSTATUS(*status);
    return 1000 + WTERMSIG(*status);
}

// Waits for the renderer process of this harness to be there.
bool waitForRenderer(const ShowHarness& show) {
    return waitFor([&] { return !show.rendererProcesses().empty(); });
}

// Waits for the renderer processes of this harness to be gone.
bool renderersGone(const ShowHarness& show) {
    const auto until = Clock::now() + kGone;
    while (!show.rendererProcesses().empty()) {
        if (Clock::now() >= until) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The share of pixels where green leads red and blue clearly: the colour of a green picture
// on the maze's walls, whatever their shading.
double greenShare(const std::vector<unsigned long>& pixels) {
    std::size_t green = 0;
    for (unsigned long p : pixels) {
        const int r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
        green += g > r + 40 && g > b + 40;
    }
    return pixels.empty() ? 0.0 : static_cast<double>(green) / pixels.size();
}

// The share of warm pixels (red well above blue): the built-in still's planets and frames,
// which neither plain walls (white and grey) nor a green screenshot have.
double warmShare(const std::vector<unsigned long>& pixels) {
    std::size_t warm = 0;
    for (unsigned long p : pixels) warm += static_cast<int>((p >> 16) & 0xff) > (p & 0xff) + 48;
    return pixels.empty() ? 0.0 : static_cast<double>(warm) / pixels.size();
}

// XScreenSaver's setting in the user's own ~/.xscreensaver.
void setGrabDesktopImages(const ShowHarness& show, const char* value) {
    std::FILE* file = std::fopen((show.homeDir() / ".xscreensaver").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "mode:\t\tone\ngrabDesktopImages:\t%s\nlock:\t\tFalse\n", value);
    std::fclose(file);
}

TEST(HostedEndToEnd, EverySpellingDrawsAMovingFlightAndSigtermLeavesNothing) {
    Display_ x;
    ASSERT_NE(x.display, nullptr);
    struct Spelling {
        const char* name;
        std::vector<std::string> (*arguments)(unsigned long window);
        std::string (*variable)(unsigned long window);  // XSCREENSAVER_WINDOW; empty: unset
    };
    const Spelling spellings[] = {
        {"-window-id, decimal",
         [](unsigned long w) {
             return std::vector<std::string>{"-window-id", std::to_string(w)};
         },
         [](unsigned long) { return std::string(); }},
        {"--window-id, hex",
         [](unsigned long w) {
             return std::vector<std::string>{"--window-id", hex(w)};
         },
         [](unsigned long) { return std::string(); }},
        {"-root, XScreenSaver's hex variable",
         [](unsigned long) { return std::vector<std::string>{"-root"}; },
         [](unsigned long w) { return hex(w); }},
        {"--root, xsecurelock's decimal variable",
         [](unsigned long) { return std::vector<std::string>{"--root"}; },
         [](unsigned long w) { return std::to_string(w); }},
    };
    for (const Spelling& spelling : spellings) {
        SCOPED_TRACE(spelling.name);
        ShowHarness show;
        XTestWindow host(x.display, 40, 40, kWidth, kHeight, kHostColour);
        const std::string variable = spelling.variable(host.id());
        if (!variable.empty()) show.setEnv("XSCREENSAVER_WINDOW", variable);
        const pid_t shell = show.startShell(spelling.arguments(host.id()));
        ASSERT_GT(shell, 0);
        EXPECT_FALSE(waitForMovingFlight(x.display, host.id(), kWidth, kHeight).empty());
        // The framework's window is left where it was, and no window of ours is made for a
        // second start to find.
        EXPECT_EQ(geometryOf(x.display, host.id()), (XGeometry{40, 40, kWidth, kHeight}));
        EXPECT_EQ(show.findWindow("Vantorel_Main"), 0u);
        EXPECT_EQ(show.findWindow("Torvane_VC"), 0u);

        kill(shell, SIGTERM);
        EXPECT_EQ(exitCodeOf(show.waitExit(shell, kGone)), 1000 + SIGTERM);  // died of it
        EXPECT_TRUE(renderersGone(show));
    }
}

TEST(HostedEndToEnd, DestroyingTheHostWindowEndsTheShow) {
    Display_ x;
    ShowHarness show;
    XTestWindow host(x.display, 0, 0, kWidth, kHeight, kHostColour);
    const pid_t shell = show.startShell({"-window-id", hex(host.id())});
    ASSERT_FALSE(waitForMovingFlight(x.display, host.id(), kWidth, kHeight).empty());
    host.destroy();
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kGone)), 0);
    EXPECT_TRUE(renderersGone(show));
}

TEST(HostedEndToEnd, TwoShowsRunSideBySideEachInItsOwnWindow) {
    Display_ x;
    ShowHarness show;
    XTestWindow left(x.display, 0, 0, kWidth, kHeight, kHostColour);
    XTestWindow right(x.display, 400, 0, kWidth, kHeight, kHostColour);
    const pid_t first = show.startShell({"-window-id", hex(left.id())});
    const pid_t second = show.startShell({"-window-id", hex(right.id())});
    EXPECT_FALSE(waitForMovingFlight(x.display, left.id(), kWidth, kHeight).empty());
    EXPECT_FALSE(waitForMovingFlight(x.display, right.id(), kWidth, kHeight).empty());
    EXPECT_EQ(show.rendererProcesses().size(), 2u);
    // Ending one leaves the other drawing.
    kill(first, SIGTERM);
    EXPECT_EQ(exitCodeOf(show.waitExit(first, kGone)), 1000 + SIGTERM);  // died of it
    EXPECT_FALSE(waitForMovingFlight(x.display, right.id(), kWidth, kHeight).empty());
    EXPECT_TRUE(processRunning(second));
}

TEST(HostedEndToEnd, TheFlightFollowsTheWindowWhenItIsResized) {
    Display_ x;
    ShowHarness show;
    XTestWindow host(x.display, 0, 0, kWidth, kHeight, kHostColour);
    show.startShell({"-window-id", hex(host.id())});
    ASSERT_FALSE(waitForMovingFlight(x.display, host.id(), kWidth, kHeight).empty());
    XResizeWindow(x.display, host.id(), 2 * kWidth, 2 * kHeight);
    XSync(x.display, False);
    // The whole larger window is covered, and the flight moves in its new parts too (a
    // cleared but undrawn part stays black).
    EXPECT_FALSE(waitForMovingFlight(x.display, host.id(), 2 * kWidth, 2 * kHeight).empty());
    EXPECT_FALSE(waitForMovingFlight(x.display, host.id(), 2 * kWidth, 2 * kHeight, kWidth, kHeight)
                     .empty());
}

// A screenshot as XScreenSaver leaves it: a pixmap of the whole screen on its window.
void leaveScreenshot(Display* display, Window window, unsigned long rgb) {
    const int screen = DefaultScreen(display);
    const Pixmap pixmap =
        XCreatePixmap(display, DefaultRootWindow(display), DisplayWidth(display, screen),
                      DisplayHeight(display, screen), DefaultDepth(display, screen));
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XSetForeground(display, gc, rgb);
    XFillRectangle(display, pixmap, gc, 0, 0, DisplayWidth(display, screen),
                   DisplayHeight(display, screen));
    XFreeGC(display, gc);
    const Atom property = XInternAtom(display, "_SCREENSAVER_SCREENSHOT", False);
    XChangeProperty(display, window, property, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pixmap), 1);
    XSync(display, False);
}

TEST(HostedEndToEnd, TheMazeIsCoveredWithTheFrameworksScreenshotOrTheBuiltInStill) {
    Display_ x;
    {
        ShowHarness show;
        setGrabDesktopImages(show, "True");
        XTestWindow host(x.display, 0, 0, kWidth, kHeight, kHostColour);
        leaveScreenshot(x.display, host.id(), 0x00c000);
        const pid_t shell = show.startShell({"-window-id", hex(host.id())});
        const auto pixels = waitForMovingFlight(x.display, host.id(), kWidth, kHeight);
        ASSERT_FALSE(pixels.empty());
        EXPECT_GT(greenShare(pixels), 0.5);
        // The window's own picture, cut from the screen's to the window, goes with its show.
        const fs::path picture =
            show.runtimeDir() / "orvask" /
            ("Torvane-" + std::to_string(shell) + "-" + hex(host.id()) + ".bmp");
        const auto bmp = readBmp(picture);
        ASSERT_TRUE(bmp.has_value());
        EXPECT_EQ(bmp->width, static_cast<int>(kWidth));
        EXPECT_EQ(bmp->height, static_cast<int>(kHeight));
        kill(shell, SIGTERM);
        EXPECT_EQ(exitCodeOf(show.waitExit(shell, kGone)), 1000 + SIGTERM);  // died of it
        EXPECT_FALSE(fs::exists(picture));
    }
    // With XScreenSaver's grabDesktopImages off the screenshot it left is not shown; without a
    // screenshot there is none to show. Either way the walls get the built-in still rather
    // than glaring white, and one line says so.
    struct Case {
        const char* name;
        const char* grab;
        bool screenshot;
    };
    for (const Case& c :
         {Case{"grabbing off", "False", true}, Case{"no screenshot", "True", false}}) {
        SCOPED_TRACE(c.name);
        ShowHarness show;
        show.captureStderr(show.root() / "stderr.txt");
        setGrabDesktopImages(show, c.grab);
        XTestWindow host(x.display, 0, 0, kWidth, kHeight, kHostColour);
        if (c.screenshot) leaveScreenshot(x.display, host.id(), 0x00c000);
        show.startShell({"-window-id", hex(host.id())});
        const auto pixels = waitForMovingFlight(x.display, host.id(), kWidth, kHeight);
        ASSERT_FALSE(pixels.empty());
        EXPECT_LT(greenShare(pixels), 0.01);
        EXPECT_GT(warmShare(pixels), 0.1);
        EXPECT_EQ(linesOf(show.root() / "stderr.txt"),
                  std::vector<std::string>{
                      "Quorlane.scr: no picture of the desktop: showing the built-in picture"});
    }
}

// Shows on one window id (two displays' root windows share theirs) never remove each other's
// picture; what a killed show left is removed by the next start, and only that.
TEST(HostedEndToEnd, EachShowHasItsOwnPictureAndWhatAKilledShowLeftGoes) {
    Display_ x;
    ShowHarness show;
    const fs::path folder = show.runtimeDir() / "orvask";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all);
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone), alive = std::to_string(getpid());
    const std::vector<std::string> leftovers = {"Torvane-" + dead + "-0x10.bmp",
                                                "Torvane-" + dead + "-0x10.bmp.Ab12xZ"};
    const std::vector<std::string> kept = {"Torvane-" + alive + "-0x10.bmp",
                                           "Torvane-" + alive + "-0x10.bmp.Ab12xZ",
                                           "Torvane-" + dead + "-0x10.bmp.notours", "Torvane.bmp"};
    for (const auto& name : leftovers) std::ofstream(folder / name) << "BM";
    for (const auto& name : kept) std::ofstream(folder / name) << "BM";

    XTestWindow host(x.display, 0, 0, kWidth, kHeight, kHostColour);
    leaveScreenshot(x.display, host.id(), 0x00c000);
    const pid_t first = show.startShell({"-window-id", hex(host.id())});
    ASSERT_FALSE(waitForMovingFlight(x.display, host.id(), kWidth, kHeight).empty());
    const pid_t second = show.startShell({"-window-id", hex(host.id())});
    const fs::path secondPicture =
        folder / ("Torvane-" + std::to_string(second) + "-" + hex(host.id()) + ".bmp");
    ASSERT_TRUE(waitFor([&] { return fs::exists(secondPicture); }));
    for (const auto& name : leftovers) EXPECT_FALSE(fs::exists(folder / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(folder / name)) << name;

    kill(first, SIGTERM);
    EXPECT_EQ(exitCodeOf(show.waitExit(first, kGone)), 1000 + SIGTERM);
    EXPECT_TRUE(fs::exists(secondPicture));
    kill(second, SIGTERM);
    EXPECT_EQ(exitCodeOf(show.waitExit(second, kGone)), 1000 + SIGTERM);
    EXPECT_FALSE(fs::exists(secondPicture));
}

// The processor time a process has used so far, in clock ticks; -1 once it is gone.
long cpuTicksOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1;
    // After the command's closing parenthesis: state, then user time and system time as the
    // 12th and 13th fields.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long user = 0, system = 0;
    for (int i = 0; i < 11; ++i) fields >> field;
    fields >> user >> system;
    return user + system;
}

// Whether the process comes to rest (two looks a few frames apart find the same processor
// time), or ends; a renderer drawing frames never does.
bool comesToRest(pid_t pid) {
    long before = cpuTicksOf(pid);
    for (const auto until = Clock::now() + kAppear; Clock::now() < until;) {
        std::this_thread::sleep_for(300ms);
        const long now = cpuTicksOf(pid);
        if (now < 0 || now == before) return true;
        before = now;
    }
    return false;
}

// A window nobody can see is not drawn into (a core spent for nothing) until it can be.
TEST(HostedEndToEnd, AWindowNobodyCanSeeIsNotDrawnUntilItCanBe) {
    Display_ x;
    for (const bool inputOnly : {false, true}) {
        SCOPED_TRACE(inputOnly ? "input only" : "unmapped");
        ShowHarness show;
        XTestWindow unmapped(x.display, 0, 0, kWidth, kHeight, kHostColour, /*map=*/false);
        XSetWindowAttributes none{};
        const Window inputWindow =
            XCreateWindow(x.display, DefaultRootWindow(x.display), 0, 0, kWidth, kHeight, 0, 0,
                          InputOnly, CopyFromParent, 0, &none);
        XMapWindow(x.display, inputWindow);
        XSync(x.display, False);
        const Window host = inputOnly ? inputWindow : unmapped.id();
        show.startShell({"-window-id", hex(host)});
        ASSERT_TRUE(waitForRenderer(show));
        EXPECT_TRUE(comesToRest(show.rendererProcesses().front()));
        if (!inputOnly) {
            XMapWindow(x.display, host);
            XSync(x.display, False);
            EXPECT_FALSE(waitForMovingFlight(x.display, host, kWidth, kHeight).empty());
        }
        XDestroyWindow(x.display, inputWindow);
        XSync(x.display, False);
    }
}

// Given the root window without a framework's, the show leaves the desktop as it found it.
TEST(HostedEndToEnd, OnTheRootWindowTheDesktopComesBackWhenTheShowEnds) {
    Display_ x;
    ShowHarness show;
    show.paintRoot(kHostColour);
    const Window root = DefaultRootWindow(x.display);
    const unsigned width = DisplayWidth(x.display, DefaultScreen(x.display));
    const unsigned height = DisplayHeight(x.display, DefaultScreen(x.display));
    const pid_t shell = show.startShell({"-root"});
    ASSERT_FALSE(waitForMovingFlight(x.display, root, width, height).empty());
    kill(shell, SIGTERM);
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kGone)), 1000 + SIGTERM);
    std::size_t drawn = 0;
    for (const auto until = Clock::now() + kGone; Clock::now() < until;) {
        drawn = drawnPixels(pixelsOf(x.display, root, width, height));
        if (drawn == 0) break;
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(drawn, 0u) << "the last frame stays on the desktop";
}

TEST(HostedEndToEnd, AWindowThatIsNotThereEndsAtOnce) {
    ShowHarness show;
    show.captureStderr(show.root() / "stderr.txt");
    const pid_t shell = show.startShell({"-window-id", "0x7ffffff"});
    EXPECT_EQ(exitCodeOf(show.waitExit(shell, kGone)), 1);
    const pid_t bad = show.startShell({"-window-id", "nowhere"});
    EXPECT_EQ(exitCodeOf(show.waitExit(bad, kGone)), 2);
    EXPECT_EQ(linesOf(show.root() / "stderr.txt"),
              (std::vector<std::string>{"Quorlane.scr: no window 0x7ffffff to show in",
                                        "Quorlane.scr: not a window id: \"nowhere\""}));
    EXPECT_TRUE(show.rendererProcesses().empty());
}

}  // namespace
}  // namespace quorlane::testing
