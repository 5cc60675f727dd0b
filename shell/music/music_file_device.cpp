#include "shell/music/music_file_device.h"

#include <SDL_mixer.h>
#include <sys/stat.h>

#include <charconv>
#include <cmath>

#include "shell/music/audio_output.h"
#include "shell/music/mci_errors.h"

namespace quorlane {

using namespace mci;

namespace {

bool readMilliseconds(const std::string& text, long& ms)
{
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, ms);
    return !text.empty() && ec == std::errc() && ptr == last && ms >= 0;
}

}  // namespace

uint32_t MusicFileDevice::open(AudioOutput& output, const std::string& path,
                               std::unique_ptr<Device>& device)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return kFileNotFound;
    if (!S_ISREG(info.st_mode)) return kInvalidFile;
    if (!output.open()) return kHardware;
    if (!output.claimMusic()) return kOutputInUse;
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) {
        output.releaseMusic();
        return kInvalidFile;
    }
    device.reset(new MusicFileDevice(output, music));
    return kOk;
}

MusicFileDevice::MusicFileDevice(AudioOutput& output, Mix_Music* music)
    : output_(output), music_(music)
{
}

MusicFileDevice::~MusicFileDevice()
{
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    output_.releaseMusic();
}

bool MusicFileDevice::isPlaying() const
{
    // Mix_PlayingMusic stays 1 while paused, so both are asked.
    return started_ && Mix_PlayingMusic() && !Mix_PausedMusic();
}

uint32_t MusicFileDevice::play(const std::optional<std::string>& from,
                               const std::optional<std::string>& to)
{
    if (to) return kUnsupportedFunction;
    double startSeconds = resumeSeconds_;
    if (from) {
        long ms = 0;
        if (!readMilliseconds(*from, ms)) return kBadInteger;
        startSeconds = static_cast<double>(ms) / 1000.0;
    } else if (isPlaying()) {
        return kOk;
    }
    // Mix_RewindMusic does nothing once the music has ended, so it is always started anew.
    if (Mix_PlayMusic(music_, 0) != 0) return kHardware;
    if (startSeconds > 0) Mix_SetMusicPosition(startSeconds);
    started_ = true;
    resumeSeconds_ = 0;
    return kOk;
}

uint32_t MusicFileDevice::stop()
{
    if (isPlaying()) {
        double position = Mix_GetMusicPosition(music_);
        resumeSeconds_ = position > 0 ? position : 0;
    }
    Mix_HaltMusic();
    started_ = false;
    return kOk;
}

uint32_t MusicFileDevice::status(StatusItem item, std::optional<int> track, std::string& answer)
{
    if (track) return kUnsupportedFunction;
    switch (item) {
    case StatusItem::Mode:
        answer = isPlaying() ? "playing" : "stopped";
        return kOk;
    case StatusItem::Position: {
        double seconds = isPlaying() ? Mix_GetMusicPosition(music_) : resumeSeconds_;
        answer = std::to_string(std::lround(std::max(seconds, 0.0) * 1000.0));
        return kOk;
    }
    case StatusItem::Length: {
        double seconds = Mix_MusicDuration(music_);
        answer = std::to_string(std::lround(std::max(seconds, 0.0) * 1000.0));
        return kOk;
    }
    case StatusItem::MediaPresent:
        answer = "true";
        return kOk;
    case StatusItem::CurrentTrack:
    case StatusItem::NumberOfTracks:
        return kUnsupportedFunction;
    }
    return kUnrecognizedKeyword;
}

uint32_t MusicFileDevice::setTimeFormat(TimeFormat format)
{
    return format == TimeFormat::Milliseconds ? kOk : kBadTimeFormat;
}

}  // namespace quorlane
