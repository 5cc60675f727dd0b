// CPU use of the shell's music while it plays, in real time: an MP3 file, then CD audio
// streamed from a disc image. Prints percent of one core for each, then how long the calls a
// show makes take without a sound device (found out once, never looked for again).
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "shell/music/bgm_player.h"
#include "shell/music/system_media_backend.h"

using namespace quorlane;
using Clock = std::chrono::steady_clock;

static double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

static void writeDisc(const std::string& folder, int secondsPerTrack) {
    std::ofstream bin(folder + "/disc.bin", std::ios::binary);
    std::ofstream cue(folder + "/disc.cue");
    cue << "FILE \"disc.bin\" BINARY\n";
    const int sectors = secondsPerTrack * 75;
    for (int t = 0; t < 3; ++t) {
        for (int i = 0; i < sectors * 588; ++i) {
            auto v = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 220 * (t + 1) * i / 44100.0));
            bin.write(reinterpret_cast<const char*>(&v), 2);
            bin.write(reinterpret_cast<const char*>(&v), 2);
        }
        int start = t * sectors;
        char line[80];
        std::snprintf(line, sizeof line, "  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:%02d\n", t + 1,
                      start / 75 / 60, start / 75 % 60, start % 75);
        cue << line;
    }
}

// Runs poll every interval for the given time; returns percent of one core used.
template <class Poll>
static double measure(Poll poll, std::chrono::milliseconds interval, std::chrono::seconds total) {
    double cpu0 = cpuSeconds();
    auto start = Clock::now();
    auto next = start;
    while (Clock::now() - start < total) {
        poll();
        next += interval;
        std::this_thread::sleep_until(next);
    }
    double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return 100.0 * (cpuSeconds() - cpu0) / wall;
}

// A 30-second two-tone WAV for the encoder to make the MP3 from.
static void writeWav(const char* path) {
    const int frames = 30 * 44100;
    std::ofstream out(path, std::ios::binary);
    auto le = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.put(char(v >> (8 * i)));
    };
    out.write("RIFF", 4);
    le(36 + frames * 4, 4);
    out.write("WAVEfmt ", 8);
    le(16, 4);
    le(1, 2);
    le(2, 2);
    le(44100, 4);
    le(44100 * 4, 4);
    le(4, 2);
    le(16, 2);
    out.write("data", 4);
    le(frames * 4, 4);
    for (int i = 0; i < frames; ++i) {
        auto v = static_cast<int16_t>(6000 * (std::sin(2 * M_PI * 440 * i / 44100.0) +
                                              std::sin(2 * M_PI * 660 * i / 44100.0)));
        le(static_cast<uint16_t>(v), 2);
        le(static_cast<uint16_t>(v), 2);
    }
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--wav") {
        writeWav(argv[2]);
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <long.mp3> <scratch folder> [seconds]\n", argv[0]);
        return 2;
    }
    const auto seconds = std::chrono::seconds(argc > 3 ? std::atoi(argv[3]) : 10);
    MusicSource source;
    source.musicFile = argv[1];

    {
        BgmPlayer player(source, std::make_unique<SystemMediaBackend>());
        player.mp3Start();
        if (!player.mp3IsPlaying()) std::fprintf(stderr, "warning: the MP3 is not playing\n");
        double mp3 = measure([&] { player.mp3Poll(); }, std::chrono::milliseconds(1000), seconds);
        std::printf("mp3 playing: %.1f %% of one core\n", mp3);
        player.mp3Stop();
    }

    writeDisc(argv[2], 20);
    setenv("QUORLANE_CDROM", (std::string(argv[2]) + "/disc.cue").c_str(), 1);
    {
        BgmPlayer player(source, std::make_unique<SystemMediaBackend>());
        player.cdOpen();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        double cd = measure([&] { player.cdPoll(); }, std::chrono::milliseconds(200), seconds);
        if (!player.cdAvailable())
            std::fprintf(stderr, "warning: the CD image was not available\n");
        std::printf("cd audio streaming from an image: %.1f %% of one core\n", cd);
        player.cdStop();
    }

    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        BgmPlayer player(source, std::make_unique<SystemMediaBackend>());
        player.wavStart();  // finds the device missing
        constexpr int kCalls = 1000;
        const auto start = Clock::now();
        for (int i = 0; i < kCalls; ++i) {
            player.wavStart();
            player.mp3Poll();
        }
        const double total =
            std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        std::printf("without a sound device: %.1f us a sound start and MP3 poll\n", total / kCalls);
    }
    return 0;
}
