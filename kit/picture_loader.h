// The toolkit's picture loader and the picture operations built on the drawing layer.
#pragma once
#include <functional>
#include <string>

#include "kit/controls.h"

namespace kit {

struct PictureSize {
    int width = 0, height = 0;
    bool operator==(const PictureSize&) const = default;
};

// Loads BMP, JPEG and GIF files (and ICO where the platform reads it) at their natural size,
// by content, not by name. A file that cannot be read raises RuntimeError kErrFileNotFound
// or kErrInvalidPicture.
Picture LoadPicture(const std::string& path);

// LoadPicture for a picture that will be drawn at drawn(its natural size): a JPEG whose eighth
// suffices for that drawing is decoded at an eighth of its size, many times quicker; any other
// picture, or a JPEG the quick decode declines, loads as LoadPicture loads it. natural receives
// the natural size either way (0 x 0 when it raises).
Picture LoadPictureToDraw(const std::string& path,
                          const std::function<PictureSize(PictureSize natural)>& drawn,
                          PictureSize& natural);

// A picture's natural size in pixels; 0 x 0 for none.
PictureSize SizeOf(const Picture& picture);

// A new picture of width x height owning its bitmap: the picture stretched over white, so
// transparent parts show white. Nothing for a size below 1 or no picture.
Picture StretchedCopy(const Picture& picture, int width, int height);

}  // namespace kit
