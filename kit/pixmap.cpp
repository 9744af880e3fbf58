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


// ScaleOpaque's area average. With every alpha 255, ScalePixmap's average is sum(w * c) / sum(w),
// where the weights of a cell add up to srcWidth * srcHeight; whole numbers throughout give the
// same rounding as its exact double sums. Each output row sums its source rows down first, with
// one weight a row (Column: holds 255 x srcHeight), then across with the columns' weights.
constexpr int kPackedRows = 257;  // 257 x 255 = 65535

template <class Column>
void SumOpaque(const std::uint32_t* src, int srcWidth, int srcHeight, Pixmap& out) {
    const int width = out.width, height = out.height;
    struct Taps {
        int first, count;
        std::size_t weights;  // index of the first weight
    };
    std::vector<Taps> taps(width);
    std::vector<std::uint64_t> weights;
    for (int x = 0; x < width; ++x) {
        const Span sx = Cover(x, srcWidth, width);
        taps[x] = Taps{sx.first, sx.last - sx.first, weights.size()};
        for (int i = sx.first; i < sx.last; ++i) weights.push_back(Weight(sx, i, width));
    }
    std::vector<Column> r(srcWidth), g(srcWidth), b(srcWidth);
    std::vector<std::uint32_t> rb(srcWidth), gg(srcWidth);
    const std::uint64_t total = static_cast<std::uint64_t>(srcWidth) * srcHeight;
    for (int y = 0; y < height; ++y) {
        const Span sy = Cover(y, srcHeight, height);
        std::fill(r.begin(), r.end(), 0);
        std::fill(g.begin(), g.end(), 0);
        std::fill(b.begin(), b.end(), 0);
        // Rows wholly inside the cell all weigh height: added plainly, red and blue sharing a
        // word (16 bits each, room for kPackedRows rows), then multiplied once.
        int whole = 0, added = 0;
        for (int j = sy.first; j < sy.last; ++j) whole += Weight(sy, j, height) == height;
        for (int j = sy.first; j < sy.last; ++j) {
            if (Weight(sy, j, height) != height) continue;
            const std::uint32_t* line = src + static_cast<std::size_t>(j) * srcWidth;
            for (int i = 0; i < srcWidth; ++i) {
                rb[i] += line[i] & 0x00FF00FF;
                gg[i] += (line[i] >> 8) & 0xFF;
            }
            if (++added % kPackedRows != 0 && added != whole) continue;
            const auto h = static_cast<Column>(height);
            for (int i = 0; i < srcWidth; ++i) {
                r[i] += h * (rb[i] & 0xFFFF);
                b[i] += h * (rb[i] >> 16);
                g[i] += h * gg[i];
                rb[i] = gg[i] = 0;
            }
        }
        for (int j = sy.first; j < sy.last; ++j) {
            const auto wy = static_cast<Column>(Weight(sy, j, height));
            if (wy == static_cast<Column>(height)) continue;
            const std::uint32_t* line = src + static_cast<std::size_t>(j) * srcWidth;
            for (int i = 0; i < srcWidth; ++i) {
                const std::uint32_t p = line[i];
                r[i] += wy * (p & 0xFF);
                g[i] += wy * ((p >> 8) & 0xFF);
                b[i] += wy * ((p >> 16) & 0xFF);
            }
        }
        Rgba* dst = &out.px[static_cast<std::size_t>(y) * width];
        for (int x = 0; x < width; ++x) {
            const Taps& t = taps[x];
            const std::uint64_t* w = &weights[t.weights];
            std::uint64_t sr = 0, sg = 0, sb = 0;
            for (int k = 0; k < t.count; ++k) {
                sr += w[k] * r[t.first + k];
                sg += w[k] * g[t.first + k];
                sb += w[k] * b[t.first + k];
            }
            dst[x] = kAlphaOpaque | static_cast<Rgba>((2 * sr + total) / (2 * total)) |
                     static_cast<Rgba>((2 * sg + total) / (2 * total)) << 8 |
                     static_cast<Rgba>((2 * sb + total) / (2 * total)) << 16;
        }
    }
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

Pixmap ScaleOpaque(const std::uint32_t* src, int srcWidth, int srcHeight, int width,
                   int height) {
    Pixmap out;
    if (width < 1 || height < 1 || srcWidth < 1 || srcHeight < 1) return out;
    out.width = width;
    out.height = height;
    out.px.resize(static_cast<std::size_t>(width) * height);
    const auto row = [&](int y) { return src + static_cast<std::size_t>(y) * srcWidth; };
    if (width >= srcWidth && height >= srcHeight) {
        std::vector<int> xs(width);
        for (int x = 0; x < width; ++x)
            xs[x] = static_cast<int>(static_cast<long long>(x) * srcWidth / width);
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* line =
                row(static_cast<int>(static_cast<long long>(y) * srcHeight / height));
            for (int x = 0; x < width; ++x)
                out.px[static_cast<std::size_t>(y) * width + x] = kAlphaOpaque | (line[xs[x]] & 0xFFFFFF);
        }
        return out;
    }
    if (255ull * srcHeight <= 0xFFFFFFFFull)
        SumOpaque<std::uint32_t>(src, srcWidth, srcHeight, out);
    else
        SumOpaque<std::uint64_t>(src, srcWidth, srcHeight, out);
    return out;
}

}  // namespace kit
