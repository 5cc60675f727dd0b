// The show's music operations against a backend that records every call and answers
// from a script.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>

#include "shell/music/bgm_player.h"

namespace quorlane {
namespace {

class RecordingBackend final : public MediaBackend {
public:
    struct Answer {
        uint32_t code = 0;
        std::string text;
    };

    std::vector<std::string> sent;
    std::map<std::string, Answer> answers;  // by exact command; others succeed with ""
    bool errorTexts = true;
    uint32_t waveOutputs = 1;
    std::vector<std::pair<std::optional<std::string>, uint32_t>> sounds;

    uint32_t sendString(const std::string& command, std::span<char> result) override {
        sent.push_back(command);
        Answer answer;
        if (auto it = answers.find(command); it != answers.end()) answer = it->second;
        if (answer.code == 0 && !result.empty()) {
            std::size_t n = std::min(answer.text.size(), result.size() - 1);
            std::memcpy(result.data(), answer.text.data(), n);
            result[n] = '\0';
        }
        return answer.code;
    }
    bool errorString(uint32_t code, std::span<char> text) override {
        if (!errorTexts) return false;
        std::string message = "failure " + std::to_string(code);
        std::snprintf(text.data(), text.size(), "%s", message.c_str());
        return true;
    }
    uint32_t waveOutputCount() override { return waveOutputs; }
    bool playSound(const char* name, uint32_t flags) override {
        sounds.emplace_back(name ? std::optional<std::string>(name) : std::nullopt, flags);
        return true;
    }
};

class BgmPlayerTest : public testing::Test {
protected:
    BgmPlayerTest() {
        auto fake = std::make_unique<RecordingBackend>();
        backend = fake.get();
        player = std::make_unique<BgmPlayer>(source, std::move(fake));
    }

    // The disc as the status queries describe it.
    void disc(const std::string& track, const std::string& mode) {
        backend->answers["status cdaudio current track"] = {0, track};
        backend->answers["status cdaudio number of tracks"] = {0, "10"};
        backend->answers["status cdaudio mode"] = {0, mode};
        backend->answers["status cdaudio position track 3"] = {0, "03:00:00:00"};
    }

    std::vector<std::string> poll() {
        backend->sent.clear();
        player->cdPoll();
        return backend->sent;
    }

    MusicSource source;
    RecordingBackend* backend = nullptr;
    std::unique_ptr<BgmPlayer> player;
};

const std::vector<std::string> kStatusQueries = {
    "status cdaudio current track", "status cdaudio number of tracks", "status cdaudio mode"};

TEST_F(BgmPlayerTest, CdOpenAndStopSendTheirCommandsInOrder) {
    player->cdOpen();
    player->cdStop();
    EXPECT_EQ(backend->sent,
              (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                        "stop cdaudio", "close cdaudio"}));
}

TEST_F(BgmPlayerTest, RepeatedTrackIsLeftAloneWhilePlayingAndRestartedOnceTheDiscMovesOn) {
    source.repeatTrack = 3;
    disc("3", "playing");
    EXPECT_EQ(poll(), kStatusQueries);
    EXPECT_TRUE(player->cdAvailable());

    disc("4", "playing");
    std::vector<std::string> expected = kStatusQueries;
    expected.push_back("status cdaudio position track 3");
    expected.push_back("play cdaudio from 03:00:00:00");
    EXPECT_EQ(poll(), expected);
    EXPECT_TRUE(player->cdAvailable());

    // Stopped on the chosen track itself: it is started again too.
    disc("03", "stopped");
    EXPECT_EQ(poll(), expected);
}

TEST_F(BgmPlayerTest, WholeDiscIsPlayedAgainOnlyOnceItHasStopped) {
    source.repeatTrack = 0;
    disc("7", "playing");
    EXPECT_EQ(poll(), kStatusQueries);
    disc("not a number", "stopped");  // the track is not read at all without a repeat track
    std::vector<std::string> expected = kStatusQueries;
    expected.push_back("play cdaudio");
    EXPECT_EQ(poll(), expected);
    EXPECT_TRUE(player->cdAvailable());
}

TEST_F(BgmPlayerTest, FailingStatusQueriesMakeTheCdUnavailable) {
    // No disc: the track count fails.
    disc("1", "stopped");
    backend->answers["status cdaudio number of tracks"] = {276, ""};
    EXPECT_EQ(poll(), (std::vector<std::string>{"status cdaudio current track",
                                                "status cdaudio number of tracks"}));
    EXPECT_FALSE(player->cdAvailable());

    // Never opened: the first query already fails, and no error text is needed to see it.
    backend->errorTexts = false;
    backend->answers["status cdaudio current track"] = {263, ""};
    EXPECT_EQ(poll(), (std::vector<std::string>{"status cdaudio current track"}));
    EXPECT_FALSE(player->cdAvailable());

    // A track that is not a number while a track is to be repeated.
    source.repeatTrack = 3;
    disc("two", "playing");
    EXPECT_EQ(poll(), kStatusQueries);
    EXPECT_FALSE(player->cdAvailable());

    // And the next good poll makes it available again.
    disc("3", "playing");
    poll();
    EXPECT_TRUE(player->cdAvailable());
}

TEST_F(BgmPlayerTest, Mp3StartOpensTheQuotedPathAndPlaysOnlyWhenTheOpenWorked) {
    source.musicFile = "/home/user/My Music/song one.mp3";
    const std::string open =
        "open \"/home/user/My Music/song one.mp3\" type MPEGVideo Alias MP3Play";
    player->mp3Start();
    EXPECT_EQ(backend->sent, (std::vector<std::string>{open, "play MP3Play"}));

    backend->sent.clear();
    backend->answers[open] = {275, ""};
    player->mp3Start();
    EXPECT_EQ(backend->sent, (std::vector<std::string>{open}));
}

TEST_F(BgmPlayerTest, Mp3PollRestartsFromTheBeginningOnlyWhenNotPlaying) {
    backend->answers["status MP3Play mode"] = {0, "playing"};
    EXPECT_TRUE(player->mp3IsPlaying());
    backend->sent.clear();
    player->mp3Poll();
    EXPECT_EQ(backend->sent, (std::vector<std::string>{"status MP3Play mode"}));

    for (RecordingBackend::Answer ended :
         {RecordingBackend::Answer{0, "stopped"}, RecordingBackend::Answer{263, ""}}) {
        backend->answers["status MP3Play mode"] = ended;
        EXPECT_FALSE(player->mp3IsPlaying());
        backend->sent.clear();
        player->mp3Poll();
        EXPECT_EQ(backend->sent, (std::vector<std::string>{"status MP3Play mode", "stop MP3Play",
                                                           "play MP3Play from 0"}));
    }

    backend->sent.clear();
    player->mp3Stop();
    EXPECT_EQ(backend->sent, (std::vector<std::string>{"stop MP3Play", "close MP3Play"}));
}

TEST_F(BgmPlayerTest, WavPlaysLoopingOnlyWhenThereIsAnOutput) {
    source.musicFile = "/music/loop.wav";
    backend->waveOutputs = 0;
    player->wavStart();
    EXPECT_TRUE(backend->sounds.empty());

    backend->waveOutputs = 1;
    player->wavStart();
    player->wavStop();
    ASSERT_EQ(backend->sounds.size(), 2u);
    EXPECT_EQ(backend->sounds[0].first, "/music/loop.wav");
    EXPECT_EQ(backend->sounds[0].second, 9u);
    EXPECT_EQ(backend->sounds[1].first, std::nullopt);
    EXPECT_EQ(backend->sounds[1].second, 0u);
}

TEST_F(BgmPlayerTest, CommandHelpersReportResultsAndErrors) {
    std::string text = "old";
    EXPECT_EQ(player->sendMciCommand("", text), -1);
    EXPECT_EQ(text, "コマンド文字列が指定されていません");
    EXPECT_TRUE(backend->sent.empty());

    backend->answers["status cdaudio mode"] = {0, "playing"};
    EXPECT_EQ(player->sendMciCommand("status cdaudio mode", text), 0);
    EXPECT_EQ(text, "playing");

    backend->answers["status x mode"] = {263, ""};
    EXPECT_EQ(player->sendMciCommand("status x mode", text), 263);
    EXPECT_EQ(text, "failure 263");
    EXPECT_EQ(player->mciStatusText("status x mode"), "Error:263");
    backend->errorTexts = false;
    EXPECT_EQ(player->sendMciCommand("status x mode", text), 263);
    EXPECT_EQ(text, "Error (文字列が取れません)");

    // A long answer is cut to the result buffer, never overrun.
    backend->answers["status cdaudio mode"] = {0, std::string(2000, 'x')};
    EXPECT_EQ(player->sendMciCommand("status cdaudio mode", text), 0);
    EXPECT_EQ(text.size(), 511u);
}

TEST_F(BgmPlayerTest, CdPlayLeavesOutPositionsThatAreNotGiven) {
    player->cdPlay("cdaudio", "02:00:00:00", "03:00:00:00");
    player->cdPlay("cdaudio", "02:00:00:00", "");
    player->cdPlay("cdaudio", "", "03:00:00:00");
    player->cdPlay("cdaudio", "", "");
    EXPECT_EQ(backend->sent,
              (std::vector<std::string>{"play cdaudio from 02:00:00:00 to 03:00:00:00",
                                        "play cdaudio from 02:00:00:00",
                                        "play cdaudio to 03:00:00:00", "play cdaudio"}));
}

}  // namespace
}  // namespace quorlane
