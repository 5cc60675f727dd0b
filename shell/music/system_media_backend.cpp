#include "shell/music/system_media_backend.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "shell/music/cd_audio_device.h"
#include "shell/music/cdio_disc.h"
#include "shell/music/mci_errors.h"
#include "shell/music/music_file_device.h"

namespace quorlane {
namespace {

bool copyText(std::string_view text, std::span<char> buffer) {
    if (buffer.empty()) return false;
    std::size_t n = std::min(text.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), text.data(), n);
    buffer[n] = '\0';
    return true;
}

}  // namespace

namespace {

// The CD device fed into the output's music slot for as long as it is open.
class HookedCdDevice final : public mci::Device {
public:
    using Retire = std::function<void(std::unique_ptr<CdAudioDevice>)>;
    HookedCdDevice(AudioOutput& output, std::unique_ptr<CdAudioDevice> cd, Retire retire)
        : output_(output), cd_(std::move(cd)), retire_(std::move(retire)) {}
    ~HookedCdDevice() override {
        output_.detachStream();
        cd_->beginShutdown();
        retire_(std::move(cd_));
    }

    uint32_t play(const std::optional<std::string>& from,
                  const std::optional<std::string>& to) override {
        return cd_->play(from, to);
    }
    uint32_t stop() override { return cd_->stop(); }
    uint32_t status(mci::StatusItem item, std::optional<int> track, std::string& answer) override {
        return cd_->status(item, track, answer);
    }
    uint32_t setTimeFormat(mci::TimeFormat format) override { return cd_->setTimeFormat(format); }

private:
    AudioOutput& output_;
    std::unique_ptr<CdAudioDevice> cd_;
    Retire retire_;
};

}  // namespace

uint32_t SystemMediaBackend::Factory::openCdAudio(std::unique_ptr<mci::Device>& device) {
    // Without an output nothing could be heard; the disc is not even looked at.
    freeRetired();
    if (!output_.open()) return mci::kHardware;
    if (!output_.musicSlotFree()) return mci::kOutputInUse;
    auto cd = std::make_unique<CdAudioDevice>(openSystemCdDisc);
    if (!output_.attachStream(&CdAudioDevice::renderInto, cd.get())) return mci::kOutputInUse;
    device = std::make_unique<HookedCdDevice>(
        output_, std::move(cd),
        [this](std::unique_ptr<CdAudioDevice> old) { retire(std::move(old)); });
    return mci::kOk;
}

SystemMediaBackend::Factory::~Factory() {
    // The end of a show must never wait on a drive that does not answer.
    for (std::unique_ptr<CdAudioDevice>& cd : retired_) CdAudioDevice::abandon(std::move(cd));
}

void SystemMediaBackend::Factory::retire(std::unique_ptr<CdAudioDevice> cd) {
    retired_.push_back(std::move(cd));
    freeRetired();
}

void SystemMediaBackend::Factory::freeRetired() {
    std::erase_if(retired_,
                  [](const std::unique_ptr<CdAudioDevice>& cd) { return cd->readerDone(); });
}

uint32_t SystemMediaBackend::Factory::openMpegVideo(const std::string& path,
                                                    std::unique_ptr<mci::Device>& device) {
    return MusicFileDevice::open(output_, path, device);
}

SystemMediaBackend::SystemMediaBackend() = default;

SystemMediaBackend::~SystemMediaBackend() {
    interpreter_.closeAll();
    output_.stopSound();
}

uint32_t SystemMediaBackend::sendString(const std::string& command, std::span<char> result) {
    std::string answer;
    uint32_t code = interpreter_.send(command, answer);
    if (code == mci::kOk) copyText(answer, result);
    return code;
}

bool SystemMediaBackend::errorString(uint32_t code, std::span<char> text) {
    std::string_view message = mci::errorText(code);
    if (message.empty()) return false;
    return copyText(message, text);
}

uint32_t SystemMediaBackend::waveOutputCount() { return output_.open() ? 1 : 0; }

bool SystemMediaBackend::playSound(const char* name, uint32_t flags) {
    if (!name) {
        output_.stopSound();
        return true;
    }
    return output_.playSound(name, (flags & kSoundLoop) != 0);
}

}  // namespace quorlane
