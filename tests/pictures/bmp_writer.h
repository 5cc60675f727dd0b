#pragma once
// Builds BMP files byte by byte, including malformed ones, for the decoder's tests and the
// fuzzer's seed inputs, and writes plain 24-bit pictures for the renderer's tests.
#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorlane::testing {

using Bytes = std::vector<uint8_t>;
using Rgb = std::array<uint8_t, 3>;

struct BmpLayout {
    bool fileHeader = true;    // "BM" header first, or a headerless DIB
    uint32_t headerSize = 40;  // 12 writes the core header; any other value a 40-byte body
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks{};  // written right after the info header
    std::vector<Rgb> palette{};     // written as B,G,R(,0) entries after the masks
    Bytes pixels{};                 // pixel bytes exactly as stored
    std::optional<uint32_t>
        pixelOffset{};  // file header's offset field; default: where pixels start
};

inline void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

inline Bytes buildBmp(const BmpLayout& l) {
    Bytes info;
    put32(info, l.headerSize);
    if (l.headerSize == 12) {
        put16(info, static_cast<uint32_t>(l.width));
        put16(info, static_cast<uint32_t>(l.height));
        put16(info, 1);
        put16(info, l.bitsPerPixel);
    } else {
        put32(info, static_cast<uint32_t>(l.width));
        put32(info, static_cast<uint32_t>(l.height));
        put16(info, 1);
        put16(info, l.bitsPerPixel);
        put32(info, l.compression);
        put32(info, static_cast<uint32_t>(l.pixels.size()));
        put32(info, 2835);
        put32(info, 2835);
        put32(info, l.colorsUsed);
        put32(info, 0);
        if (l.headerSize > 40) info.resize(l.headerSize, 0);
    }
    for (uint32_t m : l.masks) put32(info, m);
    for (const Rgb& c : l.palette) {
        info.push_back(c[2]);
        info.push_back(c[1]);
        info.push_back(c[0]);
        if (l.headerSize != 12) info.push_back(0);
    }

    Bytes file;
    if (l.fileHeader) {
        const uint32_t offset = l.pixelOffset.value_or(static_cast<uint32_t>(14 + info.size()));
        file = {'B', 'M'};
        put32(file, static_cast<uint32_t>(14 + info.size() + l.pixels.size()));
        put32(file, 0);
        put32(file, offset);
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), l.pixels.begin(), l.pixels.end());
    return file;
}

// Stored rows, each padded with zeros to a multiple of 4 bytes.
inline Bytes paddedRows(const std::vector<Bytes>& rows) {
    Bytes out;
    for (const Bytes& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize(out.size() + (4 - row.size() % 4) % 4, 0);
    }
    return out;
}

// A 24-bit picture file, pixel(x, y) giving red, green, blue with y = 0 the top row.
inline bool writeBmpFile(const std::string& path, int width, int height,
                         const std::function<Rgb(int, int)>& pixel) {
    std::vector<Bytes> rows;
    for (int y = height - 1; y >= 0; --y) {  // stored bottom-up
        Bytes row;
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            row.insert(row.end(), {c[2], c[1], c[0]});
        }
        rows.push_back(std::move(row));
    }
    const Bytes file = buildBmp({.width = width, .height = height, .pixels = paddedRows(rows)});
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(stream);
}

}  // namespace quorlane::testing
