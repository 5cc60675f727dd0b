#include "common/file_path.h"

namespace quorlane {

#ifdef _WIN32

namespace {

// Where the last of the separators ends (0 for none). Paths are UTF-8, whose multi-byte
// characters hold no byte below 0x80: a ":" or "\" byte is always the character itself.
std::size_t endOfLastSeparator(std::string_view path, std::string_view separators) {
    const std::size_t last = path.find_last_of(separators);
    return last == std::string_view::npos ? 0 : last + 1;
}

}  // namespace

std::string folderOfPath(const std::string& path) {
    const std::size_t end = endOfLastSeparator(path, ":\\");
    if (end == 0) return {};
    std::string folder = path.substr(0, end);
    if (folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string joinedPath(std::string folder, std::string_view name) {
    if (!folder.empty() && endOfLastSeparator(folder, "\\/") != folder.size()) folder += '\\';
    folder += name;
    return folder;
}

bool isAbsolutePath(const char* path) {
    if (path == nullptr) return false;
    const bool drive = path[0] != '\0' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool share = path[0] == '\\' && path[1] == '\\';
    return drive || share;
}

#else

bool isAbsolutePath(const char* path) { return path != nullptr && path[0] == '/'; }

std::string folderOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    // The root keeps its one "/": it is a folder name of its own, unlike a drive's "C:".
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string joinedPath(std::string folder, std::string_view name) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder != "/") folder += '/';
    folder += name;
    return folder;
}

#endif

}  // namespace quorlane
