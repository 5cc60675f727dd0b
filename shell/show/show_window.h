#pragma once
// Vantorel_S: the hidden top-level window "Vantorel_Main" that stands for a running show.
// It never appears; it exists so that a second start finds it, and it carries the
// picture area and the three timers of the show.
#include <QImage>
#include <QTimer>
#include <QSocketNotifier>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

#include "shell/platform/renderer_process.h"
#include "shell/show/show_sequence.h"

typedef struct _XDisplay Display;

namespace quorlane {

class ShowWindow : public QWidget, private ShowServices {
public:
    struct Places {
        std::string rendererProgram;   // <folder of Quorlane.scr>/Quorlane.dll
        std::string desktopImageFile;  // where the renderer looks for its picture; empty
                                       // when no private folder could be had
    };

    ShowWindow(Display* display, MusicPlayer& music, const SettingsValues& settings,
               StartupState& startup, CursorDisplayCount& cursor, Places places);

    // The start sequence; the window stays hidden.
    void startShow();
    // Ends the show the ordinary way (music stopped, cursor back) with this exit code.
    void endShow(int exitCode) { sequence_.end(exitCode); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void coverPrimaryScreen() override;
    bool loadPicture(const std::string& file) override;
    bool captureScreen() override;
    bool saveDesktopImage() override;
    void removeDesktopImage() override;
    bool startRenderer() override;
    bool rendererEnded() override;
    bool rendererEndedNormally() override;
    bool windowExists(const std::string& title) override;
    void stopRenderer() override;
    void setTimerEnabled(ShowTimer timer, bool enabled) override;
    std::chrono::milliseconds now() override;
    void endProcess(int exitCode) override;

    QTimer* timer(ShowTimer which);
    void watchSoon(int triesLeft);

    Display* display_;
    Places places_;
    QImage picture_;  // the picture area "Display", kept off screen
    QTimer timer1_, timer2_, timer3_;
    RendererProcess renderer_;
    std::unique_ptr<QSocketNotifier> rendererExit_;
    ShowSequence sequence_;
};

}  // namespace quorlane
