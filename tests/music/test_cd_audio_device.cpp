// The CD device on a disc in memory, its audio callback driven by hand: what is heard,
// and the mode, track and positions it reports from that.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "shell/music/cd_audio_device.h"
#include "shell/music/cd_position.h"
#include "shell/music/mci_errors.h"
#include "tests/support/must_return.h"

namespace quorlane {
namespace {

using namespace mci;

// Every sample of a sector holds its sector number plus one, so what was heard can be read
// back as sector numbers (0 is silence).
class MemoryDisc final : public CdDisc {
public:
    MemoryDisc(std::vector<CdTrack> tracks, int32_t leadOut, int32_t failAt = -1)
        : failAt_(failAt) {
        toc_.tracks = std::move(tracks);
        toc_.leadOut = leadOut;
    }
    const DiscToc& toc() const override { return toc_; }
    bool readAudio(int32_t lsn, int count, uint8_t* out) override {
        EXPECT_GE(lsn, 0);
        EXPECT_LE(lsn + count, toc_.leadOut);
        for (int i = 0; i < count; ++i) {
            if (lsn + i == failAt_) return false;
            EXPECT_TRUE(toc_.tracks[toc_.trackIndexAt(lsn + i)].audio) << "data sector read";
            auto* samples = reinterpret_cast<int16_t*>(out + std::size_t(i) * kCdSectorBytes);
            for (int s = 0; s < kCdSectorBytes / 2; ++s)
                samples[s] = static_cast<int16_t>(lsn + i + 1);
        }
        return true;
    }

private:
    DiscToc toc_;
    int32_t failAt_;
};

// Three audio tracks: 1 at 0 (100 sectors), 2 at 100 (150), 3 at 250 (80); lead-out 330.
CdDiscOpener threeTracks(int32_t failAt = -1) {
    return [failAt] {
        return std::make_unique<MemoryDisc>(
            std::vector<CdTrack>{{1, 0, true}, {2, 100, true}, {3, 250, true}}, 330, failAt);
    };
}

class CdDeviceTest : public testing::Test {
protected:
    void start(CdDiscOpener opener, std::size_t ring = CdAudioDevice::kDefaultRingSectors,
               CdAudioDevice::RestWhileFull rest = CdAudioDevice::restOneRefillInterval) {
        device = std::make_unique<CdAudioDevice>(std::move(opener), ring, std::move(rest));
        waitUntil([&] { return query(StatusItem::Mode) != "not ready"; });
    }

    template <class Condition>
    static void waitUntil(Condition condition) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(condition());
    }

    std::string query(StatusItem item, std::optional<int> track = std::nullopt) {
        std::string answer;
        uint32_t code = device->status(item, track, answer);
        return code == kOk ? answer : "error " + std::to_string(code);
    }

    // Hears whole sectors, as the audio callback would take them, in two uneven pieces
    // each. Returns the sector numbers heard; waits out the reader when it is behind.
    std::vector<int> hear(int sectors) {
        std::vector<int> heard;
        std::vector<uint8_t> buffer(kCdSectorBytes);
        for (int i = 0; i < sectors; ++i) {
            auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            do {
                device->render(buffer.data(), 1000);
                device->render(buffer.data() + 1000, kCdSectorBytes - 1000);
                int16_t first, last;
                std::memcpy(&first, buffer.data(), 2);
                std::memcpy(&last, buffer.data() + kCdSectorBytes - 2, 2);
                if (first != 0 || query(StatusItem::Mode) != "playing") {
                    EXPECT_EQ(first, last) << "a sector was heard in pieces of two";
                    if (first != 0) heard.push_back(first - 1);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            } while (std::chrono::steady_clock::now() < deadline);
        }
        return heard;
    }

    static std::vector<int> range(int from, int to) {
        std::vector<int> sectors;
        for (int s = from; s < to; ++s) sectors.push_back(s);
        return sectors;
    }

    std::unique_ptr<CdAudioDevice> device;
};

TEST_F(CdDeviceTest, PlaysTheDiscTrackAfterTrackAndStartsOverOnceItHasEnded) {
    start(threeTracks());
    EXPECT_EQ(query(StatusItem::Mode), "stopped");
    EXPECT_EQ(query(StatusItem::NumberOfTracks), "3");
    EXPECT_EQ(query(StatusItem::CurrentTrack), "1");

    ASSERT_EQ(device->play(std::nullopt, std::nullopt), kOk);
    EXPECT_EQ(query(StatusItem::Mode), "playing");
    EXPECT_EQ(hear(330), range(0, 330));
    EXPECT_EQ(hear(1), std::vector<int>{});  // the end marker: nothing more to hear
    EXPECT_EQ(query(StatusItem::Mode), "stopped");
    EXPECT_EQ(query(StatusItem::CurrentTrack), "3");

    // A plain play at the end starts the disc again from its first track.
    ASSERT_EQ(device->play(std::nullopt, std::nullopt), kOk);
    EXPECT_EQ(hear(5), range(0, 5));
}

TEST_F(CdDeviceTest, PositionsFollowWhatHasBeenHeard) {
    start(threeTracks());
    EXPECT_EQ(query(StatusItem::Position, 2), "02:00:00:00");
    ASSERT_EQ(device->play("02:00:00:00", std::nullopt), kOk);
    EXPECT_EQ(query(StatusItem::Position), "02:00:00:00");
    EXPECT_EQ(query(StatusItem::CurrentTrack), "2");
    hear(85);
    EXPECT_EQ(query(StatusItem::Position), "02:00:01:10");
    hear(65);
    EXPECT_EQ(query(StatusItem::Position), "03:00:00:00");
    EXPECT_EQ(query(StatusItem::CurrentTrack), "3");
}

TEST_F(CdDeviceTest, PlaysOnlyTheRangeAskedFor) {
    start(threeTracks());
    ASSERT_EQ(device->play("3", std::nullopt), kOk);
    EXPECT_EQ(hear(3), range(250, 253));
    // A new play drops whatever the reader had queued for the old one.
    ASSERT_EQ(device->play("1:0:1:0", "1:0:1:10"), kOk);
    EXPECT_EQ(hear(20), range(75, 85));
    EXPECT_EQ(query(StatusItem::Mode), "stopped");
    EXPECT_EQ(query(StatusItem::Position), "01:00:01:10");

    EXPECT_EQ(device->play("2", "1"), kOutOfRange);
    EXPECT_EQ(device->play("9", std::nullopt), kOutOfRange);
    EXPECT_EQ(device->play("1:0:60:0", std::nullopt), kOutOfRange);
    EXPECT_EQ(device->play("1:0:0:75", std::nullopt), kOutOfRange);
    EXPECT_EQ(device->play("one", std::nullopt), kBadInteger);
    EXPECT_EQ(device->play("1:2:3:4:5", std::nullopt), kBadInteger);
    EXPECT_EQ(device->play("-1", std::nullopt), kOutOfRange);
    EXPECT_EQ(query(StatusItem::Position, 4), "error " + std::to_string(kOutOfRange));
}

TEST_F(CdDeviceTest, StopSilencesAtOnceAndKeepsThePosition) {
    start(threeTracks());
    device->play(std::nullopt, std::nullopt);
    hear(10);
    ASSERT_EQ(device->stop(), kOk);
    EXPECT_EQ(query(StatusItem::Mode), "stopped");
    EXPECT_EQ(query(StatusItem::Position), "01:00:00:10");
    EXPECT_EQ(hear(5), std::vector<int>{});
    // Play goes on from there.
    device->play(std::nullopt, std::nullopt);
    EXPECT_EQ(hear(2), range(10, 12));
}

TEST_F(CdDeviceTest, DataTracksAreSkippedNeverHeard) {
    start([] {
        return std::make_unique<MemoryDisc>(
            std::vector<CdTrack>{{1, 0, false}, {2, 50, true}, {3, 60, false}, {4, 70, true}}, 80);
    });
    ASSERT_EQ(device->play(std::nullopt, std::nullopt), kOk);
    std::vector<int> expected = range(50, 60);
    for (int s : range(70, 80)) expected.push_back(s);
    EXPECT_EQ(hear(21), expected);
    EXPECT_EQ(query(StatusItem::Mode), "stopped");
}

TEST_F(CdDeviceTest, AReadErrorEndsThePlayWithoutNoise) {
    start(threeTracks(40), 60);
    ASSERT_EQ(device->play(std::nullopt, std::nullopt), kOk);
    EXPECT_EQ(hear(60), range(0, 40));
    EXPECT_EQ(query(StatusItem::Mode), "stopped");
}

TEST_F(CdDeviceTest, NoDiscFailsEveryQuery) {
    for (CdDiscOpener opener :
         {CdDiscOpener{[] { return std::unique_ptr<CdDisc>(); }},
          CdDiscOpener{[]() -> std::unique_ptr<CdDisc> { throw 1; }},
          CdDiscOpener{[] { return std::make_unique<MemoryDisc>(std::vector<CdTrack>{}, 0); }},
          CdDiscOpener{[] {
              return std::make_unique<MemoryDisc>(std::vector<CdTrack>{{1, 0, true}}, 0);
          }}}) {
        start(opener);
        EXPECT_EQ(query(StatusItem::CurrentTrack), "error " + std::to_string(kDeviceNotReady));
        EXPECT_EQ(query(StatusItem::NumberOfTracks), "error " + std::to_string(kDeviceNotReady));
        EXPECT_EQ(device->play(std::nullopt, std::nullopt), kDeviceNotReady);
        EXPECT_EQ(device->stop(), kDeviceNotReady);
        EXPECT_EQ(hear(1), std::vector<int>{});
    }
}

TEST_F(CdDeviceTest, ASlowDriveIsNotReadyYetButNotMissing) {
    std::promise<void> spunUp;
    std::shared_future<void> ready = spunUp.get_future().share();
    device = std::make_unique<CdAudioDevice>([ready] {
        ready.wait();
        return threeTracks()();
    });
    EXPECT_EQ(query(StatusItem::Mode), "not ready");
    EXPECT_EQ(query(StatusItem::CurrentTrack), "1");
    EXPECT_EQ(query(StatusItem::NumberOfTracks), "0");
    EXPECT_EQ(device->play(std::nullopt, std::nullopt), kDeviceNotReady);
    spunUp.set_value();
    waitUntil([&] { return query(StatusItem::NumberOfTracks) == "3"; });
}

TEST_F(CdDeviceTest, ClosingWhileTheReaderRestsWithAFullRingEndsIt) {
    // No time passes while the reader rests: only being told of a change ends its rest.
    std::atomic<int> rests{0};
    start(threeTracks(), 30,
          [&](std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
              const std::function<bool()>& changed) {
              ++rests;
              wake.wait(lock, changed);
          });
    device->play(std::nullopt, std::nullopt);
    waitUntil([&] { return rests > 0; });  // the ring is full
    test::mustReturn([&] { device.reset(); }, "closing a device whose reader rests");
    EXPECT_EQ(rests, 1);
}

}  // namespace
}  // namespace quorlane

namespace quorlane {
namespace {

TEST(CdDeviceShutdown, AskingTheReaderToEndDoesNotWaitForAHangingDrive) {
    std::promise<void> driveAnswers;
    std::shared_future<void> answered = driveAnswers.get_future().share();
    CdAudioDevice device([answered] {
        answered.wait();
        return std::unique_ptr<CdDisc>();
    });
    // The drive answers only after the call: a call that waited for it would never return.
    test::mustReturn([&] { device.beginShutdown(); }, "asking the reader to end");
    EXPECT_FALSE(device.readerDone());
    driveAnswers.set_value();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!device.readerDone() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(device.readerDone());
}

TEST(CdDeviceShutdown, AnAbandonedDeviceIsFreedByItsReaderOnceTheDriveAnswers) {
    for (bool driveAnswersFirst : {true, false}) {
        SCOPED_TRACE(driveAnswersFirst);
        std::promise<void> driveAnswers;
        std::shared_future<void> answered = driveAnswers.get_future().share();
        // Lives in the device's opener: expired once the device is freed.
        auto token = std::make_shared<int>(0);
        std::weak_ptr<int> alive = token;
        auto device = std::make_unique<CdAudioDevice>([answered, token] {
            answered.wait();
            return threeTracks()();
        });
        token.reset();
        if (driveAnswersFirst) {
            driveAnswers.set_value();
            device->beginShutdown();
            while (!device->readerDone()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        test::mustReturn([&] { CdAudioDevice::abandon(std::move(device)); },
                         "abandoning the device");
        if (!driveAnswersFirst) {
            EXPECT_FALSE(alive.expired()) << "freed while its reader still used it";
            driveAnswers.set_value();
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!alive.expired() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(alive.expired());
    }
}

}  // namespace
}  // namespace quorlane
