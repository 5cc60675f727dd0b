#pragma once
// Error codes of the command-string interpreter, numbered as the Media Control Interface
// numbers them (base 256), so the player's "Error:<code>" texts read as they always have.
#include <cstdint>
#include <string_view>

namespace quorlane::mci {

inline constexpr uint32_t kErrorBase = 256;

enum Error : uint32_t {
    kOk = 0,
    kInvalidDeviceId = kErrorBase + 1,
    kUnrecognizedKeyword = kErrorBase + 3,
    kUnrecognizedCommand = kErrorBase + 5,
    kHardware = kErrorBase + 6,
    kInvalidDeviceName = kErrorBase + 7,  // 263: not open, or not a known device
    kOutOfMemory = kErrorBase + 8,
    kDeviceOpen = kErrorBase + 9,
    kCannotLoadDriver = kErrorBase + 10,
    kMissingCommandString = kErrorBase + 11,
    kParamOverflow = kErrorBase + 12,
    kMissingStringArgument = kErrorBase + 13,
    kBadInteger = kErrorBase + 14,
    kMissingParameter = kErrorBase + 17,
    kUnsupportedFunction = kErrorBase + 18,
    kFileNotFound = kErrorBase + 19,
    kDeviceNotReady = kErrorBase + 20,
    kOutOfRange = kErrorBase + 26,
    kDuplicateAlias = kErrorBase + 33,
    kBadTimeFormat = kErrorBase + 37,
    kNoClosingQuote = kErrorBase + 38,
    kDuplicateFlags = kErrorBase + 39,
    kInvalidFile = kErrorBase + 40,
    kMissingDeviceName = kErrorBase + 36,
    kExtraCharacters = kErrorBase + 49,
    kOutputInUse = kErrorBase + 64,
};

// The text of a code, or an empty view for a code that has none.
std::string_view errorText(uint32_t code);

}  // namespace quorlane::mci
