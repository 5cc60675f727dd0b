#include "shell/platform/picture_file.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "common/atomic_file.h"

namespace quorlane {

QImage loadPictureFile(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);  // the picture as stored, at its own pixel size
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
