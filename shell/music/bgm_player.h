#pragma once
// The show's background music operations, spoken as command strings to a MediaBackend.
#include <cstdint>
#include <memory>
#include <string>

#include "shell/music/media_backend.h"
#include "shell/music/music_player.h"

namespace quorlane {

class BgmPlayer final : public MusicPlayer {
public:
    // source must outlive the player; music file and repeat track are read at each call.
    BgmPlayer(const MusicSource& source, std::unique_ptr<MediaBackend> backend);
    ~BgmPlayer() override;

    void cdOpen() override;
    void cdPoll() override;
    bool cdAvailable() const override { return cdAvailable_; }
    void cdStop() override;
    void mp3Start() override;
    bool mp3IsPlaying();
    void mp3Poll() override;
    void mp3Stop() override;
    void wavStart() override;
    void wavStop() override;

    // Sends a command and puts its answer, or the text of its error, into resultText.
    // Returns 0, the backend's error code, or -1 for an empty command (not sent).
    int32_t sendMciCommand(const std::string& command, std::string& resultText);
    // The answer of a status query, or "Error:" and the code when it fails.
    std::string mciStatusText(const std::string& command);
    // "play <device> [from <from>] [to <to>]"; an empty position is left out.
    int32_t cdPlay(const std::string& device, const std::string& fromPosition,
                   const std::string& toPosition);

private:
    void sendQuietly(const std::string& command);

    const MusicSource& source_;
    std::unique_ptr<MediaBackend> backend_;
    bool cdAvailable_ = false;
};

}  // namespace quorlane
