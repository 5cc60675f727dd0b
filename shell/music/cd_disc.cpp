#include "shell/music/cd_disc.h"

namespace quorlane {

int DiscToc::trackIndexAt(int32_t lsn) const {
    if (tracks.empty()) return -1;
    int index = 0;
    for (int i = 0; i < static_cast<int>(tracks.size()); ++i) {
        if (tracks[i].start <= lsn) index = i;
    }
    return index;
}

int DiscToc::trackIndexOf(int number) const {
    for (int i = 0; i < static_cast<int>(tracks.size()); ++i) {
        if (tracks[i].number == number) return i;
    }
    return -1;
}

int32_t DiscToc::trackEnd(int index) const {
    if (index + 1 < static_cast<int>(tracks.size())) return tracks[index + 1].start;
    return leadOut;
}

}  // namespace quorlane
