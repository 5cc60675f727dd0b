#include "shell/music/system_media_backend.h"

#include <algorithm>
#include <cstring>

#include "shell/music/mci_errors.h"
#include "shell/music/music_file_device.h"

namespace quorlane {
namespace {

bool copyText(std::string_view text, std::span<char> buffer)
{
    if (buffer.empty()) return false;
    std::size_t n = std::min(text.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), text.data(), n);
    buffer[n] = '\0';
    return true;
}

}  // namespace

uint32_t SystemMediaBackend::Factory::openCdAudio(std::unique_ptr<mci::Device>&)
{
    return mci::kDeviceNotReady;
}

uint32_t SystemMediaBackend::Factory::openMpegVideo(const std::string& path,
                                                    std::unique_ptr<mci::Device>& device)
{
    return MusicFileDevice::open(output_, path, device);
}

SystemMediaBackend::SystemMediaBackend() = default;

SystemMediaBackend::~SystemMediaBackend()
{
    interpreter_.closeAll();
    output_.stopSound();
}

uint32_t SystemMediaBackend::sendString(const std::string& command, std::span<char> result)
{
    std::string answer;
    uint32_t code = interpreter_.send(command, answer);
    if (code == mci::kOk) copyText(answer, result);
    return code;
}

bool SystemMediaBackend::errorString(uint32_t code, std::span<char> text)
{
    std::string_view message = mci::errorText(code);
    if (message.empty()) return false;
    return copyText(message, text);
}

uint32_t SystemMediaBackend::waveOutputCount()
{
    return output_.open() ? 1 : 0;
}

bool SystemMediaBackend::playSound(const char* name, uint32_t flags)
{
    if (!name) {
        output_.stopSound();
        return true;
    }
    return output_.playSound(name, (flags & kSoundLoop) != 0);
}

}  // namespace quorlane
