#include "shell/music/win32/win32_media_backend.h"

#include <windows.h>
// windows.h first: the multimedia header needs its types.
#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "common/win32/wide_text.h"

namespace quorlane {

namespace {

class Win32MediaBackend : public MediaBackend {
public:
    // Wide, so that a file named outside the ANSI code page plays too.
    uint32_t sendString(const std::string& command, std::span<char> result) override {
        const std::wstring wide = wideFromUtf8(command);
        if (wide.empty() && !command.empty()) return MCIERR_FILE_NOT_FOUND;
        if (!result.empty()) result[0] = '\0';
        std::vector<wchar_t> answer(result.size(), L'\0');
        const uint32_t code = mciSendStringW(wide.c_str(), answer.empty() ? nullptr : answer.data(),
                                             static_cast<UINT>(answer.size()), nullptr);
        if (!result.empty()) {
            // The answers are words and numbers; cut to the caller's buffer like the narrow call.
            const std::string text = utf8FromWide(answer.data());
            const std::size_t kept = std::min(text.size(), result.size() - 1);
            std::copy_n(text.data(), kept, result.data());
            result[kept] = '\0';
        }
        return code;
    }

    bool errorString(uint32_t code, std::span<char> text) override {
        if (text.empty()) return false;
        return mciGetErrorStringA(code, text.data(), static_cast<UINT>(text.size())) != FALSE;
    }

    uint32_t waveOutputCount() override { return waveOutGetNumDevs(); }

    bool playSound(const char* name, uint32_t flags) override {
        if (name == nullptr) return PlaySoundA(nullptr, nullptr, 0) != FALSE;
        const std::wstring wide = wideFromUtf8(name);
        if (wide.empty()) return false;
        // A file by name, and silence rather than the system's default sound when it cannot play.
        return PlaySoundW(wide.c_str(), nullptr, flags | SND_FILENAME | SND_NODEFAULT) != FALSE;
    }
};

}  // namespace

std::unique_ptr<MediaBackend> createWin32MediaBackend() {
    return std::make_unique<Win32MediaBackend>();
}

}  // namespace quorlane
