#include "shell/show/music_choice.h"

#include "common/ascii_case.h"

namespace quorlane {

MusicKind musicKindOf(const std::string& musicFile) {
    if (musicFile.size() < 3) return MusicKind::None;
    const std::string ending = asciiUppercase(musicFile.substr(musicFile.size() - 3));
    if (ending == "WAV") return MusicKind::Wav;
    if (ending == "MP3") return MusicKind::Mp3;
    return MusicKind::None;
}

}  // namespace quorlane
