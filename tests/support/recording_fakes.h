#pragma once
// Stand-ins for the music player and the system cursor that tests of the show, its window,
// start-up and the lazy player share: each writes down what it was asked, in order.
#include <functional>
#include <string>
#include <vector>

#include "shell/core/cursor_display_count.h"
#include "shell/music/music_player.h"

namespace quorlane::test {

// Writes each call's name into the list it is given (which a test may share with other fakes,
// to see the order across them); `onCall` runs after each, for a test that acts on a call.
class RecordingMusic : public MusicPlayer {
public:
    explicit RecordingMusic(std::vector<std::string>& calls) : calls_(calls) {}

    bool cdIsAvailable = true;
    bool recordsAvailabilityQueries = false;  // cdAvailable is a query, not an action
    std::function<void(const std::string&)> onCall;

    void cdOpen() override { record("cdOpen"); }
    void cdPoll() override { record("cdPoll"); }
    bool cdAvailable() const override {
        if (recordsAvailabilityQueries) record("cdAvailable");
        return cdIsAvailable;
    }
    void cdStop() override { record("cdStop"); }
    void mp3Start() override { record("mp3Start"); }
    void mp3Poll() override { record("mp3Poll"); }
    void mp3Stop() override { record("mp3Stop"); }
    void wavStart() override { record("wavStart"); }
    void wavStop() override { record("wavStop"); }

private:
    void record(const std::string& call) const {
        calls_.push_back(call);
        if (onCall) onCall(call);
    }
    std::vector<std::string>& calls_;
};

// Every change of the cursor's visibility, in order.
struct RecordingCursor : CursorVisibility {
    std::vector<bool> changes;
    void setCursorVisible(bool visible) override { changes.push_back(visible); }
};

}  // namespace quorlane::test
