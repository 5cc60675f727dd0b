// The show's decisions against fake window, process and music services.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "shell/core/command_line.h"
#include "shell/show/music_choice.h"
#include "shell/show/renderer_watch.h"
#include "shell/show/show_sequence.h"
#include "tests/support/recording_fakes.h"

#include <algorithm>

namespace quorlane {
namespace {

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;
using test::RecordingCursor;

struct Log {
    Calls calls;
    void add(const std::string& call) { calls.push_back(call); }
};

class FakeServices : public ShowServices {
public:
    explicit FakeServices(Log& log) : log_(log) {}
    bool pictureLoads = true;
    bool captures = true;
    bool builtInLoads = true;
    bool pictureSaves = true;
    bool rendererStarts = true;
    bool processEnded = false;
    bool endedNormally = false;
    bool window = false;
    std::chrono::milliseconds clock{1000};
    std::set<ShowTimer> enabled;
    std::optional<int> exitCode;
    // Other monitors: none unless a test gives them.
    std::vector<Monitor> monitorList;
    bool otherStarts = true;
    std::vector<RendererState> others;  // by number

    void coverPrimaryScreen() override { log_.add("cover"); }
    bool loadPicture(const std::string& file) override {
        log_.add("load " + file);
        return pictureLoads;
    }
    bool captureScreen() override {
        log_.add("capture");
        return captures;
    }
    bool loadBuiltInPicture() override {
        log_.add("still");
        return builtInLoads;
    }
    bool saveDesktopImage() override {
        log_.add("save");
        return pictureSaves;
    }
    void removeDesktopImage() override { log_.add("remove"); }
    void stopRenderer() override { log_.add("stopRenderer"); }
    bool startRenderer() override {
        log_.add("renderer");
        if (!rendererStarts) processEnded = true;
        return rendererStarts;
    }
    bool rendererEnded() override { return processEnded; }
    bool rendererEndedNormally() override { return processEnded && endedNormally; }
    bool windowExists(const std::string& title) override { return window && title == "Torvane_VC"; }
    void setTimerEnabled(ShowTimer timer, bool on) override {
        if (on) {
            enabled.insert(timer);
        } else {
            enabled.erase(timer);
        }
    }
    std::chrono::milliseconds now() override { return clock; }
    void endProcess(int code) override {
        log_.add("end " + std::to_string(code));
        exitCode = code;
    }
    void placeRenderer(const MonitorRect& rect) override {
        log_.add("place " + monitorGeometryText(rect));
    }
    std::vector<Monitor> monitors() override { return monitorList; }
    int startRendererOn(const MonitorRect& rect) override {
        log_.add("renderer " + monitorGeometryText(rect));
        if (!otherStarts) return -1;
        others.push_back(RendererState::Running);
        return static_cast<int>(others.size()) - 1;
    }
    RendererState rendererOnState(int id) override { return others.at(static_cast<size_t>(id)); }
    void stopRendererOn(int id) override {
        log_.add("stop " + std::to_string(id));
        others.at(static_cast<size_t>(id)) = RendererState::Failed;
    }

private:
    Log& log_;
};

// A show as start-up leaves it: settings loaded, cursor hidden in mode "S".
struct Show {
    Log log;
    test::RecordingMusic music{log.calls};
    FakeServices services{log};
    SettingsValues settings;
    StartupState startup;
    RecordingCursor cursorSystem;
    CursorDisplayCount cursor{cursorSystem};
    std::optional<ShowSequence> sequence;

    explicit Show(const std::string& commandLine = "/s") {
        startup.commandLine = commandLine;
        if (modeSwitchOf(commandLine) == 'S') startup.hiddenCursorCount = cursor.showCursor(0);
    }
    ShowSequence& start() {
        sequence.emplace(services, music, settings, startup, cursor);
        sequence->start();
        return *sequence;
    }
    // Started on these monitors, every renderer's window shown and watched once; what that
    // logged is forgotten.
    void flyOn(std::vector<Monitor> monitors) {
        services.monitorList = std::move(monitors);
        start();
        services.window = true;
        watch(3);
        log.calls.clear();
    }
    bool enabled(ShowTimer t) const { return services.enabled.count(t) != 0; }
    // Ticks Timer3 until the show ends or the tick budget runs out.
    void watch(int ticks) {
        for (int i = 0; i < ticks && !services.exitCode; ++i) {
            services.clock += 100ms;
            sequence->timer3Tick();
        }
    }
};

TEST(MusicChoice, TheLastThreeCharactersDecideWithoutRegardToCase) {
    EXPECT_EQ(musicKindOf("/m/a.wav"), MusicKind::Wav);
    EXPECT_EQ(musicKindOf("/m/a.WaV"), MusicKind::Wav);
    EXPECT_EQ(musicKindOf("/m/a.Mp3"), MusicKind::Mp3);
    EXPECT_EQ(musicKindOf("/m/amp3"), MusicKind::Mp3);  // no dot needed
    EXPECT_EQ(musicKindOf("/m/a.ogg"), MusicKind::None);
    EXPECT_EQ(musicKindOf("av"), MusicKind::None);
    EXPECT_EQ(musicKindOf(""), MusicKind::None);
}

TEST(ShowSequence, DesktopShowSavesThePictureAndStartsTheRendererBeforeTheMusic) {
    Show show;
    show.settings.musicMode = 2;
    show.settings.musicFile = "/m/song.WAV";
    show.start();
    EXPECT_EQ(show.log.calls, Calls({"cover", "capture", "save", "renderer", "wavStart"}));
    EXPECT_TRUE(show.enabled(ShowTimer::Timer3));
    EXPECT_FALSE(show.enabled(ShowTimer::Timer1));
    EXPECT_FALSE(show.enabled(ShowTimer::Timer2));
}

TEST(ShowSequence, ChosenPictureIsUsedAndAnUnloadableOneFallsBackToTheDesktop) {
    Show chosen;
    chosen.settings.pictureMode = 1;
    chosen.settings.pictureFile = "/p/a.jpg";
    chosen.start();
    EXPECT_EQ(chosen.log.calls, Calls({"cover", "load /p/a.jpg", "save", "renderer"}));

    Show broken;
    broken.settings.pictureMode = 1;
    broken.settings.pictureFile = "/p/gone.jpg";
    broken.services.pictureLoads = false;
    broken.start();
    EXPECT_EQ(broken.log.calls,
              Calls({"cover", "load /p/gone.jpg", "capture", "save", "renderer"}));
}

// Where the desktop gives nothing, the walls are covered all the same: with the picture set in
// the settings, else the built-in still; only a chosen picture that is missing keeps them plain.
TEST(ShowSequence, WithoutADesktopThePictureInTheSettingsOrTheStillCoversTheWalls) {
    struct Case {
        const char* name;
        int pictureMode;
        const char* pictureFile;
        bool pictureLoads, captures, builtInLoads;
        Calls calls;
    };
    const Case cases[] = {
        {"no capture, no picture set",
         0,
         "",
         true,
         false,
         true,
         {"capture", "still", "save", "renderer"}},
        {"no capture, a picture set",
         0,
         "/p/a.jpg",
         true,
         false,
         true,
         {"capture", "load /p/a.jpg", "save", "renderer"}},
        {"no capture, the picture set is gone",
         0,
         "/p/gone.jpg",
         false,
         false,
         true,
         {"capture", "load /p/gone.jpg", "still", "save", "renderer"}},
        {"no capture, no still either",
         0,
         "",
         true,
         false,
         false,
         {"capture", "still", "remove", "renderer"}},
        {"the chosen picture and the desktop missing",
         1,
         "/p/gone.jpg",
         false,
         false,
         true,
         {"load /p/gone.jpg", "capture", "remove", "renderer"}},
    };
    for (const Case& c : cases) {
        Show show;
        show.settings.pictureMode = c.pictureMode;
        show.settings.pictureFile = c.pictureFile;
        show.services.pictureLoads = c.pictureLoads;
        show.services.captures = c.captures;
        show.services.builtInLoads = c.builtInLoads;
        show.start();
        Calls expected{"cover"};
        expected.insert(expected.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(show.log.calls, expected) << c.name;
    }
}

TEST(ShowSequence, MusicModesStartTheirMusicAndTimers) {
    Show cd;
    cd.settings.musicMode = 1;
    cd.start();
    EXPECT_EQ(cd.log.calls, Calls({"cover", "capture", "save", "renderer", "cdOpen"}));
    EXPECT_TRUE(cd.enabled(ShowTimer::Timer2));

    Show mp3;
    mp3.settings.musicMode = 2;
    mp3.settings.musicFile = "/m/song.Mp3";
    mp3.start();
    EXPECT_EQ(mp3.log.calls, Calls({"cover", "capture", "save", "renderer", "mp3Start"}));
    EXPECT_TRUE(mp3.enabled(ShowTimer::Timer1));

    for (auto [mode, file] :
         {std::pair<int16_t, std::string>{2, "/m/song.ogg"}, {0, "/m/a.wav"}, {3, "/m/a.mp3"}}) {
        Show silent;
        silent.settings.musicMode = mode;
        silent.settings.musicFile = file;
        silent.start();
        EXPECT_EQ(silent.log.calls, Calls({"cover", "capture", "save", "renderer"})) << file;
        EXPECT_EQ(silent.services.enabled, std::set<ShowTimer>({ShowTimer::Timer3}));
    }
}

TEST(ShowSequence, CdPollingStopsOnceTheCdIsGoneAndThenIsNotStoppedAtTheEnd) {
    Show show;
    show.settings.musicMode = 1;
    ShowSequence& sequence = show.start();
    sequence.timer2Tick();
    EXPECT_TRUE(show.enabled(ShowTimer::Timer2));
    show.music.cdIsAvailable = false;
    sequence.timer2Tick();
    EXPECT_FALSE(show.enabled(ShowTimer::Timer2));
    show.log.calls.clear();
    sequence.end(0);
    EXPECT_EQ(show.log.calls, Calls({"stopRenderer", "remove", "end 0"}));
}

TEST(ShowSequence, APlayingCdIsStoppedAtTheEnd) {
    Show show;
    show.settings.musicMode = 1;
    ShowSequence& sequence = show.start();
    sequence.timer2Tick();
    show.log.calls.clear();
    sequence.end(0);
    EXPECT_EQ(show.log.calls, Calls({"cdStop", "stopRenderer", "remove", "end 0"}));
    EXPECT_TRUE(show.services.enabled.empty());
}

// A failed save must not leave an earlier show's picture for the renderer to show.
TEST(ShowSequence, AFailedSaveRemovesTheEarlierPictureBeforeTheRendererStarts) {
    Show show;
    show.services.pictureSaves = false;
    show.start();
    EXPECT_EQ(show.log.calls, Calls({"cover", "capture", "save", "remove", "renderer"}));
}

TEST(ShowSequence, RendererWindowComingAndGoingEndsTheShowWithMusicStoppedAndCursorBack) {
    Show show;
    show.settings.musicMode = 2;
    show.settings.musicFile = "/m/song.mp3";
    show.start();
    show.log.calls.clear();
    show.watch(5);  // waiting
    show.services.window = true;
    show.watch(50);  // running, for as long as it likes
    EXPECT_FALSE(show.services.exitCode);
    show.services.window = false;
    show.watch(1);
    EXPECT_EQ(show.services.exitCode, 0);
    EXPECT_EQ(show.log.calls, Calls({"mp3Stop", "stopRenderer", "remove", "end 0"}));
    EXPECT_TRUE(show.services.enabled.empty());
    EXPECT_EQ(show.cursorSystem.changes, std::vector<bool>({false, true}));
    EXPECT_EQ(show.startup.hiddenCursorCount, 0);
}

TEST(ShowSequence, ShowWithoutSwitchNeverTouchesTheCursor) {
    Show show("");
    show.start();
    show.sequence->end(0);
    EXPECT_TRUE(show.cursorSystem.changes.empty());
    EXPECT_FALSE(show.startup.hiddenCursorCount);
}

TEST(ShowSequence, ARendererThatNeverShowsAWindowEndsTheShowAsAFailure) {
    Show notStarted;
    notStarted.services.rendererStarts = false;
    notStarted.settings.musicMode = 2;
    notStarted.settings.musicFile = "/m/a.wav";
    notStarted.start();
    notStarted.watch(1);
    EXPECT_EQ(notStarted.services.exitCode, 1);
    EXPECT_EQ(notStarted.log.calls.back(), "end 1");
    EXPECT_EQ(notStarted.log.calls[notStarted.log.calls.size() - 4], "wavStop");
    EXPECT_EQ(notStarted.log.calls[notStarted.log.calls.size() - 3], "stopRenderer");
    EXPECT_EQ(notStarted.log.calls[notStarted.log.calls.size() - 2], "remove");
    EXPECT_EQ(notStarted.cursorSystem.changes, std::vector<bool>({false, true}));

    Show died;
    died.start();
    died.watch(3);
    died.services.processEnded = true;
    died.watch(1);
    EXPECT_EQ(died.services.exitCode, 1);

    // Closed with Escape before the first look found its window: an ordinary end.
    Show quick;
    quick.start();
    quick.services.processEnded = true;
    quick.services.endedNormally = true;
    quick.watch(1);
    EXPECT_EQ(quick.services.exitCode, 0);

    Show slow;
    slow.start();
    slow.watch(99);
    EXPECT_FALSE(slow.services.exitCode);  // 9.9 s
    slow.watch(1);
    EXPECT_EQ(slow.services.exitCode, 1);
}

// Another program's window with the renderer's title: it neither keeps the show once our
// renderer has ended, nor stands in for a renderer that could not start.
TEST(ShowSequence, AForeignWindowOfTheSameTitleDoesNotKeepTheShow) {
    struct Case {
        bool starts, endsNormally;
        int exitCode;
    };
    for (const Case c : {Case{true, true, 0}, Case{true, false, 0}, Case{false, false, 1}}) {
        SCOPED_TRACE(c.starts);
        Show show;
        show.services.window = true;
        show.services.rendererStarts = c.starts;
        show.start();
        if (c.starts) {
            show.watch(200);
            EXPECT_FALSE(show.services.exitCode);
            show.services.processEnded = true;
            show.services.endedNormally = c.endsNormally;
        }
        show.watch(1);
        EXPECT_EQ(show.services.exitCode, c.exitCode);
        EXPECT_TRUE(show.services.window);  // the stranger's window is still there
    }
}

TEST(ShowSequence, EndingTwiceOrTickingAfterTheEndDoesNothingMore) {
    Show show;
    show.settings.musicMode = 2;
    show.settings.musicFile = "/m/a.wav";
    ShowSequence& sequence = show.start();
    sequence.end(143);
    sequence.end(0);
    sequence.timer1Tick();
    sequence.timer3Tick();
    EXPECT_EQ(show.services.exitCode, 143);
    EXPECT_EQ(std::count(show.log.calls.begin(), show.log.calls.end(), "wavStop"), 1);
    EXPECT_EQ(show.cursorSystem.changes, std::vector<bool>({false, true}));
}

TEST(ShowSequence, AThrowingStepIsSkipped) {
    struct ThrowingMusic : test::RecordingMusic {
        using RecordingMusic::RecordingMusic;
        void wavStart() override { throw std::runtime_error("no audio"); }
    };
    Show show;
    ThrowingMusic music(show.log.calls);
    show.settings.musicMode = 2;
    show.settings.musicFile = "/m/a.wav";
    ShowSequence sequence(show.services, music, show.settings, show.startup, show.cursor);
    sequence.start();
    EXPECT_EQ(show.log.calls, Calls({"cover", "capture", "save", "renderer"}));
}

// Monitors side by side on one 1920 x 1080 screen, as `xrandr --setmonitor` makes them.
const Monitor kLeft{"L", {0, 0, 960, 1080}, false};
const Monitor kRight{"R", {960, 0, 960, 1080}, false};
const Monitor kThirdLeft{"A", {0, 0, 640, 1080}, false};
const Monitor kThirdMiddle{"B", {640, 0, 640, 1080}, true};
const Monitor kThirdRight{"C", {1280, 0, 640, 1080}, false};

// The calls that start and place renderers, in their order.
Calls rendererCalls(const Calls& calls) {
    Calls kept;
    for (const std::string& call : calls) {
        if (call.starts_with("renderer") || call.starts_with("place")) kept.push_back(call);
    }
    return kept;
}

TEST(ShowMonitors, ThePrimaryRendererComesFirstThenOneForEachOtherMonitor) {
    struct Case {
        const char* name;
        std::vector<Monitor> monitors;
        Calls expected;
    };
    const Monitor mirror{"M", {0, 0, 960, 1080}, false};
    const Monitor whole{"W", {0, 0, 1920, 1080}, true};
    const std::vector<Case> cases = {
        // One monitor, or a server that names none: the renderer fills the screen, as alone.
        {"none known", {}, {"renderer"}},
        {"one", {whole}, {"renderer"}},
        {"mirrored", {kLeft, mirror}, {"renderer"}},
        {"two, none flagged",
         {kLeft, kRight},
         {"place 960x1080+0+0", "renderer", "renderer 960x1080+960+0"}},
        {"three, the middle one primary",
         {kThirdLeft, kThirdMiddle, kThirdRight},
         {"place 640x1080+640+0", "renderer", "renderer 640x1080+0+0", "renderer 640x1080+1280+0"}},
        {"a mirror of another",
         {kLeft, kRight, {"R2", {960, 0, 960, 1080}, false}},
         {"place 960x1080+0+0", "renderer", "renderer 960x1080+960+0"}},
        {"off the screen's corner",
         {{"N", {-1280, -200, 1280, 1024}, false}, kLeft},
         {"place 1280x1024+-1280+-200", "renderer", "renderer 960x1080+0+0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show show;
        show.services.monitorList = c.monitors;
        show.start();
        EXPECT_EQ(rendererCalls(show.log.calls), c.expected);
        // The renderers start after the picture is saved, and the watch after them all.
        EXPECT_EQ(show.log.calls[2], "save");
        EXPECT_TRUE(show.enabled(ShowTimer::Timer3));
    }
}

// Music waits for every monitor's renderer, not only the primary one's.
TEST(ShowMonitors, MusicStartsAfterTheLastRenderer) {
    Show show;
    show.settings.musicMode = 2;
    show.settings.musicFile = "/m/a.wav";
    show.services.monitorList = {kThirdLeft, kThirdMiddle, kThirdRight};
    show.start();
    EXPECT_EQ(show.log.calls,
              Calls({"cover", "capture", "save", "place 640x1080+640+0", "renderer",
                     "renderer 640x1080+0+0", "renderer 640x1080+1280+0", "wavStart"}));
}

// How a show on two monitors goes on or ends, from what becomes of its two renderers.
TEST(ShowMonitors, EscapeInAnyRendererEndsTheShowAndAFailureEndsNothing) {
    enum class Then { Windows, PrimaryEscape, PrimaryFails, OtherEscape, OtherFails };
    struct Case {
        const char* name;
        std::vector<Then> steps;
        std::optional<int> exitCode;  // nothing: the show goes on
    };
    const std::vector<Case> cases = {
        {"both fly", {Then::Windows}, std::nullopt},
        {"Escape on the primary monitor", {Then::Windows, Then::PrimaryEscape}, 0},
        {"Escape on the other monitor", {Then::Windows, Then::OtherEscape}, 0},
        {"the other fails", {Then::Windows, Then::OtherFails}, std::nullopt},
        {"the other fails, then Escape", {Then::Windows, Then::OtherFails, Then::PrimaryEscape}, 0},
        {"the primary fails", {Then::Windows, Then::PrimaryFails}, std::nullopt},
        {"the primary fails at once", {Then::PrimaryFails, Then::Windows}, std::nullopt},
        {"the primary fails, then Escape",
         {Then::Windows, Then::PrimaryFails, Then::OtherEscape},
         0},
        {"both fail", {Then::Windows, Then::PrimaryFails, Then::OtherFails}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show show;
        show.settings.musicMode = 2;
        show.settings.musicFile = "/m/a.wav";
        show.services.monitorList = {kLeft, kRight};
        show.start();
        show.watch(1);
        bool windows = false;
        for (Then step : c.steps) {
            auto& s = show.services;
            switch (step) {
            case Then::Windows: windows = true; break;
            case Then::PrimaryEscape: s.processEnded = s.endedNormally = true; break;
            case Then::PrimaryFails: s.processEnded = true; break;
            case Then::OtherEscape: s.others[0] = RendererState::EndedNormally; break;
            case Then::OtherFails: s.others[0] = RendererState::Failed; break;
            }
            // The windows, all titled alike, go with the last renderer.
            s.window = windows && (!s.processEnded || s.others[0] == RendererState::Running);
            show.watch(20);
        }
        EXPECT_EQ(show.services.exitCode, c.exitCode);
        if (c.exitCode) {
            // As with one monitor: music stopped, every renderer ended, cursor back.
            const Calls& calls = show.log.calls;
            EXPECT_EQ(Calls(calls.end() - 4, calls.end()),
                      Calls({"wavStop", "stopRenderer", "remove", "end 0"}));
            EXPECT_EQ(show.cursorSystem.changes, std::vector<bool>({false, true}));
        }
    }
}

TEST(ShowMonitors, AMonitorThatGoesTakesItsRendererAndOneThatComesIsCovered) {
    Show show;
    show.flyOn({kLeft, kRight});

    // A server that cannot list its monitors for a moment has not lost them.
    show.services.monitorList = {};
    show.watch(3);
    // Which monitor is primary changes nothing for those already flying.
    show.services.monitorList = {kLeft, {"R", {960, 0, 960, 1080}, true}};
    show.watch(3);
    EXPECT_TRUE(show.log.calls.empty());

    show.services.monitorList = {kLeft};
    show.watch(3);
    EXPECT_EQ(show.log.calls, Calls({"stop 0"}));
    show.log.calls.clear();

    // Back again, and a new one beside it (the screen grown to the right).
    const Monitor farRight{"F", {1920, 0, 800, 600}, false};
    show.services.monitorList = {kLeft, kRight, farRight};
    show.watch(3);
    EXPECT_EQ(show.log.calls, Calls({"renderer 960x1080+960+0", "renderer 800x600+1920+0"}));
    show.log.calls.clear();

    // One that failed is not started again on the same monitor; the show goes on.
    show.services.others[2] = RendererState::Failed;
    show.watch(10);
    EXPECT_TRUE(show.log.calls.empty());
    EXPECT_FALSE(show.services.exitCode);

    show.services.others[1] = RendererState::EndedNormally;
    show.watch(1);
    EXPECT_EQ(show.services.exitCode, 0);
}

// The window manager moves the primary renderer off a monitor that goes, and not back: the
// monitor is then covered like any other when it comes again.
TEST(ShowMonitors, ThePrimaryMonitorThatComesBackIsCoveredAgain) {
    Show show;
    show.flyOn({kLeft, kRight});

    show.services.monitorList = {kRight};
    show.watch(3);
    EXPECT_TRUE(show.log.calls.empty());  // the show's own renderer goes on, elsewhere
    show.services.monitorList = {kLeft, kRight};
    show.watch(3);
    EXPECT_EQ(show.log.calls, Calls({"renderer 960x1080+0+0"}));
    show.log.calls.clear();
    show.services.monitorList = {kRight};
    show.watch(3);
    EXPECT_EQ(show.log.calls, Calls({"stop 1"}));
    EXPECT_FALSE(show.services.exitCode);
}

TEST(ShowMonitors, ARendererThatCannotStartOnAMonitorLeavesTheShowToTheOthers) {
    Show show;
    show.services.monitorList = {kThirdLeft, kThirdMiddle, kThirdRight};
    show.services.otherStarts = false;
    show.start();
    show.watch(3);
    // No second try on every tick for a monitor that refused once.
    EXPECT_EQ(std::count_if(show.log.calls.begin(), show.log.calls.end(),
                            [](const std::string& c) { return c.starts_with("renderer "); }),
              2);
    show.services.window = true;
    show.watch(20);
    EXPECT_FALSE(show.services.exitCode);
    show.services.processEnded = show.services.endedNormally = true;
    show.watch(1);
    EXPECT_EQ(show.services.exitCode, 0);
}

}  // namespace
}  // namespace quorlane
