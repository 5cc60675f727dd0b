#include "tests/support/show_harness.h"

#include <algorithm>

#include <QImage>

#include <X11/Xlib.h>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

extern char** environ;

namespace quorlane::testing {

namespace {

using Clock = std::chrono::steady_clock;

int run(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const auto& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

}  // namespace

ShowHarness::ShowHarness(bool withRenderer) {
    fs::create_directories(bin());
    fs::create_directory(runtimeDir());
    fs::permissions(runtimeDir(), fs::perms::owner_all);
    const fs::path built = QUORLANE_BIN_DIR;
    fs::copy_file(built / "Quorlane.scr", bin() / "Quorlane.scr");
    if (withRenderer) fs::copy_file(built / "Quorlane.dll", bin() / "Quorlane.dll");
    // The shell's loadable parts, beside it as they are installed.
    for (const char* part : {"quorlane-qt.so", "quorlane-music.so"})
        fs::copy_file(built / part, bin() / part);
    fs::create_directory(cacheDir());
    env_["XDG_RUNTIME_DIR"] = runtimeDir();
    env_["XDG_CACHE_HOME"] = cacheDir();  // never the user's own, should the first place fail
    env_["SDL_AUDIODRIVER"] = "dummy";
    // A user's session has its bus. Without one, Qt's libdbus would start a bus of its own for
    // the X display (dbus-launch), which outlives the test and writes into the runtime folder.
    env_["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + (runtimeDir() / "no-session-bus").string();
    // Nothing of the user's own: no settings of theirs read, nothing left in their home.
    fs::create_directory(homeDir());
    env_["HOME"] = homeDir();
    env_["XDG_CONFIG_HOME"] = homeDir() / ".config";
    display_ = XOpenDisplay(nullptr);
}

ShowHarness::~ShowHarness() {
    // Whatever a failed test left running goes with it.
    for (pid_t pid : rendererProcesses()) kill(pid, SIGKILL);
    for (auto it = monitors_.rbegin(); it != monitors_.rend(); ++it) removeMonitor(*it);
    for (pid_t pid : started_) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (display_ != nullptr) XCloseDisplay(display_);
}

pid_t ShowHarness::startShell(const std::vector<std::string>& args) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [k, v] : env_) env[k] = v;
    std::vector<std::string> envText;
    for (const auto& [k, v] : env) envText.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string program = bin() / "Quorlane.scr";
    std::vector<std::string> argText = {program};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argText) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!stderrFile_.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, stderrFile_.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
    }
    pid_t pid = -1;
    const int failed =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) return -1;
    started_.push_back(pid);
    return pid;
}

std::optional<int> ShowHarness::waitExit(pid_t pid, std::chrono::milliseconds limit) {
    // Looks at least once, so that a limit of 0 asks "has it ended already?".
    const auto until = Clock::now() + limit;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::erase(started_, pid);
            return status;
        }
        if (Clock::now() >= until) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

unsigned long ShowHarness::findWindow(const std::string& title) {
    // xdotool's name search is a regular expression on a substring: anchor it.
    FILE* out = popen(("xdotool search --name '^" + title + "$' 2>/dev/null").c_str(), "r");
    if (out == nullptr) return 0;
    unsigned long id = 0;
    if (fscanf(out, "%lu", &id) != 1) id = 0;
    pclose(out);
    return id;
}

unsigned long ShowHarness::waitForWindow(const std::string& title,
                                         std::chrono::milliseconds limit) {
    const auto until = Clock::now() + limit;
    while (Clock::now() < until) {
        if (const unsigned long id = findWindow(title)) return id;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

std::vector<unsigned long> ShowHarness::findWindows(const std::string& title) {
    std::vector<unsigned long> ids;
    FILE* out = popen(("xdotool search --name '^" + title + "$' 2>/dev/null").c_str(), "r");
    if (out == nullptr) return ids;
    for (unsigned long id = 0; fscanf(out, "%lu", &id) == 1;) ids.push_back(id);
    pclose(out);
    return ids;
}

void ShowHarness::splitScreen(int count) {
    const int width = DisplayWidth(display_, DefaultScreen(display_)) / count;
    const int height = DisplayHeight(display_, DefaultScreen(display_));
    for (int i = 0; i < count; ++i) addMonitor(i * width, 0, width, height);
}

void ShowHarness::addMonitor(int x, int y, int width, int height) {
    // The first name not in use: QM0, QM1, ...
    std::string name;
    for (int i = 0;
         name.empty() || std::find(monitors_.begin(), monitors_.end(), name) != monitors_.end();
         ++i) {
        name = "QM" + std::to_string(i);
    }
    // 96 dots per inch: 254 mm for 960 pixels.
    const std::string geometry = std::to_string(width) + "/" + std::to_string(width * 254 / 960) +
                                 "x" + std::to_string(height) + "/" +
                                 std::to_string(height * 254 / 960) + "+" + std::to_string(x) +
                                 "+" + std::to_string(y);
    run({"xrandr", "--setmonitor", name, geometry, monitors_.empty() ? "screen" : "none"});
    monitors_.push_back(name);
}

void ShowHarness::removeMonitor(const std::string& name) {
    run({"xrandr", "--delmonitor", name});
    std::erase(monitors_, name);
}

std::vector<pid_t> ShowHarness::rendererProcesses() const {
    std::vector<pid_t> found;
    const fs::path renderer = bin() / "Quorlane.dll";
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return found;
    while (dirent* entry = readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0) continue;
        std::error_code error;
        const fs::path exe = fs::read_symlink(fs::path("/proc") / entry->d_name / "exe", error);
        if (!error && exe == renderer) found.push_back(pid);
    }
    closedir(proc);
    return found;
}

void ShowHarness::paintRoot(unsigned long rgb) {
    const Window root = DefaultRootWindow(display_);
    XSetWindowBackground(display_, root, rgb);  // TrueColor 24-bit: the pixel is 0xRRGGBB
    XClearWindow(display_, root);
    XSync(display_, False);
}

void ShowHarness::pressEscape(unsigned long window) {
    // The shell looks for the renderer's window every 100 ms. A window gone before it was
    // ever seen is a renderer that failed to start, which a sanitizer build's renderer (its
    // leak check fails on Mesa's unloaded driver) then seems to be: let the shell see it first.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    // Press and release in two runs: the renderer ends on the press, and xdotool, finding
    // the window gone, would end without releasing the key. The server then repeats the
    // held Escape to the next window to take focus, which would end the next show at once.
    run({"xdotool", "keydown", "--window", std::to_string(window), "Escape"});
    run({"xdotool", "keyup", "Escape"});
}

void ShowHarness::screenshot(const fs::path& file) {
    run({"sh", "-c", "xwd -root -silent | convert xwd:- '" + file.string() + "'"});
}

namespace {

// The state letter and the parent of a process, from /proc/<pid>/stat; {0, 0} when gone.
std::pair<char, pid_t> stateAndParent(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), {});
    const auto name = text.rfind(')');
    if (name == std::string::npos || name + 2 >= text.size()) return {0, 0};
    std::istringstream rest(text.substr(name + 2));
    char state = 0;
    pid_t parent = 0;
    rest >> state >> parent;
    return {state, parent};
}

}  // namespace

bool processRunning(pid_t pid) {
    const char state = stateAndParent(pid).first;
    return state != 0 && state != 'Z' && state != 'X';
}

std::vector<pid_t> zombieChildren(pid_t parent) {
    std::vector<pid_t> found;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return found;
    while (dirent* entry = readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid > 0 && stateAndParent(pid) == std::pair<char, pid_t>{'Z', parent})
            found.push_back(pid);
    }
    closedir(proc);
    return found;
}

double shareOfColour(const fs::path& png, unsigned long rgb, int tolerance, PictureRegion region) {
    const QImage image(QString::fromStdString(png.string()));
    if (image.isNull()) return 0;
    if (region.width == 0) region = {0, 0, image.width(), image.height()};
    long near = 0, all = 0;
    for (int y = region.y; y < region.y + region.height && y < image.height(); y += 4) {
        for (int x = region.x; x < region.x + region.width && x < image.width(); x += 4) {
            const QRgb p = image.pixel(x, y);
            ++all;
            near += std::abs(qRed(p) - static_cast<int>((rgb >> 16) & 0xff)) <= tolerance &&
                    std::abs(qGreen(p) - static_cast<int>((rgb >> 8) & 0xff)) <= tolerance &&
                    std::abs(qBlue(p) - static_cast<int>(rgb & 0xff)) <= tolerance;
        }
    }
    return all == 0 ? 0 : static_cast<double>(near) / static_cast<double>(all);
}

bool mapsLibrary(pid_t pid, const std::string& name) {
    for (const std::string& line : linesOf("/proc/" + std::to_string(pid) + "/maps")) {
        const auto slash = line.rfind('/');
        if (slash != std::string::npos && line.compare(slash + 1, name.size(), name) == 0) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> linesOf(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

unsigned long BmpInfo::pixel(int x, int y) const {
    uint32_t offset = 0;
    std::memcpy(&offset, bytes.data() + 10, 4);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const std::size_t at = offset + static_cast<std::size_t>(height - 1 - y) * stride +
                           static_cast<std::size_t>(x) * 3;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    return (static_cast<unsigned long>(byte(at + 2)) << 16) | (byte(at + 1) << 8) | byte(at);
}

std::optional<BmpInfo> readBmp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    BmpInfo info;
    info.bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (info.bytes.size() < 54 || info.bytes.compare(0, 2, "BM") != 0) return std::nullopt;
    int32_t v = 0;
    std::memcpy(&v, info.bytes.data() + 14, 4);
    info.infoHeaderSize = v;
    std::memcpy(&v, info.bytes.data() + 18, 4);
    info.width = v;
    std::memcpy(&v, info.bytes.data() + 22, 4);
    info.height = v;
    uint16_t bits = 0;
    std::memcpy(&bits, info.bytes.data() + 28, 2);
    info.bitsPerPixel = bits;
    return info;
}

}  // namespace quorlane::testing
