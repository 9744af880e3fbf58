#include "platform/win32/win32_gdiplus.h"

#include <windows.h>
#include <objidl.h>  // gdiplus.h needs it, and the lean windows.h leaves it out
#include <gdiplus.h>

namespace platform::win32 {

namespace {

namespace gp = Gdiplus::DllExports;

// The library's entry points, typed from its own declarations.
struct Api {
    bool tried = false, ok = false;
    decltype(&Gdiplus::GdiplusStartup) startup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) shutdown = nullptr;
    decltype(&gp::GdipLoadImageFromFile) loadImageFromFile = nullptr;
    decltype(&gp::GdipGetImageWidth) getImageWidth = nullptr;
    decltype(&gp::GdipGetImageHeight) getImageHeight = nullptr;
    decltype(&gp::GdipCreateFromHDC) createFromHDC = nullptr;
    decltype(&gp::GdipSetInterpolationMode) setInterpolationMode = nullptr;
    decltype(&gp::GdipDrawImageRectI) drawImageRectI = nullptr;
    decltype(&gp::GdipDeleteGraphics) deleteGraphics = nullptr;
    decltype(&gp::GdipDisposeImage) disposeImage = nullptr;
};

Api& api() {
    static Api a;
    return a;
}

template <class F>
bool Bind(HMODULE dll, const char* name, F& f) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return f != nullptr;
}

Gdiplus::GpImage* Image(GpImage h) { return reinterpret_cast<Gdiplus::GpImage*>(h); }
Gdiplus::GpGraphics* Graphics(GpGraphics h) { return reinterpret_cast<Gdiplus::GpGraphics*>(h); }

}  // namespace

bool Win32GdiPlus::resolve() {
    Api& a = api();
    if (a.tried) return a.ok;
    a.tried = true;
    // Kept loaded for the life of the process: pictures are made with it again and again.
    HMODULE dll = LoadLibraryA("gdiplus.dll");
    if (!dll) return false;
    a.ok = Bind(dll, "GdiplusStartup", a.startup) && Bind(dll, "GdiplusShutdown", a.shutdown) &&
           Bind(dll, "GdipLoadImageFromFile", a.loadImageFromFile) &&
           Bind(dll, "GdipGetImageWidth", a.getImageWidth) &&
           Bind(dll, "GdipGetImageHeight", a.getImageHeight) &&
           Bind(dll, "GdipCreateFromHDC", a.createFromHDC) &&
           Bind(dll, "GdipSetInterpolationMode", a.setInterpolationMode) &&
           Bind(dll, "GdipDrawImageRectI", a.drawImageRectI) &&
           Bind(dll, "GdipDeleteGraphics", a.deleteGraphics) &&
           Bind(dll, "GdipDisposeImage", a.disposeImage);
    return a.ok;
}

int Win32GdiPlus::startup(std::uintptr_t& token, const GdiplusStartupInput& input) {
    token = 0;
    if (!resolve()) return kGpGenericError;
    Gdiplus::GdiplusStartupInput in;
    in.GdiplusVersion = input.GdiplusVersion;
    in.DebugEventCallback = reinterpret_cast<Gdiplus::DebugEventProc>(input.DebugEventCallback);
    in.SuppressBackgroundThread = input.SuppressBackgroundThread ? TRUE : FALSE;
    in.SuppressExternalCodecs = input.SuppressExternalCodecs ? TRUE : FALSE;
    ULONG_PTR t = 0;
    const int status = api().startup(&t, &in, nullptr);
    if (status == kGpOk) {
        token = t;
        ++starts_;
    }
    return status;
}

void Win32GdiPlus::shutdown(std::uintptr_t token) {
    // A failed start hands back token 0, which must not reach the library.
    if (!token || starts_ == 0) return;
    --starts_;
    api().shutdown(token);
}

int Win32GdiPlus::loadImageFromFile(const std::u16string& path, GpImage& image) {
    image = 0;
    if (starts_ == 0) return kGpNotInitialized;
    Gdiplus::GpImage* img = nullptr;
    const int status =
        api().loadImageFromFile(reinterpret_cast<const WCHAR*>(path.c_str()), &img);
    if (status == kGpOk) image = reinterpret_cast<GpImage>(img);
    return status;
}

int Win32GdiPlus::getImageWidth(GpImage image, std::uint32_t& width) {
    if (starts_ == 0) return kGpNotInitialized;
    if (!image) return kGpInvalidParameter;
    UINT w = 0;
    const int status = api().getImageWidth(Image(image), &w);
    width = w;
    return status;
}

int Win32GdiPlus::getImageHeight(GpImage image, std::uint32_t& height) {
    if (starts_ == 0) return kGpNotInitialized;
    if (!image) return kGpInvalidParameter;
    UINT h = 0;
    const int status = api().getImageHeight(Image(image), &h);
    height = h;
    return status;
}

int Win32GdiPlus::createFromHDC(kit::Handle dc, GpGraphics& graphics) {
    graphics = 0;
    if (starts_ == 0) return kGpNotInitialized;
    if (!dc) return kGpInvalidParameter;
    Gdiplus::GpGraphics* g = nullptr;
    const int status = api().createFromHDC(reinterpret_cast<HDC>(dc), &g);
    if (status == kGpOk) graphics = reinterpret_cast<GpGraphics>(g);
    return status;
}

int Win32GdiPlus::setInterpolationMode(GpGraphics graphics, int mode) {
    if (starts_ == 0) return kGpNotInitialized;
    if (!graphics) return kGpInvalidParameter;
    return api().setInterpolationMode(Graphics(graphics),
                                      static_cast<Gdiplus::InterpolationMode>(mode));
}

int Win32GdiPlus::drawImageRectI(GpGraphics graphics, GpImage image, int x, int y, int width,
                                 int height) {
    if (starts_ == 0) return kGpNotInitialized;
    if (!graphics || !image) return kGpInvalidParameter;
    return api().drawImageRectI(Graphics(graphics), Image(image), x, y, width, height);
}

int Win32GdiPlus::deleteGraphics(GpGraphics graphics) {
    if (starts_ == 0) return kGpNotInitialized;
    if (!graphics) return kGpInvalidParameter;
    return api().deleteGraphics(Graphics(graphics));
}

int Win32GdiPlus::disposeImage(GpImage image) {
    if (starts_ == 0) return kGpNotInitialized;
    if (!image) return kGpInvalidParameter;
    return api().disposeImage(Image(image));
}

}  // namespace platform::win32

namespace platform {

std::u16string AnsiToWide(const std::string& ansi) {
    if (ansi.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                      nullptr, 0);
    if (n <= 0) return {};
    std::u16string wide(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                        reinterpret_cast<WCHAR*>(wide.data()), n);
    return wide;
}

}  // namespace platform
