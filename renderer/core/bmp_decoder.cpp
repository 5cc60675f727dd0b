#include "renderer/core/bmp_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <new>

#include <unistd.h>

#include "common/little_endian.h"
#include "common/read_only_open.h"
#include "renderer/core/error_message.h"
#include "renderer/core/mapped_file.h"

namespace quorlane {
namespace {

constexpr char kUnknownFormat[] = "Unknown DIB file format.";
constexpr char kOutOfMemory[] = "Out of memory.";
constexpr char kConversionError[] = "Image file conversion error.";

// The most pixels a picture may have (192 MiB decoded): room for an 8K screen or a wide
// panorama, of any shape; GLU scales the texture down to what the driver takes.
constexpr int64_t kMaxPixels = int64_t{64} << 20;

// Run-length data paints at most 255 pixels with each 2-byte code (skips aside). A picture
// whose data could not paint a 64th of it at that rate is refused before its buffer is
// allocated; small pictures are allowed any amount of skipping.
constexpr int64_t kRunLengthPixelsPerByte = 255 / 2;
constexpr int64_t kRunLengthCoverageShare = 64;
constexpr int64_t kRunLengthFreePixels = int64_t{1} << 20;

constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitfields = 3;

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;

// Bounds-checked little-endian reads over the file's bytes.
class ByteView {
public:
    ByteView(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    size_t size() const { return size_; }
    const uint8_t* at(size_t offset) const { return bytes_ + offset; }
    bool holds(uint64_t offset, uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    uint16_t u16(size_t offset) const { return readLittle16(bytes_ + offset); }
    uint32_t u32(size_t offset) const { return readLittle32(bytes_ + offset); }

private:
    const uint8_t* bytes_;
    size_t size_;
};

// The info header in its 40-byte form; a 12-byte core header is widened into it.
struct DibHeader {
    size_t size = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative: rows stored top row first
    uint32_t bitsPerPixel = 0;
    uint32_t compression = kCompressionRgb;
    uint32_t colorsUsed = 0;
};

using Rgb = std::array<uint8_t, 3>;

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(uint32_t mask) : mask_(mask) {
        if (mask == 0) return;
        shift_ = static_cast<unsigned>(std::countr_zero(mask));
        const uint32_t max = mask >> shift_;
        const unsigned bits = static_cast<unsigned>(std::bit_width(max));
        if (bits > 8) {
            drop_ = bits - 8;
        } else {
            // Narrow fields are stretched so that their largest value is full intensity.
            for (uint32_t v = 0; v <= max; ++v)
                table_[v] = static_cast<uint8_t>((v * 255 + max / 2) / max);
        }
    }
    uint8_t operator()(uint32_t pixel) const {
        const uint32_t v = (pixel & mask_) >> shift_;
        return drop_ ? static_cast<uint8_t>(v >> drop_) : table_[v];
    }

private:
    uint32_t mask_;
    unsigned shift_ = 0;
    unsigned drop_ = 0;
    std::array<uint8_t, 256> table_{};
};

bool readHeader(const ByteView& file, size_t start, DibHeader& header) {
    if (!file.holds(start, 4)) return false;
    header.size = file.u32(start);
    if (header.size != kCoreHeaderSize && header.size != kInfoHeaderSize) return false;
    if (!file.holds(start, header.size)) return false;
    if (header.size == kCoreHeaderSize) {
        header.width = file.u16(start + 4);
        header.height = file.u16(start + 6);
        header.bitsPerPixel = file.u16(start + 10);
    } else {
        header.width = static_cast<int32_t>(file.u32(start + 4));
        header.height = static_cast<int32_t>(file.u32(start + 8));
        header.bitsPerPixel = file.u16(start + 14);
        header.compression = file.u32(start + 16);
        header.colorsUsed = file.u32(start + 32);
    }
    return true;
}

bool depthFitsCompression(const DibHeader& h) {
    switch (h.compression) {
    case kCompressionRgb:
        return h.bitsPerPixel == 1 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8 ||
               h.bitsPerPixel == 16 || h.bitsPerPixel == 24 || h.bitsPerPixel == 32;
    case kCompressionRle8: return h.bitsPerPixel == 8;
    case kCompressionRle4: return h.bitsPerPixel == 4;
    case kCompressionBitfields: return h.bitsPerPixel == 16 || h.bitsPerPixel == 32;
    default: return false;
    }
}

uint64_t colorTableEntries(const DibHeader& h) {
    if (h.size == kInfoHeaderSize && h.colorsUsed != 0) return h.colorsUsed;
    switch (h.bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

// Every index the pixel depth can express gets a colour. Indices past the end of a short
// table take its last colour, so a stray index never reads outside the table.
const char* readPalette(const ByteView& file, size_t tableStart, size_t entrySize, uint64_t entries,
                        uint32_t bitsPerPixel, std::array<Rgb, 256>& palette) {
    const uint64_t slots = uint64_t{1} << bitsPerPixel;
    const uint64_t used = std::clamp<uint64_t>(entries, 1, slots);
    if (!file.holds(tableStart, used * entrySize)) return kConversionError;
    for (uint64_t i = 0; i < slots; ++i) {
        const uint8_t* e = file.at(tableStart + std::min(i, used - 1) * entrySize);
        palette[i] = {e[2], e[1], e[0]};
    }
    return nullptr;
}

void putPixel(uint8_t* out, const Rgb& c) {
    out[0] = c[0];
    out[1] = c[1];
    out[2] = c[2];
}

uint64_t rowStride(int64_t width, uint32_t bitsPerPixel) {
    return (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

// Whether the file holds every stored row; the last row's padding may be missing.
bool holdsRows(const ByteView& file, uint64_t pixelOffset, const DibHeader& h, int64_t rows) {
    const uint64_t lastRowBytes = (static_cast<uint64_t>(h.width) * h.bitsPerPixel + 7) / 8;
    const uint64_t stride = rowStride(h.width, h.bitsPerPixel);
    return file.holds(pixelOffset, stride * static_cast<uint64_t>(rows - 1) + lastRowBytes);
}

void decodeUncompressed(const ByteView& file, uint64_t pixelOffset, const DibHeader& h,
                        const std::array<Rgb, 256>& palette, const std::array<uint32_t, 3>& masks,
                        RgbImage& image) {
    const uint64_t width = static_cast<uint64_t>(image.width);
    const uint64_t rows = static_cast<uint64_t>(image.height);
    const uint64_t stride = rowStride(image.width, h.bitsPerPixel);

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const bool topDown = h.height < 0;
    for (uint64_t r = 0; r < rows; ++r) {
        const uint8_t* src = file.at(static_cast<size_t>(pixelOffset + r * stride));
        const uint64_t outRow = topDown ? rows - 1 - r : r;
        uint8_t* out = image.data.data() + outRow * width * 3;
        for (uint64_t x = 0; x < width; ++x, out += 3) {
            switch (h.bitsPerPixel) {
            case 1: putPixel(out, palette[(src[x / 8] >> (7 - x % 8)) & 1]); break;
            case 4: putPixel(out, palette[(src[x / 2] >> (x % 2 ? 0 : 4)) & 15]); break;
            case 8: putPixel(out, palette[src[x]]); break;
            case 24: putPixel(out, {src[3 * x + 2], src[3 * x + 1], src[3 * x]}); break;
            case 16: {
                const uint32_t p = readLittle16(src + 2 * x);
                putPixel(out, {red(p), green(p), blue(p)});
                break;
            }
            case 32: {
                const uint32_t p = readLittle32(src + 4 * x);
                putPixel(out, {red(p), green(p), blue(p)});
                break;
            }
            }
        }
    }
}

// Run-length encoded 8- or 4-bit pixels, stored bottom row first. Pixels the stream skips
// (end of line, delta, early end of picture) stay black; runs reaching past the right edge
// are cut there; the stream may stop once it has moved below the last row.
class RunLengthDecoder {
public:
    RunLengthDecoder(const uint8_t* data, size_t size, bool fourBit,
                     const std::array<Rgb, 256>& palette, RgbImage& image)
        : d_(data),
          n_(size),
          fourBit_(fourBit),
          palette_(palette),
          image_(image),
          width_(image.width),
          height_(image.height) {}

    const char* run() {
        while (y_ < height_) {
            switch (nextCode()) {
            case Step::More: break;
            case Step::End: return nullptr;
            case Step::Truncated: return kConversionError;
            }
        }
        return nullptr;
    }

private:
    enum class Step : uint8_t { More, End, Truncated };

    bool holds(size_t bytes) const { return n_ - i_ >= bytes; }

    // A code is two bytes: a repeat count and the index (or two) it repeats, or a zero and
    // an escape.
    Step nextCode() {
        if (!holds(2)) return Step::Truncated;
        const uint8_t first = d_[i_], second = d_[i_ + 1];
        i_ += 2;
        if (first == 0) return escape(second);
        paint(first,
              [&](unsigned k) { return fourBit_ ? (k % 2 ? second & 15 : second >> 4) : second; });
        return Step::More;
    }

    Step escape(uint8_t code) {
        switch (code) {
        case 0:
            x_ = 0;
            ++y_;
            return Step::More;
        case 1: return Step::End;
        case 2: return delta();
        default: return literal(code);
        }
    }

    // Moves right and up by the next two bytes.
    Step delta() {
        if (!holds(2)) return Step::Truncated;
        x_ += d_[i_];
        y_ += d_[i_ + 1];
        i_ += 2;
        return Step::More;
    }

    // `count` indices stored as they are.
    Step literal(uint8_t count) {
        const size_t bytes = fourBit_ ? (count + 1u) / 2 : count;
        if (!holds(bytes)) return Step::Truncated;
        const uint8_t* indices = d_ + i_;
        paint(count, [&](unsigned k) {
            return fourBit_ ? (indices[k / 2] >> (k % 2 ? 0 : 4)) & 15 : indices[k];
        });
        // Literal runs are padded to 16 bits; a missing pad byte at the very end is harmless.
        i_ += std::min(bytes + bytes % 2, n_ - i_);
        return Step::More;
    }

    // Writes `count` pixels from the current position; index(k) gives the k-th colour index.
    template <typename Index>
    void paint(unsigned count, Index index) {
        const int64_t visible = y_ < height_ ? std::clamp<int64_t>(width_ - x_, 0, count) : 0;
        for (int64_t k = 0; k < visible; ++k) {
            putPixel(image_.data.data() + (y_ * width_ + x_ + k) * 3,
                     palette_[index(static_cast<unsigned>(k))]);
        }
        x_ += count;
    }

    const uint8_t* d_;
    size_t n_;
    size_t i_ = 0;
    bool fourBit_;
    const std::array<Rgb, 256>& palette_;
    RgbImage& image_;
    int64_t width_;
    int64_t height_;
    int64_t x_ = 0;
    int64_t y_ = 0;
};

const char* decodeRunLength(const ByteView& file, uint64_t pixelOffset, bool fourBit,
                            const std::array<Rgb, 256>& palette, RgbImage& image) {
    if (pixelOffset > file.size()) return kConversionError;
    RunLengthDecoder decoder(file.at(static_cast<size_t>(pixelOffset)),
                             file.size() - static_cast<size_t>(pixelOffset), fourBit, palette,
                             image);
    return decoder.run();
}

bool mayPaint(const ByteView& file, uint64_t pixelOffset, int64_t pixels) {
    if (pixelOffset > file.size()) return false;
    const int64_t dataBytes = static_cast<int64_t>(file.size() - pixelOffset);
    return pixels <= kRunLengthFreePixels ||
           dataBytes * kRunLengthPixelsPerByte * kRunLengthCoverageShare >= pixels;
}

bool startsWithFileHeader(const ByteView& file) {
    return file.size() >= 2 && file.at(0)[0] == 'B' && file.at(0)[1] == 'M';
}

int64_t rowCount(const DibHeader& h) { return h.height < 0 ? -h.height : h.height; }

bool isRunLength(const DibHeader& h) {
    return h.compression == kCompressionRle8 || h.compression == kCompressionRle4;
}

// Whether a picture of this size, depth and compression may be decoded at all.
bool isDecodable(const DibHeader& h) {
    const int64_t rows = rowCount(h);
    if (h.width <= 0 || rows == 0 || h.width > kMaxPixels || rows > kMaxPixels ||
        h.width * rows > kMaxPixels) {
        return false;
    }
    if (!depthFitsCompression(h)) return false;
    return !(isRunLength(h) && h.height < 0);  // RLE has no top-down form
}

// Where the parts after the info header lie, and how 16- and 32-bit pixels hold their colours.
struct PixelLayout {
    std::array<uint32_t, 3> masks{};
    size_t tableStart = 0;
    size_t entrySize = 0;
    uint64_t entries = 0;
    uint64_t pixelOffset = 0;
};

std::optional<PixelLayout> locatePixels(const ByteView& file, bool fileHeader, size_t headerStart,
                                        const DibHeader& h) {
    PixelLayout layout;
    // 16- and 32-bit pixels: three masks after a 40-byte header, else the usual layouts.
    const size_t maskStart = headerStart + h.size;
    size_t maskBytes = 0;
    layout.masks = h.bitsPerPixel == 16 ? std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                        : std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
    if (h.compression == kCompressionBitfields) {
        maskBytes = 12;
        if (!file.holds(maskStart, maskBytes)) return std::nullopt;
        layout.masks = {file.u32(maskStart), file.u32(maskStart + 4), file.u32(maskStart + 8)};
    }

    layout.tableStart = maskStart + maskBytes;
    layout.entrySize = h.size == kCoreHeaderSize ? 3 : 4;
    layout.entries = colorTableEntries(h);
    layout.pixelOffset = layout.tableStart + layout.entries * layout.entrySize;
    // A zero offset would point at the file header itself: writers that leave it unset mean
    // "right after the colour table".
    if (fileHeader && file.u32(10) != 0) layout.pixelOffset = file.u32(10);
    return layout;
}

// Checked before the picture's buffer is allocated, so a short file cannot ask for a huge one.
bool holdsPixelData(const ByteView& file, const PixelLayout& layout, const DibHeader& h) {
    const int64_t rows = rowCount(h);
    if (isRunLength(h)) return mayPaint(file, layout.pixelOffset, h.width * rows);
    return holdsRows(file, layout.pixelOffset, h, rows);
}

const char* allocatePicture(const DibHeader& h, RgbImage& image) {
    const int64_t rows = rowCount(h);
    image.width = static_cast<int32_t>(h.width);
    image.height = static_cast<int32_t>(rows);
    try {
        image.data.assign(static_cast<size_t>(h.width) * static_cast<size_t>(rows) * 3, 0);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    return nullptr;
}

const char* decode(const ByteView& file, RgbImage& image) {
    const bool fileHeader = startsWithFileHeader(file);
    if (fileHeader && file.size() < kFileHeaderSize) return kUnknownFormat;
    const size_t headerStart = fileHeader ? kFileHeaderSize : 0;

    DibHeader h;
    if (!readHeader(file, headerStart, h)) return kUnknownFormat;
    if (!isDecodable(h)) return kConversionError;

    const std::optional<PixelLayout> layout = locatePixels(file, fileHeader, headerStart, h);
    if (!layout || !holdsPixelData(file, *layout, h)) return kConversionError;

    std::array<Rgb, 256> palette{};
    if (h.bitsPerPixel <= 8) {
        if (const char* failure = readPalette(file, layout->tableStart, layout->entrySize,
                                              layout->entries, h.bitsPerPixel, palette)) {
            return failure;
        }
    }

    if (const char* failure = allocatePicture(h, image)) return failure;

    if (isRunLength(h))
        return decodeRunLength(file, layout->pixelOffset, h.compression == kCompressionRle4,
                               palette, image);
    decodeUncompressed(file, layout->pixelOffset, h, palette, layout->masks, image);
    return nullptr;
}

}  // namespace

std::optional<RgbImage> decodeBmp(const uint8_t* bytes, size_t size, std::string* error) {
    RgbImage image;
    if (const char* failure = decode(ByteView(bytes, bytes ? size : 0), image)) {
        if (error) *error = failure;
        return std::nullopt;
    }
    return image;
}

std::optional<RgbImage> loadBmpImage(const char* path) {
    if (path == nullptr) return std::nullopt;
    // Only decides whether there is a readable file at all; a missing picture is not an error.
    const int probe = openForReading(path);
    if (probe < 0) return std::nullopt;
    ::close(probe);

    const MappedFile file(path);
    if (!file.valid()) {
        reportError(std::string("Failed to open DIB file ") + path + ".\n");
        return std::nullopt;
    }

    std::string error;
    std::optional<RgbImage> image = decodeBmp(file.bytes(), file.size(), &error);
    if (!image) reportError(error);
    return image;
}

}  // namespace quorlane
