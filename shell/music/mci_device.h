#pragma once
// What the command-string interpreter drives: one open device (the CD, or a music file)
// and the factory that opens them. Positions arrive as the text of the command; each
// device reads them in its own time format.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "shell/music/mci_command.h"

namespace quorlane::mci {

class Device {
public:
    virtual ~Device() = default;
    virtual uint32_t play(const std::optional<std::string>& from,
                          const std::optional<std::string>& to) = 0;
    virtual uint32_t stop() = 0;
    virtual uint32_t status(StatusItem item, std::optional<int> track, std::string& answer) = 0;
    virtual uint32_t setTimeFormat(TimeFormat format) = 0;
};

class DeviceFactory {
public:
    virtual ~DeviceFactory() = default;
    // Each returns 0 and the device, or an error code.
    virtual uint32_t openCdAudio(std::unique_ptr<Device>& device) = 0;
    virtual uint32_t openMpegVideo(const std::string& path, std::unique_ptr<Device>& device) = 0;
};

}  // namespace quorlane::mci
