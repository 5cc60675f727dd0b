#include "shell/music/lazy_music_player.h"

namespace quorlane {

MusicPlayer* LazyMusicPlayer::started() {
    if (make_) {
        auto make = std::move(make_);
        make_ = nullptr;  // tried once: a player that cannot be made is not tried for again
        player_ = make();
    }
    return player_.get();
}

// Starting music makes the player; polling and stopping before any start has nothing to do.
void LazyMusicPlayer::cdOpen() {
    if (MusicPlayer* p = started()) p->cdOpen();
}
void LazyMusicPlayer::mp3Start() {
    if (MusicPlayer* p = started()) p->mp3Start();
}
void LazyMusicPlayer::wavStart() {
    if (MusicPlayer* p = started()) p->wavStart();
}

void LazyMusicPlayer::cdPoll() {
    if (player_) player_->cdPoll();
}
bool LazyMusicPlayer::cdAvailable() const { return player_ && player_->cdAvailable(); }
void LazyMusicPlayer::cdStop() {
    if (player_) player_->cdStop();
}
void LazyMusicPlayer::mp3Poll() {
    if (player_) player_->mp3Poll();
}
void LazyMusicPlayer::mp3Stop() {
    if (player_) player_->mp3Stop();
}
void LazyMusicPlayer::wavStop() {
    if (player_) player_->wavStop();
}

}  // namespace quorlane
