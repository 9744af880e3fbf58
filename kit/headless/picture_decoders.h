// Decoders of the headless backend: picture file bytes into a portable pixel buffer, with the
// maintained libraries (libjpeg-turbo, giflib, libpng) and a strict BMP reader of our own.
// Each checks the size in the header against the pixel cap before it allocates anything and
// gives nothing for a file it cannot read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "kit/picture_header.h"
#include "kit/pixmap.h"

namespace kit::headless {

// Opaque pixels. Bit depths 1, 4, 8, 16, 24, 32; BI_RGB, BI_BITFIELDS, RLE4, RLE8; bottom-up
// and top-down; header sizes 12, 40, 52, 56, 108, 124. The alpha byte of 32-bit pixels is
// ignored, as GDI does. Pixel data cut short leaves the rest black.
std::optional<Pixmap> DecodeBmp(const std::uint8_t* data, std::size_t size);
// Baseline and progressive; CMYK converted as the platform's decoder does. Decodes into
// *storage, taking it, when it holds exactly the picture's pixel count: every pixel is
// written, so its old contents never show. colours: the top byte is left 0 instead of
// opaque alpha, as the raster's bitmaps hold their colours (0x00BBGGRR).
std::optional<Pixmap> DecodeJpeg(const std::uint8_t* data, std::size_t size,
                                 std::vector<Rgba>* storage = nullptr, bool colours = false);
// The first frame at its own size, drawn from (0, 0); its transparent index gets alpha 0.
std::optional<Pixmap> DecodeGif(const std::uint8_t* data, std::size_t size);
// Straight alpha, 8 bits a channel.
std::optional<Pixmap> DecodePng(const std::uint8_t* data, std::size_t size);
// Deflate packs at most this many bytes into one.
constexpr unsigned kMaxDeflateRatio = 1032;
// Whether a PNG file of size bytes can hold the rows its header claims: a file shorter than
// they are, packed as tightly as deflate can, is damaged whatever its header says.
bool PngCanHoldItsPixels(const std::uint8_t* data, std::size_t size);

// Chooses the decoder by the leading bytes. ICO is never read, PNG only when asked for.
std::optional<Pixmap> DecodePicture(const std::uint8_t* data, std::size_t size, bool readPng);

}  // namespace kit::headless
