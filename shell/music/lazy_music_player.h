#pragma once
// A music player made on its first use. Music needs the audio libraries, which are loaded
// only for a show that plays music; until then nothing is loaded. When the player cannot be
// made, the show goes on without music, as for any other music failure.
#include <functional>
#include <memory>

#include "shell/music/music_player.h"

namespace quorlane {

class LazyMusicPlayer : public MusicPlayer {
public:
    using Factory = std::function<std::unique_ptr<MusicPlayer>()>;
    explicit LazyMusicPlayer(Factory make) : make_(std::move(make)) {}

    void cdOpen() override;
    void cdPoll() override;
    bool cdAvailable() const override;
    void cdStop() override;
    void mp3Start() override;
    void mp3Poll() override;
    void mp3Stop() override;
    void wavStart() override;
    void wavStop() override;

private:
    // The real player, made at the first call that starts music; null before, or for good
    // when it could not be made.
    MusicPlayer* started();
    Factory make_;
    std::unique_ptr<MusicPlayer> player_;
};

}  // namespace quorlane
