#pragma once
// Pictures on disk: the user's BMP or JPEG in, the desktop image file out.
#include <QImage>
#include <QByteArray>
#include <string>

namespace quorlane {

// The picture at its own size; a null image when it cannot be read.
QImage loadPictureFile(const std::string& path);

// An uncompressed 24-bit BMP with the 40-byte info header, which the renderer's loader
// reads. Empty when the image is null.
QByteArray encodeBmp24(const QImage& image);

// Replaces the file with the picture as a 24-bit BMP (mode 0600); a failure leaves the
// previous file whole.
bool saveBmp24(const QImage& image, const std::string& path);

}  // namespace quorlane
