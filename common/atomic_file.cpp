#include "common/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>

#include "common/file_path.h"
#include "common/write_all.h"

namespace quorlane {

namespace {

// The target's name, a dot and six letters or digits: the one shape of our temporaries, which
// a later start recognises when a killed writer left one behind.
std::string temporaryNameFor(const std::string& path) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::atomic<unsigned> counter{0};
    std::minstd_rand random(
        static_cast<unsigned>(::getpid()) * 7919u + counter++ +
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::string name = path + ".";
    for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

// The shape temporaryNameFor gives: the target's name, a dot and six letters or digits.
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

bool replaceFileAtomically(const std::string& path, std::string_view bytes, int mode,
                           Durability durability) {
    return replaceFileAtomically(
        path, [&](const PieceWriter& write) { return write(bytes); }, mode, durability);
}

bool replaceFileAtomically(const std::string& path,
                           const std::function<bool(const PieceWriter&)>& contents, int mode,
                           Durability durability) {
    const bool flush = durability == Durability::SurvivesCrash;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryNameFor(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    mode == kModeFromUmask ? 0666 : 0600);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    ::flock(fd, LOCK_EX);  // held until closed, so a cleanup never takes a file being written
    int error = 0;
    if (mode != kModeFromUmask && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) error = errno;
    if (error == 0) {
        errno = 0;
        if (!contents([fd](std::string_view piece) { return writeAll(fd, piece); })) {
            error = errno != 0 ? errno : EIO;
        }
    }
    if (error == 0 && flush && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        errno = error;  // the caller may say why
        return false;
    }
    if (!flush) return true;
    // Make the rename itself durable; the new file is complete whether or not this succeeds.
    std::string folder = folderOfPath(path);
    if (folder.empty()) folder = ".";
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

void removeStaleTemporaries(const std::string& file, std::chrono::seconds olderThan) {
    std::string folder = folderOfPath(file);
    if (folder.empty()) folder = ".";
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
