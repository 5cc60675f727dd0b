// The command-string interpreter: parsing, the table of open devices and error codes,
// on fake devices.
#include <gtest/gtest.h>

#include <random>

#include "shell/music/command_interpreter.h"
#include "shell/music/mci_errors.h"

namespace quorlane::mci {
namespace {

struct Log {
    std::vector<std::string> calls;
    int alive = 0;
};

class FakeDevice final : public Device {
public:
    FakeDevice(Log& log, std::string name) : log_(log), name_(std::move(name)) { ++log_.alive; }
    ~FakeDevice() override { --log_.alive; }
    uint32_t play(const std::optional<std::string>& from,
                  const std::optional<std::string>& to) override {
        log_.calls.push_back(name_ + " play from=" + from.value_or("-") +
                             " to=" + to.value_or("-"));
        return kOk;
    }
    uint32_t stop() override {
        log_.calls.push_back(name_ + " stop");
        return kOk;
    }
    uint32_t status(StatusItem item, std::optional<int> track, std::string& answer) override {
        answer = name_ + " item " + std::to_string(static_cast<int>(item)) + " track " +
                 (track ? std::to_string(*track) : "-");
        return kOk;
    }
    uint32_t setTimeFormat(TimeFormat format) override {
        log_.calls.push_back(name_ + " format " + std::to_string(static_cast<int>(format)));
        return kOk;
    }

private:
    Log& log_;
    std::string name_;
};

class FakeFactory final : public DeviceFactory {
public:
    explicit FakeFactory(Log& log) : log_(log) {}
    uint32_t openCdAudio(std::unique_ptr<Device>& device) override {
        device = std::make_unique<FakeDevice>(log_, "cd");
        return kOk;
    }
    uint32_t openMpegVideo(const std::string& path, std::unique_ptr<Device>& device) override {
        if (path == "missing.mp3") return kFileNotFound;
        device = std::make_unique<FakeDevice>(log_, "file:" + path);
        return kOk;
    }

private:
    Log& log_;
};

class InterpreterTest : public testing::Test {
protected:
    uint32_t send(const std::string& command) {
        answer = "unchanged";
        return interpreter.send(command, answer);
    }

    Log log;
    FakeFactory factory{log};
    CommandInterpreter interpreter{factory};
    std::string answer;
};

TEST_F(InterpreterTest, OpensFilesWithQuotedPathsUnderAnAliasWhateverTheCase) {
    EXPECT_EQ(send("OPEN \"/tmp/my music/a b.mp3\" TYPE mpegvideo ALIAS MP3Play"), kOk);
    EXPECT_EQ(send("status mp3play MODE"), kOk);
    EXPECT_EQ(answer, "file:/tmp/my music/a b.mp3 item 0 track -");
    EXPECT_EQ(send("play MP3PLAY from 0"), kOk);
    EXPECT_EQ(send("Stop Mp3Play"), kOk);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"file:/tmp/my music/a b.mp3 play from=0 to=-",
                                                   "file:/tmp/my music/a b.mp3 stop"}));
    // The path is not the device's name once it has an alias.
    EXPECT_EQ(send("stop \"/tmp/my music/a b.mp3\""), kInvalidDeviceName);
}

TEST_F(InterpreterTest, ReadsTheCdVocabulary) {
    ASSERT_EQ(send("open cdaudio"), kOk);
    EXPECT_EQ(send("set CDAudio Time Format TMSF"), kOk);
    EXPECT_EQ(send("play cdaudio from 03:00:00:00 to 04:00:00:00"), kOk);
    EXPECT_EQ(send("play cdaudio to 4"), kOk);
    EXPECT_EQ(send("play cdaudio"), kOk);
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"cd format 0", "cd play from=03:00:00:00 to=04:00:00:00",
                                        "cd play from=- to=4", "cd play from=- to=-"}));

    const std::pair<const char*, const char*> queries[] = {
        {"status cdaudio mode", "cd item 0 track -"},
        {"status cdaudio current track", "cd item 1 track -"},
        {"status cdaudio number of tracks", "cd item 2 track -"},
        {"status cdaudio position", "cd item 3 track -"},
        {"status  cdaudio   position\ttrack 12 ", "cd item 3 track 12"},
    };
    for (auto [command, expected] : queries) {
        EXPECT_EQ(send(command), kOk) << command;
        EXPECT_EQ(answer, expected) << command;
    }
}

TEST_F(InterpreterTest, MalformedAndHostileStringsGiveErrorCodes) {
    ASSERT_EQ(send("open cdaudio"), kOk);
    const std::pair<std::string, uint32_t> cases[] = {
        {"", kMissingCommandString},
        {" \t ", kMissingCommandString},
        {"dance cdaudio", kUnrecognizedCommand},
        {"\"play\" cdaudio", kUnrecognizedCommand},
        {"play", kMissingDeviceName},
        {"play \"\"", kMissingDeviceName},
        {"play cdaudio from", kMissingParameter},
        {"play cdaudio from 1 from 2", kDuplicateFlags},
        {"play cdaudio sideways", kUnrecognizedKeyword},
        {"stop cdaudio now", kUnrecognizedKeyword},
        {"status cdaudio", kMissingParameter},
        {"status cdaudio colour", kUnrecognizedKeyword},
        {"status cdaudio number of", kUnrecognizedKeyword},
        {"status cdaudio mode mode", kUnrecognizedKeyword},
        {"status cdaudio position track", kMissingParameter},
        {"status cdaudio position track x", kBadInteger},
        {"status cdaudio position track 99999999999", kOutOfRange},
        {"set cdaudio time format furlongs", kBadTimeFormat},
        {"set cdaudio time format msf", kBadTimeFormat},
        {"stop cdaudio wait", kUnrecognizedKeyword},
        {"status cdaudio length", kUnrecognizedKeyword},
        {"set cdaudio time format", kMissingParameter},
        {"set cdaudio speed 3", kUnrecognizedKeyword},
        {"open \"unterminated", kNoClosingQuote},
        {"open \"a\"b type mpegvideo", kExtraCharacters},
        {"open x.mp3 type mpegvideo alias", kMissingParameter},
        {"open x.mp3 type mpegvideo alias a alias b", kDuplicateFlags},
        {"open waveaudio", kInvalidDeviceName},
        {"open x.mp3 type sequencer", kInvalidDeviceName},
        {"open missing.mp3 type MPEGVideo", kFileNotFound},
        {"play nothere", kInvalidDeviceName},
        {std::string("play cd\0audio", 13), kInvalidDeviceName},
        {"status " + std::string(100000, 'z') + " mode", kInvalidDeviceName},
    };
    for (const auto& [command, code] : cases) {
        EXPECT_EQ(send(command), code) << command;
        EXPECT_FALSE(errorText(code).empty()) << code;
    }
    EXPECT_EQ(log.alive, 1);  // only the CD: no failed open left a device behind
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(InterpreterTest, RandomBytesNeverCrashAndFailWithAKnownCode) {
    ASSERT_EQ(send("open cdaudio alias cd"), kOk);
    std::mt19937 random(1234);
    const std::string pieces[] = {"play ",  "status ", "cd ",   "from ", "to ",
                                  "track ", "\"",      " ",     "open ", "close ",
                                  "12",     ":",       "mode ", "set ",  "time format "};
    for (int i = 0; i < 3000; ++i) {
        std::string command;
        int parts = static_cast<int>(random() % 8);
        for (int p = 0; p < parts; ++p) {
            if (random() % 4 == 0)
                command += static_cast<char>(random() % 256);
            else
                command += pieces[random() % std::size(pieces)];
        }
        uint32_t code = send(command);
        EXPECT_TRUE(code == kOk || !errorText(code).empty()) << command << " gave " << code;
    }
}

TEST_F(InterpreterTest, DevicesMustBeOpenAndNamesAreUnique) {
    EXPECT_EQ(send("status cdaudio mode"), kInvalidDeviceName);
    EXPECT_EQ(send("close cdaudio"), kInvalidDeviceName);  // closing what was never open: harmless
    EXPECT_EQ(send("open cdaudio"), kOk);
    EXPECT_EQ(send("Open CDAUDIO"), kDeviceOpen);
    EXPECT_EQ(send("open a.mp3 type MPEGVideo alias Music"), kOk);
    EXPECT_EQ(send("open b.mp3 type MPEGVideo alias MUSIC"), kDuplicateAlias);
    EXPECT_EQ(log.alive, 2);

    EXPECT_EQ(send("close cdaudio"), kOk);
    EXPECT_EQ(log.alive, 1);
    EXPECT_EQ(send("stop cdaudio"), kInvalidDeviceName);
    EXPECT_EQ(send("close cdaudio"), kInvalidDeviceName);
    EXPECT_EQ(send("status music mode"), kOk);

    interpreter.closeAll();
    EXPECT_EQ(log.alive, 0);
    EXPECT_EQ(send("status music mode"), kInvalidDeviceName);
}

}  // namespace
}  // namespace quorlane::mci
