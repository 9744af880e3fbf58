// GDI+ for native tests: decodes with the headless decoders (PNG too, any name), draws 1:1
// onto the software raster compositing straight alpha, and lets tests read its live objects,
// its start and stop balance and the order of calls, and script failing statuses.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "kit/headless/raster_gdi.h"
#include "kit/pixmap.h"
#include "platform/gdiplus.h"

namespace platform::headless {

class FakeGdiPlus : public GdiPlus {
public:
    enum class Call {
        Startup, Shutdown, Load, Width, Height, CreateFromHDC, SetInterpolation, Draw,
        DeleteGraphics, Dispose
    };
    struct Record {
        Call call;
        int status;
        std::string path;  // Load: the file, back in ANSI
    };

    explicit FakeGdiPlus(kit::headless::RasterGdi& raster) : raster_(raster) {}

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

    // Test API.
    int liveImages() const { return static_cast<int>(images_.size()); }
    int liveGraphics() const { return static_cast<int>(graphics_.size()); }
    int liveStarts() const { return static_cast<int>(tokens_.size()); }
    const std::vector<Record>& calls() const { return calls_; }
    int count(Call c) const;
    // The next call of that kind fails with the status (and does nothing).
    void failNext(Call c, int status) { failures_[c].push_back(status); }
    void reset();

private:
    int scripted(Call c);
    int record(Call c, int status, std::string path = {});

    kit::headless::RasterGdi& raster_;
    std::map<GpImage, kit::Pixmap> images_;
    std::map<GpGraphics, kit::Handle> graphics_;
    std::map<std::uintptr_t, bool> tokens_;
    std::map<Call, std::vector<int>> failures_;
    std::vector<Record> calls_;
    std::uintptr_t next_ = 0x7000;
};

// The system code page of the tests (Windows-1252) back from UTF-16.
std::string WideToAnsi(const std::u16string& wide);

}  // namespace platform::headless
