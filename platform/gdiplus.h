// GDI+ through its flat interface: the ten calls that load a picture file, tell its size and
// draw it onto a device context.
#pragma once
#include <cstdint>
#include <string>

#include "kit/backend.h"

namespace platform {

// GDI+ statuses (Gdiplus::Status).
enum GpStatus : int {
    kGpOk = 0,
    kGpGenericError = 1,
    kGpInvalidParameter = 2,
    kGpOutOfMemory = 3,
    kGpFileNotFound = 10,
    kGpUnknownImageFormat = 13,
    kGpNotInitialized = 18,
};

constexpr int kInterpolationModeHighQualityBicubic = 7;

using GpImage = std::uintptr_t;
using GpGraphics = std::uintptr_t;

// GdiplusStartupInput.
struct GdiplusStartupInput {
    std::uint32_t GdiplusVersion = 1;
    void* DebugEventCallback = nullptr;
    bool SuppressBackgroundThread = false;
    bool SuppressExternalCodecs = false;
};

class GdiPlus {
public:
    virtual ~GdiPlus() = default;
    // GdiplusStartup with no output record.
    virtual int startup(std::uintptr_t& token, const GdiplusStartupInput& input) = 0;
    virtual void shutdown(std::uintptr_t token) = 0;
    virtual int loadImageFromFile(const std::u16string& path, GpImage& image) = 0;
    virtual int getImageWidth(GpImage image, std::uint32_t& width) = 0;
    virtual int getImageHeight(GpImage image, std::uint32_t& height) = 0;
    virtual int createFromHDC(kit::Handle dc, GpGraphics& graphics) = 0;
    virtual int setInterpolationMode(GpGraphics graphics, int mode) = 0;
    virtual int drawImageRectI(GpGraphics graphics, GpImage image, int x, int y, int width,
                               int height) = 0;
    virtual int deleteGraphics(GpGraphics graphics) = 0;
    virtual int disposeImage(GpImage image) = 0;
};

// MultiByteToWideChar with the system's ANSI code page.
std::u16string AnsiToWide(const std::string& ansi);

}  // namespace platform
