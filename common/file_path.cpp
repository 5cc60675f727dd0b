#include "common/file_path.h"

namespace quorlane {

#ifdef _WIN32

std::string folderOfPath(const std::string& path) {
    const std::size_t last = path.find_last_of(":\\");
    if (last == std::string::npos) return {};
    std::string folder = path.substr(0, last + 1);
    if (folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string joinedPath(std::string folder, std::string_view name) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    folder += name;
    return folder;
}

#else

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
