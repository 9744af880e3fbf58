// GDI+ from gdiplus.dll, loaded at run time so that the program still starts where it is
// missing (Windows 2000 without the redistributable); there every start fails.
#pragma once
#include "platform/gdiplus.h"

namespace platform::win32 {

class Win32GdiPlus : public GdiPlus {
public:
    int startup(std::uintptr_t& token, const GdiplusStartupInput& input) override;
    void shutdown(std::uintptr_t token) override;
    int loadImageFromFile(const std::u16string& path, GpImage& image) override;
    int getImageWidth(GpImage image, std::uint32_t& width) override;
    int getImageHeight(GpImage image, std::uint32_t& height) override;
    int createFromHDC(kit::Handle dc, GpGraphics& graphics) override;
    int setInterpolationMode(GpGraphics graphics, int mode) override;
    int drawImageRectI(GpGraphics graphics, GpImage image, int x, int y, int width,
                       int height) override;
    int deleteGraphics(GpGraphics graphics) override;
    int disposeImage(GpImage image) override;

private:
    bool resolve();
    int starts_ = 0;  // live starts: without one, nothing is asked of the library
};

}  // namespace platform::win32
