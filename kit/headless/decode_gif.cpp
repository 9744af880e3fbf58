// GIF through giflib, first frame only: it is read at its own size and drawn from (0, 0),
// whatever its place on the logical screen, as the platform's picture loader does.
#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <vector>

#include "kit/headless/picture_decoders.h"

namespace kit::headless {

namespace {

struct Source {
    const std::uint8_t* d;
    std::size_t n, pos = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* buf, int want) {
    auto* s = static_cast<Source*>(gif->UserData);
    if (want <= 0) return 0;
    const std::size_t got = std::min<std::size_t>(static_cast<std::size_t>(want), s->n - s->pos);
    std::memcpy(buf, s->d + s->pos, got);
    s->pos += got;
    return static_cast<int>(got);
}

struct GifClose {
    void operator()(GifFileType* g) const {
        int error = 0;
        DGifCloseFile(g, &error);
    }
};

// Skips an extension's sub-blocks; reports the transparent index of a graphic control block.
bool ReadExtension(GifFileType* gif, int& transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
            transparent = gcb.TransparentColor;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

}  // namespace

std::optional<Pixmap> DecodeGif(const std::uint8_t* data, std::size_t size) {
    const auto header = ReadPictureHeader(data, size);
    if (!header || header->format != PictureFormat::Gif) return std::nullopt;
    if (!WithinPixelCap(header->width, header->height)) return std::nullopt;
    Source src{data, size};
    int error = 0;
    std::unique_ptr<GifFileType, GifClose> gif(DGifOpen(&src, ReadBytes, &error));
    if (!gif) return std::nullopt;

    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return std::nullopt;
        if (type == EXTENSION_RECORD_TYPE) {
            if (!ReadExtension(gif.get(), transparent)) return std::nullopt;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) return std::nullopt;  // no image before the end
        break;
    }
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return std::nullopt;
    const GifImageDesc& desc = gif->Image;
    const int w = desc.Width, h = desc.Height;
    if (w != header->width || h != header->height || !WithinPixelCap(w, h)) return std::nullopt;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || !map->Colors) return std::nullopt;

    std::vector<GifPixelType> line(static_cast<std::size_t>(w));
    Pixmap pm;
    pm.width = w;
    pm.height = h;
    pm.px.assign(static_cast<std::size_t>(w) * h, kAlphaOpaque);
    // Interlaced rows arrive in four passes.
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = desc.Interlace ? kStart[pass] : 0, step = desc.Interlace ? kStep[pass] : 1;
        for (int y = start; y < h; y += step) {
            if (DGifGetLine(gif.get(), line.data(), w) == GIF_ERROR) return std::nullopt;
            for (int x = 0; x < w; ++x) {
                const int index = line[static_cast<std::size_t>(x)];
                Rgba c = kAlphaOpaque;  // an index beyond the colour table shows black
                if (index < map->ColorCount) {
                    const GifColorType& col = map->Colors[index];
                    c = kAlphaOpaque | (Rgba(col.Blue) << 16) | (Rgba(col.Green) << 8) | col.Red;
                }
                if (index == transparent) c &= 0xFFFFFF;
                pm.at(x, y) = c;
            }
        }
    }
    return pm;
}

}  // namespace kit::headless
