// JPEG through libjpeg-turbo's TurboJPEG API, with the same decoding defaults (accurate DCT,
// smooth upsampling) as the libjpeg behind the platform's picture loader.
#include <turbojpeg.h>

#include <bit>
#include <memory>

#include "kit/headless/picture_decoders.h"

namespace kit::headless {

static_assert(std::endian::native == std::endian::little, "RGBA bytes read as 0xAABBGGRR");

namespace {

struct TjFree {
    void operator()(void* h) const { tjDestroy(h); }
};

// A file cut short is unreadable, as on the platform, whose decoder fails when the data ends
// before the picture does; damage inside the data (extraneous bytes, a bad segment) only warns.
// Entropy-coded data never holds FF D9, so an end-of-image marker after the first scan's start
// shows that the file is whole.
bool Complete(const std::uint8_t* data, std::size_t size) {
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
    for (std::size_t j = i; j + 1 < size; ++j)
        if (data[j] == 0xFF && data[j + 1] == 0xD9) return true;
    return false;
}

}  // namespace

std::optional<Pixmap> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    const auto header = ReadPictureHeader(data, size);
    if (!header || header->format != PictureFormat::Jpeg) return std::nullopt;
    if (!WithinPixelCap(header->width, header->height)) return std::nullopt;
    if (size > 0xFFFFFFFFul) return std::nullopt;
    std::unique_ptr<void, TjFree> tj(tjInitDecompress());
    if (!tj) return std::nullopt;
    const auto len = static_cast<unsigned long>(size);
    int w = 0, h = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(tj.get(), data, len, &w, &h, &subsampling, &colorspace) != 0)
        return std::nullopt;
    if (!WithinPixelCap(w, h) || !Complete(data, size)) return std::nullopt;

    Pixmap pm;
    pm.width = w;
    pm.height = h;
    pm.px.resize(static_cast<std::size_t>(w) * h);
    auto* out = reinterpret_cast<unsigned char*>(pm.px.data());
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
    // RGBA bytes in memory are exactly our little-endian 0xAABBGGRR pixels.
    const int format = cmyk ? TJPF_CMYK : TJPF_RGBA;
    if (tjDecompress2(tj.get(), data, len, out, w, w * 4, h, format, 0) != 0 &&
        tjGetErrorCode(tj.get()) != TJERR_WARNING)
        return std::nullopt;
    if (cmyk) {
        // Adobe files store their inks inverted; without the marker 0 means no ink.
        for (Rgba& p : pm.px) {
            std::uint32_t c = p & 0xFF, m = (p >> 8) & 0xFF, y = (p >> 16) & 0xFF, k = p >> 24;
            if (!header->adobe) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
            p = kAlphaOpaque | ((y * k / 255) << 16) | ((m * k / 255) << 8) | (c * k / 255);
        }
    }
    return pm;
}

}  // namespace kit::headless
