#include "common/file_path.h"

namespace quorlane {

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

}  // namespace quorlane
