#pragma once
// Background music for a show: audio CD, MP3 or WAV, started, polled and stopped by the
// show window. Failures are silent by design: the show goes on without music.
#include <memory>

#include "shell/music/music_source.h"

namespace quorlane {

class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    virtual void cdOpen() = 0;
    virtual void cdPoll() = 0;
    virtual bool cdAvailable() const = 0;
    virtual void cdStop() = 0;
    virtual void mp3Start() = 0;
    virtual void mp3Poll() = 0;
    virtual void mp3Stop() = 0;
    virtual void wavStart() = 0;
    virtual void wavStop() = 0;
};

// The player on the real audio services (SDL2_mixer, libcdio). It reads the music file and
// the repeat track from source at each call. Destroying it releases the audio output.
std::unique_ptr<MusicPlayer> createSystemMusicPlayer(const MusicSource& source);

}  // namespace quorlane
