#include "shell/music/music_player.h"

#include "shell/music/bgm_player.h"
#include "shell/music/system_media_backend.h"

namespace quorlane {

std::unique_ptr<MusicPlayer> createSystemMusicPlayer(const MusicSource& source) {
    return std::make_unique<BgmPlayer>(source, std::make_unique<SystemMediaBackend>());
}

}  // namespace quorlane
