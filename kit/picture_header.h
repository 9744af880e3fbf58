// A picture file's format from its leading bytes and its size from its header, read before
// anything is decoded, and the limits every picture loader keeps.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kit {

enum class PictureFormat { Unknown, Bmp, Jpeg, Gif, Png, Ico };

// Above this many pixels a picture counts as unreadable: decoding it would take more memory
// than a 32-bit process can spare (a decompression bomb saved by a grab, for instance).
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

PictureFormat SniffPictureFormat(const std::uint8_t* data, std::size_t size);

struct PictureHeader {
    PictureFormat format = PictureFormat::Unknown;
    // The size the loaders report: for a GIF, that of its first frame (not its logical screen).
    int width = 0, height = 0;
    // JPEG: colour components and whether an Adobe APP14 marker precedes the frame (its CMYK
    // is stored inverted).
    int components = 0;
    bool adobe = false;
};

// The header of a BMP, JPEG, GIF or PNG file; nothing for other formats, a damaged header or
// a size of 0 or below in either direction.
std::optional<PictureHeader> ReadPictureHeader(const std::uint8_t* data, std::size_t size);

bool WithinPixelCap(long long width, long long height);

// A JPEG cut short reads as unreadable on the platform, whose decoder fails when the data ends
// before the picture does; damage inside the data only warns. Entropy-coded data never holds
// FF D9, so an end-of-image marker after the first scan's start shows that the file is whole.
bool JpegIsWhole(const std::uint8_t* data, std::size_t size);

}  // namespace kit
