#pragma once
// What the music player plays: the music file (MP3 or WAV) and the audio CD's track to
// repeat. Its owner fills it from the settings values; the player reads it at each call, so
// it must outlive the player.
#include <cstdint>
#include <string>

namespace quorlane {

struct MusicSource {
    std::string musicFile;
    int16_t repeatTrack = 0;  // 0 = the whole disc
};

}  // namespace quorlane
