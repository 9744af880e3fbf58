// JPEG through libjpeg-turbo, with the same decoding defaults (accurate DCT, smooth
// upsampling) as the libjpeg behind the platform's picture loader. Rows are decoded straight
// into the picture's buffer, a few at a time, and finished while they are still in the cache.
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>

#include "kit/headless/picture_decoders.h"

namespace kit::headless {

static_assert(std::endian::native == std::endian::little, "RGBA bytes read as 0xAABBGGRR");

namespace {

struct ErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void Fail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}
// Damage inside the data (extraneous bytes, a bad segment) only warns: read on, quietly.
void Quiet(j_common_ptr, int) {}
void Silent(j_common_ptr) {}

// Takes storage when it holds exactly the pixel count, else a new buffer.
void Size(Pixmap& pm, int width, int height, std::vector<Rgba>* storage) {
    pm.width = width;
    pm.height = height;
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    if (storage && storage->size() == pixels) {
        pm.px = std::move(*storage);
        storage->clear();
    } else {
        pm.px.resize(pixels);
    }
}

// Decodes the whole picture into pm, finishing each band of rows as it comes: CMYK converted,
// and the top byte made what the caller asked for. No object with a destructor lives in this
// frame, which a fatal error re-enters by longjmp.
bool Decompress(const std::uint8_t* data, std::size_t size, bool adobe, bool colours,
                Pixmap& pm, std::vector<Rgba>* storage) {
    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = Fail;
    trap.mgr.emit_message = Quiet;
    trap.mgr.output_message = Silent;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (!WithinPixelCap(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // RGBA bytes in memory are exactly our little-endian 0xAABBGGRR pixels.
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    try {
        Size(pm, static_cast<int>(info.output_width), static_cast<int>(info.output_height),
             storage);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    auto* out = reinterpret_cast<std::uint8_t*>(pm.px.data());
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 4;
    const std::uint32_t keep = colours ? 0x00FFFFFFu : 0xFFFFFFFFu;
    while (info.output_scanline < info.output_height) {
        constexpr unsigned kBand = 16;
        JSAMPROW rows[kBand];
        const unsigned first = info.output_scanline;
        const unsigned band = std::min(kBand, info.output_height - first);
        for (unsigned i = 0; i < band; ++i) rows[i] = out + (first + i) * stride;
        const unsigned got = jpeg_read_scanlines(&info, rows, band);
        auto* px = reinterpret_cast<Rgba*>(out + first * stride);
        const std::size_t n = static_cast<std::size_t>(got) * info.output_width;
        if (cmyk) {
            // Adobe files store their inks inverted; without the marker 0 means no ink.
            for (std::size_t i = 0; i < n; ++i) {
                const Rgba p = px[i];
                std::uint32_t c = p & 0xFF, m = (p >> 8) & 0xFF, y = (p >> 16) & 0xFF, k = p >> 24;
                if (!adobe) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
                px[i] = (kAlphaOpaque | ((y * k / 255) << 16) | ((m * k / 255) << 8) |
                         (c * k / 255)) & keep;
            }
        } else if (colours) {
            for (std::size_t i = 0; i < n; ++i) px[i] &= keep;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

std::optional<Pixmap> DecodeJpeg(const std::uint8_t* data, std::size_t size,
                                 std::vector<Rgba>* storage, bool colours) {
    const auto header = ReadPictureHeader(data, size);
    if (!header || header->format != PictureFormat::Jpeg) return std::nullopt;
    if (!WithinPixelCap(header->width, header->height)) return std::nullopt;
    if (size > 0xFFFFFFFFul || !JpegIsWhole(data, size)) return std::nullopt;
    Pixmap pm;
    if (!Decompress(data, size, header->adobe, colours, pm, storage)) return std::nullopt;
    return pm;
}

}  // namespace kit::headless
