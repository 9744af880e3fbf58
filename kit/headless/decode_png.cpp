// PNG through libpng's simplified API, which reports errors as results (no setjmp here).
#include <png.h>

#include <bit>
#include <cstring>

#include "kit/headless/picture_decoders.h"

namespace kit::headless {

static_assert(std::endian::native == std::endian::little, "RGBA bytes read as 0xAABBGGRR");

bool PngCanHoldItsPixels(const std::uint8_t* data, std::size_t size) {
    const auto header = ReadPictureHeader(data, size);
    if (!header || header->format != PictureFormat::Png) return false;
    const int depth = data[24];
    int channels = 0;
    switch (data[25]) {
    case 0: case 3: channels = 1; break;
    case 2: channels = 3; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: return false;
    }
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16) return false;
    // Each row: a filter byte and the packed samples. Interlacing only adds to this.
    const auto bits = static_cast<unsigned long long>(header->width) * depth * channels;
    const unsigned long long raw = static_cast<unsigned long long>(header->height) * (1 + (bits + 7) / 8);
    return size >= raw / kMaxDeflateRatio;
}

std::optional<Pixmap> DecodePng(const std::uint8_t* data, std::size_t size) {
    const auto header = ReadPictureHeader(data, size);
    if (!header || header->format != PictureFormat::Png) return std::nullopt;
    if (!WithinPixelCap(header->width, header->height)) return std::nullopt;
    // libpng would allocate the whole picture and inflate until the data ran out.
    if (!PngCanHoldItsPixels(data, size)) return std::nullopt;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        png_image_free(&image);
        return std::nullopt;
    }
    if (!WithinPixelCap(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGBA;
    Pixmap pm;
    pm.width = static_cast<int>(image.width);
    pm.height = static_cast<int>(image.height);
    pm.px.resize(static_cast<std::size_t>(pm.width) * pm.height);
    // RGBA bytes in memory are exactly our little-endian 0xAABBGGRR pixels.
    if (!png_image_finish_read(&image, nullptr, pm.px.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return pm;
}

}  // namespace kit::headless
