// The hidden show window on a private X display: it is there under its title for a second
// start to find, and each of its three timers first does its job one interval after the
// start sequence turned it on (MP3 poll 1000 ms, CD poll 200 ms, renderer watch 100 ms).
// The loop's time passes only when it waits, so each first tick has an exact time.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "shell/platform/poll_loop.h"
#include "shell/platform/x11/x_window_lookup.h"
#include "shell/show/show_window.h"
#include "tests/support/recording_fakes.h"
#include "tests/support/scripted_poll_time.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
struct Case {
    const char* timer;
    int16_t musicMode;
    const char* musicFile;
    bool rendererRuns;  // otherwise the watch's first look ends the show
    std::chrono::milliseconds interval;
};

TEST(ShowWindow, EachTimerFirstTicksOneIntervalAfterTheStart) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "needs an X display";
    const test::TempFolder temp;
    const fs::path& folder = temp.path();
    // A renderer that never shows a window and lives until the show ends it.
    const fs::path renderer = folder / "renderer";
    std::ofstream(renderer) << "#!/bin/sh\nexec sleep 30\n";
    chmod(renderer.c_str(), 0700);

    const Case cases[] = {
        {"Timer1", 2, "song.mp3", true, 1000ms},
        {"Timer2", 1, "", true, 200ms},
        {"Timer3", 0, "", false, 100ms},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timer);
        std::vector<std::string> calls;
        test::RecordingMusic music(calls);
        SettingsValues settings;
        settings.musicMode = c.musicMode;
        settings.musicFile = c.musicFile;
        StartupState startup;
        test::RecordingCursor system;
        CursorDisplayCount cursor(system);
        test::ScriptedPollTime time;
        PollLoop loop(time);
        time.stopOnFault(loop);
        ShowWindow window(display, loop, music, settings, startup, cursor,
                          {c.rendererRuns ? renderer.string() : (folder / "missing").string(),
                           (folder / "Torvane.bmp").string()},
                          PictureDecoder());
        EXPECT_TRUE(topLevelWindowExists(display, "Vantorel_Main"));

        std::chrono::milliseconds firstPoll{};
        music.onCall = [&](const std::string& call) {
            if (call != "cdPoll" && call != "mp3Poll") return;
            firstPoll = time.elapsed();
            window.endShow(0);
        };
        window.startShow();
        const int exitCode = loop.run();
        const std::chrono::milliseconds first = c.rendererRuns ? firstPoll : time.elapsed();
        EXPECT_EQ(exitCode, c.rendererRuns ? 0 : 1);
        EXPECT_EQ(first, c.interval);
    }
    XCloseDisplay(display);
}

}  // namespace
}  // namespace quorlane
