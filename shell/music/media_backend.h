#pragma once
// The platform's multimedia calls as the music player uses them: command strings for CD
// audio and MP3, and the simple looping sound call for WAV. The system implementation sits
// on SDL2_mixer and libcdio; tests put a recording fake here.
#include <cstdint>
#include <span>
#include <string>

namespace quorlane {

// Flags of playSound.
inline constexpr uint32_t kSoundAsync = 0x0001;
inline constexpr uint32_t kSoundLoop = 0x0008;

class MediaBackend {
public:
    virtual ~MediaBackend() = default;

    // Runs one command string. When result is not empty the answer is written into it,
    // cut to fit and NUL-terminated. Returns 0 or an error code.
    virtual uint32_t sendString(const std::string& command, std::span<char> result) = 0;

    // The text of an error code, NUL-terminated into text; false when there is none.
    virtual bool errorString(uint32_t code, std::span<char> text) = 0;

    // How many wave outputs the system has (0 or 1 here).
    virtual uint32_t waveOutputCount() = 0;

    // Starts the named sound file (stopping any earlier one); a null name stops the sound.
    virtual bool playSound(const char* name, uint32_t flags) = 0;
};

}  // namespace quorlane
