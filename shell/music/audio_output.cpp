#include "shell/music/audio_output.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

namespace quorlane {
namespace {

// About 23 ms a buffer: short enough for quick stops, long enough not to starve.
constexpr int kBufferFrames = 1024;

}  // namespace

AudioOutput::~AudioOutput() { close(); }

bool AudioOutput::open() {
    if (state_ != State::Unopened) return state_ == State::Open;
    state_ = State::Failed;
    // SDL would otherwise take SIGINT and SIGTERM for its event queue, which nobody reads
    // here: the shell could then no longer be ended by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MP3);
    // No format changes allowed: SDL converts for the device, so the CD's own samples can
    // be handed to the mixer as they are.
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16LSB, kChannels, kBufferFrames, nullptr, 0) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    state_ = State::Open;
    return true;
}

void AudioOutput::close() {
    if (state_ != State::Open) return;
    stopSound();
    Mix_HaltMusic();
    Mix_HookMusic(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    state_ = State::Unopened;
    slot_ = Slot::Free;
}

bool AudioOutput::attachStream(StreamFunction function, void* context) {
    if (!open() || slot_ != Slot::Free) return false;
    Mix_HookMusic(function, context);
    slot_ = Slot::Stream;
    return true;
}

void AudioOutput::detachStream() {
    if (slot_ != Slot::Stream) return;
    // Mix_HookMusic takes the device lock, so the old function has returned once this has.
    Mix_HookMusic(nullptr, nullptr);
    slot_ = Slot::Free;
}

bool AudioOutput::claimMusic() {
    if (!open() || slot_ != Slot::Free) return false;
    slot_ = Slot::Music;
    return true;
}

void AudioOutput::releaseMusic() {
    if (slot_ == Slot::Music) slot_ = Slot::Free;
}

bool AudioOutput::playSound(const std::string& path, bool loop) {
    stopSound();
    // Only a plain file: opening a FIFO for reading would wait for a writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (!open() || slot_ != Slot::Free) return false;
    // Loaded as music, the file is read a little at a time while it plays: a whole WAV
    // decoded and resampled up front can take gigabytes and seconds (and crashed the
    // mixer on a long one).
    sound_ = Mix_LoadMUS(path.c_str());
    if (!sound_) return false;
    if (Mix_PlayMusic(sound_, loop ? -1 : 0) != 0) {
        Mix_FreeMusic(sound_);
        sound_ = nullptr;
        return false;
    }
    slot_ = Slot::Sound;
    return true;
}

void AudioOutput::stopSound() {
    if (slot_ != Slot::Sound) return;
    Mix_HaltMusic();
    Mix_FreeMusic(sound_);
    sound_ = nullptr;
    slot_ = Slot::Free;
}

}  // namespace quorlane
