#include "renderer/core/mipmap_chain.h"

#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorlane {

namespace {

constexpr int kChannels = 3;

// The picture's bytes as GLU addresses them: byte offsets from the start of the buffer.
// GLU can address one texel past a row's end on the last column; such a texel is given
// no weight there, and here it reads as 0 rather than outside the buffer. Boxes well inside
// the buffer skip the check.
struct Source {
    const uint8_t* data;
    std::size_t size;
    int rowBytes;
};

// One texel's three channels side by side, and a fourth lane that is never kept. Each lane
// is added and multiplied exactly as a single float would be, so the sums round as GLU's,
// channel by channel, while one instruction serves all three.
typedef float Channels __attribute__((vector_size(16)));
typedef int32_t ChannelInts __attribute__((vector_size(16)));

template <bool kChecked>
struct Texels {
    const Source& in;
    Channels operator()(std::ptrdiff_t offset) const {
        if constexpr (kChecked) {
            Channels texel = {0, 0, 0, 0};
            for (int k = 0; k < kChannels; ++k) {
                const std::ptrdiff_t at = offset + k;
                if (at >= 0 && static_cast<std::size_t>(at) < in.size) texel[k] = in.data[at];
            }
            return texel;
        } else {
            // Four bytes read at once: the caller leaves one byte of room past the box.
            uint32_t word;
            std::memcpy(&word, in.data + offset, sizeof word);
#if defined(__SSE2__)
            const __m128i zero = _mm_setzero_si128();
            const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(word & 0xffffff));
            return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
#else
            const ChannelInts bytes = {static_cast<int32_t>(word & 0xff),
                                       static_cast<int32_t>((word >> 8) & 0xff),
                                       static_cast<int32_t>((word >> 16) & 0xff), 0};
            return __builtin_convertvector(bytes, Channels);
#endif
        }
    }
};

// Where one output column's box starts and ends along a row of the input: the same for
// every output row.
struct Span {
    int low, high;
    float lowFrac, highFrac;
};

// One output texel of the box filter: the sum of the input texels under its box, edge
// texels weighted by how much of them the box covers, in a fixed order that decides the
// rounding, divided by the box's area.
template <bool kChecked>
void boxTexel(const Source& source, const Span& x, const Span& y, float area, uint8_t* dst) {
    const Texels<kChecked> at{source};
    const std::ptrdiff_t rowBytes = source.rowBytes;
    Channels totals = {0, 0, 0, 0};
    auto add = [&](std::ptrdiff_t offset, float weight) { totals += at(offset) * weight; };
    const std::ptrdiff_t xOffset = static_cast<std::ptrdiff_t>(x.low) * kChannels;

    if (y.high > y.low && x.high > x.low) {
        // The top and bottom rows of the box, partly covered.
        for (const auto& [row, coverY] :
             {std::pair{y.low, 1 - y.lowFrac}, std::pair{y.high, y.highFrac}}) {
            std::ptrdiff_t offset = xOffset + row * rowBytes;
            add(offset, coverY * (1 - x.lowFrac));
            for (int l = x.low + 1; l < x.high; ++l) add(offset += kChannels, coverY);
            add(offset + kChannels, coverY * x.highFrac);
        }
        // The left and right columns between them. GLU steps these one texel further
        // right on every row (its column pointers also advance per channel); that is
        // kept, as the texture must come out the same.
        std::ptrdiff_t left = xOffset + y.low * rowBytes;
        std::ptrdiff_t right = left + static_cast<std::ptrdiff_t>(x.high - x.low) * kChannels;
        for (int m = y.low + 1; m < y.high; ++m) {
            left += rowBytes;
            right += rowBytes;
            totals += at(left) * (1 - x.lowFrac) + at(right) * x.highFrac;
            left += kChannels;
            right += kChannels;
        }
    } else if (y.high > y.low) {
        // One column of texels, cut at its top and bottom.
        const float coverX = x.highFrac - x.lowFrac;
        std::ptrdiff_t offset = xOffset + y.low * rowBytes;
        add(offset, (1 - y.lowFrac) * coverX);
        for (int m = y.low + 1; m < y.high; ++m) add(offset += rowBytes, coverX);
        add(offset + rowBytes, coverX * y.highFrac);
    } else if (x.high > x.low) {
        // One row of texels, cut at its left and right.
        const float coverY = y.highFrac - y.lowFrac;
        std::ptrdiff_t offset = xOffset + y.low * rowBytes;
        add(offset, (1 - x.lowFrac) * coverY);
        for (int l = x.low + 1; l < x.high; ++l) add(offset += kChannels, coverY);
        add(offset + kChannels, coverY * x.highFrac);
    } else {
        add(xOffset + y.low * rowBytes, (y.highFrac - y.lowFrac) * (x.highFrac - x.lowFrac));
    }

    // The texels wholly inside the box.
    for (int m = y.low + 1; m < y.high; ++m) {
        std::ptrdiff_t offset = xOffset + kChannels + m * rowBytes;
        for (int l = x.low + 1; l < x.high; ++l, offset += kChannels) totals += at(offset);
    }
    const Channels means = totals / area;
    for (int k = 0; k < kChannels; ++k) dst[k] = static_cast<uint8_t>(means[k]);
}

// Steps a box edge on by one output texel: the whole and the fractional part of the
// scale, carried as GLU carries them.
void advance(Span& span, int whole, float fraction) {
    span.low = span.high;
    span.lowFrac = span.highFrac;
    span.high += whole;
    span.highFrac += fraction;
    if (span.highFrac > 1) {
        span.highFrac -= 1.0f;
        ++span.high;
    }
}

// The box filter from a picture onto a differently sized grid.
void boxScale(const Source& in, int inWidth, int inHeight, MipLevel& out) {
    const float convy = static_cast<float>(inHeight) / static_cast<float>(out.height);
    const float convx = static_cast<float>(inWidth) / static_cast<float>(out.width);
    const int convyInt = static_cast<int>(std::floor(convy));
    const float convyFrac = convy - static_cast<float>(convyInt);
    const int convxInt = static_cast<int>(std::floor(convx));
    const float convxFrac = convx - static_cast<float>(convxInt);
    const float area = convx * convy;

    std::vector<Span> columns(static_cast<std::size_t>(out.width));
    Span x{0, convxInt, 0, convxFrac};
    for (Span& column : columns) {
        column = x;
        advance(x, convxInt, convxFrac);
    }

    Span y{0, convyInt, 0, convyFrac};
    uint8_t* dst = out.rgb.data();
    for (int i = 0; i < out.height; ++i) {
        if (y.high >= inHeight) y.high = inHeight - 1;  // never past the last row
        for (const Span& column : columns) {
            // The furthest byte this box can touch, the drifting side columns included;
            // a box reads one byte past its last texel.
            const std::ptrdiff_t furthest =
                static_cast<std::ptrdiff_t>(y.high) * in.rowBytes +
                static_cast<std::ptrdiff_t>(column.high + 1 + (y.high - y.low)) * kChannels;
            if (column.low >= 0 && y.low >= 0 && furthest < static_cast<std::ptrdiff_t>(in.size)) {
                boxTexel<false>(in, column, y, area, dst);
            } else {
                boxTexel<true>(in, column, y, area, dst);
            }
            dst += kChannels;
        }
        advance(y, convyInt, convyFrac);
    }
}

// The next level: each texel the rounded mean of a 2x2 block; a level one texel wide or
// high halves along its other side only, as the truncated mean of two.
MipLevel halve(const uint8_t* in, int width, int height, int rowBytes) {
    MipLevel out;
    out.width = width > 1 ? width / 2 : 1;
    out.height = height > 1 ? height / 2 : 1;
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * kChannels);
    uint8_t* dst = out.rgb.data();
    if (width == 1 || height == 1) {
        const int step = height == 1 ? kChannels : rowBytes;
        const int stride = height == 1 ? 2 * kChannels : 2 * rowBytes;
        const int count = height == 1 ? width / 2 : height / 2;
        for (int n = 0; n < count; ++n, in += stride) {
            for (int k = 0; k < kChannels; ++k)
                *dst++ = static_cast<uint8_t>((in[k] + in[step + k]) / 2);
        }
        return out;
    }
    for (int y = 0; y < out.height; ++y) {
        const uint8_t* top = in + static_cast<std::ptrdiff_t>(2 * y) * rowBytes;
        const uint8_t* below = top + rowBytes;
        for (int x = 0; x < out.width; ++x, top += 2 * kChannels, below += 2 * kChannels) {
            for (int k = 0; k < kChannels; ++k) {
                *dst++ = static_cast<uint8_t>(
                    (top[k] + top[kChannels + k] + below[k] + below[kChannels + k] + 2) / 4);
            }
        }
    }
    return out;
}

}  // namespace

int nearestPowerOfTwo(int side) {
    if (side < 1) return 0;
    int power = 1;
    for (auto value = static_cast<unsigned>(side);; value >>= 1, power *= 2) {
        if (value == 1) return power;
        if (value == 3) return power * 4;
    }
}

std::vector<MipLevel> buildMipmapChain(const RgbImage& image, int width, int height) {
    std::vector<MipLevel> levels;
    if (image.width < 1 || image.height < 1 || width < 1 || height < 1) return levels;
    const int rowBytes = image.width * kChannels;
    if (image.data.size() < static_cast<std::size_t>(rowBytes) * image.height) return levels;

    if (image.width == width && image.height == height) {
        levels.push_back({width, height, image.data});
    } else if (image.width == 2 * width && image.height == 2 * height) {
        levels.push_back(halve(image.data.data(), image.width, image.height, rowBytes));
    } else {
        MipLevel base{width, height, {}};
        base.rgb.resize(static_cast<std::size_t>(width) * height * kChannels);
        boxScale({image.data.data(), image.data.size(), rowBytes}, image.width, image.height, base);
        levels.push_back(std::move(base));
    }
    while (levels.back().width > 1 || levels.back().height > 1) {
        const MipLevel& last = levels.back();
        MipLevel next = halve(last.rgb.data(), last.width, last.height, last.width * kChannels);
        levels.push_back(std::move(next));
    }
    return levels;
}

}  // namespace quorlane
