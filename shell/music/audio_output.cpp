#include "shell/music/audio_output.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <unistd.h>
#include <cstdio>

#include "common/ascii_case.h"
#include "common/read_only_open.h"

namespace quorlane {
namespace {

// SDL_mixer's own first guess for a file by its name; anything else is told by its content.
Mix_MusicType musicTypeOfName(const std::string& path) {
    const auto dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return MUS_NONE;
    const std::string extension = path.substr(dot + 1);
    const auto is = [&](const char* name) { return asciiEqualIgnoringCase(extension, name); };
    if (is("wav")) return MUS_WAV;
    if (is("mid") || is("midi") || is("kar")) return MUS_MID;
    if (is("ogg")) return MUS_OGG;
    if (is("opus")) return MUS_OPUS;
    if (is("flac")) return MUS_FLAC;
    if (is("mpg") || is("mpeg") || is("mp3") || is("mad")) return MUS_MP3;
    return MUS_NONE;
}

// About 23 ms a buffer: short enough for quick stops, long enough not to starve.
constexpr int kBufferFrames = 1024;

}  // namespace

Mix_Music* loadMusicFile(int fd, const std::string& name) {
    FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return nullptr;
    }
    SDL_RWops* source = SDL_RWFromFP(file, SDL_TRUE);
    if (source == nullptr) {
        std::fclose(file);
        return nullptr;
    }
    // The music owns the source, and with it the file, from here on, even when it fails.
    return Mix_LoadMUSType_RW(source, musicTypeOfName(name), SDL_TRUE);
}

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
    const int fd = openRegularFileToRead(path);
    if (fd < 0) return false;
    if (!open() || slot_ != Slot::Free) {
        ::close(fd);
        return false;
    }
    // Loaded as music, the file is read a little at a time while it plays: a whole WAV
    // decoded and resampled up front can take gigabytes and seconds (and crashed the
    // mixer on a long one).
    sound_ = loadMusicFile(fd, path);
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
