// Code page 932 through Windows' own table, by way of UTF-16. Flags make every conversion
// strict: malformed input and characters without a counterpart fail instead of becoming "?".
#include "shell/settings/code_page_conversion.h"

#include <windows.h>

namespace quorlane {
namespace {

constexpr UINT kCp932 = 932;

std::optional<std::wstring> toWide(UINT codePage, std::string_view in) {
    if (in.empty()) return std::wstring();
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(),
                                           static_cast<int>(in.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()),
                        out.data(), length);
    return out;
}

std::optional<std::string> fromWide(UINT codePage, const std::wstring& in) {
    if (in.empty()) return std::string();
    // UTF-8 takes neither a default character nor the best-fit flag.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* defaultFlag = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()),
                                           nullptr, 0, nullptr, defaultFlag);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, in.data(), static_cast<int>(in.size()), out.data(), length,
                        nullptr, defaultFlag);
    if (usedDefault) return std::nullopt;
    return out;
}

std::optional<std::string> convert(UINT to, UINT from, std::string_view in) {
    const std::optional<std::wstring> wide = toWide(from, in);
    if (!wide) return std::nullopt;
    return fromWide(to, *wide);
}

}  // namespace

std::optional<std::string> convertUtf8ToCp932(std::string_view utf8) {
    return convert(kCp932, CP_UTF8, utf8);
}

std::optional<std::string> convertCp932ToUtf8(std::string_view cp932) {
    return convert(CP_UTF8, kCp932, cp932);
}

}  // namespace quorlane
