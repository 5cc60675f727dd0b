// The command line as the screensaver host passes it, and what start-up does with it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "shell/core/command_line.h"
#include "shell/core/cursor_display_count.h"
#include "shell/startup/startup_routine.h"
#include "tests/support/recording_fakes.h"

namespace quorlane {
namespace {

TEST(CommandLine, ModeSwitchIsTheSecondCharacterUpperCased) {
    const std::map<std::string, char> table = {
        {"/p 1234", 'P'}, {"/P:1234", 'P'}, {"-p 1234", 'P'}, {"/c", 'C'}, {"/C:1234", 'C'},
        {"-c", 'C'},      {"/s", 'S'},      {"/S", 'S'},      {"-s", 'S'}, {"xs", 'S'},
        {"", 0},          {"/", 0},         {"/a", 'A'},      {"/x", 'X'}, {"s/", '/'},
    };
    for (const auto& [line, expected] : table) EXPECT_EQ(modeSwitchOf(line), expected) << line;
}

TEST(CommandLine, ArgumentsAreJoinedWithSingleBlanks) {
    const char* argv[] = {"/x/Quorlane.scr", "/p", "1234"};
    EXPECT_EQ(joinArguments(3, argv), "/p 1234");
    EXPECT_EQ(joinArguments(1, argv), "");
}

TEST(CommandLine, HostHandleIsReadFromPositionFour) {
    EXPECT_EQ(previewHostHandle("/p 1234"), 1234);
    EXPECT_EQ(previewHostHandle("/p:1234"), 1234);
    EXPECT_EQ(previewHostHandle("/p1234"), 234);     // position 4 is the "2"
    EXPECT_EQ(previewHostHandle("/p 12 34"), 1234);  // blanks inside are skipped
    EXPECT_EQ(previewHostHandle("/p \t1\n2"), 12);
    EXPECT_EQ(previewHostHandle("/p 77abc"), 77);  // stops at what cannot continue
    EXPECT_EQ(previewHostHandle("/p"), 0);
    EXPECT_EQ(previewHostHandle("/p abc"), 0);
    EXPECT_EQ(previewHostHandle("/p -5"), -5);
}

TEST(CommandLine, HostHandleFractionsRoundToNearestAndHugeValuesAreRejected) {
    EXPECT_EQ(previewHostHandle("/p 10.4"), 10);
    EXPECT_EQ(previewHostHandle("/p 10.6"), 11);
    EXPECT_EQ(previewHostHandle("/p 10.5"), 10);  // halves go to even
    EXPECT_EQ(previewHostHandle("/p 11.5"), 12);
    EXPECT_EQ(previewHostHandle("/p 1.5E3"), 1500);
    EXPECT_EQ(previewHostHandle("/p 12E"), 12);
    EXPECT_EQ(previewHostHandle("/p 2147483647"), 2147483647);
    EXPECT_EQ(previewHostHandle("/p 2147483648"), std::nullopt);
    EXPECT_EQ(previewHostHandle("/p -2147483649"), std::nullopt);
    EXPECT_EQ(previewHostHandle("/p 1E400"), std::nullopt);
}

// Records what start-up asked for, in order.
class FakeStartup : public StartupServices {
public:
    std::vector<std::string> calls;
    std::vector<std::string> openWindows;
    std::vector<int32_t> hostWindows;

    bool topLevelWindowExists(const std::string& title) override {
        calls.push_back("find " + title);
        for (const auto& w : openWindows) {
            if (w == title) return true;
        }
        return false;
    }
    void makeWorkingFolder() override { calls.push_back("folder"); }
    void loadSettings() override { calls.push_back("settings"); }
    bool isPreviewHost(int32_t handle) override {
        for (int32_t h : hostWindows) {
            if (h == handle) return true;
        }
        return false;
    }
    int runPreview(int32_t handle) override {
        calls.push_back("preview " + std::to_string(handle));
        return 0;
    }
    int runSettingsDialog() override {
        calls.push_back("dialog");
        return 0;
    }
    int32_t hideCursor() override {
        calls.push_back("hide cursor");
        return -1;
    }
    int runShow() override {
        calls.push_back("show");
        return 7;
    }
    bool claimWins = true;
    bool claimDisplay() override {
        calls.push_back("claim");
        return claimWins;
    }
    void bringBackDialog() override { calls.push_back("bring back"); }
    const char* windowVariable = nullptr;
    const char* screensaverWindowVariable() override { return windowVariable; }
    int runHostedShow(uint32_t window) override {
        calls.push_back("hosted show " + std::to_string(window));
        return 5;
    }
};

using Calls = std::vector<std::string>;
const Calls kLookups = {"find Vantorel_Main", "find <Quorlane>"};

Calls withLookups(Calls rest) {
    Calls all = kLookups;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

TEST(StartupRoutine, ShowModesDifferOnlyInTheCursor) {
    for (const std::string line : {"/s", "/S", "-s", "xs"}) {
        FakeStartup services;
        StartupState state;
        EXPECT_EQ(runStartup(line, state, services), 7);
        EXPECT_EQ(services.calls,
                  withLookups({"claim", "folder", "settings", "hide cursor", "show"}));
        EXPECT_EQ(state.hiddenCursorCount, -1);
        EXPECT_EQ(state.commandLine, line);
    }
    FakeStartup services;
    StartupState state;
    EXPECT_EQ(runStartup("", state, services), 7);
    EXPECT_EQ(services.calls, withLookups({"claim", "folder", "settings", "show"}));
    EXPECT_FALSE(state.hiddenCursorCount.has_value());
}

// A framework's window is its own kind of show: not refused beside a show or a dialog, no
// claim, no cursor hidden; settings read as for a show.
TEST(StartupRoutine, AFrameworksWindowGetsAHostedShow) {
    struct Case {
        const char* line;
        const char* variable;
        Calls calls;
        int exitCode;
    };
    const Case cases[] = {
        {"-window-id 0x400007", nullptr, {"folder", "settings", "hosted show 4194311"}, 5},
        {"--window-id 4194311", nullptr, {"folder", "settings", "hosted show 4194311"}, 5},
        {"-root", "0x1e00007", {"folder", "settings", "hosted show 31457287"}, 5},
        {"--root", "31457287", {"folder", "settings", "hosted show 31457287"}, 5},
        {"--root", nullptr, {"folder", "settings", "hosted show 0"}, 5},
        // named badly: nothing is done at all
        {"-window-id nowhere", nullptr, {}, 2},
        {"-root", "0x", {}, 2},
        // the variable alone asks for nothing: /s stays a show of its own
        {"/s", "0x1e00007", withLookups({"claim", "folder", "settings", "hide cursor", "show"}), 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        FakeStartup services;
        services.openWindows = {"Vantorel_Main", "<Quorlane>"};
        if (std::string(c.line) == "/s") services.openWindows.clear();
        services.windowVariable = c.variable;
        StartupState state;
        EXPECT_EQ(runStartup(c.line, state, services), c.exitCode);
        EXPECT_EQ(services.calls, c.calls);
        EXPECT_EQ(state.hiddenCursorCount.has_value(), std::string(c.line) == "/s");
    }
}

// A show or a dialog that loses the claim to another one ends before anything else, bringing
// back a dialog that may be the winner.
TEST(StartupRoutine, AShowOrDialogThatLosesTheClaimEndsBeforeAnythingElse) {
    for (const std::string line : {"/s", "", "/c", "/C:5678"}) {
        FakeStartup services;
        services.claimWins = false;
        StartupState state;
        EXPECT_EQ(runStartup(line, state, services), 0);
        EXPECT_EQ(services.calls, withLookups({"claim", "bring back"})) << line;
        EXPECT_FALSE(state.hiddenCursorCount.has_value());
    }
}

TEST(StartupRoutine, ARunningShowOrOpenDialogEndsEveryModeBeforeAnythingElse) {
    for (const std::string line : {"/s", "", "/c", "/p 5", "/a"}) {
        FakeStartup show;
        show.openWindows = {"Vantorel_Main"};
        show.hostWindows = {5};
        StartupState state;
        EXPECT_EQ(runStartup(line, state, show), 0);
        EXPECT_EQ(show.calls, Calls({"find Vantorel_Main"})) << line;

        FakeStartup dialog;
        dialog.openWindows = {"<Quorlane>"};
        dialog.hostWindows = {5};
        EXPECT_EQ(runStartup(line, state, dialog), 0);
        EXPECT_EQ(dialog.calls, withLookups({"bring back"})) << line;
    }
}

TEST(StartupRoutine, UnknownSwitchesAndSettingsReadSettingsThenEnd) {
    for (const std::string line : {"/a", "/x", "a", "/c", "/C:5678"}) {
        FakeStartup services;
        StartupState state;
        EXPECT_EQ(runStartup(line, state, services), 0);
        Calls expected = {"folder", "settings"};
        if (modeSwitchOf(line) == 'C') expected = {"claim", "folder", "settings", "dialog"};
        EXPECT_EQ(services.calls, withLookups(expected)) << line;
    }
}

TEST(StartupRoutine, PreviewNeedsAHostWindowAndNeverTouchesFolderOrSettings) {
    FakeStartup services;
    services.hostWindows = {1234, 234};
    StartupState state;
    runStartup("/p 1234", state, services);
    runStartup("/p1234", state, services);
    EXPECT_EQ(services.calls, Calls({"find Vantorel_Main", "find <Quorlane>", "preview 1234",
                                     "find Vantorel_Main", "find <Quorlane>", "preview 234"}));
    for (const std::string line : {"/p", "/p 0", "/p 99", "/p -1234", "/p 9999999999"}) {
        FakeStartup refused;
        refused.hostWindows = {1234, -1234};
        EXPECT_EQ(runStartup(line, state, refused), 0);
        EXPECT_EQ(refused.calls, kLookups) << line;
    }
}

// Skipped quietly; with QUORLANE_DEBUG set, each skipped step is one line on standard error.
TEST(StartupRoutine, AFailingStepIsSkipped) {
    struct Failing : FakeStartup {
        void makeWorkingFolder() override { throw std::runtime_error("no folder"); }
        void loadSettings() override { throw 7; }
    };
    const struct {
        const char* debug;  // null: unset
        std::vector<std::string> lines;
    } cases[] = {
        {nullptr, {}},
        {"", {}},
        {"1",
         {"quorlane: skipped a failed step at .../shell/startup/startup_routine.cpp: no folder",
          "quorlane: skipped a failed step at .../shell/startup/startup_routine.cpp: no message"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.debug == nullptr ? "unset" : c.debug);
        if (c.debug != nullptr) {
            setenv("QUORLANE_DEBUG", c.debug, 1);
        } else {
            unsetenv("QUORLANE_DEBUG");
        }
        Failing services;
        StartupState state;
        testing::internal::CaptureStderr();
        EXPECT_EQ(runStartup("/s", state, services), 7);
        const std::string told = testing::internal::GetCapturedStderr();
        unsetenv("QUORLANE_DEBUG");
        EXPECT_EQ(services.calls, withLookups({"claim", "hide cursor", "show"}));
        // Each line without the folder of the sources and the line number and function, which
        // move as the code does.
        std::vector<std::string> lines;
        std::istringstream in(told);
        for (std::string line; std::getline(in, line);) {
            const auto at = line.find(" at ") + 4;
            const auto file = line.find("/shell/startup/");
            const auto colon = line.find(": ", at);
            if (file != std::string::npos && colon != std::string::npos)
                line = line.substr(0, at) + "..." + line.substr(file, line.find(':', file) - file) +
                       line.substr(line.rfind(": "));
            lines.push_back(line);
        }
        EXPECT_EQ(lines, c.lines) << told;
    }
}

using test::RecordingCursor;

TEST(CursorDisplayCount, OnlyCrossingZeroChangesTheCursor) {
    RecordingCursor cursor;
    CursorDisplayCount count(cursor);
    EXPECT_EQ(count.showCursor(0), -1);
    EXPECT_EQ(count.showCursor(0), -2);
    EXPECT_EQ(count.showCursor(-2), -1);  // any non-zero argument shows
    EXPECT_EQ(cursor.changes, std::vector<bool>({false}));
    EXPECT_EQ(count.showCursor(1), 0);
    EXPECT_EQ(count.showCursor(1), 1);
    EXPECT_EQ(cursor.changes, std::vector<bool>({false, true}));
}

}  // namespace
}  // namespace quorlane
