#pragma once
// The multimedia calls on this system: the command-string interpreter with CD audio
// (libcdio) and music files (SDL2_mixer), and WAV sounds, all on one audio output.
//
// Supports: the command strings of the music player on "cdaudio" and type MPEGVideo, WAV sounds
//   looped.
// Does not: other devices or command words (they answer with the command-string error codes).
#include <memory>
#include <vector>

#include "shell/music/audio_output.h"
#include "shell/music/cd_audio_device.h"
#include "shell/music/command_interpreter.h"
#include "shell/music/media_backend.h"

namespace quorlane {

class SystemMediaBackend final : public MediaBackend {
public:
    SystemMediaBackend();
    // Closes every device and sound, then the output; no thread is left running.
    ~SystemMediaBackend() override;

    uint32_t sendString(const std::string& command, std::span<char> result) override;
    bool errorString(uint32_t code, std::span<char> text) override;
    uint32_t waveOutputCount() override;
    bool playSound(const char* name, uint32_t flags) override;

private:
    class Factory final : public mci::DeviceFactory {
    public:
        explicit Factory(AudioOutput& output) : output_(output) {}
        ~Factory() override;
        // Closed CD devices whose reader may still hang in a drive: freed once it is done,
        // so that closing never waits on the drive; abandoned to their reader when the
        // backend goes.
        void retire(std::unique_ptr<CdAudioDevice> cd);
        void freeRetired();
        uint32_t openCdAudio(std::unique_ptr<mci::Device>& device) override;
        uint32_t openMpegVideo(const std::string& path,
                               std::unique_ptr<mci::Device>& device) override;

    private:
        AudioOutput& output_;
        std::vector<std::unique_ptr<CdAudioDevice>> retired_;
    };

    AudioOutput output_;
    Factory factory_{output_};
    mci::CommandInterpreter interpreter_{factory_};
};

}  // namespace quorlane
