// Quorlane.scr: the screensaver shell. Start-up decides what this run is; a show then
// lives in a poll loop until the renderer's window has come and gone.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <unistd.h>

#include <X11/Xlib.h>
#include <unistd.h>

#include "common/desktop_image_location.h"
#include "common/read_only_open.h"
#include "shell/core/command_line.h"
#include "shell/core/cursor_display_count.h"
#include "shell/core/startup_state.h"
#include "shell/music/lazy_music_player.h"
#include "shell/platform/poll_loop.h"
#include "shell/platform/private_files.h"
#include "shell/platform/renderer_process.h"
#include "shell/platform/termination_signals.h"
#include "shell/platform/x11/show_claim.h"
#include "shell/platform/x11/x_connection.h"
#include "shell/platform/x11/x_window_activation.h"
#include "shell/platform/x11/x_window_lookup.h"
#include "shell/platform/x11/xfixes_cursor.h"
#include "shell/platform/x11/xscreensaver_settings.h"
#include "shell/settings/settings_file.h"
#include "shell/settings/settings_location.h"
#include "shell/settings/settings_values.h"
#include "shell/show/hosted_show_window.h"
#include "shell/show/show_window.h"
#include "shell/startup/shell_modules.h"
#include "shell/startup/startup_routine.h"

namespace quorlane {

namespace {

// The music and picture libraries are loaded only when the settings call for them.
std::unique_ptr<MusicPlayer> createMusicPlayer(const MusicSource& source) {
    const MusicModule* module = loadMusicModule();
    if (module == nullptr) return nullptr;
    return std::unique_ptr<MusicPlayer>(module->createPlayer(source));
}

// A Wayland session: its XWayland root window holds no picture of the desktop.
bool inWaylandSession() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name != nullptr && *name != '\0';
}

// What a run that needs the display says when there is none, naming what is lost.
void tellNoDisplay(const char* lost) {
    const char* name = std::getenv("DISPLAY");
    if (inWaylandSession() && (name == nullptr || *name == '\0')) {
        std::fprintf(stderr,
                     "Quorlane.scr: this Wayland session has no X server (XWayland), which "
                     "Quorlane's windows need: %s; enable XWayland in the compositor (sway: "
                     "\"xwayland enable\")\n",
                     lost);
        return;
    }
    std::fprintf(stderr, "Quorlane.scr: cannot open the X display \"%s\": %s\n",
                 name != nullptr ? name : "", lost);
}

class ShellServices : public StartupServices {
public:
    ShellServices(const char* program, XConnection* x)
        : program_(program), x_(x), xCursor_(x ? x->display() : nullptr), cursor_(xCursor_) {}

    bool topLevelWindowExists(const std::string& title) override {
        return x_ != nullptr && quorlane::topLevelWindowExists(x_->display(), title);
    }

    void makeWorkingFolder() override {
        imageFolder_ = preparePrivateFolder(desktopImageFolders());
        if (!imageFolder_.empty()) {
            removeStaleTemporaries(desktopImageFileIn(imageFolder_), std::chrono::seconds(10));
        }
    }

    void loadSettings() override {
        const std::string folder = runningProgramFolder();
        quorlane::loadSettings(settingsValues(), settingsFolder(folder),
                               settingsDefaultsFile(folder));
    }

    bool isPreviewHost(int32_t handle) override {
        return x_ != nullptr && isExistingWindow(x_->display(), static_cast<uint32_t>(handle));
    }

    // Start-up has already made sure the host is a window, so the display is there.
    int runPreview(int32_t handle) override {
        const QtModule* qt = qtModule();
        if (qt == nullptr) return 1;
        return qt->runPreview(x_->display(), static_cast<uint32_t>(handle), program_);
    }

    // Modal, without an owner; the process ends when it closes, however it closes.
    int runSettingsDialog() override {
        if (x_ == nullptr) {
            tellNoDisplay("no settings dialog");
            return 1;
        }
        const QtModule* qt = qtModule();
        if (qt == nullptr) return 1;
        return qt->runSettingsDialog(program_, settingsValues());
    }

    int32_t hideCursor() override { return cursor_.showCursor(0); }

    // Without a display there is nothing to claim; runShow and runSettingsDialog say so.
    bool claimDisplay() override { return x_ == nullptr || quorlane::claimDisplay(x_->display()); }

    void bringBackDialog() override {
        if (x_ == nullptr) return;
        bringWindowBack(x_->display(), findTopLevelWindow(x_->display(), kSettingsDialogTitle));
    }

    int runShow() override {
        return runShowOf([&](PollLoop& loop, MusicPlayer& music) {
            return std::make_unique<ShowWindow>(
                x_->display(), loop, music, settingsValues(), startupState(), cursor_,
                ShowWindow::Places{runningProgramFolder() + "/Quorlane.dll",
                                   imageFolder_.empty() ? "" : desktopImageFileIn(imageFolder_)},
                pictureDecoder(), builtInPictureDecoder(), desktopCapture(), outputPlacement());
        });
    }

    // The signal that ended the show, 0 when none did.
    int endingSignal() const { return endingSignal_; }

    const char* screensaverWindowVariable() override { return std::getenv("XSCREENSAVER_WINDOW"); }

    int runHostedShow(uint32_t window) override {
        return runShowOf([&](PollLoop& loop, MusicPlayer& music) {
            Display* display = x_->display();
            const unsigned long host = window != 0 ? window : DefaultRootWindow(display);
            // A show killed before it could remove its picture left it behind; those of shows
            // running now, on this display or another, stay.
            if (!imageFolder_.empty())
                removeFilesOfEndedProcesses(imageFolder_, hostedDesktopImageOwner);
            return std::make_unique<HostedShowWindow>(
                display, host, loop, music, settingsValues(), startupState(), cursor_,
                HostedShowWindow::Places{
                    runningProgramFolder() + "/Quorlane.dll",
                    imageFolder_.empty() ? ""
                                         : hostedDesktopImageFileIn(imageFolder_, getpid(), host),
                    xscreensaverAllowsDesktop()},
                pictureDecoder(), builtInPictureDecoder());
        });
    }

private:
    // What a show of our own and a show in a framework's window share: a display, the music
    // (its libraries loaded only when the settings call for them), the poll loop, and the
    // termination signals (a framework ends its show with SIGTERM), which end the show the
    // ordinary way: music stopped, renderer gone.
    template <class MakeShow>
    int runShowOf(MakeShow makeShow) {
        if (x_ == nullptr) {
            tellNoDisplay("no show");
            return 1;
        }
        const MusicSource source{settingsValues().musicFile, settingsValues().repeatTrack};
        LazyMusicPlayer music([&source] { return createMusicPlayer(source); });
        PollLoop loop;
        const auto show = makeShow(loop, music);
        TerminationSignals termination;
        if (termination.fd() >= 0) {
            loop.watchReadable(termination.fd(), [&] {
                if (const int signal = termination.takePending()) {
                    if (endingSignal_ == 0) endingSignal_ = signal;
                    show->endShow(128 + signal);
                }
            });
        }
        if (!show->startShow()) return 1;
        return loop.run();
    }

    // In a Wayland session the desktop is asked of the compositor or its portal; elsewhere the
    // show reads the X root window itself.
    CompositorCapture desktopCapture() {
        if (!inWaylandSession()) return {};
        return [](DecodedPicture& picture) {
            const WaylandModule* wayland = loadWaylandModule();
            if (wayland == nullptr) return false;
            std::string line;
            if (wayland->captureDesktop(picture, line)) return true;
            std::fprintf(stderr, "%s\n", line.c_str());
            return false;
        };
    }

    // Sway opens every window on the focused output; the renderers of other monitors are moved
    // to theirs through its command socket.
    ShowWindow::OutputPlacement outputPlacement() {
        const char* sway = std::getenv("SWAYSOCK");
        if (!inWaylandSession() || sway == nullptr || *sway == '\0') return {};
        return [](int pid, const MonitorRect& monitor) {
            const WaylandModule* wayland = loadWaylandModule();
            std::string why;
            return wayland == nullptr || wayland->placeOnOutput(pid, monitor.x, monitor.y, why);
        };
    }

    PictureDecoder pictureDecoder() {
        // The name is opened once, here, and the picture read from that descriptor: checked
        // earlier by name, it may since have become a FIFO that would hang the show.
        return [this](const std::string& path, DecodedPicture& picture) {
            const QtModule* qt = qtModule();
            if (qt == nullptr) return false;
            const int fd = openRegularFileToRead(path);
            if (fd < 0) return false;
            const bool decoded = qt->decodePicture(fd, picture);
            close(fd);
            return decoded;
        };
    }

    BuiltInPictureDecoder builtInPictureDecoder() {
        return [this](DecodedPicture& picture) {
            const QtModule* qt = qtModule();
            return qt != nullptr && qt->decodeBuiltInPicture(picture);
        };
    }

    const QtModule* qtModule() {
        if (!qtTried_) {
            qtTried_ = true;
            qt_ = loadQtModule();
        }
        return qt_;
    }

    const char* program_;
    XConnection* x_;
    std::string imageFolder_;  // the private folder chosen for the desktop picture
    XFixesCursor xCursor_;
    CursorDisplayCount cursor_;
    const QtModule* qt_ = nullptr;
    bool qtTried_ = false;
    int endingSignal_ = 0;
};

}  // namespace

}  // namespace quorlane

int main(int argc, char** argv) {
    const std::string commandLine = quorlane::joinArguments(argc, argv);
    int exitCode = 0, endingSignal = 0;
    {
        // Kept open for the whole run: the cursor stays hidden only while it lives.
        const auto x = quorlane::XConnection::open();
        quorlane::ShellServices services(argv[0], x.get());
        exitCode = quorlane::runStartup(commandLine, quorlane::startupState(), services);
        endingSignal = services.endingSignal();
    }
    // Everything is cleaned up by now; whoever sent the signal expects the process to die of it.
    if (endingSignal != 0) return quorlane::endBySignal(endingSignal);
    return exitCode;
}
