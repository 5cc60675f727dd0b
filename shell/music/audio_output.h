#pragma once
// The shell's one audio output (SDL2_mixer): 44.1 kHz, signed 16-bit, stereo, on SDL's
// default driver, opened on first use. A missing sound device is found out once and not
// retried. The mixer's music slot carries one of a music file, the CD stream or a WAV
// sound at a time; a WAV is streamed from its file, so its length costs no memory.
//
// Supports: SDL2_mixer's default driver (and SDL_AUDIODRIVER), one output for the whole shell.
// Does not: several outputs, another rate or format, choosing a device.
#include <cstdint>
#include <string>

typedef struct _Mix_Music Mix_Music;

namespace quorlane {

// A music file (MP3, WAV...) for the music slot, from a descriptor opened with
// openRegularFileToRead (so that a name switched to a FIFO after any earlier check cannot hang
// the shell), which it takes over and closes; its kind guessed from the name's extension
// first, as SDL_mixer does for a name. Null when it cannot be decoded.
Mix_Music* loadMusicFile(int fd, const std::string& name);

class AudioOutput {
public:
    static constexpr int kFrequency = 44100;
    static constexpr int kChannels = 2;

    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the output the first time; later calls return the first result.
    bool open();

    // The music slot. A stream function is called on the audio thread with the device
    // locked and must fill `length` bytes of interleaved 16-bit stereo.
    using StreamFunction = void (*)(void* context, uint8_t* stream, int length);
    bool attachStream(StreamFunction function, void* context);
    void detachStream();
    bool musicSlotFree() const { return slot_ == Slot::Free; }
    bool claimMusic();
    void releaseMusic();

    // A WAV file streamed in the music slot, looping forever when asked; any earlier one
    // stops. Refused while the slot carries a music file or the CD.
    bool playSound(const std::string& path, bool loop);
    void stopSound();

private:
    enum class Slot { Free, Stream, Music, Sound };
    enum class State { Unopened, Open, Failed };

    void close();

    State state_ = State::Unopened;
    Slot slot_ = Slot::Free;
    Mix_Music* sound_ = nullptr;
};

}  // namespace quorlane
