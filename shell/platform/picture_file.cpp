#include "shell/platform/picture_file.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

#include "common/atomic_file.h"

namespace quorlane {

QSize pictureSizeWithin(QSize size, qint64 maxPixels) {
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.isEmpty() || pixels <= maxPixels) return size;
    // The same factor for both sides keeps the picture's shape. A side that would shrink below
    // one pixel stays one pixel, and the other gives way for it.
    const double factor = std::sqrt(double(maxPixels) / double(pixels));
    qint64 width = std::max<qint64>(1, qint64(size.width() * factor));
    qint64 height = std::max<qint64>(1, qint64(size.height() * factor));
    width = std::min(width, maxPixels / height);
    height = std::min(height, maxPixels / width);
    return QSize(int(width), int(height));
}

QImage loadPictureFile(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
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

QByteArray encodeBmp24(const QImage& image) {
    if (image.isNull()) return {};
    // Without alpha, at 32 bits, Qt writes 24-bit pixels and the plain info header; other
    // formats would come out at 1, 4, 8 or 32 bits.
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(pixels)) return {};
    return bytes;
}

bool saveBmp24(const QImage& image, const std::string& path) {
    const QByteArray bytes = encodeBmp24(image);
    if (bytes.isEmpty()) return false;
    return replaceFileAtomically(path, std::string_view(bytes.constData(),
                                                        static_cast<std::size_t>(bytes.size())));
}

}  // namespace quorlane
