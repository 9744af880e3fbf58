#include "viewer/gdiplus_resize.h"

#include "kit/gdi.h"
#include "platform/services.h"

namespace eGDIPlusResize {

namespace {

struct Canvas {
    kit::Handle dc = 0, bitmap = 0, oldBitmap = 0;
};

// A memory DC holding a width x height bitmap of the screen's format, filled with colour.
bool CreateCanvasDC(std::int32_t width, std::int32_t height, std::uint32_t colour, Canvas& c) {
    kit::Gdi& g = kit::gdi();
    c.dc = g.createCompatibleDC(0);
    if (!c.dc) return false;
    const int planes = g.getDeviceCaps(c.dc, kit::kPlanes);
    const int bits = g.getDeviceCaps(c.dc, kit::kBitsPixel);
    c.bitmap = g.createBitmap(width, height, planes, bits);
    if (!c.bitmap) return false;
    c.oldBitmap = g.selectObject(c.dc, c.bitmap);
    const kit::Handle brush = g.createSolidBrush(colour);
    const kit::Handle oldBrush = g.selectObject(c.dc, brush);
    g.patBlt(c.dc, 0, 0, width, height, kit::kPatCopy);
    g.selectObject(c.dc, oldBrush);
    g.deleteObject(brush);
    return true;
}

void DrawImageResized(kit::Handle dc, std::int32_t width, std::int32_t height) {
    platform::GdiPlus& gp = platform::gdiplus();
    platform::GpGraphics graphics = 0;
    gp.createFromHDC(dc, graphics);
    gp.setInterpolationMode(graphics, platform::kInterpolationModeHighQualityBicubic);
    gp.drawImageRectI(graphics, gGdipImage, 0, 0, width, height);
    gp.deleteGraphics(graphics);
}

// Frees the DC; the bitmap, taken out of it, lives on.
void ReleaseCanvasDC(Canvas& c) {
    kit::Gdi& g = kit::gdi();
    if (c.oldBitmap) g.selectObject(c.dc, c.oldBitmap);
    if (c.dc) g.deleteDC(c.dc);
    c.dc = c.oldBitmap = 0;
}

kit::Picture BitmapToPicture(kit::Handle bitmap) {
    return kit::CreatePicture(kit::kPictureTypeBitmap, bitmap, true);
}

}  // namespace

// GDI+ keeps the file open while its image lives: the image goes on every way out.
void DisposeImage() {
    if (gGdipImage) platform::gdiplus().disposeImage(gGdipImage);
    gGdipImage = 0;
}

std::uintptr_t StartGdiPlus() {
    std::uintptr_t token = 0;
    platform::GdiplusStartupInput input;  // version 1, no callback, nothing suppressed
    platform::gdiplus().startup(token, input);
    return token;
}

ImageSize LoadImageSize(const std::string& path, std::int32_t& width, std::int32_t& height) {
    platform::GdiPlus& gp = platform::gdiplus();
    gGdipImage = 0;
    if (gp.loadImageFromFile(platform::AnsiToWide(path), gGdipImage) != platform::kGpOk) {
        gGdipImage = 0;
        return ImageSize{};
    }
    if (width == -1 || height == -1) {
        std::uint32_t w = 0, h = 0;
        gp.getImageWidth(gGdipImage, w);
        gp.getImageHeight(gGdipImage, h);
        width = static_cast<std::int32_t>(w);
        height = static_cast<std::int32_t>(h);
    }
    return ImageSize{width, height};
}

kit::Picture CreateResizedPicture(std::int32_t width, std::int32_t height,
                                  std::uint32_t background, bool /*keepRatio*/) {
    Canvas canvas;
    if (!CreateCanvasDC(width, height, background, canvas)) {
        DisposeImage();
        ReleaseCanvasDC(canvas);
        return nullptr;
    }
    DrawImageResized(canvas.dc, width, height);
    DisposeImage();
    ReleaseCanvasDC(canvas);
    return BitmapToPicture(canvas.bitmap);
}

void StopGdiPlus(std::uintptr_t token) { platform::gdiplus().shutdown(token); }

}  // namespace eGDIPlusResize
