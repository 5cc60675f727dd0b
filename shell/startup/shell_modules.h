#pragma once
// The parts of Quorlane.scr that are loaded only when a run needs them, and what each offers
// the program: the Qt part (the settings dialog, the preview, pictures the user chose),
// and the music (SDL2_mixer, libcdio) and the Wayland session's capture (libwayland-client,
// sd-bus, libpng). A show of an X desktop without music loads none of them.
// Each is a shared object installed beside Quorlane.scr. Both sides are built together from
// this tree, so ordinary C++ types cross between them.
#include <string>

typedef struct _XDisplay Display;

namespace quorlane {

struct SettingsValues;
struct DecodedPicture;
struct MusicSource;
class MusicPlayer;

struct QtModule {
    // The settings dialog, modal and without an owner, until it closes; the exit code.
    int (*runSettingsDialog)(const char* program, SettingsValues& settings);
    // The preview inside the host window until the host goes; the exit code. display: the
    // program's own connection.
    int (*runPreview)(Display* display, unsigned long host, const char* program);
    // A chosen picture file for the show, opened by the caller (who closes it); false when it
    // cannot be read.
    bool (*decodePicture)(int fd, DecodedPicture& picture);
    // The still the preview shows, for a show that has no picture of the desktop.
    bool (*decodeBuiltInPicture)(DecodedPicture& picture);
};

struct MusicModule {
    // The player on the real audio services; the caller owns it.
    MusicPlayer* (*createPlayer)(const MusicSource& source);
};

struct WaylandModule {
    // The desktop's picture in a Wayland session; false, with the line that says why and
    // what to do, when none can be had.
    bool (*captureDesktop)(DecodedPicture& picture, std::string& failureLine);
    // One screenshot asked of the desktop portal by the focused settings dialog, so that a
    // desktop that asks before a program's first screenshot asks now, not during a show.
    bool (*askScreenshotPermission)(std::string& why);
    // Puts the window of process `pid` full screen on the output whose top-left corner is
    // (x, y), where the compositor would not by itself (sway); false until that window exists.
    bool (*placeOnOutput)(int pid, int x, int y, std::string& why);
};

// Each part's file, in the folder of Quorlane.scr.
inline constexpr char kQtModuleFile[] = "quorlane-qt.so";
inline constexpr char kMusicModuleFile[] = "quorlane-music.so";
inline constexpr char kWaylandModuleFile[] = "quorlane-wayland.so";

// The names each part exports its table under.
inline constexpr char kQtModuleEntry[] = "quorlane_qt_module";
inline constexpr char kMusicModuleEntry[] = "quorlane_music_module";
inline constexpr char kWaylandModuleEntry[] = "quorlane_wayland_module";

// Load a part (each call loads it anew: keep what it returns); null, with the reason told on
// stderr, when it is missing or cannot be loaded. Defined in the program only.
const QtModule* loadQtModule();
const MusicModule* loadMusicModule();
const WaylandModule* loadWaylandModule();

}  // namespace quorlane
