// eGDIPlusResize: reads a picture file through GDI+, reports its natural size, and draws it
// onto a new bitmap filled with a background colour, handed back as an owned picture.
#pragma once
#include <cstdint>
#include <string>

#include "kit/controls.h"
#include "platform/gdiplus.h"

struct ImageSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

namespace eGDIPlusResize {

// The one image slot: filled by LoadImageSize, drawn and emptied by CreateResizedPicture.
inline platform::GpImage gGdipImage = 0;

std::uintptr_t StartGdiPlus();
// -1 in width or height asks for the natural size, written back into both. A file GDI+
// cannot read gives 0 x 0 and leaves width and height as they came.
ImageSize LoadImageSize(const std::string& path, std::int32_t& width, std::int32_t& height);
// The image stretched over a width x height bitmap filled with the background colour.
// keepRatio is accepted for the callers' sake; both pass false, which stretches.
kit::Picture CreateResizedPicture(std::int32_t width, std::int32_t height,
                                  std::uint32_t background, bool keepRatio);
// Empties the image slot without drawing.
void DisposeImage();
void StopGdiPlus(std::uintptr_t token);

}  // namespace eGDIPlusResize
