#include "shell/platform/private_files.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quorlane {

namespace {

bool ownedFolder(const std::string& folder) {
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

}  // namespace

bool makePrivateFolder(const std::string& folder) {
    if (folder.empty()) return false;
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);  // an existing parent is fine
    }
    mkdir(folder.c_str(), 0700);
    return ownedFolder(folder);
}

}  // namespace quorlane
