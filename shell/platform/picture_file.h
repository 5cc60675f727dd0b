#pragma once
// Pictures on disk: the user's BMP or JPEG in, the desktop image file out.
//
// Supports: BMP and JPEG (and whatever else Qt's image reader has), scaled down above a size
//   cap, with the picture's density.
// Does not: writing pictures (the show's own encoder writes the desktop picture file).
#include <QByteArray>
#include <QImage>
#include <string>

#include "shell/core/decoded_picture.h"

namespace quorlane {

// More pixels than any screen shows on a maze wall; a bigger picture would only cost the
// renderer memory and seconds of start-up.
inline constexpr qint64 kMaxPicturePixels = 4096 * 4096;
// Decoding a picture whole before scaling it may take this much memory (RGB32: about
// 134 megapixels); larger ones cannot be read.
inline constexpr int kPictureDecodeLimitMb = 512;

// The size a picture is loaded at: its own, or its sides divided by the smallest whole
// number that leaves at most maxPixels.
QSize pictureSizeWithin(QSize size, qint64 maxPixels);

// The picture at its own size, or scaled down to kMaxPicturePixels; a null image when it
// cannot be read. A name is opened once, and only a regular file is read (a FIFO switched in
// for the picture must not hang the program).
QImage loadPictureFile(const std::string& path);
// The same from a file already opened to read (the caller keeps and closes it).
QImage loadPictureFile(int fd);
// The picture of an opened file in the show's pixel layout, with its density; false when it
// cannot be read.
bool decodePictureFile(int fd, DecodedPicture& picture);
// A picture already loaded, in the show's pixel layout; false for a null image.
bool decodeImage(const QImage& loaded, DecodedPicture& picture);

}  // namespace quorlane
