#pragma once
// The shell's one audio output (SDL2_mixer): 44.1 kHz, signed 16-bit, stereo, on SDL's
// default driver, opened on first use. A missing sound device is found out once and not
// retried. The mixer's music slot carries either a music file or the CD stream, never
// both; WAV sounds play on a channel beside them.
#include <cstdint>
#include <string>

struct Mix_Chunk;

namespace quorlane {

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

    // A WAV file on a channel of its own, looping forever when asked; any earlier one stops.
    bool playSound(const std::string& path, bool loop);
    void stopSound();

private:
    enum class Slot { Free, Stream, Music };
    enum class State { Unopened, Open, Failed };

    void close();

    State state_ = State::Unopened;
    Slot slot_ = Slot::Free;
    Mix_Chunk* sound_ = nullptr;
    int soundChannel_ = -1;
};

}  // namespace quorlane
