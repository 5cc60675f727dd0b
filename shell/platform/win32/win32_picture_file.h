#pragma once
// A user's picture file (BMP or JPEG) read through Windows' own picture loading
// (OleLoadPicture), for the show's picture area.
//
// Supports: BMP, JPEG (and GIF, which the same service reads), paths in UTF-8, the density the
//   file records.
// Does not: PNG, metafiles and icons (refused as no picture).
#include <cstddef>
#include <string>

#include "shell/core/decoded_picture.h"

namespace quorlane {

bool decodePictureFile(const std::string& path, DecodedPicture& picture);
// The same for a picture file's bytes in memory (a picture built into the program).
bool decodePictureBytes(const void* bytes, std::size_t size, DecodedPicture& picture);

}  // namespace quorlane
