#include "shell/settings/code_page_932.h"

#include "shell/settings/code_page_conversion.h"

namespace quorlane {

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::optional<std::string> cp932 = convertUtf8ToCp932(utf8);
    // The table maps a few characters one way only (e.g. U+301C to 0x8160, which reads back as
    // U+FF5E); such text would come back as a different string, so it is refused too.
    if (!cp932) return std::nullopt;
    std::optional<std::string> back = convertCp932ToUtf8(*cp932);
    if (!back || *back != utf8) return std::nullopt;
    return cp932;
}

std::optional<std::string> cp932ToUtf8(std::string_view cp932) { return convertCp932ToUtf8(cp932); }

std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < cp932.size()) {
        std::size_t width = isCp932LeadByte(static_cast<unsigned char>(cp932[pos])) ? 2 : 1;
        if (pos + width > maxBytes) break;
        pos += width;
    }
    return pos < cp932.size() ? pos : cp932.size();
}

}  // namespace quorlane
