#include "common/file_path.h"

#include "common/cp932_lead_byte.h"

namespace quorlane {

#ifdef _WIN32

namespace {

// Where the last of the separators ends (0 for none), character by character: the second byte of a
// double-byte character in the ANSI code page may be 0x5C, the backslash ("表" is 95 5C).
std::size_t endOfLastSeparator(std::string_view path, std::string_view separators) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (separators.find(path[i]) != std::string_view::npos) end = i + 1;
        if (isCp932LeadByte(static_cast<unsigned char>(path[i]))) ++i;
    }
    return end;
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
