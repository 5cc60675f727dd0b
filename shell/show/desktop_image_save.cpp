#include "shell/show/desktop_image_save.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/atomic_file.h"

namespace quorlane {

bool saveDesktopImageFile(const std::string& file, const XrgbPixels& picture, int32_t dotsPerMeterX,
                          int32_t dotsPerMeterY) {
    // The show goes on without its picture; the user is told why in one line.
    if (file.empty()) {
        std::fprintf(stderr,
                     "Quorlane.scr: cannot save the desktop picture: no folder of "
                     "this user's own to keep it in\n");
        return false;
    }
    // Only this show's renderer reads it, and the next show writes it anew: it must never be
    // seen half written, but need not outlast a crash, so the start does not wait for the disk.
    bool encodable = true;
    errno = 0;
    const auto contents = [&](const PieceWriter& write) {
        bool written = true;
        const bool whole =
            writeBmpFile(picture, dotsPerMeterX, dotsPerMeterY,
                         [&](std::string_view piece) { return written = write(piece); });
        encodable = whole || !written;  // a failed write is not a picture that cannot be encoded
        return whole;
    };
    if (replaceFileAtomically(file, contents, 0600, Durability::RemadeAtEachUse)) return true;
    const int error = errno;
    std::fprintf(
        stderr, "Quorlane.scr: cannot save the desktop picture %s: %s\n", file.c_str(),
        encodable && error != 0 ? std::strerror(error) : "the picture could not be encoded");
    return false;
}

}  // namespace quorlane
