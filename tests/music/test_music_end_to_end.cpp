// The music player on the real audio services, heard through SDL's disk driver (which
// writes what would be played to a file, here about twenty times faster than real time).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "shell/music/audio_output.h"
#include "shell/music/bgm_player.h"
#include "shell/music/system_media_backend.h"
#include "tests/support/temp_folder.h"
#include "tone_tools.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Heard;

constexpr double kTrack1 = 440, kTrack2 = 880, kTrack3 = 1760;
constexpr int kTrackSectors = 45;  // 0.6 s a track

class MusicEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (folder / "heard.raw").c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        unsetenv("QUORLANE_CDROM");
    }
    void TearDown() override { player.reset(); }

    void startPlayer() {
        player = std::make_unique<BgmPlayer>(source, std::make_unique<SystemMediaBackend>());
    }

    // Stops everything (the output's file is complete once the player is gone).
    std::vector<Heard> heard(const std::vector<double>& tones) {
        player.reset();
        return test::listen(test::readSamples(folder / "heard.raw"), tones);
    }

    void openDisc() {
        setenv("QUORLANE_CDROM",
               test::writeDiscImage(folder, {kTrack1, kTrack2, kTrack3}, kTrackSectors).c_str(), 1);
        startPlayer();
        player->cdOpen();
        waitForDisc();
    }

    // Waits until the output has written this much sound (a guard only stops a hang).
    void waitUntilHeard(double seconds) {
        const auto bytes = static_cast<std::uintmax_t>(seconds * AudioOutput::kFrequency * 4);
        const fs::path file = folder / "heard.raw";
        std::error_code error;
        for (auto guard = std::chrono::steady_clock::now() + 30s;
             fs::file_size(file, error) < bytes || error;) {
            ASSERT_LT(std::chrono::steady_clock::now(), guard) << "nothing heard";
            std::this_thread::sleep_for(1ms);
        }
    }

    void waitForDisc() {
        auto deadline = std::chrono::steady_clock::now() + 5s;
        while (player->mciStatusText("status cdaudio mode") == "not ready" &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
    }

    test::TempFolder temp;  // goes after the player, which may still write into it
    fs::path folder = temp.path();
    MusicSource source;
    std::unique_ptr<BgmPlayer> player;
};

TEST_F(MusicEndToEnd, WavLoopsUntilStopped) {
    source.musicFile = (folder / "loop.wav").string();
    test::writeWav(source.musicFile, 660, 0.25);
    startPlayer();
    player->wavStart();
    waitUntilHeard(4 * 0.25);
    player->wavStop();
    std::vector<Heard> result = heard({660});
    EXPECT_GT(test::secondsOf(result, 660), 3 * 0.25);
    // One unbroken tone: the loop has no gaps.
    EXPECT_EQ(test::toneOrder(result), std::vector<double>{660});
    EXPECT_LE(
        std::count_if(result.begin(), result.end(), [](const Heard& h) { return h.hz == 660; }), 1);
}

// Peak resident memory of this process so far, in MiB.
long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

TEST_F(MusicEndToEnd, ALongLowRateWavStreamsInLittleMemory) {
    // 100 minutes of 8 kHz 8-bit mono: 48 MB on disc, over a gigabyte once resampled to the
    // output's format. Its first quarter second is a tone; the rest is left as a hole in the
    // file, which costs no disc space and reads as a flat line.
    constexpr uint32_t kRate = 8000;
    constexpr uint32_t kDataBytes = 48'000'000;
    source.musicFile = (folder / "long.wav").string();
    {
        std::ofstream out(source.musicFile, std::ios::binary);
        test::putWavHeader(out, kRate, 1, 8, kDataBytes);
        for (uint32_t i = 0; i < kRate / 4; ++i) {
            out.put(
                static_cast<char>(128 + std::lround(100 * std::sin(2 * M_PI * 500 * i / kRate))));
        }
    }
    std::filesystem::resize_file(source.musicFile, 44 + kDataBytes);

    startPlayer();
    const long before = peakMegabytes();
    player->wavStart();
    waitUntilHeard(4.0);
    // Neither the file (48 MB) nor its resampled form was ever held whole.
    EXPECT_LT(peakMegabytes() - before, 40);
    player->wavStop();
    EXPECT_EQ(test::toneOrder(heard({500})), std::vector<double>{500});
}

// A drive that never answers: opening it (here a FIFO nobody writes to) blocks for good.
TEST_F(MusicEndToEnd, AHangingDriveNeverHoldsUpTheEnd) {
    const fs::path drive = folder / "drive";
    ASSERT_EQ(::mkfifo(drive.c_str(), 0600), 0);
    setenv("QUORLANE_CDROM", drive.c_str(), 1);
    for (bool stoppedFirst : {true, false}) {
        startPlayer();
        player->cdOpen();
        for (int i = 0; i < 3; ++i) {
            player->cdPoll();
            EXPECT_TRUE(player->cdAvailable()) << "a slow drive is not a missing one";
        }
        // The show stops the CD when its poll still runs; either way the player then goes.
        if (stoppedFirst) player->cdStop();
        // The drive never answers while the end runs, so an end that waited on it would never
        // come; the wait below is only there to report that instead of hanging.
        auto ended = std::async(std::launch::async, [&] { player.reset(); });
        EXPECT_EQ(ended.wait_for(30s), std::future_status::ready)
            << "stopped first: " << stoppedFirst;
        // Should the end wait on the drive after all, the drive answers (with nothing, at every
        // open) so that this test can end.
        for (auto deadline = std::chrono::steady_clock::now() + 10s;
             ended.wait_for(1ms) != std::future_status::ready;) {
            int fd = ::open(drive.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
            if (std::chrono::steady_clock::now() > deadline) std::_Exit(1);
        }
    }
}

// Every wait here is for a state or for sound heard, never for a stretch of time, and
// nothing depends on when this thread gets to run: a busy machine only makes it slower.
TEST_F(MusicEndToEnd, Mp3PlaysAndStartsAgainAfterItEnds) {
    setenv("SDL_DISKAUDIODELAY", "23", 1);  // the output's own pace, to hear the plays apart
    source.musicFile = std::string(QUORLANE_SOURCE_DIR) + "/tests/music/fixtures/tone-880hz.mp3";
    const auto mode = [&] { return player->mciStatusText("status MP3Play mode"); };
    const auto whyNotOpen = [&] {
        std::string text;
        BgmPlayer probe(source, std::make_unique<SystemMediaBackend>());
        int32_t code = probe.sendMciCommand(
            "open \"" + source.musicFile + "\" type MPEGVideo alias Probe", text);
        return std::to_string(code) + " " + text;
    };
    const auto waitUntilStopped = [&] {
        auto deadline = std::chrono::steady_clock::now() + 5s;
        while (mode() == "playing" && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        EXPECT_EQ(mode(), "stopped");
    };
    // After the end, a tenth of a second of silence, so that the plays are heard apart.
    const auto hearSilence = [&] {
        auto size = [&] { return fs::file_size(folder / "heard.raw"); };
        const auto until = size() + AudioOutput::kFrequency * 4 / 10;
        auto deadline = std::chrono::steady_clock::now() + 5s;
        while (size() < until && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
    };

    startPlayer();
    player->mp3Start();
    // Playing, or already over if this thread was held up for half a second: open either way.
    ASSERT_TRUE(mode() == "playing" || mode() == "stopped") << mode() << ", open: " << whyNotOpen();
    for (int restart = 0; restart < 3; ++restart) {
        waitUntilStopped();
        hearSilence();
        player->mp3Poll();
    }
    waitUntilStopped();
    hearSilence();
    player->mp3Stop();
    EXPECT_EQ(mode(), "Error:263");
    std::vector<Heard> result = heard({880});
    std::string runs;
    for (const Heard& h : result)
        runs += std::to_string(h.hz) + ":" + std::to_string(h.seconds) + " ";
    // Four whole plays of half a second each, apart; each is heard as up to two listening
    // windows shorter than it is.
    EXPECT_EQ(test::toneOrder(result), std::vector<double>{880});
    EXPECT_EQ(
        std::count_if(result.begin(), result.end(), [](const Heard& h) { return h.hz == 880; }), 4)
        << runs;
    EXPECT_GT(test::secondsOf(result, 880), 4 * 0.45) << runs;
    EXPECT_LT(test::secondsOf(result, 880), 4 * 0.5 + 0.05) << runs;
}

TEST_F(MusicEndToEnd, BrokenFilesPlayNothingAndFailQuietly) {
    std::ofstream(folder / "empty.mp3");
    std::ofstream(folder / "noise.mp3") << std::string(5000, '\x5a');
    std::ofstream(folder / "noise.wav") << "RIFF not really";
    startPlayer();
    for (const char* name : {"empty.mp3", "noise.mp3", "missing.mp3", "noise.wav", "missing.wav"}) {
        source.musicFile = (folder / name).string();
        player->mp3Start();
        player->mp3Poll();
        player->mp3Poll();
        EXPECT_FALSE(player->mp3IsPlaying()) << name;
        player->mp3Stop();
        player->wavStart();
        player->wavStop();
    }
    std::this_thread::sleep_for(50ms);
    std::vector<Heard> result = heard({440, 880});
    EXPECT_TRUE(test::toneOrder(result).empty());
}

TEST_F(MusicEndToEnd, DiscPlaysTrackAfterTrackAndLoops) {
    source.repeatTrack = 0;
    openDisc();
    // Polled as the show polls, until the disc has come round to track 1 and played it out
    // (the count only stops a disc that never comes round from hanging the run).
    bool cameRound = false;
    for (int last = 1, polls = 0;; ++polls) {
        ASSERT_LT(polls, 4000) << "the disc never came round to track 1";
        player->cdPoll();
        ASSERT_TRUE(player->cdAvailable());
        const int track = std::stoi(player->mciStatusText("status cdaudio current track"));
        if (track < last) cameRound = true;
        if (cameRound && track > 1) break;
        last = track;
        std::this_thread::sleep_for(5ms);
    }
    std::vector<double> order = test::toneOrder(heard({kTrack1, kTrack2, kTrack3}));
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(std::vector<double>(order.begin(), order.begin() + 4),
              (std::vector<double>{kTrack1, kTrack2, kTrack3, kTrack1}));
}

TEST_F(MusicEndToEnd, DiscReportsTracksModeAndPositions) {
    openDisc();
    EXPECT_EQ(player->mciStatusText("status cdaudio number of tracks"), "3");
    EXPECT_EQ(player->mciStatusText("status cdaudio current track"), "1");
    EXPECT_EQ(player->mciStatusText("status cdaudio mode"), "stopped");
    EXPECT_EQ(player->mciStatusText("status cdaudio position track 3"), "03:00:00:00");
    std::string ignored;
    ASSERT_EQ(player->sendMciCommand("play cdaudio from 02:00:00:00 to 02:00:00:30", ignored), 0);
    EXPECT_EQ(player->mciStatusText("status cdaudio mode"), "playing");
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (player->mciStatusText("status cdaudio mode") == "playing" &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(player->mciStatusText("status cdaudio mode"), "stopped");
    EXPECT_EQ(player->mciStatusText("status cdaudio position"), "02:00:00:30");
    EXPECT_EQ(player->mciStatusText("status cdaudio current track"), "2");
    player->cdStop();
    EXPECT_EQ(player->mciStatusText("status cdaudio mode"), "Error:263");
    std::vector<Heard> result = heard({kTrack1, kTrack2, kTrack3});
    EXPECT_EQ(test::toneOrder(result), std::vector<double>{kTrack2});
    EXPECT_NEAR(test::secondsOf(result, kTrack2), 0.4, 0.06);
}

TEST_F(MusicEndToEnd, NoUsableDiscMakesTheCdUnavailableAtTheFirstPoll) {
    std::ofstream(folder / "garbage.cue") << "TRACK banana\n\x01\x02";
    std::ofstream(folder / "lonely.cue")
        << "FILE \"lonely.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    for (fs::path source : {fs::path("/dev/null"), folder / "nothing-here.cue",
                            folder / "garbage.cue", folder / "lonely.cue", folder}) {
        setenv("QUORLANE_CDROM", source.c_str(), 1);
        startPlayer();
        player->cdOpen();
        waitForDisc();
        player->cdPoll();
        EXPECT_FALSE(player->cdAvailable()) << source;
        player->cdStop();
        player.reset();
    }
}

// Starting the sound must not take over the signals that end the program.
TEST_F(MusicEndToEnd, TerminationSignalsStillEndTheProgramOnceMusicPlays) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    source.musicFile = (folder / "loop.wav").string();
    test::writeWav(source.musicFile, 660, 0.25);
    for (int signal : {SIGTERM, SIGINT}) {
        EXPECT_EXIT(
            {
                startPlayer();
                player->wavStart();
                std::raise(signal);
                std::this_thread::sleep_for(200ms);
                std::_Exit(0);
            },
            testing::KilledBySignal(signal), "")
            << signal;
    }
}

TEST_F(MusicEndToEnd, WithoutASoundDeviceNothingPlaysAndNothingFails) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    source.musicFile = (folder / "loop.wav").string();
    test::writeWav(source.musicFile, 660, 0.1);
    startPlayer();
    player->wavStart();
    player->mp3Start();
    EXPECT_FALSE(player->mp3IsPlaying());
    player->cdOpen();
    player->cdPoll();
    EXPECT_FALSE(player->cdAvailable());
    // Asked again, it stays quiet (bench/music.sh times these calls: the missing device is
    // found out once, not looked for again at every call).
    for (int i = 0; i < 50; ++i) {
        player->wavStart();
        player->mp3Poll();
    }
    EXPECT_FALSE(player->mp3IsPlaying());
    player.reset();
}

}  // namespace
}  // namespace quorlane
