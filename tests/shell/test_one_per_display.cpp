// One settings dialog or one show on a display, however many starts come at once, and a
// start refused by an open dialog brings that dialog back. Runs under a window manager, which
// may minimise the dialog although it asks for no minimise box.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <thread>
#include <vector>

#include "tests/support/show_harness.h"

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

TEST(OnePerDisplay, StartsMadeAtOnceGiveOneDialogOrOneShow) {
    const std::vector<std::vector<std::string>> rounds = {
        std::vector<std::string>(10, "/c"), {"/c", "/s"}, {"/s", "/c"}, {"/c", "/s", "/c", "/s"}};
    for (const auto& modes : rounds) {
        SCOPED_TRACE(modes.size());
        ShowHarness shell;
        std::vector<pid_t> started;
        for (const std::string& mode : modes) started.push_back(shell.startShell({mode}));
        const auto winner = waitForOneLeft(shell, started);
        ASSERT_TRUE(winner) << "more than one kept running";
        // The winner shows its window, and it is the only one of either kind.
        unsigned long window = 0;
        for (const auto until = Clock::now() + kLimit; window == 0 && Clock::now() < until;) {
            window = shell.findWindow("<Quorlane>");
            if (window == 0) window = shell.findWindow("Torvane_VC");
            if (window == 0) std::this_thread::sleep_for(20ms);
        }
        ASSERT_NE(window, 0u);
        EXPECT_EQ(shell.findWindows("<Quorlane>").size() + shell.findWindows("Torvane_VC").size(),
                  1u);
        EXPECT_LE(shell.rendererProcesses().size(), 1u);
    }
}

class Client {
public:
    Client() : display_(XOpenDisplay(nullptr)) {}
    ~Client() {
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    Display* display() const { return display_; }

    bool viewable(unsigned long window) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(display_, window, &attributes) != 0 &&
               attributes.map_state == IsViewable;
    }
    unsigned long activeWindow() {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        unsigned long active = 0;
        if (XGetWindowProperty(display_, DefaultRootWindow(display_),
                               XInternAtom(display_, "_NET_ACTIVE_WINDOW", False), 0, 1, False,
                               XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
            data != nullptr) {
            if (count == 1 && format == 32) active = *reinterpret_cast<unsigned long*>(data);
            XFree(data);
        }
        return active;
    }
    // Looks until the condition holds or the limit passes.
    template <typename Condition>
    bool becomes(Condition condition) {
        for (const auto until = Clock::now() + kLimit; Clock::now() < until;) {
            if (condition()) return true;
            std::this_thread::sleep_for(20ms);
        }
        return condition();
    }

private:
    Display* display_;
};

TEST(OnePerDisplay, ARefusedStartBringsBackAMinimisedDialog) {
    ShowHarness shell;
    Client client;
    ASSERT_NE(client.display(), nullptr);
    const pid_t dialog = shell.startShell({"/c"});
    const unsigned long window = shell.waitForWindow("<Quorlane>", kLimit);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(client.becomes([&] { return client.viewable(window); }));

    for (const char* mode : {"/c", "/s"}) {
        SCOPED_TRACE(mode);
        XIconifyWindow(client.display(), window, DefaultScreen(client.display()));
        XFlush(client.display());
        ASSERT_TRUE(client.becomes([&] { return !client.viewable(window); }));

        EXPECT_EQ(exitCodeOf(shell.waitExit(shell.startShell({mode}), kLimit)), 0);
        EXPECT_TRUE(client.becomes([&] { return client.viewable(window); }));
        EXPECT_TRUE(client.becomes([&] { return client.activeWindow() == window; }));
    }
    EXPECT_TRUE(shell.rendererProcesses().empty());
    EXPECT_FALSE(shell.waitExit(dialog, 0ms));  // the dialog is still the one open
}

}  // namespace
}  // namespace quorlane::testing
