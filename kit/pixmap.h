// Pictures in a portable pixel buffer: what decoders produce and what the raster scales.
#pragma once
#include <cstdint>
#include <vector>

namespace kit {

// Straight (not premultiplied) alpha in the top byte of a 0x00BBGGRR colour: 0xAABBGGRR.
using Rgba = std::uint32_t;

constexpr Rgba kAlphaOpaque = 0xFF000000u;

struct Pixmap {
    int width = 0, height = 0;
    std::vector<Rgba> px;  // rows top to bottom

    Rgba at(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
    Rgba& at(int x, int y) { return px[static_cast<std::size_t>(y) * width + x]; }
};

// Straight alpha over an opaque colour (0x00BBGGRR), each channel rounded to nearest.
std::uint32_t CompositeOver(Rgba pixel, std::uint32_t background);

// The picture resampled to width x height: an area average when shrinking, the nearest
// source pixel when enlarging. Empty when either size is below 1.
Pixmap ScalePixmap(const Pixmap& src, int width, int height);

// ScalePixmap of an opaque picture read straight from srcWidth x srcHeight pixels 0x00BBGGRR
// (the top byte is ignored): the same pixels, without an alpha copy of a big source first.
Pixmap ScaleOpaque(const std::uint32_t* src, int srcWidth, int srcHeight, int width, int height);

}  // namespace kit
