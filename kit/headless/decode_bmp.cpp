// A strict BMP reader: every read of the file is bounds-checked, sizes are checked before
// anything is allocated, and damaged run-length data stops the decoding without harm.
#include <algorithm>
#include <vector>

#include "kit/headless/picture_decoders.h"

namespace kit::headless {

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr Rgba kBlack = kAlphaOpaque;

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

Rgba FromRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return kAlphaOpaque | (b << 16) | (g << 8) | r;
}

// One colour channel of a bit-field pixel, widened to 8 bits by repeating its bits.
struct Field {
    int shift = 0, bits = 0;
    explicit Field(std::uint32_t mask = 0) {
        if (!mask) return;
        while (!(mask & 1)) mask >>= 1, ++shift;
        while (mask & 1) mask >>= 1, ++bits;
    }
    std::uint32_t get(std::uint32_t pixel) const {
        if (bits == 0) return 0;
        std::uint32_t v = (pixel >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
        if (bits >= 8) return v >> (bits - 8);
        std::uint32_t out = 0;
        int filled = 0;
        for (; filled < 8; filled += bits) out = (out << bits) | v;
        return out >> (filled - 8);
    }
};

struct Reader {
    const std::uint8_t* d;
    std::size_t n;
};

class Image {
public:
    Image(int w, int h, bool topDown) : topDown_(topDown) {
        pm.width = w;
        pm.height = h;
        pm.px.assign(static_cast<std::size_t>(w) * h, kBlack);
    }
    // Row r as stored in the file (0 = first stored row).
    void set(int x, int storedRow, Rgba c) {
        if (x < 0 || x >= pm.width || storedRow < 0 || storedRow >= pm.height) return;
        pm.at(x, topDown_ ? storedRow : pm.height - 1 - storedRow) = c;
    }
    Pixmap pm;

private:
    bool topDown_;
};

Rgba PaletteColour(const std::vector<Rgba>& palette, std::uint32_t index) {
    return index < palette.size() ? palette[index] : kBlack;  // GDI shows unknown indices black
}

void DecodeRle(const Reader& r, std::size_t pos, bool four, const std::vector<Rgba>& palette,
               Image& img) {
    int x = 0, y = 0;
    const int w = img.pm.width, h = img.pm.height;
    while (pos + 2 <= r.n && y < h) {
        const std::uint32_t count = r.d[pos], value = r.d[pos + 1];
        pos += 2;
        if (count > 0) {  // a run of one index (RLE8) or of two alternating ones (RLE4)
            for (std::uint32_t i = 0; i < count && x < w; ++i, ++x) {
                const std::uint32_t index = four ? ((i & 1) ? value & 0xF : value >> 4) : value;
                img.set(x, y, PaletteColour(palette, index));
            }
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // delta
            if (pos + 2 > r.n) return;
            // Past the right edge every place is outside: x stays there, however many deltas
            // a long file holds.
            x = std::min(x + static_cast<int>(r.d[pos]), w);
            y += r.d[pos + 1];
            pos += 2;
        } else {  // absolute: `value` literal indices, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            for (std::uint32_t i = 0; i < value; ++i) {
                const std::size_t at = pos + (four ? i / 2 : i);
                if (at >= r.n) return;
                const std::uint32_t index = four ? ((i & 1) ? r.d[at] & 0xF : r.d[at] >> 4) : r.d[at];
                if (x < w) img.set(x++, y, PaletteColour(palette, index));
            }
            pos += bytes + (bytes & 1);
        }
    }
}

}  // namespace

std::optional<Pixmap> DecodeBmp(const std::uint8_t* d, std::size_t n) {
    const auto header = ReadPictureHeader(d, n);
    if (!header || header->format != PictureFormat::Bmp) return std::nullopt;
    if (!WithinPixelCap(header->width, header->height)) return std::nullopt;
    const int w = header->width, h = header->height;
    const std::uint32_t hs = Le32(d + 14);
    const bool core = hs == 12;
    const std::uint32_t planes = Le16(d + (core ? 22 : 26));
    const std::uint32_t bpp = Le16(d + (core ? 24 : 28));
    const std::uint32_t compression = core ? kBiRgb : Le32(d + 30);
    const bool topDown = !core && static_cast<std::int32_t>(Le32(d + 22)) < 0;
    if (planes != 1) return std::nullopt;
    switch (bpp) {
    case 1: case 4: case 8: case 24: break;
    case 16: case 32: if (!core) break; return std::nullopt;
    default: return std::nullopt;
    }
    if (compression == kBiRle8 && bpp != 8) return std::nullopt;
    if (compression == kBiRle4 && bpp != 4) return std::nullopt;
    if (compression == kBiBitfields && bpp != 16 && bpp != 32) return std::nullopt;
    if (compression > kBiBitfields) return std::nullopt;
    if ((compression == kBiRle8 || compression == kBiRle4) && topDown) return std::nullopt;

    // Colour masks: inside the header from 52 bytes on, else after a 40-byte header.
    std::size_t tableAt = 14 + static_cast<std::size_t>(hs);
    std::uint32_t masks[3] = {0, 0, 0};
    if (compression == kBiBitfields) {
        std::size_t maskAt = 14 + 40;
        if (hs == 40) tableAt += 12;
        if (maskAt + 12 > n) return std::nullopt;
        for (int i = 0; i < 3; ++i) masks[i] = Le32(d + maskAt + 4 * i);
    } else if (bpp == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bpp == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }

    std::vector<Rgba> palette;
    if (bpp <= 8) {
        std::uint32_t count = 1u << bpp;
        if (!core) {
            const std::uint32_t used = Le32(d + 46);
            if (used != 0 && used < count) count = used;
        }
        const std::size_t entry = core ? 3 : 4;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = tableAt + i * entry;
            if (at + 3 > n) break;  // a short table: the missing entries read as black
            palette.push_back(FromRgb(d[at + 2], d[at + 1], d[at]));
        }
    }

    const std::size_t offBits = Le32(d + 10);
    if (offBits >= n) return std::nullopt;
    const Reader r{d, n};
    Image img(w, h, topDown);
    if (compression == kBiRle8 || compression == kBiRle4) {
        DecodeRle(r, offBits, compression == kBiRle4, palette, img);
        return std::move(img.pm);
    }

    const std::size_t stride = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    const Field red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int row = 0; row < h; ++row) {
        const std::size_t rowAt = offBits + stride * static_cast<std::size_t>(row);
        if (rowAt >= n) break;
        const std::size_t avail = std::min(stride, n - rowAt);
        const std::uint8_t* p = d + rowAt;
        for (int x = 0; x < w; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * bpp;
            if ((bit + bpp + 7) / 8 > avail) break;  // the file ends inside this row
            Rgba c;
            switch (bpp) {
            case 1: c = PaletteColour(palette, (p[bit / 8] >> (7 - bit % 8)) & 1); break;
            case 4: c = PaletteColour(palette, (p[bit / 8] >> (bit % 8 ? 0 : 4)) & 0xF); break;
            case 8: c = PaletteColour(palette, p[bit / 8]); break;
            case 24: c = FromRgb(p[bit / 8 + 2], p[bit / 8 + 1], p[bit / 8]); break;
            default: {
                const std::uint32_t v = bpp == 16 ? Le16(p + bit / 8) : Le32(p + bit / 8);
                c = FromRgb(red.get(v), green.get(v), blue.get(v));
            }
            }
            img.set(x, row, c);
        }
    }
    return std::move(img.pm);
}

}  // namespace kit::headless
