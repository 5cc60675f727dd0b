#include "shell/music/music_file_device.h"

#include <SDL_mixer.h>
#include <unistd.h>

#include <cerrno>

#include <charconv>

#include "common/read_only_open.h"
#include "shell/music/audio_output.h"
#include "shell/music/mci_errors.h"

namespace quorlane {

using namespace mci;

namespace {

bool readMilliseconds(const std::string& text, long& ms) {
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, ms);
    return !text.empty() && ec == std::errc() && ptr == last && ms >= 0;
}

}  // namespace

uint32_t MusicFileDevice::open(AudioOutput& output, const std::string& path,
                               std::unique_ptr<Device>& device) {
    // One descriptor, checked and then read: a name checked and opened again later could
    // have become a FIFO meanwhile.
    const int fd = openRegularFileToRead(path);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? kFileNotFound : kInvalidFile;
    if (!output.open()) {
        ::close(fd);
        return kHardware;
    }
    if (!output.claimMusic()) {
        ::close(fd);
        return kOutputInUse;
    }
    Mix_Music* music = loadMusicFile(fd, path);
    if (!music) {
        output.releaseMusic();
        return kInvalidFile;
    }
    device.reset(new MusicFileDevice(output, music));
    return kOk;
}

MusicFileDevice::MusicFileDevice(AudioOutput& output, Mix_Music* music)
    : output_(output), music_(music) {}

MusicFileDevice::~MusicFileDevice() {
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    output_.releaseMusic();
}

bool MusicFileDevice::isPlaying() const {
    // Mix_PlayingMusic stays 1 while paused, so both are asked.
    return started_ && Mix_PlayingMusic() && !Mix_PausedMusic();
}

uint32_t MusicFileDevice::play(const std::optional<std::string>& from,
                               const std::optional<std::string>& to) {
    if (to) return kUnsupportedFunction;
    long ms = 0;
    if (from && !readMilliseconds(*from, ms)) return kBadInteger;
    if (!from && isPlaying()) return kOk;
    // Mix_RewindMusic does nothing once the music has ended, so it is always started anew.
    if (Mix_PlayMusic(music_, 0) != 0) return kHardware;
    if (ms > 0) Mix_SetMusicPosition(static_cast<double>(ms) / 1000.0);
    started_ = true;
    return kOk;
}

uint32_t MusicFileDevice::stop() {
    Mix_HaltMusic();
    started_ = false;
    return kOk;
}

uint32_t MusicFileDevice::status(StatusItem item, std::optional<int> track, std::string& answer) {
    if (track || item != StatusItem::Mode) return kUnsupportedFunction;
    answer = isPlaying() ? "playing" : "stopped";
    return kOk;
}

uint32_t MusicFileDevice::setTimeFormat(TimeFormat) {
    return kBadTimeFormat;  // positions are in milliseconds, which cannot be named
}

}  // namespace quorlane
