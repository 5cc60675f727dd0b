#include "shell/platform/picture_file.h"

#include <QFile>
#include <QImageReader>

#include <unistd.h>

#include <cstring>

#include "common/read_only_open.h"

namespace quorlane {

QSize pictureSizeWithin(QSize size, qint64 maxPixels) {
    if (size.isEmpty()) return size;
    // Divided by the smallest whole number that brings it within the cap: the shape is kept,
    // and a JPEG is then decoded straight at that size (scaled in its own blocks), which is
    // both faster and smaller than decoding it whole or scaling by an odd factor.
    for (qint64 n = 1;; ++n) {
        const qint64 width = (size.width() + n - 1) / n;
        const qint64 height = (size.height() + n - 1) / n;
        if (width * height <= maxPixels) return QSize(int(width), int(height));
    }
}

QImage loadPictureFile(int fd) {
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) return {};
    QImageReader reader(&file);
    reader.setAutoTransform(false);  // the picture as stored
    // Qt refuses pictures above 128 MB decoded by default, about 33 megapixels: today's
    // phone photos. The limit is raised for the decoding; JPEGs are decoded straight at the
    // smaller size, other kinds are decoded whole and then scaled.
    reader.setAllocationLimit(kPictureDecodeLimitMb);
    const QSize stored = reader.size();
    const QSize wanted = pictureSizeWithin(stored, kMaxPicturePixels);
    if (wanted != stored) reader.setScaledSize(wanted);
    return reader.read();
}

QImage loadPictureFile(const std::string& path) {
    const int fd = openRegularFileToRead(path);
    if (fd < 0) return {};
    QImage picture = loadPictureFile(fd);
    ::close(fd);
    return picture;
}

bool decodePictureFile(int fd, DecodedPicture& picture) {
    return decodeImage(loadPictureFile(fd), picture);
}

bool decodeImage(const QImage& loaded, DecodedPicture& picture) {
    if (loaded.isNull()) return false;
    // Without alpha at 32 bits: the same bytes as the screen's pixels.
    const QImage converted = loaded.convertToFormat(QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(converted.width()) * 4;
    picture.width = converted.width();
    picture.height = converted.height();
    picture.pixels.resize(static_cast<std::size_t>(converted.width()) * converted.height());
    for (int y = 0; y < converted.height(); ++y) {
        std::memcpy(picture.pixels.data() + static_cast<std::size_t>(y) * converted.width(),
                    converted.constScanLine(y), rowBytes);
    }
    picture.dotsPerMeterX = loaded.dotsPerMeterX();
    picture.dotsPerMeterY = loaded.dotsPerMeterY();
    return true;
}

}  // namespace quorlane
