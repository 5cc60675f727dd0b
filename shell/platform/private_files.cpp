#include "shell/platform/private_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/desktop_image_location.h"
#include "common/file_path.h"

namespace quorlane {

namespace {

// What replaceFileAtomically appends to the target's name: a dot and six letters or digits.
bool isTemporaryOf(const std::string& name, const std::string& target) {
    if (name.size() != target.size() + 7 || name.compare(0, target.size(), target) != 0 ||
        name[target.size()] != '.') {
        return false;
    }
    for (std::size_t i = target.size() + 1; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool makePrivateFolder(const std::string& folder) {
    if (folder.empty()) return false;
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);  // an existing parent is fine
    }
    mkdir(folder.c_str(), 0700);
    // Judged on the folder itself, opened without following a link in its place.
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool ours = fstat(fd, &info) == 0 && info.st_uid == geteuid();
    // Closing it to others is best effort (a read-only disc refuses): the renderer takes
    // the first folder of ours whatever its mode, and both programs must pick the same one.
    if (ours && (info.st_mode & 077) != 0) fchmod(fd, 0700);
    close(fd);
    return ours && isOwnFolder(folder);
}

std::string preparePrivateFolder(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (makePrivateFolder(folder)) return folder;
    }
    return {};
}

void removeStaleTemporaries(const std::string& file, std::chrono::seconds olderThan) {
    const std::string folder = folderOfPath(file);
    if (folder.empty()) return;
    const std::string target = file.substr(file.rfind('/') + 1);
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    const int dirFd = dirfd(dir);
    const time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isTemporaryOf(name, target)) continue;
        const int fd = openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        // A writer holds its lock until the rename; an unlocked, idle file has no writer.
        const bool stale = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                           info.st_uid == geteuid() && now - info.st_mtime >= olderThan.count() &&
                           flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (stale) unlinkat(dirFd, name.c_str(), 0);
        close(fd);
    }
    closedir(dir);
}

}  // namespace quorlane
