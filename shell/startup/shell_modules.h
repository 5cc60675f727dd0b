#pragma once
// The parts of Quorlane.scr that are loaded only when a run needs them, and what each offers
// the program: the windows (Qt: the settings dialog, the preview, pictures the user chose)
// and the music (SDL2_mixer, libcdio). A show of the desktop without music loads neither.
// Each is a shared object installed beside Quorlane.scr. Both sides are built together from
// this tree, so ordinary C++ types cross between them.
#include <string>

typedef struct _XDisplay Display;

namespace quorlane {

struct SettingsValues;
struct DecodedPicture;
struct MusicSource;
class MusicPlayer;

struct WindowsModule {
    // The settings dialog, modal and without an owner, until it closes; the exit code.
    int (*runSettingsDialog)(const char* program, SettingsValues& settings);
    // The preview inside the host window until the host goes; the exit code. display: the
    // program's own connection.
    int (*runPreview)(Display* display, unsigned long host, const char* program);
    // A chosen picture file for the show, opened by the caller (who closes it); false when it
    // cannot be read.
    bool (*decodePicture)(int fd, DecodedPicture& picture);
};

struct MusicModule {
    // The player on the real audio services; the caller owns it.
    MusicPlayer* (*createPlayer)(const MusicSource& source);
};

// Each part's file, in the folder of Quorlane.scr.
inline constexpr char kWindowsModuleFile[] = "quorlane-windows.so";
inline constexpr char kMusicModuleFile[] = "quorlane-music.so";

// The names each part exports its table under.
inline constexpr char kWindowsModuleEntry[] = "quorlane_windows_module";
inline constexpr char kMusicModuleEntry[] = "quorlane_music_module";

// Load a part (each call loads it anew: keep what it returns); null, with the reason told on
// stderr, when it is missing or cannot be loaded. Defined in the program only.
const WindowsModule* loadWindowsModule();
const MusicModule* loadMusicModule();

}  // namespace quorlane
