// The preview with the built shell, inside host windows that the test makes itself on a
// private X display: the still fills the host, the handle is read as the screensaver
// command line gives it, and the preview ends with its host and touches no files.
#include <gtest/gtest.h>

// Qt first: the X headers define macros (Status, None) that Qt's headers trip over.
#include <QImage>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "common/x11/x_errors.h"
#include "tests/preview/x_test_window.h"
#include "tests/support/show_harness.h"

namespace quorlane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr unsigned long kRed = 0xff0000;
// Generous: the shared machine is slow, the sanitizer build slower still.
constexpr auto kAppear = 15s;
// Only a guard against a preview that never ends once its window is gone; how soon it ends
// is measured in bench/preview.sh.
constexpr auto kEnd = 15s;

class PreviewEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ignoreXErrorsFromNowOn();  // the host windows go while the test still looks at them
        display_ = XOpenDisplay(nullptr);
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        if (display_ != nullptr) XCloseDisplay(display_);
    }

    // The preview window inside the host, once it is there and mapped.
    Window waitForPreview(Window host) {
        const auto until = Clock::now() + kAppear;
        while (Clock::now() < until) {
            for (Window child : childrenOf(display_, host)) {
                XWindowAttributes attributes{};
                if (XGetWindowAttributes(display_, child, &attributes) != 0 &&
                    attributes.map_state == IsViewable) {
                    return child;
                }
            }
            std::this_thread::sleep_for(10ms);
        }
        return 0;
    }

    std::string titleOf(Window window) {
        char* name = nullptr;
        std::string title;
        if (XFetchName(display_, window, &name) != 0 && name != nullptr) title = name;
        if (name != nullptr) XFree(name);
        return title;
    }

    // Destroys the host and gives the time the preview process then took to end, or
    // nothing when it was still there after ten seconds.
    // The preview's exit code once its host is destroyed; nothing while it outlives it.
    std::optional<int> endByDestroying(ShowHarness& harness, XTestWindow& host, pid_t pid) {
        host.destroy();
        const auto status = harness.waitExit(pid, kEnd);
        if (!status) return std::nullopt;
        return WIFEXITED(*status) ? WEXITSTATUS(*status) : 128 + WTERMSIG(*status);
    }

    Display* display_ = nullptr;
};

// The still as it ships, read from the source tree (the program carries the same file).
QImage shippedStill() {
    return QImage(QString(QUORLANE_SOURCE_DIR) + "/shell/assets/preview_still.jpg")
        .convertToFormat(QImage::Format_RGB32);
}

// Whether the host shows the still stretched to w x h: every pixel must be one of the
// still's pixels at or next to where a plain stretch takes it from.
int pixelsOffTheStretchedStill(const std::vector<unsigned long>& pixels, const QImage& still, int w,
                               int h) {
    int off = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned long seen = pixels[static_cast<size_t>(y * w + x)];
            const int sx = x * still.width() / w, sy = y * still.height() / h;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int px = sx + dx, py = sy + dy;
                    if (px < 0 || py < 0 || px >= still.width() || py >= still.height()) continue;
                    found = (still.pixel(px, py) & 0xffffff) == seen;
                }
            }
            if (!found) ++off;
        }
    }
    return off;
}

TEST(PreviewStill, IsA120By90ColourJpeg) {
    const QString file = QString(QUORLANE_SOURCE_DIR) + "/shell/assets/preview_still.jpg";
    const QImage still(file, "JPEG");
    ASSERT_FALSE(still.isNull());
    EXPECT_EQ(still.width(), 120);
    EXPECT_EQ(still.height(), 90);
    EXPECT_FALSE(still.isGrayscale());
}

// A 152 x 112 host: the preview is its child at 0, 0 of exactly that size, titled
// "Preview Window", and the host shows the still stretched over all of it, 4:3 or not.
TEST_F(PreviewEndToEnd, TheStillFillsTheHostStretched) {
    ShowHarness harness(/*withRenderer=*/false);
    // A session that prefers another platform (a Wayland desktop sets this too): the host is
    // an X window, so the preview must still be made on X.
    harness.setEnv("QT_QPA_PLATFORM", "offscreen");
    XTestWindow host(display_, 300, 200, 152, 112, kRed);
    const pid_t pid = harness.startShell({"/p", std::to_string(host.id())});
    const Window preview = waitForPreview(host.id());
    ASSERT_NE(preview, 0u) << "no preview window appeared in the host";
    EXPECT_EQ(titleOf(preview), "Preview Window");
    EXPECT_EQ(geometryOf(display_, preview), (XGeometry{0, 0, 152, 112}));

    const QImage still = shippedStill();
    ASSERT_FALSE(still.isNull());
    int off = 152 * 112;
    std::vector<unsigned long> pixels;
    for (auto until = Clock::now() + kAppear; off != 0 && Clock::now() < until;) {
        std::this_thread::sleep_for(20ms);
        pixels = pixelsOf(display_, host.id(), 152, 112);
        if (pixels.size() == 152u * 112u) off = pixelsOffTheStretchedStill(pixels, still, 152, 112);
    }
    EXPECT_EQ(off, 0) << "host pixels that are not the stretched still";
    // Not just any stretch: the corners are the still's corners.
    ASSERT_EQ(pixels.size(), 152u * 112u);
    EXPECT_EQ(pixels.front(), still.pixel(0, 0) & 0xffffff);
    EXPECT_EQ(pixels.back(), still.pixel(119, 89) & 0xffffff);

    EXPECT_EQ(endByDestroying(harness, host, pid), 0) << "the preview outlived its host";
}

// Two requests, two independent previews: each ends with its own host only.
TEST_F(PreviewEndToEnd, TwoPreviewsRunSideBySide) {
    ShowHarness harness(/*withRenderer=*/false);
    XTestWindow first(display_, 0, 0, 152, 112, kRed);
    XTestWindow second(display_, 400, 0, 200, 150, kRed);
    const pid_t firstPid = harness.startShell({"/p", std::to_string(first.id())});
    const pid_t secondPid = harness.startShell({"/p", std::to_string(second.id())});
    ASSERT_NE(waitForPreview(first.id()), 0u);
    const Window secondPreview = waitForPreview(second.id());
    ASSERT_NE(secondPreview, 0u);
    EXPECT_EQ(geometryOf(display_, secondPreview), (XGeometry{0, 0, 200, 150}));

    ASSERT_EQ(endByDestroying(harness, first, firstPid), 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(harness.waitExit(secondPid, 0ms), std::nullopt) << "the other preview ended too";
    EXPECT_EQ(childrenOf(display_, second.id()), std::vector<Window>{secondPreview});
    EXPECT_EQ(endByDestroying(harness, second, secondPid), 0);
}

// A host may also destroy just the preview inside it, and keep itself.
TEST_F(PreviewEndToEnd, DestroyingOnlyThePreviewEndsIt) {
    ShowHarness harness(/*withRenderer=*/false);
    XTestWindow host(display_, 0, 0, 152, 112, kRed);
    const pid_t pid = harness.startShell({"/p", std::to_string(host.id())});
    ASSERT_NE(waitForPreview(host.id()), 0u);
    XDestroySubwindows(display_, host.id());
    XSync(display_, False);
    const auto status = harness.waitExit(pid, kEnd);
    ASSERT_TRUE(status) << "the preview outlived its window";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

// Larger than a size held in 16-bit twips allows (2184 pixels): the preview still covers
// the whole host.
TEST_F(PreviewEndToEnd, AHostBeyondTheTwipLimitIsFilledWhole) {
    ShowHarness harness(/*withRenderer=*/false);
    XTestWindow host(display_, 0, 0, 2400, 2300, kRed);
    const pid_t pid = harness.startShell({"/p", std::to_string(host.id())});
    const Window preview = waitForPreview(host.id());
    ASSERT_NE(preview, 0u);
    EXPECT_EQ(geometryOf(display_, preview), (XGeometry{0, 0, 2400, 2300}));
    EXPECT_EQ(endByDestroying(harness, host, pid), 0);
}

// A host that changes its size: the still follows, covering all of it stretched again,
// growing and shrinking.
TEST_F(PreviewEndToEnd, TheStillFollowsAResizedHost) {
    ShowHarness harness(/*withRenderer=*/false);
    XTestWindow host(display_, 0, 0, 200, 150, kRed);
    const pid_t pid = harness.startShell({"/p", std::to_string(host.id())});
    const Window preview = waitForPreview(host.id());
    ASSERT_NE(preview, 0u);
    const QImage still = shippedStill();
    ASSERT_FALSE(still.isNull());
    for (const auto& [w, h] : {std::pair{200, 150}, std::pair{640, 480}, std::pair{320, 100}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        XResizeWindow(display_, host.id(), static_cast<unsigned>(w), static_cast<unsigned>(h));
        XSync(display_, False);
        int off = w * h;
        for (auto until = Clock::now() + kAppear; off != 0 && Clock::now() < until;) {
            std::this_thread::sleep_for(20ms);
            const auto pixels =
                pixelsOf(display_, host.id(), static_cast<unsigned>(w), static_cast<unsigned>(h));
            if (pixels.size() == static_cast<size_t>(w * h)) {
                off = pixelsOffTheStretchedStill(pixels, still, w, h);
            }
        }
        EXPECT_EQ(off, 0) << "host pixels that are not the stretched still";
        EXPECT_EQ(geometryOf(display_, preview),
                  (XGeometry{0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h)}));
        if (const char* shots = std::getenv("QUORLANE_SCREENSHOT_DIR")) {
            harness.screenshot(fs::path(shots) /
                               ("preview-" + std::to_string(w) + "x" + std::to_string(h) + ".png"));
        }
    }
    EXPECT_EQ(endByDestroying(harness, host, pid), 0);
}

// A handle that names no window ends the request at once, without a window.
TEST_F(PreviewEndToEnd, AHandleThatIsNoWindowEndsAtOnce) {
    ShowHarness harness(/*withRenderer=*/false);
    XTestWindow gone(display_, 0, 0, 10, 10, kRed);
    const std::string id = std::to_string(gone.id());
    gone.destroy();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"/p", id}, {"/p"}, {"/p", "0"}, {"/p", "99999999999"}}) {
        SCOPED_TRACE(arguments.back());
        const auto status = harness.waitExit(harness.startShell(arguments), 5s);
        ASSERT_TRUE(status) << "the request without a host did not end";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    }
}

// Names of the files a process opened, read or created in the watched folders.
class FileActivity {
public:
    explicit FileActivity(const std::vector<fs::path>& folders) : fd_(inotify_init1(IN_NONBLOCK)) {
        for (const auto& folder : folders) {
            inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_ACCESS | IN_CREATE | IN_MODIFY);
        }
    }
    ~FileActivity() { close(fd_); }
    // What happened since the last call, except to the program's own files (Quorlane.scr and
    // the Qt part it loads).
    std::vector<std::string> take() {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<inotify_event*>(p);
                const std::string name = event->len > 0 ? event->name : "";
                if (!name.empty() && name != "Quorlane.scr" && name != "quorlane-qt.so")
                    names.push_back(name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_;
};

// Mode "P" makes no folder and never looks at a settings file; an unknown switch, which
// does both, shows that the watch would see it.
TEST_F(PreviewEndToEnd, ThePreviewTouchesNoFolderAndNoSettings) {
    ShowHarness harness(/*withRenderer=*/false);
    const fs::path config = harness.root() / "config";
    fs::create_directory(config);
    harness.setEnv("XDG_CONFIG_HOME", config);
    harness.setEnv("HOME", harness.root());
    std::ofstream(harness.bin() / "Quorlane.ini") << "[Section]\r\n";
    FileActivity activity({harness.bin(), harness.runtimeDir(), config});

    XTestWindow host(display_, 0, 0, 152, 112, kRed);
    const pid_t pid = harness.startShell({"/p", std::to_string(host.id())});
    ASSERT_NE(waitForPreview(host.id()), 0u);
    ASSERT_EQ(endByDestroying(harness, host, pid), 0);
    EXPECT_EQ(activity.take(), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(harness.runtimeDir() / "orvask"));

    ASSERT_TRUE(harness.waitExit(harness.startShell({"/a"}), 10s));
    const auto seen = activity.take();
    EXPECT_NE(std::find(seen.begin(), seen.end(), "Quorlane.ini"), seen.end());
    EXPECT_TRUE(fs::exists(harness.runtimeDir() / "orvask"));
}

}  // namespace
}  // namespace quorlane::testing
