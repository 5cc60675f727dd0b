#pragma once
// The picture file a desktop portal saved for us. Its place may be shared (the wlroots
// portal always answers /tmp/out.png), so it is opened as someone else may have prepared it:
// never through a link, only a regular file of this user, read once through that one
// descriptor, and removed afterwards when it is still that same file.
//
// Supports: PNG pictures (libpng), any bit depth and colour type it converts.
// Does not: other picture formats, files over kMaxScreenshotBytes.
#include <cstddef>
#include <string>

#include "shell/core/decoded_picture.h"

namespace quorlane {

inline constexpr std::size_t kMaxScreenshotBytes = std::size_t{256} << 20;

// Reads and decodes the file `path` into `picture`, then removes it. False, with `why` in a
// few words, when it is not a file this user may trust or not a whole PNG.
bool takeScreenshotFile(const std::string& path, DecodedPicture& picture, std::string& why);

// A PNG held in memory, decoded to blue, green, red, unused bytes.
bool decodePng(const unsigned char* data, std::size_t size, DecodedPicture& picture,
               std::string& why);

}  // namespace quorlane
