#pragma once
// Our stand-in for the Media Control Interface: runs the command strings of the music
// player on devices made by a DeviceFactory, keeps the table of open devices by name or
// alias, and answers with text or an error code. Never throws, whatever the string.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/music/mci_device.h"

namespace quorlane::mci {

class CommandInterpreter {
public:
    explicit CommandInterpreter(DeviceFactory& factory);
    ~CommandInterpreter();
    CommandInterpreter(const CommandInterpreter&) = delete;
    CommandInterpreter& operator=(const CommandInterpreter&) = delete;

    uint32_t send(std::string_view command, std::string& answer);

    // Closes every open device, the last opened first.
    void closeAll();

private:
    struct OpenDevice {
        std::string name;
        std::unique_ptr<Device> device;
    };

    uint32_t open(const Command& command);
    OpenDevice* find(std::string_view name);

    DeviceFactory& factory_;
    std::vector<OpenDevice> devices_;
};

}  // namespace quorlane::mci
