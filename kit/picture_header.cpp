#include "kit/picture_header.h"

#include <cstring>

namespace kit {

namespace {

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t Be16(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }
std::uint32_t Be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

std::optional<PictureHeader> Sized(PictureFormat f, long long w, long long h) {
    if (w <= 0 || h <= 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return std::nullopt;
    PictureHeader ph;
    ph.format = f;
    ph.width = static_cast<int>(w);
    ph.height = static_cast<int>(h);
    return ph;
}

std::optional<PictureHeader> BmpHeader(const std::uint8_t* d, std::size_t n) {
    if (n < 14 + 4) return std::nullopt;
    const std::uint32_t hs = Le32(d + 14);
    if (hs == 12) {
        if (n < 14 + 12) return std::nullopt;
        return Sized(PictureFormat::Bmp, Le16(d + 18), Le16(d + 20));
    }
    if (hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124) return std::nullopt;
    if (n < 14 + 40) return std::nullopt;
    const long long w = static_cast<std::int32_t>(Le32(d + 18));
    long long h = static_cast<std::int32_t>(Le32(d + 22));
    if (h < 0) h = -h;  // top-down
    return Sized(PictureFormat::Bmp, w, h);
}

bool IsSof(std::uint8_t m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

std::optional<PictureHeader> JpegHeader(const std::uint8_t* d, std::size_t n) {
    bool adobe = false;
    std::size_t i = 2;
    for (;;) {
        // Markers may be preceded by any number of fill bytes.
        if (i >= n || d[i] != 0xFF) return std::nullopt;
        while (i < n && d[i] == 0xFF) ++i;
        if (i >= n) return std::nullopt;
        const std::uint8_t m = d[i++];
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD8)) continue;  // no length
        if (m == 0xD9 || m == 0xDA || m == 0x00) return std::nullopt;  // no frame before data
        if (i + 2 > n) return std::nullopt;
        const std::size_t len = Be16(d + i);
        if (len < 2 || i + len > n) return std::nullopt;
        const std::uint8_t* seg = d + i + 2;
        const std::size_t segLen = len - 2;
        if (m == 0xEE && segLen >= 5 && std::memcmp(seg, "Adobe", 5) == 0) adobe = true;
        if (IsSof(m)) {
            if (segLen < 6) return std::nullopt;
            auto ph = Sized(PictureFormat::Jpeg, Be16(seg + 3), Be16(seg + 1));
            if (ph) {
                ph->components = seg[5];
                ph->adobe = adobe;
            }
            return ph;
        }
        i += len;
    }
}

std::optional<PictureHeader> GifHeader(const std::uint8_t* d, std::size_t n) {
    if (n < 13) return std::nullopt;
    std::size_t i = 13;
    if (d[10] & 0x80) i += 3u * (2u << (d[10] & 7));
    for (;;) {
        if (i >= n) return std::nullopt;
        const std::uint8_t block = d[i++];
        if (block == 0x2C) {  // the first image: its own size is the picture's
            if (i + 9 > n) return std::nullopt;
            return Sized(PictureFormat::Gif, Le16(d + i + 4), Le16(d + i + 6));
        }
        if (block != 0x21) return std::nullopt;  // the trailer, or damage
        if (i >= n) return std::nullopt;
        ++i;  // the extension's label
        for (;;) {  // its sub-blocks, up to the empty one
            if (i >= n) return std::nullopt;
            const std::size_t len = d[i++];
            if (len == 0) break;
            i += len;
        }
    }
}

std::optional<PictureHeader> PngHeader(const std::uint8_t* d, std::size_t n) {
    if (n < 8 + 8 + 13 || Be32(d + 8) < 13 || std::memcmp(d + 12, "IHDR", 4) != 0)
        return std::nullopt;
    return Sized(PictureFormat::Png, Be32(d + 16), Be32(d + 20));
}

}  // namespace

PictureFormat SniffPictureFormat(const std::uint8_t* d, std::size_t n) {
    if (n >= 2 && d[0] == 'B' && d[1] == 'M') return PictureFormat::Bmp;
    if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return PictureFormat::Jpeg;
    if (n >= 6 && (std::memcmp(d, "GIF87a", 6) == 0 || std::memcmp(d, "GIF89a", 6) == 0))
        return PictureFormat::Gif;
    if (n >= 8 && std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0) return PictureFormat::Png;
    if (n >= 6 && d[0] == 0 && d[1] == 0 && d[2] == 1 && d[3] == 0 && (d[4] | d[5]) != 0)
        return PictureFormat::Ico;
    return PictureFormat::Unknown;
}

std::optional<PictureHeader> ReadPictureHeader(const std::uint8_t* data, std::size_t size) {
    switch (SniffPictureFormat(data, size)) {
    case PictureFormat::Bmp: return BmpHeader(data, size);
    case PictureFormat::Jpeg: return JpegHeader(data, size);
    case PictureFormat::Gif: return GifHeader(data, size);
    case PictureFormat::Png: return PngHeader(data, size);
    default: return std::nullopt;
    }
}

bool WithinPixelCap(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxPicturePixels / height;
}

bool JpegIsWhole(const std::uint8_t* data, std::size_t size) {
    std::size_t i = 2;
    while (i + 4 <= size) {  // the marker segments before the first scan
        if (data[i] != 0xFF) return false;
        const std::uint8_t m = data[i + 1];
        if (m == 0xFF) {
            ++i;
            continue;
        }
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD8)) {
            i += 2;
            continue;
        }
        const std::size_t len = (static_cast<std::size_t>(data[i + 2]) << 8) | data[i + 3];
        if (m == 0xDA) break;
        i += 2 + len;
    }
    // From the end, where a whole file has its end marker: a truncated one is read through.
    for (std::size_t j = size; j > i + 1; --j)
        if (data[j - 1] == 0xD9 && data[j - 2] == 0xFF) return true;
    return false;
}

}  // namespace kit
