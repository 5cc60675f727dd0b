#include "shell/platform/private_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include <cstdio>
#include <cstdlib>

#include "common/desktop_image_location.h"
#include "common/file_path.h"

namespace quorlane {

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

void removeFilesOfEndedProcesses(
    const std::string& folder,
    const std::function<std::optional<long>(const std::string&)>& ownerOf) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const std::optional<long> owner = ownerOf(name);
        // Gone only when the system says there is no such process; one of another user's
        // (EPERM) is someone's.
        if (!owner || kill(static_cast<pid_t>(*owner), 0) == 0 || errno != ESRCH) continue;
        struct stat info {};
        if (fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == geteuid()) {
            unlinkat(dirFd, name.c_str(), 0);
        }
    }
    closedir(dir);
}

}  // namespace quorlane
