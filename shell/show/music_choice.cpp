#include "shell/show/music_choice.h"

#include <cctype>

namespace quorlane {

MusicKind musicKindOf(const std::string& musicFile) {
    if (musicFile.size() < 3) return MusicKind::None;
    std::string ending = musicFile.substr(musicFile.size() - 3);
    for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (ending == "WAV") return MusicKind::Wav;
    if (ending == "MP3") return MusicKind::Mp3;
    return MusicKind::None;
}

}  // namespace quorlane
