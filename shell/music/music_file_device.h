#pragma once
// A music file opened with "type MPEGVideo", played through SDL2_mixer. Positions are in
// milliseconds; "playing" means the mixer is really playing it, not paused or finished.
//
// Supports: MP3 and WAV through SDL2_mixer's music, play, pause, stop, position and mode.
// Does not: video, seeking past the end, several files at once.
#include <string>

#include "shell/music/mci_device.h"

typedef struct _Mix_Music Mix_Music;

namespace quorlane {

class AudioOutput;

class MusicFileDevice final : public mci::Device {
public:
    // Returns 0 and the device, or an error code (no output, no file, not playable).
    static uint32_t open(AudioOutput& output, const std::string& path,
                         std::unique_ptr<mci::Device>& device);
    ~MusicFileDevice() override;

    uint32_t play(const std::optional<std::string>& from,
                  const std::optional<std::string>& to) override;
    uint32_t stop() override;
    uint32_t status(mci::StatusItem item, std::optional<int> track, std::string& answer) override;
    uint32_t setTimeFormat(mci::TimeFormat format) override;

private:
    MusicFileDevice(AudioOutput& output, Mix_Music* music);
    bool isPlaying() const;

    AudioOutput& output_;
    Mix_Music* music_;
    bool started_ = false;
};

}  // namespace quorlane
