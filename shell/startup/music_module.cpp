// The music part of Quorlane.scr (see shell_modules.h): the player on SDL2_mixer and libcdio.
#include "shell/music/music_player.h"
#include "shell/startup/shell_modules.h"

namespace {

quorlane::MusicPlayer* createPlayer(const quorlane::MusicSource& source) {
    return quorlane::createSystemMusicPlayer(source).release();
}

}  // namespace

extern "C" const quorlane::MusicModule quorlane_music_module = {createPlayer};
