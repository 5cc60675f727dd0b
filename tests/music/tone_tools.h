#pragma once
// Test helpers: sound files and disc images made of pure tones, and a listener that tells
// which tone was heard when, by counting zero crossings.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quorlane::test {

inline constexpr int kRate = 44100;

// Interleaved 16-bit stereo frames of a sine tone.
inline std::vector<int16_t> toneSamples(double hz, int frames) {
    std::vector<int16_t> samples(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        auto v = static_cast<int16_t>(12000 * std::sin(2 * M_PI * hz * i / kRate));
        samples[2 * i] = v;
        samples[2 * i + 1] = v;
    }
    return samples;
}

inline void putLe(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The 44-byte header of a PCM WAV file whose samples follow it.
inline void putWavHeader(std::ofstream& out, uint32_t rate, int channels, int bits,
                         uint32_t dataBytes) {
    const uint32_t frameBytes = static_cast<uint32_t>(channels * bits / 8);
    out.write("RIFF", 4);
    putLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, static_cast<uint32_t>(channels), 2);
    putLe(out, rate, 4);
    putLe(out, rate * frameBytes, 4);
    putLe(out, frameBytes, 2);
    putLe(out, static_cast<uint32_t>(bits), 2);
    out.write("data", 4);
    putLe(out, dataBytes, 4);
}

inline void writeWav(const std::filesystem::path& path, double hz, double seconds) {
    std::vector<int16_t> samples = toneSamples(hz, static_cast<int>(seconds * kRate));
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::ofstream out(path, std::ios::binary);
    putWavHeader(out, kRate, 2, 16, dataBytes);
    out.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

// A .cue and its .bin (same base name): one audio track per tone, sectorsPerTrack long.
inline std::filesystem::path writeDiscImage(const std::filesystem::path& folder,
                                            const std::vector<double>& tones, int sectorsPerTrack) {
    std::filesystem::path cue = folder / "disc.cue";
    std::ofstream bin(folder / "disc.bin", std::ios::binary);
    std::ofstream text(cue);
    text << "FILE \"disc.bin\" BINARY\n";
    for (std::size_t t = 0; t < tones.size(); ++t) {
        std::vector<int16_t> samples = toneSamples(tones[t], sectorsPerTrack * 588);
        bin.write(reinterpret_cast<const char*>(samples.data()),
                  static_cast<std::streamsize>(samples.size() * 2));
        int start = static_cast<int>(t) * sectorsPerTrack;
        char line[80];
        std::snprintf(line, sizeof line, "  TRACK %02zu AUDIO\n    INDEX 01 %02d:%02d:%02d\n",
                      t + 1, start / 75 / 60, start / 75 % 60, start % 75);
        text << line;
    }
    return cue;
}

inline std::vector<int16_t> readSamples(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    }
    return samples;
}

struct Heard {
    double hz;  // the matching tone, or 0 for silence or anything else
    double seconds;
};

// What was heard, in 20 ms windows matched to the nearest of the tones (within 8 %),
// runs of the same answer joined. Runs shorter than a window pair are dropped as seams.
inline std::vector<Heard> listen(const std::vector<int16_t>& stereo,
                                 const std::vector<double>& tones) {
    const int window = kRate / 50;
    std::vector<double> labels;
    for (std::size_t start = 0; start + 2 * window <= stereo.size(); start += 2 * window) {
        int crossings = 0;
        double energy = 0;
        for (int i = 0; i < window; ++i) {
            int16_t a = stereo[start + 2 * i];
            energy += double(a) * a;
            if (i > 0 && ((stereo[start + 2 * (i - 1)] < 0) != (a < 0))) ++crossings;
        }
        double label = 0;
        if (std::sqrt(energy / window) > 1000) {
            double hz = crossings / 2.0 * 50;
            for (double tone : tones) {
                if (std::abs(hz - tone) < tone * 0.08) label = tone;
            }
        }
        labels.push_back(label);
    }
    std::vector<Heard> runs;
    for (double label : labels) {
        if (!runs.empty() && runs.back().hz == label)
            runs.back().seconds += 0.02;
        else
            runs.push_back({label, 0.02});
    }
    std::vector<Heard> joined;
    for (const Heard& run : runs) {
        if (run.seconds < 0.05) continue;
        if (!joined.empty() && joined.back().hz == run.hz)
            joined.back().seconds += run.seconds;
        else
            joined.push_back(run);
    }
    return joined;
}

// The tones heard, in order, silence left out.
inline std::vector<double> toneOrder(const std::vector<Heard>& heard) {
    std::vector<double> order;
    for (const Heard& h : heard) {
        if (h.hz != 0 && (order.empty() || order.back() != h.hz)) order.push_back(h.hz);
    }
    return order;
}

inline double secondsOf(const std::vector<Heard>& heard, double hz) {
    double total = 0;
    for (const Heard& h : heard) {
        if (h.hz == hz) total += h.seconds;
    }
    return total;
}

}  // namespace quorlane::test
