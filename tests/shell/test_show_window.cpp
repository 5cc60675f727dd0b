// The hidden show window on Qt's offscreen platform: what its timers are.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <map>

#include "shell/show/show_window.h"

namespace quorlane {
namespace {

struct Silence : MusicPlayer {
    void cdOpen() override {}
    void cdPoll() override {}
    bool cdAvailable() const override { return false; }
    void cdStop() override {}
    void mp3Start() override {}
    void mp3Poll() override {}
    void mp3Stop() override {}
    void wavStart() override {}
    void wavStop() override {}
};

struct NoCursor : CursorVisibility {
    void setCursorVisible(bool) override {}
};

// The MP3 poll, the CD poll and the renderer watch, at 1000, 200 and 100 ms, all off
// until the start sequence turns them on.
TEST(ShowWindow, TimersKeepTheirNamesAndIntervals) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "test_show_window";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    Silence music;
    SettingsValues settings;
    StartupState startup;
    NoCursor noCursor;
    CursorDisplayCount cursor(noCursor);
    ShowWindow window(nullptr, music, settings, startup, cursor, {"/nonexistent", ""});

    EXPECT_EQ(window.windowTitle(), "Vantorel_Main");
    const std::map<QString, int> intervals = {{"Timer1", 1000}, {"Timer2", 200}, {"Timer3", 100}};
    for (const auto& [timerName, interval] : intervals) {
        const auto* timer = window.findChild<QTimer*>(timerName);
        ASSERT_NE(timer, nullptr) << timerName.toStdString();
        EXPECT_EQ(timer->interval(), interval) << timerName.toStdString();
        EXPECT_FALSE(timer->isActive()) << timerName.toStdString();
    }
}

}  // namespace
}  // namespace quorlane
