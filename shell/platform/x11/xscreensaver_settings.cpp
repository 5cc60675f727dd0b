#include "shell/platform/x11/xscreensaver_settings.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "common/read_only_open.h"
#include "shell/core/desktop_grab_preference.h"

namespace quorlane {

namespace {

constexpr char kSystemDefaults[] = "/etc/X11/app-defaults/XScreenSaver";
// Far beyond any settings file; a larger "file" is no settings file.
constexpr off_t kLargestSettingsFile = 4 << 20;

std::optional<std::string> readSettingsText(const std::string& path) {
    const int fd = ::open(path.c_str(), kReadOnlyOpenFlags);
    if (fd < 0) return std::nullopt;
    struct stat status {};
    std::optional<std::string> text;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_size <= kLargestSettingsFile) {
        text.emplace();
        char buffer[8192];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text->append(buffer, n);
        if (n < 0) text.reset();
    }
    ::close(fd);
    return text;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

bool xscreensaverAllowsDesktop(const std::string& home) {
    const std::string folder = home.empty() ? homeFolder() : home;
    std::optional<std::string> user;
    if (!folder.empty()) user = readSettingsText(folder + "/.xscreensaver");
    return desktopGrabAllowed(user, readSettingsText(kSystemDefaults));
}

}  // namespace quorlane
