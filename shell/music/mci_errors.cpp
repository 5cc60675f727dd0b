#include "shell/music/mci_errors.h"

namespace quorlane::mci {

std::string_view errorText(uint32_t code) {
    switch (code) {
    case kInvalidDeviceId:
        return "Invalid device ID. Use the ID given to the device when it was opened.";
    case kUnrecognizedKeyword: return "The command contains an unrecognized keyword.";
    case kUnrecognizedCommand: return "Unknown command.";
    case kHardware: return "The device reported a hardware problem; check that it is working.";
    case kInvalidDeviceName: return "The device is not open or is not recognized.";
    case kOutOfMemory: return "Not enough memory for this command.";
    case kDeviceOpen: return "The device name is already in use by this program.";
    case kCannotLoadDriver: return "The device driver could not be loaded.";
    case kMissingCommandString: return "No command was given.";
    case kParamOverflow: return "The answer does not fit into the buffer given.";
    case kMissingStringArgument: return "The command needs a text argument.";
    case kBadInteger: return "A number in the command is not valid.";
    case kMissingParameter: return "The command is missing a parameter.";
    case kUnsupportedFunction: return "The device does not support this command.";
    case kFileNotFound: return "The file cannot be found.";
    case kDeviceNotReady: return "The device is not ready (is there a disc in the drive?).";
    case kOutOfRange: return "A value in the command is out of range.";
    case kDuplicateAlias: return "The alias is already in use by this program.";
    case kBadTimeFormat: return "Unknown time format.";
    case kNoClosingQuote: return "A closing double quote is missing.";
    case kDuplicateFlags: return "A keyword or value was given twice.";
    case kInvalidFile: return "The file cannot be played: it is damaged or of an unknown kind.";
    case kMissingDeviceName: return "The command needs a device name or alias.";
    case kExtraCharacters: return "Text follows a quoted value without a blank between them.";
    case kOutputInUse: return "The audio output is in use by another device.";
    default: return {};
    }
}

}  // namespace quorlane::mci
