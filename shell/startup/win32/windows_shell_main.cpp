// Quorlane.scr on Windows: the same start-up as on Linux over Windows' own services. A show
// lives in the thread's message loop until the renderer's window has come and gone; the settings
// dialog in its own until it closes.
#include <string>

#include "common/atomic_file.h"
#include "common/desktop_image_location.h"
#include "common/window_titles.h"
#include "shell/core/command_line.h"
#include "shell/core/cursor_display_count.h"
#include "shell/core/startup_state.h"
#include "shell/dialog/product_page.h"
#include "shell/dialog/win32/win32_settings_dialog.h"
#include "shell/music/bgm_player.h"
#include "shell/music/lazy_music_player.h"
#include "shell/music/win32/win32_media_backend.h"
#include "shell/platform/win32/win32_desktop.h"
#include "shell/platform/win32/win32_picture_file.h"
#include "shell/settings/settings_file.h"
#include "shell/settings/settings_location.h"
#include "shell/settings/settings_values.h"
#include "shell/show/win32/windows_preview_window.h"
#include "shell/show/win32/windows_show_window.h"
#include "shell/startup/startup_routine.h"

namespace quorlane {

namespace {

class WindowsShellServices : public StartupServices {
public:
    WindowsShellServices() : cursor_(win32Cursor_) {}

    bool topLevelWindowExists(const std::string& title) override {
        return quorlane::topLevelWindowExists(title);
    }

    void makeWorkingFolder() override {
        const DesktopImageLocation location = desktopImageLocation();
        if (makeFolder(location.folder) && isOwnFolder(location.folder)) {
            imageFile_ = location.file;
            removeStaleTemporaries(imageFile_, std::chrono::seconds(10));
        }
    }

    void loadSettings() override {
        quorlane::loadSettings(settingsValues(), settingsFolder(runningProgramFolder()));
    }

    bool isPreviewHost(int32_t handle) override { return isExistingWindow(handle); }

    int runPreview(int32_t handle) override { return runWindowsPreview(handle); }

    int runSettingsDialog() override {
        const std::string folder = runningProgramFolder();
        const std::string settings = settingsFolder(folder);
        // A copy whose folder the user cannot write (one in the Windows folder) is installed.
        return runWin32SettingsDialog(
            settingsValues(), {folder, settingsFilePath(settings), productPagePath(folder, false),
                               settings != folder});
    }

    int32_t hideCursor() override { return cursor_.showCursor(0); }

    bool claimDisplay() override { return quorlane::claimDisplay(); }
    void bringBackDialog() override { bringBackWindow(kSettingsDialogTitle); }

    int runShow() override {
        const MusicSource source{settingsValues().musicFile, settingsValues().repeatTrack};
        LazyMusicPlayer music([&source]() -> std::unique_ptr<MusicPlayer> {
            return std::make_unique<BgmPlayer>(source, createWin32MediaBackend());
        });
        WindowsShowWindow window(music, settingsValues(), startupState(), cursor_,
                                 {joinedPath(runningProgramFolder(), "Quorlane.dll"), imageFile_},
                                 decodePictureFile);
        return window.run();
    }

    // Windows has no screensaver framework handing out windows this way.
    const char* screensaverWindowVariable() override { return nullptr; }
    int runHostedShow(uint32_t) override { return 1; }

private:
    std::string imageFile_;  // empty when no folder of the user's own could be had
    Win32Cursor win32Cursor_;
    CursorDisplayCount cursor_;
};

}  // namespace

}  // namespace quorlane

int main(int argc, char** argv) {
    const std::string commandLine = quorlane::joinArguments(argc, argv);
    quorlane::WindowsShellServices services;
    return quorlane::runStartup(commandLine, quorlane::startupState(), services);
}
