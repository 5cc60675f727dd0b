#pragma once
// Vantorel_S on Windows: the hidden top-level window "Vantorel_Main" that stands for a running
// show, with the picture area and the three timers, over the same show sequence as on X.
#include <memory>
#include <string>
#include <vector>

#include "shell/core/decoded_picture.h"
#include "shell/platform/win32/win32_desktop.h"
#include "shell/platform/win32/win32_message_window.h"
#include "shell/platform/win32/win32_process.h"
#include "shell/show/show_picture.h"
#include "shell/show/show_sequence.h"

namespace quorlane {

class WindowsShowWindow : private ShowServices {
public:
    struct Places {
        std::string rendererProgram;   // <folder of Quorlane.scr>\Quorlane.dll
        std::string desktopImageFile;  // empty when no private folder could be had
    };

    WindowsShowWindow(MusicPlayer& music, const SettingsValues& settings, StartupState& startup,
                      CursorDisplayCount& cursor, Places places, PictureDecoder decodePicture);

    // The start sequence, then the thread's messages until the show ends; its exit code.
    int run();

private:
    void coverPrimaryScreen() override;
    bool loadPicture(const std::string& file) override;
    bool captureScreen() override;
    bool loadBuiltInPicture() override;
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

    Places places_;
    PictureDecoder decodePicture_;
    Win32MessageWindow window_;
    ScreenSize screen_;
    ShowPicture picture_;
    Win32Process renderer_;
    ShowSequence sequence_;
};

}  // namespace quorlane
