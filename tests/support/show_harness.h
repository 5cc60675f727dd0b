#pragma once
// Runs the built programs in a private folder on the test's own X display: both programs and
// the shell's two loadable parts copied side by side (so a test can put its own Quorlane.ini beside
// them), a private runtime folder for the desktop image file, and a clean environment for the
// shell.
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

#include "tests/support/temp_folder.h"

typedef struct _XDisplay Display;

namespace quorlane::testing {

namespace fs = std::filesystem;

class ShowHarness {
public:
    explicit ShowHarness(bool withRenderer = true);
    ~ShowHarness();

    fs::path bin() const { return root_ / "bin"; }
    fs::path runtimeDir() const { return root_ / "run"; }
    fs::path cacheDir() const { return root_ / "cache"; }
    fs::path homeDir() const { return root_ / "home"; }  // HOME of the shells it starts
    fs::path desktopImage() const { return runtimeDir() / "orvask" / "Torvane.bmp"; }
    fs::path root() const { return root_; }

    void setEnv(const std::string& name, const std::string& value) { env_[name] = value; }
    // What the shells started from now on write to standard error goes into this file.
    void captureStderr(const fs::path& file) { stderrFile_ = file; }

    // Starts Quorlane.scr with these arguments; returns its process id.
    pid_t startShell(const std::vector<std::string>& args);
    // Waits for the process to end; its exit status, or nothing on timeout.
    std::optional<int> waitExit(pid_t pid, std::chrono::milliseconds limit);

    // The id of the top-level window with this exact title, 0 when there is none.
    unsigned long findWindow(const std::string& title);
    unsigned long waitForWindow(const std::string& title, std::chrono::milliseconds limit);
    // Every top-level window with this exact title.
    std::vector<unsigned long> findWindows(const std::string& title);
    // Processes running this harness's copy of the renderer.
    std::vector<pid_t> rendererProcesses() const;

    // Splits the screen into this many monitors side by side, as `xrandr --setmonitor` does
    // (the first one takes the screen's output); put back as they were when the harness goes.
    void splitScreen(int count);
    // One more monitor at this place, named QM and the first number not in use (the first one
    // takes the screen's output), as `xrandr --setmonitor` makes it; put back as splitScreen's
    // are.
    void addMonitor(int x, int y, int width, int height);
    void removeMonitor(const std::string& name);
    void paintRoot(unsigned long rgb);
    void pressEscape(unsigned long window);
    void screenshot(const fs::path& file);

private:
    test::TempFolder folder_;  // removed, with all the show left in it, after everything else
    fs::path root_ = folder_.path();
    std::map<std::string, std::string> env_;
    fs::path stderrFile_;
    Display* display_ = nullptr;
    std::vector<pid_t> started_;
    std::vector<std::string> monitors_;
};

// Whether the running process has a shared library whose file name starts with `name` mapped.
bool mapsLibrary(pid_t pid, const std::string& name);

// Running, as opposed to ended (a zombie no one has collected counts as ended).
bool processRunning(pid_t pid);
// The children of this process that have ended and are not yet reaped.
std::vector<pid_t> zombieChildren(pid_t parent);

// The share of a PNG's pixels within tolerance of the colour 0xRRGGBB in each channel, over
// the whole picture or the part of it at x, y of this width and height.
struct PictureRegion {
    int x = 0, y = 0, width = 0, height = 0;  // width 0: the whole picture
};
double shareOfColour(const fs::path& png, unsigned long rgb, int tolerance,
                     PictureRegion region = {});

// The lines of a text file.
std::vector<std::string> linesOf(const fs::path& file);

// Width, height and bits per pixel of a BMP file, and the colour of its pixel (x, y).
struct BmpInfo {
    int width = 0, height = 0, bitsPerPixel = 0, infoHeaderSize = 0;
    std::string bytes;
    unsigned long pixel(int x, int y) const;  // 0xRRGGBB, 24-bit bottom-up files only
};
std::optional<BmpInfo> readBmp(const fs::path& file);

}  // namespace quorlane::testing
