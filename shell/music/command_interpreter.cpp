#include "shell/music/command_interpreter.h"

#include <algorithm>
#include <new>

#include "shell/music/mci_errors.h"

namespace quorlane::mci {

CommandInterpreter::CommandInterpreter(DeviceFactory& factory) : factory_(factory) {}

CommandInterpreter::~CommandInterpreter() { closeAll(); }

void CommandInterpreter::closeAll() {
    while (!devices_.empty()) devices_.pop_back();
}

CommandInterpreter::OpenDevice* CommandInterpreter::find(std::string_view name) {
    for (OpenDevice& open : devices_) {
        if (sameWord(open.name, name)) return &open;
    }
    return nullptr;
}

uint32_t CommandInterpreter::open(const Command& command) {
    const std::string& name = command.alias.empty() ? command.device : command.alias;
    if (find(name)) return command.alias.empty() ? kDeviceOpen : kDuplicateAlias;

    std::unique_ptr<Device> device;
    uint32_t code = kInvalidDeviceName;
    if (sameWord(command.type, "mpegvideo")) {
        code = factory_.openMpegVideo(command.device, device);
    } else if (sameWord(command.type, "cdaudio") ||
               (command.type.empty() && sameWord(command.device, "cdaudio"))) {
        code = factory_.openCdAudio(device);
    }
    if (code != kOk) return code;
    if (!device) return kHardware;
    devices_.push_back(OpenDevice{name, std::move(device)});
    return kOk;
}

uint32_t CommandInterpreter::send(std::string_view text, std::string& answer) {
    answer.clear();
    try {
        Command command;
        if (uint32_t code = parseCommand(text, command)) return code;
        if (command.verb == Verb::Open) return open(command);

        OpenDevice* open = find(command.device);
        if (!open) return kInvalidDeviceName;
        switch (command.verb) {
        case Verb::Close: {
            auto it = devices_.begin() + (open - devices_.data());
            devices_.erase(it);
            return kOk;
        }
        case Verb::Play: return open->device->play(command.from, command.to);
        case Verb::Stop: return open->device->stop();
        case Verb::Status: return open->device->status(command.item, command.track, answer);
        case Verb::Set: return open->device->setTimeFormat(command.timeFormat);
        case Verb::Open: break;
        }
        return kUnrecognizedCommand;
    } catch (const std::bad_alloc&) {
        answer.clear();
        return kOutOfMemory;
    } catch (...) {
        answer.clear();
        return kHardware;
    }
}

}  // namespace quorlane::mci
