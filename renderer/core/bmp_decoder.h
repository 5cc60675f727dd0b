#pragma once
// Decoding BMP files and headerless DIBs into 24-bit RGB pictures.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlane {

struct RgbImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> data;  // width*height*3, R,G,B, tightly packed, bottom row first
};

// Decodes a whole file held in memory. On failure returns nothing and sets *error to the
// loader message ("Unknown DIB file format.", "Out of memory.", "Image file conversion error.").
std::optional<RgbImage> decodeBmp(const uint8_t* bytes, size_t size, std::string* error);

// Reads and decodes a file. A missing or unreadable file gives nothing silently; any other
// failure is reported through reportError (the "Error: <text>" message) and gives nothing.
std::optional<RgbImage> loadBmpImage(const char* path);

}  // namespace quorlane
