// One settings dialog or one show on a display, however many starts come at once, and a
// start refused by an open dialog brings that dialog back. Runs under a window manager, which
// may minimise the dialog although it asks for no minimise box.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "common/x11/x_property.h"
#include "tests/support/read_file.h"
#include "tests/support/show_harness.h"
#include "tests/support/wait_for.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace quorlane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Generous: the shared machine is slow, the sanitizer build slower still.
constexpr auto kLimit = 30s;

int exitCodeOf(const std::optional<int>& status) {
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

// Waits until every start but one has ended, each as a refused start does; the one left.
std::optional<pid_t> waitForOneLeft(ShowHarness& shell, std::vector<pid_t> running) {
    for (const auto until = Clock::now() + kLimit; running.size() > 1 && Clock::now() < until;) {
        std::erase_if(running, [&](pid_t pid) {
            const auto status = shell.waitExit(pid, 0ms);
            if (status) {
                EXPECT_EQ(exitCodeOf(status), 0);
            }
            return status.has_value();
        });
        std::this_thread::sleep_for(10ms);
    }
    if (running.size() != 1) return std::nullopt;
    return running.front();
}

// The process that made a dialog, as the toolkit marks it; 0 when unmarked or gone.
pid_t ownerOf(Display* display, unsigned long window) {
    const auto pid =
        readXProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 1);
    return pid && pid->items.size() == 1 ? static_cast<pid_t>(pid->items.front()) : 0;
}

TEST(OnePerDisplay, StartsMadeAtOnceGiveOneDialogOrOneShow) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const std::vector<std::vector<std::string>> rounds = {
        std::vector<std::string>(10, "/c"), {"/c", "/s"}, {"/s", "/c"}, {"/c", "/s", "/c", "/s"}};
    for (const auto& modes : rounds) {
        SCOPED_TRACE(::testing::PrintToString(modes));
        ShowHarness shell;
        const auto windowsOfOurs = [&] {
            return shell.findWindows("<Quorlane>").size() + shell.findWindows("Torvane_VC").size();
        };
        // The last round's windows go a moment after its processes were killed.
        for (const auto until = Clock::now() + kLimit; windowsOfOurs() > 0 && Clock::now() < until;)
            std::this_thread::sleep_for(20ms);
        ASSERT_EQ(windowsOfOurs(), 0u);
        // Each start's standard error, to tell what a winner without a window was doing.
        shell.captureStderr(shell.root() / "starts.err");
        std::vector<pid_t> started;
        for (const std::string& mode : modes) started.push_back(shell.startShell({mode}));
        const auto winner = waitForOneLeft(shell, started);
        ASSERT_TRUE(winner) << "more than one kept running";
        // The winner shows its window, and it is the only one of either kind once a refused
        // start's window, if it had made one, has gone with it (the server drops a client's
        // windows a moment after the process has ended). Only a show has renderers, and only
        // the winner's can be running.
        const auto onlyTheWinners = [&] {
            const std::vector<unsigned long> dialogs = shell.findWindows("<Quorlane>");
            const std::size_t shows = shell.findWindows("Torvane_VC").size();
            const bool strays = std::any_of(dialogs.begin(), dialogs.end(), [&](unsigned long w) {
                return ownerOf(display, w) != *winner;
            });
            return !strays && dialogs.size() + shows == 1;
        };
        // Looked for until seen, never looked at once more: a search made while the window
        // manager frames the window can miss it.
        if (!waitFor(onlyTheWinners)) {
            const auto at = std::find(started.begin(), started.end(), *winner) - started.begin();
            const auto status = shell.waitExit(*winner, 0ms);
            ADD_FAILURE() << windowsOfOurs() << " windows; the winner, " << modes[at] << ", "
                          << (status ? "ended with " + std::to_string(exitCodeOf(status))
                                     : std::string("still runs"))
                          << "; its renderers: " << shell.rendererProcesses().size()
                          << "; standard error:\n"
                          << quorlane::test::readFile(shell.root() / "starts.err");
        }
        EXPECT_LE(shell.rendererProcesses().size(), 1u);
    }
    XCloseDisplay(display);
}

bool viewable(Display* display, unsigned long window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

unsigned long activeWindow(Display* display) {
    const auto active =
        readXProperty(display, DefaultRootWindow(display),
                      XInternAtom(display, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, 1);
    return active && active->items.size() == 1 ? active->items.front() : 0;
}

TEST(OnePerDisplay, ARefusedStartBringsBackAMinimisedDialog) {
    ShowHarness shell;
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const pid_t dialog = shell.startShell({"/c"});
    const unsigned long window = shell.waitForWindow("<Quorlane>", kLimit);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(waitFor([&] { return viewable(display, window); }));
    // The window manager takes a minimise request only for a window it manages, which it
    // marks with WM_STATE.
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    ASSERT_TRUE(waitFor([&] { return readXProperty(display, window, wmState, 0, 1).has_value(); }));

    for (const char* mode : {"/c", "/s"}) {
        SCOPED_TRACE(mode);
        // Asked again until it holds: a dialog still settling after its opening may show
        // itself once more, as it would for a user who minimised it that early.
        ASSERT_TRUE(waitFor([&] {
            XIconifyWindow(display, window, DefaultScreen(display));
            XFlush(display);
            for (int i = 0; i < 25 && viewable(display, window); ++i)
                std::this_thread::sleep_for(20ms);
            return !viewable(display, window);
        }));

        EXPECT_EQ(exitCodeOf(shell.waitExit(shell.startShell({mode}), kLimit)), 0);
        EXPECT_TRUE(waitFor([&] { return viewable(display, window); }));
        EXPECT_TRUE(waitFor([&] { return activeWindow(display) == window; }));
    }
    EXPECT_TRUE(shell.rendererProcesses().empty());
    EXPECT_FALSE(shell.waitExit(dialog, 0ms));  // the dialog is still the one open
    XCloseDisplay(display);
}

}  // namespace
}  // namespace quorlane::testing
