#include "shell/music/bgm_player.h"

#include <array>
#include <charconv>
#include <cstring>
#include <utility>

#include "common/ascii_case.h"

namespace quorlane {
namespace {

constexpr const char* kCdDevice = "cdaudio";
constexpr const char* kMp3Alias = "MP3Play";

// Buffer lengths handed to the backend, in characters.
constexpr std::size_t kCommandResultLength = 512;
constexpr std::size_t kErrorTextLength = 256;
constexpr std::size_t kCdModeLength = 255;
constexpr std::size_t kMp3ModeLength = 30;

bool hasError(const std::string& statusText) {
    return asciiUppercase(statusText).find("ERR") != std::string::npos;
}

// A track number as the device wrote it, blanks around it allowed; nothing else is a number.
bool readTrackNumber(const std::string& text, long& number) {
    std::size_t begin = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) return false;
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, number);
    return ec == std::errc() && ptr == last;
}

template <std::size_t N>
std::string upToNul(const std::array<char, N>& buffer) {
    return std::string(buffer.data(), strnlen(buffer.data(), N));
}

}  // namespace

BgmPlayer::BgmPlayer(const MusicSource& source, std::unique_ptr<MediaBackend> backend)
    : source_(source), backend_(std::move(backend)) {}

BgmPlayer::~BgmPlayer() = default;

int32_t BgmPlayer::sendMciCommand(const std::string& command, std::string& resultText) {
    if (command.empty()) {
        resultText = "コマンド文字列が指定されていません";
        return -1;
    }
    std::array<char, kCommandResultLength> result{};
    uint32_t code = backend_->sendString(command, result);
    if (code != 0) {
        std::array<char, kErrorTextLength> error{};
        if (backend_->errorString(code, error)) {
            resultText = upToNul(error);
        } else {
            resultText = "Error (文字列が取れません)";
        }
        return static_cast<int32_t>(code);
    }
    resultText = upToNul(result);
    return 0;
}

std::string BgmPlayer::mciStatusText(const std::string& command) {
    std::string text;
    int32_t code = sendMciCommand(command, text);
    if (code != 0) return "Error:" + std::to_string(code);
    return text;
}

int32_t BgmPlayer::cdPlay(const std::string& device, const std::string& fromPosition,
                          const std::string& toPosition) {
    std::string command = "play " + device;
    if (!fromPosition.empty()) command += " from " + fromPosition;
    if (!toPosition.empty()) command += " to " + toPosition;
    std::string ignored;
    return sendMciCommand(command, ignored);
}

void BgmPlayer::sendQuietly(const std::string& command) { backend_->sendString(command, {}); }

void BgmPlayer::cdOpen() {
    sendQuietly(std::string("open ") + kCdDevice);
    sendQuietly(std::string("set ") + kCdDevice + " time format tmsf");
}

void BgmPlayer::cdPoll() {
    cdAvailable_ = true;
    std::string track = mciStatusText(std::string("status ") + kCdDevice + " current track");
    if (hasError(track)) {
        cdAvailable_ = false;
        return;
    }
    std::string count = mciStatusText(std::string("status ") + kCdDevice + " number of tracks");
    if (hasError(count)) {
        cdAvailable_ = false;
        return;
    }
    std::array<char, kCdModeLength> modeBuffer{};
    backend_->sendString(std::string("status ") + kCdDevice + " mode", modeBuffer);
    std::string mode = upToNul(modeBuffer).substr(0, 7);

    const int repeatTrack = source_.repeatTrack;
    if (repeatTrack != 0) {
        long trackNumber = 0;
        if (!readTrackNumber(track, trackNumber)) {
            cdAvailable_ = false;
            return;
        }
        if (mode == "stopped" || trackNumber != repeatTrack) {
            std::string start = mciStatusText(std::string("status ") + kCdDevice +
                                              " position track " + std::to_string(repeatTrack));
            cdPlay(kCdDevice, start, "");
        }
    } else if (mode == "stopped") {
        cdPlay(kCdDevice, "", "");
    }
}

void BgmPlayer::cdStop() {
    sendQuietly(std::string("stop ") + kCdDevice);
    sendQuietly(std::string("close ") + kCdDevice);
}

void BgmPlayer::mp3Start() {
    uint32_t code = backend_->sendString(
        "open \"" + source_.musicFile + "\" type MPEGVideo Alias " + kMp3Alias, {});
    if (code == 0) sendQuietly(std::string("play ") + kMp3Alias);
}

bool BgmPlayer::mp3IsPlaying() {
    std::array<char, kMp3ModeLength> modeBuffer{};
    backend_->sendString(std::string("status ") + kMp3Alias + " mode", modeBuffer);
    return upToNul(modeBuffer).substr(0, 7) == "playing";
}

void BgmPlayer::mp3Poll() {
    if (mp3IsPlaying()) return;
    sendQuietly(std::string("stop ") + kMp3Alias);
    sendQuietly(std::string("play ") + kMp3Alias + " from 0");
}

void BgmPlayer::mp3Stop() {
    sendQuietly(std::string("stop ") + kMp3Alias);
    sendQuietly(std::string("close ") + kMp3Alias);
}

void BgmPlayer::wavStart() {
    if (backend_->waveOutputCount() > 0) {
        backend_->playSound(source_.musicFile.c_str(), kSoundAsync | kSoundLoop);
    }
}

void BgmPlayer::wavStop() { backend_->playSound(nullptr, 0); }

}  // namespace quorlane
