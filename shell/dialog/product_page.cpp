#include "shell/dialog/product_page.h"

#include <vector>

#include "common/file_path.h"

namespace quorlane {

std::string productPagePath(const std::string& programFolder, bool installed) {
    if (!installed) return joinedPath(programFolder, kProductPageName);
    const std::string prefix = folderOfPath(folderOfPath(programFolder));
    return joinedPath(
        joinedPath(prefix.empty() ? std::string(1, kPathSeparator) : prefix, "share/doc/quorlane"),
        kProductPageName);
}

std::string fileAddress(const std::string& path) {
    std::string address = "file://";
#ifdef _WIN32
    const bool share = path.size() > 1 && path[0] == '\\' && path[1] == '\\';
    std::string rest = share ? path.substr(2) : path;
    if (!share) address += '/';  // file:///C:/...
#else
    const std::string& rest = path;
#endif
    for (const char c : rest) {
        switch (c) {
#ifdef _WIN32
        case '\\': address += '/'; break;
#endif
        case '%': address += "%25"; break;
        case '#': address += "%23"; break;
        case '?': address += "%3F"; break;
        case ' ': address += "%20"; break;
        default: address += c;
        }
    }
    return address;
}

std::string elidedInMiddle(const std::string& text, int width,
                           const std::function<int(const std::string&)>& measure) {
    if (measure(text) <= width) return text;
    // Where each character starts: UTF-8 continuation bytes are 10xxxxxx.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    const std::size_t count = starts.size();
    for (std::size_t kept = count - 1; kept > 0; --kept) {
        const std::size_t head = kept / 3;
        const std::size_t tail = kept - head;
        std::string cut = text.substr(0, head < count ? starts[head] : text.size()) + "…" +
                          text.substr(starts[count - tail]);
        if (measure(cut) <= width) return cut;
    }
    return "…";
}

std::string productPageProblemMessage(PageProblem problem, const std::string& address) {
    if (problem == PageProblem::Missing) {
        return "ホームページが見つかりません。\n" + address;
    }
    return "ホームページを開くブラウザが見つかりません。\n" + address;
}

}  // namespace quorlane
