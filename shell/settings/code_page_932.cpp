#include "shell/settings/code_page_932.h"

#include <iconv.h>

#include <cerrno>

namespace quorlane {
namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    // Every CP932 character takes at most 2 bytes and every UTF-8 one at most 3 for this
    // table, so 4 bytes of room per input byte always suffices; grow anyway on E2BIG.
    out.resize(in.size() * 4 + 4);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    std::size_t done = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = out.data() + done;
        std::size_t outLeft = out.size() - done;
        std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        done = out.size() - outLeft;
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            ok = false;  // EILSEQ: unmappable or malformed; EINVAL: cut-off sequence
            break;
        }
        if (r != 0) {  // irreversible (substituted) conversions count as failures
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok) return std::nullopt;
    out.resize(done);
    return out;
}

}  // namespace

std::optional<std::string> utf8ToCp932(std::string_view utf8) {
    std::optional<std::string> cp932 = convert("CP932", "UTF-8", utf8);
    // The table maps a few characters one way only (e.g. U+301C to 0x8160, which reads back as
    // U+FF5E); such text would come back as a different string, so it is refused too.
    if (!cp932) return std::nullopt;
    std::optional<std::string> back = convert("UTF-8", "CP932", *cp932);
    if (!back || *back != utf8) return std::nullopt;
    return cp932;
}

std::optional<std::string> cp932ToUtf8(std::string_view cp932) {
    return convert("UTF-8", "CP932", cp932);
}

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
