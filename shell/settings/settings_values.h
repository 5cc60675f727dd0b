#pragma once
// The user's choices, read once from the settings file and shared by the show window,
// the music player and the settings dialog. Strings are UTF-8 here; the file holds CP932.
#include <cstdint>
#include <string>

namespace quorlane {

struct SettingsValues {
    int16_t pictureMode = 0;  // 0 capture the desktop, 1 use pictureFile
    std::string pictureFile;
    std::string pictureFolder;
    int16_t musicMode = 0;  // 0 none, 1 audio CD, 2 musicFile
    std::string musicFile;
    std::string musicFolder;
    int16_t repeatTrack = 0;  // CD track to repeat; 0 = whole disc
};

// The process-wide values.
SettingsValues& settingsValues();

}  // namespace quorlane
