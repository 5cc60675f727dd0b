#pragma once
// Which kind of music file a show plays, by the file name's ending alone.
#include <string>

namespace quorlane {

enum class MusicKind { None, Wav, Mp3 };

// The last three characters, upper-cased: "WAV" or "MP3"; anything else plays nothing.
MusicKind musicKindOf(const std::string& musicFile);

}  // namespace quorlane
