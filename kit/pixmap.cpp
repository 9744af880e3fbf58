#include "kit/pixmap.h"

#include <algorithm>

namespace kit {

std::uint32_t CompositeOver(Rgba pixel, std::uint32_t background) {
    const std::uint32_t a = pixel >> 24;
    if (a == 0xFF) return pixel & 0xFFFFFF;
    if (a == 0) return background & 0xFFFFFF;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t f = (pixel >> shift) & 0xFF, b = (background >> shift) & 0xFF;
        out |= ((f * a + b * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

namespace {

// Source span [first, last) in 1/dst units that destination cell i covers along one axis:
// cell i covers source coordinates [i*src/dst, (i+1)*src/dst).
struct Span {
    int first, last;  // whole source cells touched
    long long startNum, endNum;  // exact bounds scaled by dst
};

Span Cover(int i, int src, int dst) {
    const long long s = static_cast<long long>(i) * src, e = static_cast<long long>(i + 1) * src;
    return Span{static_cast<int>(s / dst), static_cast<int>((e + dst - 1) / dst), s, e};
}

// Overlap, scaled by dst, of source cell j with the span.
long long Weight(const Span& sp, int j, int dst) {
    const long long lo = std::max<long long>(sp.startNum, static_cast<long long>(j) * dst);
    const long long hi = std::min<long long>(sp.endNum, static_cast<long long>(j + 1) * dst);
    return hi > lo ? hi - lo : 0;
}

}  // namespace

Pixmap ScalePixmap(const Pixmap& src, int width, int height) {
    Pixmap out;
    if (width < 1 || height < 1 || src.width < 1 || src.height < 1) return out;
    out.width = width;
    out.height = height;
    out.px.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const Span sy = Cover(y, src.height, height);
        for (int x = 0; x < width; ++x) {
            if (width >= src.width && height >= src.height) {
                // Enlarging (or 1:1) both ways: the nearest source pixel.
                out.at(x, y) = src.at(static_cast<int>(static_cast<long long>(x) * src.width / width),
                                      static_cast<int>(static_cast<long long>(y) * src.height / height));
                continue;
            }
            const Span sx = Cover(x, src.width, width);
            // Alpha-weighted average, so transparent pixels lend no colour.
            double sum[4] = {0, 0, 0, 0}, total = 0;
            for (int j = sy.first; j < sy.last; ++j) {
                const double wy = static_cast<double>(Weight(sy, j, height));
                for (int i = sx.first; i < sx.last; ++i) {
                    const double w = wy * static_cast<double>(Weight(sx, i, width));
                    const Rgba p = src.at(i, j);
                    const double a = static_cast<double>(p >> 24);
                    sum[0] += w * a * (p & 0xFF);
                    sum[1] += w * a * ((p >> 8) & 0xFF);
                    sum[2] += w * a * ((p >> 16) & 0xFF);
                    sum[3] += w * a;
                    total += w;
                }
            }
            Rgba p = 0;
            if (sum[3] > 0) {
                for (int c = 0; c < 3; ++c)
                    p |= static_cast<Rgba>(std::min(255.0, sum[c] / sum[3] + 0.5)) << (8 * c);
                p |= static_cast<Rgba>(std::min(255.0, sum[3] / total + 0.5)) << 24;
            }
            out.at(x, y) = p;
        }
    }
    return out;
}

}  // namespace kit
