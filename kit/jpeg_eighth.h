// A JPEG decoded at an eighth of its size from each block's mean alone: no
// inverse transform, and the detail of progressive files is never read. Far
// quicker than a whole decode, for pictures drawn much smaller than their
// natural size (thumbnails).
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kit {

struct EighthPicture {
    int width = 0, height = 0;                // the eighth: natural size / 8, rounded up
    int naturalWidth = 0, naturalHeight = 0;  // the whole picture's
    std::vector<std::uint8_t> bgr;            // top row first, rows packed, blue-green-red
};

// Huffman-coded 8-bit baseline, extended or progressive files, grey or YCbCr,
// whose sampling factors divide the largest ones. Anything else, and any damage
// (a truncated file, a bad code, a missing restart marker or end of image),
// gives nothing: the caller then decodes the whole picture, which decides how
// such a file reads.
std::optional<EighthPicture> DecodeJpegEighth(const std::uint8_t *data, std::size_t size);

// The size of a natural-size picture decoded at an eighth.
inline int EighthOf(int natural) { return (natural + 7) / 8; }

// An eighth is enough for a drawing of drawnWidth x drawnHeight when it has at
// least as many pixels both ways: a smaller one would have to be enlarged.
inline bool EighthSuffices(int naturalWidth, int naturalHeight, int drawnWidth, int drawnHeight) {
    return drawnWidth > 0 && drawnHeight > 0 && EighthOf(naturalWidth) >= drawnWidth &&
           EighthOf(naturalHeight) >= drawnHeight;
}

}  // namespace kit
