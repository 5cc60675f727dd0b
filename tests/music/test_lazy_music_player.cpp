// The player made on first use: nothing is made (no audio library loaded) until music
// starts, it is made once, and a player that cannot be made leaves the show silent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/music/lazy_music_player.h"
#include "tests/support/recording_fakes.h"

namespace quorlane {
namespace {

void call(LazyMusicPlayer& player, const std::string& name, std::string& available) {
    if (name == "cdOpen") player.cdOpen();
    if (name == "cdPoll") player.cdPoll();
    if (name == "cdAvailable") available += player.cdAvailable() ? "1" : "0";
    if (name == "cdStop") player.cdStop();
    if (name == "mp3Start") player.mp3Start();
    if (name == "mp3Poll") player.mp3Poll();
    if (name == "mp3Stop") player.mp3Stop();
    if (name == "wavStart") player.wavStart();
    if (name == "wavStop") player.wavStop();
}

TEST(LazyMusicPlayer, MakesThePlayerOnceAtTheFirstStartAndPassesEverythingOn) {
    struct Case {
        const char* name;
        bool canBeMade;
        std::vector<std::string> calls;
        int made;                           // times the factory ran
        std::vector<std::string> passedOn;  // what the real player saw
        const char* available;              // cdAvailable's answers, in order
    };
    const Case cases[] = {
        {"nothing started: polls and stops make nothing",
         true,
         {"cdPoll", "cdAvailable", "mp3Poll", "cdStop", "mp3Stop", "wavStop"},
         0,
         {},
         "0"},
        {"an MP3",
         true,
         {"mp3Poll", "mp3Start", "mp3Poll", "mp3Poll", "mp3Stop"},
         1,
         {"mp3Start", "mp3Poll", "mp3Poll", "mp3Stop"},
         ""},
        {"a CD",
         true,
         {"cdOpen", "cdAvailable", "cdPoll", "cdStop", "cdOpen"},
         1,
         {"cdOpen", "cdAvailable", "cdPoll", "cdStop", "cdOpen"},
         "1"},
        {"a WAV", true, {"wavStart", "wavStop"}, 1, {"wavStart", "wavStop"}, ""},
        {"a player that cannot be made: tried once, then silence",
         false,
         {"wavStart", "wavStop", "cdOpen", "cdAvailable", "mp3Start"},
         1,
         {},
         "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> passedOn;
        int made = 0;
        LazyMusicPlayer player([&]() -> std::unique_ptr<MusicPlayer> {
            ++made;
            if (!c.canBeMade) return nullptr;
            auto made = std::make_unique<test::RecordingMusic>(passedOn);
            made->recordsAvailabilityQueries = true;
            return made;
        });
        std::string available;
        for (const std::string& name : c.calls) call(player, name, available);
        EXPECT_EQ(made, c.made);
        EXPECT_EQ(passedOn, c.passedOn);
        EXPECT_EQ(available, c.available);
    }
}

}  // namespace
}  // namespace quorlane
