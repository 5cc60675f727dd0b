#include "shell/music/win32_media_backend.h"

#include <windows.h>
// windows.h first: the multimedia header needs its types.
#include <mmsystem.h>

#include <optional>

namespace quorlane {

namespace {

std::optional<std::string> ansiOf(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                               static_cast<int>(utf8.size()), nullptr, 0);
    if (wideLength <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), wideLength);
    BOOL lost = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                           nullptr, 0, nullptr, &lost);
    if (length <= 0 || lost) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(), length,
                        nullptr, &lost);
    return ansi;
}

class Win32MediaBackend : public MediaBackend {
public:
    uint32_t sendString(const std::string& command, std::span<char> result) override {
        const std::optional<std::string> ansi = ansiOf(command);
        if (!ansi) return MCIERR_FILE_NOT_FOUND;
        if (!result.empty()) result[0] = '\0';
        return mciSendStringA(ansi->c_str(), result.empty() ? nullptr : result.data(),
                              static_cast<UINT>(result.size()), nullptr);
    }

    bool errorString(uint32_t code, std::span<char> text) override {
        if (text.empty()) return false;
        return mciGetErrorStringA(code, text.data(), static_cast<UINT>(text.size())) != FALSE;
    }

    uint32_t waveOutputCount() override { return waveOutGetNumDevs(); }

    bool playSound(const char* name, uint32_t flags) override {
        if (name == nullptr) return PlaySoundA(nullptr, nullptr, 0) != FALSE;
        const std::optional<std::string> ansi = ansiOf(name);
        if (!ansi) return false;
        // A file by name, and silence rather than the system's default sound when it cannot play.
        return PlaySoundA(ansi->c_str(), nullptr, flags | SND_FILENAME | SND_NODEFAULT) != FALSE;
    }
};

}  // namespace

std::unique_ptr<MediaBackend> createWin32MediaBackend() {
    return std::make_unique<Win32MediaBackend>();
}

}  // namespace quorlane
