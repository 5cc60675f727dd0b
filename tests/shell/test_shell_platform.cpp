// The shell's adapters on the real services: private files, the BMP it hands to the
// renderer, the renderer's process, and (under Xvfb) window lookup by title.
#include <gtest/gtest.h>

// Qt first: the X headers define macros (Status, None) that Qt's headers trip over.
#include <QImage>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "common/atomic_file.h"
#include "shell/platform/picture_file.h"
#include "shell/platform/private_files.h"
#include "shell/platform/renderer_process.h"
#include "shell/platform/termination_signals.h"
#include "shell/platform/x11/x_connection.h"
#include "shell/platform/x11/x_window_lookup.h"
#include "shell/platform/x11/xfixes_cursor.h"
#include "tests/support/read_file.h"
#include "tests/support/show_harness.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;

using test::readFile;
using test::TempFolder;

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(PrivateFiles, FolderIsMadeWithParentsAndPrivate) {
    TempFolder temp;
    const fs::path folder = temp.path() / "cache" / "orvask";
    EXPECT_TRUE(makePrivateFolder(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_TRUE(makePrivateFolder(folder));  // already there
    // One of ours that others can read is closed to them.
    fs::permissions(folder, fs::perms(0755));
    EXPECT_TRUE(makePrivateFolder(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
}

// Neither a link in the folder's place nor another user's folder is used or changed; the
// next place of the list is taken instead.
TEST(PrivateFiles, ALinkAFileOrAnotherUsersFolderIsNotASafeFolder) {
    TempFolder temp;
    fs::create_directory(temp.path() / "elsewhere");
    fs::permissions(temp.path() / "elsewhere", fs::perms(0755));
    fs::create_directory_symlink(temp.path() / "elsewhere", temp.path() / "link");
    EXPECT_FALSE(makePrivateFolder(temp.path() / "link"));
    EXPECT_EQ(modeOf(temp.path() / "elsewhere"), 0755u);
    std::ofstream(temp.path() / "file") << "x";
    EXPECT_FALSE(makePrivateFolder(temp.path() / "file"));
    std::vector<std::string> folders = {temp.path() / "link", temp.path() / "file"};
    if (geteuid() == 0) {  // only root can give a folder away
        fs::create_directory(temp.path() / "theirs");
        fs::permissions(temp.path() / "theirs", fs::perms(0755));
        ASSERT_EQ(chown((temp.path() / "theirs").c_str(), 65534, 65534), 0);
        EXPECT_FALSE(makePrivateFolder(temp.path() / "theirs"));
        EXPECT_EQ(modeOf(temp.path() / "theirs"), 0755u);
        folders.push_back(temp.path() / "theirs");
    }
    folders.push_back(temp.path() / "mine");
    EXPECT_EQ(preparePrivateFolder(folders), temp.path() / "mine");
    EXPECT_EQ(preparePrivateFolder({temp.path() / "link"}), "");
}

TEST(PrivateFiles, OnlyStaleTemporariesOfOursAreRemoved) {
    TempFolder temp;
    const fs::path target = temp.path() / "Torvane.bmp";
    const auto make = [&](const std::string& name, bool old) {
        std::ofstream(temp.path() / name) << "half a picture";
        if (old) {
            fs::last_write_time(temp.path() / name,
                                fs::file_time_type::clock::now() - std::chrono::minutes(5));
        }
    };
    make("Torvane.bmp", true);
    make("Torvane.bmp.a1B2c3", true);   // a killed save's: goes
    make("Torvane.bmp.Zz9Yy8", true);   // another: goes
    make("Torvane.bmp.q7w8e9", false);  // being written just now: stays
    make("Torvane.bmp.x1y2z3", true);   // locked by a live writer: stays
    make("Torvane.bmp.keep", true);     // not a temporary's name: stays
    make("Torvane.bmp.abc-12", true);
    make("Other.bmp.a1B2c3", true);
    const int writer = open((temp.path() / "Torvane.bmp.x1y2z3").c_str(), O_RDONLY);
    ASSERT_EQ(flock(writer, LOCK_EX), 0);
    std::set<std::string> expected = {"Torvane.bmp",        "Torvane.bmp.q7w8e9",
                                      "Torvane.bmp.x1y2z3", "Torvane.bmp.keep",
                                      "Torvane.bmp.abc-12", "Other.bmp.a1B2c3"};
    if (geteuid() == 0) {
        make("Torvane.bmp.f0r31n", true);  // another user's: stays
        ASSERT_EQ(chown((temp.path() / "Torvane.bmp.f0r31n").c_str(), 65534, 65534), 0);
        expected.insert("Torvane.bmp.f0r31n");
    }
    removeStaleTemporaries(target, std::chrono::seconds(10));
    close(writer);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(temp.path())) {
        left.insert(entry.path().filename());
    }
    EXPECT_EQ(left, expected);
}

TEST(PrivateFiles, ReplacingIsWholeOrNothing) {
    TempFolder temp;
    const fs::path file = temp.path() / "Torvane.bmp";
    ASSERT_TRUE(replaceFileAtomically(file, "first"));
    EXPECT_EQ(modeOf(file), 0600u);
    ASSERT_TRUE(replaceFileAtomically(file, "second, longer"));
    EXPECT_EQ(readFile(file), "second, longer");
    // A target that cannot be replaced (here a folder in the way): false, and the
    // temporary file does not stay behind.
    fs::create_directories(temp.path() / "busy.bmp" / "inside");
    errno = 0;
    EXPECT_FALSE(replaceFileAtomically(temp.path() / "busy.bmp", "third"));
    EXPECT_NE(errno, 0);  // the caller can say why
    EXPECT_TRUE(fs::is_directory(temp.path() / "busy.bmp"));
    fs::remove_all(temp.path() / "busy.bmp");
    EXPECT_FALSE(replaceFileAtomically(temp.path() / "missing" / "x.bmp", "data"));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
}

TEST(PictureFile, PicturesLoadAtTheirOwnSize) {
    TempFolder temp;
    QImage image(37, 21, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(temp.path() / "p.jpg"), "JPEG"));
    const QImage loaded = loadPictureFile(temp.path() / "p.jpg");
    EXPECT_EQ(loaded.size(), QSize(37, 21));
    std::ofstream(temp.path() / "junk.jpg") << "not a picture";
    EXPECT_TRUE(loadPictureFile(temp.path() / "junk.jpg").isNull());
    EXPECT_TRUE(loadPictureFile(temp.path() / "absent.bmp").isNull());
}

bool waitUntilEnded(RendererProcess& process) {
    for (int i = 0; i < 200; ++i) {
        if (process.ended()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(RendererProcess, StartsByPathWithoutArgumentsAndIsReaped) {
    TempFolder temp;
    const fs::path script = temp.path() / "Quorlane.dll";
    // Records its arguments and working folder, then exits 3.
    std::ofstream(script) << "#!/bin/sh\necho \"$#:$(pwd)\" > \"" << (temp.path() / "out").string()
                          << "\"\nexit 3\n";
    fs::permissions(script, fs::perms::owner_all);
    RendererProcess process;
    EXPECT_TRUE(process.ended());  // nothing started yet
    ASSERT_TRUE(process.start(script));
    ASSERT_TRUE(waitUntilEnded(process));
    EXPECT_TRUE(WIFEXITED(process.status()));
    EXPECT_EQ(WEXITSTATUS(process.status()), 3);
    EXPECT_EQ(readFile(temp.path() / "out"), "0:" + fs::current_path().string() + "\n");

    process.endGroup(std::chrono::milliseconds(500));  // collects it

    RendererProcess missing;
    EXPECT_FALSE(missing.start(temp.path() / "absent"));
    EXPECT_EQ(missing.error(), ENOENT);
    EXPECT_TRUE(missing.ended());
}

pid_t readPid(const fs::path& file) {
    for (int i = 0; i < 500 && fs::file_size(file) == 0; ++i) usleep(10000);
    return std::stoi(readFile(file));
}

// A renderer that ignores SIGTERM, and what it started, are killed after the grace; one
// that ends on SIGTERM is not waited for.
TEST(RendererProcess, EndingTheGroupTakesTheRendererAndItsChildren) {
    TempFolder temp;
    const fs::path script = temp.path() / "Quorlane.dll";
    std::ofstream(script) << "#!/bin/sh\ntrap '' TERM\nsleep 300 &\necho $! > \""
                          << (temp.path() / "child").string() << "\"\necho $$ > \""
                          << (temp.path() / "leader").string() << "\"\nexec sleep 300\n";
    fs::permissions(script, fs::perms::owner_all);
    std::ofstream(temp.path() / "child");
    std::ofstream(temp.path() / "leader");
    RendererProcess stubborn;
    ASSERT_TRUE(stubborn.start(script));
    const pid_t leader = readPid(temp.path() / "leader");
    const pid_t child = readPid(temp.path() / "child");
    usleep(100000);  // the shell has exec'd sleep, which keeps ignoring SIGTERM
    const auto before = std::chrono::steady_clock::now();
    stubborn.endGroup(std::chrono::milliseconds(300));
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(300));
    for (int i = 0; i < 100 && testing::processRunning(child); ++i) usleep(10000);
    EXPECT_FALSE(testing::processRunning(leader));
    EXPECT_FALSE(testing::processRunning(child)) << "the renderer's child outlived the show";
    EXPECT_TRUE(stubborn.ended());
    if (testing::processRunning(child)) kill(child, SIGKILL);

    const fs::path plain = temp.path() / "plain";
    std::ofstream(plain) << "#!/bin/sh\nexec sleep 300\n";
    fs::permissions(plain, fs::perms::owner_all);
    RendererProcess willing;
    ASSERT_TRUE(willing.start(plain));
    // A grace no test run could wait out: the call returns because the renderer has ended.
    willing.endGroup(std::chrono::hours(24));
    EXPECT_TRUE(willing.ended());
    EXPECT_EQ(WTERMSIG(willing.status()), SIGTERM);
}

// Renderers that, once told to end, wait until every one of them has been told: they end by
// themselves only if all groups are signalled before any is waited for. None keeps its
// descriptor once reaped.
TEST(RendererProcess, SeveralGroupsAreAllToldBeforeAnyIsWaitedFor) {
    TempFolder temp;
    const fs::path script = temp.path() / "Quorlane.dll";
    std::ofstream(script) << "#!/bin/sh\n"
                             "trap 'touch \"$2/told$1\"; "
                             "until [ -e \"$2/told0\" ] && [ -e \"$2/told1\" ] && "
                             "[ -e \"$2/told2\" ]; do sleep 0.01; done; exit 0' TERM\n"
                             "while :; do sleep 0.05; done\n";
    fs::permissions(script, fs::perms::owner_all);
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = openDescriptors();
    RendererProcess renderers[3];
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(renderers[i].start(script, {std::to_string(i), temp.path().string()}));
    }
    usleep(100000);  // the shells have set their traps
    // The grace only bounds a failure: told one at a time, the first would wait it out.
    RendererProcess::endGroups({&renderers[0], &renderers[1], &renderers[2]},
                               std::chrono::milliseconds(5000));
    for (RendererProcess& renderer : renderers) {
        EXPECT_TRUE(renderer.ended());
        EXPECT_TRUE(WIFEXITED(renderer.status())) << "killed after the grace";
        EXPECT_EQ(renderer.endNotifier(), -1);
    }
    EXPECT_EQ(openDescriptors(), before);
}

// A library that retries an open of a FIFO on every interruption never returns to the show's
// loop: the signal must end the process all the same, a little later, as its own.
TEST(ShowSignals, ASignalEndsTheProcessEvenWhileAnOpenNeverReturns) {
    TempFolder temp;
    const fs::path fifo = temp.path() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TerminationSignals termination;
        close(started[0]);
        close(started[1]);
        int fd;
        do {
            fd = open(fifo.c_str(), O_RDONLY);
        } while (fd < 0 && errno == EINTR);
        _exit(0);
    }
    close(started[1]);
    char none;
    ASSERT_EQ(read(started[0], &none, 1), 0);  // the handlers are in place
    close(started[0]);
    kill(child, SIGTERM);
    int status = 0;
    pid_t ended = 0;
    // Bounds only a failure: the process would otherwise hang for ever.
    for (int i = 0; i < 1500 && ended == 0; ++i) {
        ended = waitpid(child, &status, WNOHANG);
        if (ended == 0) usleep(10000);
    }
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the signal did not end the process";
    }
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

// An unmapped top-level window with the given title properties.
Window makeWindow(Display* display, const char* wmName, const char* netWmName) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    if (wmName != nullptr) XStoreName(display, window, wmName);
    if (netWmName != nullptr) {
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(netWmName),
                        static_cast<int>(std::strlen(netWmName)));
    }
    XSync(display, False);
    return window;
}

TEST(WindowLookup, FindsHiddenWindowsByExactTitle) {
    if (getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display";
    const auto other = XConnection::open();  // another program's windows
    const auto ours = XConnection::open();
    ASSERT_TRUE(other && ours);
    Display* d = other->display();
    Display* look = ours->display();

    EXPECT_FALSE(topLevelWindowExists(look, "Torvane_VC"));
    const Window plain = makeWindow(d, "Torvane_VC", nullptr);
    EXPECT_TRUE(topLevelWindowExists(look, "Torvane_VC"));
    EXPECT_FALSE(topLevelWindowExists(look, "Torvane"));  // no substrings
    EXPECT_FALSE(topLevelWindowExists(look, "Torvane_VC2"));
    EXPECT_FALSE(topLevelWindowExists(look, "torvane_vc"));  // exact case
    XDestroyWindow(d, plain);
    XSync(d, False);
    EXPECT_FALSE(topLevelWindowExists(look, "Torvane_VC"));

    // The UTF-8 name wins over the old one, as window managers show it.
    const Window both = makeWindow(d, "old title", "Vantorel_Main");
    EXPECT_TRUE(topLevelWindowExists(look, "Vantorel_Main"));
    EXPECT_FALSE(topLevelWindowExists(look, "old title"));
    EXPECT_TRUE(isExistingWindow(look, static_cast<uint32_t>(both)));
    XDestroyWindow(d, both);
    XSync(d, False);
    EXPECT_FALSE(isExistingWindow(look, static_cast<uint32_t>(both)));
    EXPECT_FALSE(isExistingWindow(look, 0));

    // A window the window manager has taken into its frame is found before it is listed as
    // the manager's client (a show looking then would take its renderer for gone), and after.
    const Window frame = makeWindow(d, nullptr, nullptr);
    const Window layer = XCreateSimpleWindow(d, frame, 0, 0, 5, 5, 0, 0, 0);
    const Window client = XCreateSimpleWindow(d, layer, 0, 0, 5, 5, 0, 0, 0);
    XStoreName(d, client, "<Quorlane>");
    XSync(d, False);
    EXPECT_EQ(findTopLevelWindow(look, "<Quorlane>"), client);
    XChangeProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_CLIENT_LIST", False), XA_WINDOW,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(&client), 1);
    XSync(d, False);
    EXPECT_EQ(findTopLevelWindow(look, "<Quorlane>"), client);
    XDeleteProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_CLIENT_LIST", False));
    XSync(d, False);
}

// A shell killed outright must not leave its renderer running, even one that ignores the
// polite signal.
TEST(RendererProcess, EndsWhenTheShellIsKilled) {
    TempFolder temp;
    const fs::path script = temp.path() / "Quorlane.dll";
    const fs::path pidFile = temp.path() / "pid";
    std::ofstream(script) << "#!/bin/sh\ntrap '' TERM\necho $$ > \"" << pidFile.string()
                          << "\"\nexec sleep 30\n";
    fs::permissions(script, fs::perms::owner_all);

    // Orphans come back to this test, so it can see how the renderer ended.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const pid_t shell = fork();
    ASSERT_GE(shell, 0);
    if (shell == 0) {
        RendererProcess process;
        if (!process.start(script)) _exit(1);
        for (;;) pause();  // until killed, without reaping or ending its renderer
    }
    // Written whole, or the test would read a half-written number.
    while (readFile(pidFile).find('\n') == std::string::npos) usleep(10000);
    const pid_t renderer = std::stoi(readFile(pidFile));
    kill(shell, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(shell, &status, 0), shell);
    pid_t reaped = 0;
    for (int i = 0; i < 300 && reaped == 0; ++i) {
        reaped = waitpid(renderer, &status, WNOHANG);
        if (reaped == 0) usleep(10000);
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    if (reaped == 0) kill(renderer, SIGKILL);
    ASSERT_EQ(reaped, renderer) << "the renderer outlived its shell";
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
}

// A display of its own whose screen can be read as the user sees it, pointer included:
// Xvfb keeps its frame buffer in a file (XWD format) when asked to.
class ScreenInAFile {
public:
    ScreenInAFile() {
        int number[2];
        if (pipe(number) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, number[1], 3);
        const std::string folder = temp_.path().string();
        const char* argv[] = {"Xvfb",     "-displayfd", "3",      "-screen",
                              "0",        "320x240x24", "-fbdir", folder.c_str(),
                              "-noreset", "-nolisten",  "tcp",    nullptr};
        posix_spawnp(&server_, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(number[1]);
        // The number comes as text ended by a line feed, not always in one piece.
        std::string text;
        char c = 0;
        while (read(number[0], &c, 1) == 1 && c != '\n') text += c;
        close(number[0]);
        if (!text.empty()) name_ = ":" + text;
    }
    ~ScreenInAFile() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
    }
    const std::string& name() const { return name_; }

    // Pixels that are not black in the square of side 40 from (x, y).
    int litPixels(int x0, int y0) const {
        const std::string d = readFile(temp_.path() / "Xvfb_screen0");
        const auto be32 = [&](std::size_t at) {
            return static_cast<uint32_t>(static_cast<unsigned char>(d[at]) << 24 |
                                         static_cast<unsigned char>(d[at + 1]) << 16 |
                                         static_cast<unsigned char>(d[at + 2]) << 8 |
                                         static_cast<unsigned char>(d[at + 3]));
        };
        if (d.size() < 100) return -1;
        const std::size_t pixels = be32(0) + be32(76) * 12, stride = be32(48);
        int lit = 0;
        for (int y = y0; y < y0 + 40; ++y) {
            for (int x = x0; x < x0 + 40; ++x) {
                const std::size_t at = pixels + y * stride + x * 4;
                lit += (d[at] | d[at + 1] | d[at + 2]) != 0;
            }
        }
        return lit;
    }

private:
    TempFolder temp_;
    pid_t server_ = -1;
    std::string name_;
};

// The shell's hiding is seen on the screen, follows the display count, and is undone by the
// server when the shell's connection goes.
TEST(XFixesCursor, HidesAndShowsThePointerOnTheScreen) {
    ScreenInAFile screen;
    ASSERT_FALSE(screen.name().empty()) << "Xvfb did not start";
    Display* user = XOpenDisplay(screen.name().c_str());
    ASSERT_NE(user, nullptr);
    const Window root = DefaultRootWindow(user);
    XDefineCursor(user, root, XCreateFontCursor(user, XC_arrow));
    XWarpPointer(user, None, root, 0, 0, 0, 0, 50, 50);
    XSync(user, False);
    // The server draws the pointer between requests: look until it settles.
    const auto pointerShown = [&](bool expected) {
        for (int i = 0; i < 100; ++i) {
            if ((screen.litPixels(40, 40) > 0) == expected) return true;
            usleep(10000);
        }
        return false;
    };
    ASSERT_TRUE(pointerShown(true));

    Display* shell = XOpenDisplay(screen.name().c_str());
    ASSERT_NE(shell, nullptr);
    XFixesCursor cursor(shell);
    CursorDisplayCount count(cursor);
    count.showCursor(0);
    EXPECT_TRUE(pointerShown(false));
    count.showCursor(0);
    count.showCursor(1);  // -1: still hidden
    EXPECT_TRUE(pointerShown(false));
    count.showCursor(1);
    EXPECT_TRUE(pointerShown(true));
    count.showCursor(0);
    EXPECT_TRUE(pointerShown(false));
    XCloseDisplay(shell);  // a shell that dies cannot leave it hidden
    EXPECT_TRUE(pointerShown(true));
    XCloseDisplay(user);
}

}  // namespace
}  // namespace quorlane
