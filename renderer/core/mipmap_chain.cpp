#include "renderer/core/mipmap_chain.h"

#include <cmath>

namespace quorlane {

namespace {

constexpr int kChannels = 3;

// The picture's bytes as GLU addresses them: byte offsets from the start of the buffer.
// GLU can address one texel past a row's end on the last column; such a texel is given
// no weight there, and here it reads as 0 rather than outside the buffer.
struct Source {
    const uint8_t* data;
    std::size_t size;
    int rowBytes;
    float at(std::ptrdiff_t offset) const {
        return offset >= 0 && static_cast<std::size_t>(offset) < size ? data[offset] : 0.0f;
    }
};

// The box filter from a picture onto a differently sized grid. Each output texel sums the
// input texels under its box, edge texels weighted by how much of them the box covers,
// in a fixed order that decides the rounding, and divides by the box's area.
void boxScale(const Source& in, int inWidth, int inHeight, MipLevel& out) {
    const float convy = static_cast<float>(inHeight) / static_cast<float>(out.height);
    const float convx = static_cast<float>(inWidth) / static_cast<float>(out.width);
    const int convyInt = static_cast<int>(std::floor(convy));
    const float convyFrac = convy - static_cast<float>(convyInt);
    const int convxInt = static_cast<int>(std::floor(convx));
    const float convxFrac = convx - static_cast<float>(convxInt);
    const float area = convx * convy;
    const int rowBytes = in.rowBytes;

    int lowY = 0, highY = convyInt;
    float lowYFrac = 0, highYFrac = convyFrac;
    uint8_t* dst = out.rgb.data();
    for (int i = 0; i < out.height; ++i) {
        if (highY >= inHeight) highY = inHeight - 1;  // never past the last row
        int lowX = 0, highX = convxInt;
        float lowXFrac = 0, highXFrac = convxFrac;
        for (int j = 0; j < out.width; ++j) {
            float totals[kChannels] = {0, 0, 0};
            const std::ptrdiff_t xOffset = static_cast<std::ptrdiff_t>(lowX) * kChannels;
            auto add = [&](std::ptrdiff_t offset, float weight) {
                for (int k = 0; k < kChannels; ++k) totals[k] += in.at(offset + k) * weight;
            };
            auto rowOffset = [&](int row) { return static_cast<std::ptrdiff_t>(row) * rowBytes; };

            if (highY > lowY && highX > lowX) {
                // The top and bottom rows of the box, partly covered.
                for (const auto& [row, coverY] :
                     {std::pair{lowY, 1 - lowYFrac}, std::pair{highY, highYFrac}}) {
                    std::ptrdiff_t at = xOffset + rowOffset(row);
                    add(at, coverY * (1 - lowXFrac));
                    for (int l = lowX + 1; l < highX; ++l) add(at += kChannels, coverY);
                    add(at + kChannels, coverY * highXFrac);
                }
                // The left and right columns between them. GLU steps these one texel
                // further right on every row (its column pointers also advance per
                // channel); that is kept, as the texture must come out the same.
                std::ptrdiff_t left = xOffset + rowOffset(lowY);
                std::ptrdiff_t right = left + static_cast<std::ptrdiff_t>(highX - lowX) * kChannels;
                for (int m = lowY + 1; m < highY; ++m) {
                    left += rowBytes;
                    right += rowBytes;
                    for (int k = 0; k < kChannels; ++k, ++left, ++right) {
                        totals[k] += in.at(left) * (1 - lowXFrac) + in.at(right) * highXFrac;
                    }
                }
            } else if (highY > lowY) {
                // One column of texels, cut at its top and bottom.
                const float coverX = highXFrac - lowXFrac;
                std::ptrdiff_t at = xOffset + rowOffset(lowY);
                add(at, (1 - lowYFrac) * coverX);
                for (int m = lowY + 1; m < highY; ++m) add(at += rowBytes, coverX);
                add(at + rowBytes, coverX * highYFrac);
            } else if (highX > lowX) {
                // One row of texels, cut at its left and right.
                const float coverY = highYFrac - lowYFrac;
                std::ptrdiff_t at = xOffset + rowOffset(lowY);
                add(at, (1 - lowXFrac) * coverY);
                for (int l = lowX + 1; l < highX; ++l) add(at += kChannels, coverY);
                add(at + kChannels, coverY * highXFrac);
            } else {
                add(xOffset + rowOffset(lowY), (highYFrac - lowYFrac) * (highXFrac - lowXFrac));
            }

            // The texels wholly inside the box.
            for (int m = lowY + 1; m < highY; ++m) {
                std::ptrdiff_t at = xOffset + kChannels + rowOffset(m);
                for (int l = lowX + 1; l < highX; ++l, at += kChannels) {
                    for (int k = 0; k < kChannels; ++k) totals[k] += in.at(at + k);
                }
            }

            for (int k = 0; k < kChannels; ++k) *dst++ = static_cast<uint8_t>(totals[k] / area);

            lowX = highX;
            lowXFrac = highXFrac;
            highX += convxInt;
            highXFrac += convxFrac;
            if (highXFrac > 1) {
                highXFrac -= 1.0f;
                ++highX;
            }
        }
        lowY = highY;
        lowYFrac = highYFrac;
        highY += convyInt;
        highYFrac += convyFrac;
        if (highYFrac > 1) {
            highYFrac -= 1.0f;
            ++highY;
        }
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
            for (int k = 0; k < kChannels; ++k) *dst++ = static_cast<uint8_t>((in[k] + in[step + k]) / 2);
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
        boxScale({image.data.data(), image.data.size(), rowBytes}, image.width, image.height,
                 base);
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
