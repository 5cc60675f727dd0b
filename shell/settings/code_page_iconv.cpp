#include "shell/settings/code_page_conversion.h"

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

// Through glibc's "CP932" table: its "SHIFT_JIS" turns 0x5C into a yen sign and breaks paths.
std::optional<std::string> convertUtf8ToCp932(std::string_view utf8) {
    return convert("CP932", "UTF-8", utf8);
}

std::optional<std::string> convertCp932ToUtf8(std::string_view cp932) {
    return convert("UTF-8", "CP932", cp932);
}

}  // namespace quorlane
