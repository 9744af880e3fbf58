#include "kit/win32/win32_gdi.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "kit/picture_header.h"
#include "kit/runtime.h"

#include "kit/win32/system_dlls.h"
#include "kit/win32/wic_jpeg.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

template <class T>
T H(Handle h) {
    return reinterpret_cast<T>(h);
}
template <class T>
Handle ToHandle(T h) {
    return reinterpret_cast<Handle>(h);
}

}  // namespace

Handle Win32Gdi::getDC(Handle window) { return ToHandle(GetDC(H<HWND>(window))); }

void Win32Gdi::releaseDC(Handle window, Handle dc) { ReleaseDC(H<HWND>(window), H<HDC>(dc)); }

Handle Win32Gdi::createCompatibleDC(Handle dc) { return ToHandle(CreateCompatibleDC(H<HDC>(dc))); }

bool Win32Gdi::deleteDC(Handle dc) { return DeleteDC(H<HDC>(dc)) != 0; }

namespace {

// From this size on a screen-compatible bitmap is a DIB section of the screen's 32-bit format.
// Under Wine a compatible bitmap's pixels sit on its Linux-side heap, which keeps freed blocks
// once a big one has been freed (a closed window's buffers stayed there); a DIB
// section's pixels are mapped memory that goes with the bitmap.
constexpr long long kDibSectionBytes = 128 * 1024;

HBITMAP ScreenDibSection(HDC dc, int width, int height) {
    if (static_cast<long long>(width) * height * 4 < kDibSectionBytes ||
        GetObjectType(dc) == OBJ_MEMDC || GetDeviceCaps(dc, BITSPIXEL) < 24)
        return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top row first, as a compatible bitmap's bits are
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

Handle Win32Gdi::createCompatibleBitmap(Handle dc, int width, int height) {
    // A null DC means the screen, as createCompatibleDC(0) does.
    HDC screen = dc ? nullptr : GetDC(nullptr);
    HDC target = dc ? H<HDC>(dc) : screen;
    HBITMAP bmp = ScreenDibSection(target, width, height);
    if (!bmp) bmp = CreateCompatibleBitmap(target, width, height);
    if (screen) ReleaseDC(nullptr, screen);
    return ToHandle(bmp);
}

Handle Win32Gdi::createBitmap(int width, int height, int planes, int bitsPerPixel) {
    return ToHandle(CreateBitmap(width, height, static_cast<UINT>(planes),
                                 static_cast<UINT>(bitsPerPixel), nullptr));
}

Handle Win32Gdi::createBitmapFromPixels(int width, int height, const unsigned char* bgr) {
    if (width <= 0 || height <= 0 || !bgr) return 0;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return 0;
    // DIB rows are padded to whole 32-bit words.
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = (row + 3) & ~static_cast<std::size_t>(3);
    auto* out = static_cast<unsigned char*>(bits);
    for (int y = 0; y < height; ++y) std::memcpy(out + stride * y, bgr + row * y, row);
    GdiFlush();
    return ToHandle(bmp);
}

Handle Win32Gdi::createSolidBrush(Color color) { return ToHandle(CreateSolidBrush(color)); }

namespace {
int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}
}  // namespace

bool Win32Gdi::fontInstalled(const std::string& face) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &lf, FontFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

Handle Win32Gdi::createFont(const std::string& face, double points) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int hundredths = static_cast<int>(std::lround(points * 100));
    int height = -MulDiv(hundredths, dpi, 7200);
    return ToHandle(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

Handle Win32Gdi::createFontIndirect(const Font& f) { return ToHandle(CreateKitFont(f)); }

bool Win32Gdi::getTextExtent(Handle dc, const std::string& ansiText, int& width, int& height) {
    SIZE size{};
    if (!GetTextExtentPoint32A(H<HDC>(dc), ansiText.c_str(), static_cast<int>(ansiText.size()),
                               &size))
        return false;
    width = size.cx;
    height = size.cy;
    return true;
}

Handle Win32Gdi::createPen(Color color, int width) {
    return ToHandle(CreatePen(PS_SOLID, width, color));
}

bool Win32Gdi::moveTo(Handle dc, int x, int y) { return MoveToEx(H<HDC>(dc), x, y, nullptr) != 0; }

bool Win32Gdi::lineTo(Handle dc, int x, int y) { return LineTo(H<HDC>(dc), x, y) != 0; }

Handle Win32Gdi::selectObject(Handle dc, Handle object) {
    return ToHandle(SelectObject(H<HDC>(dc), H<HGDIOBJ>(object)));
}

bool Win32Gdi::deleteObject(Handle object) { return DeleteObject(H<HGDIOBJ>(object)) != 0; }

Color Win32Gdi::setTextColor(Handle dc, Color color) { return SetTextColor(H<HDC>(dc), color); }

Color Win32Gdi::setBkColor(Handle dc, Color color) { return SetBkColor(H<HDC>(dc), color); }

int Win32Gdi::setBkMode(Handle dc, int mode) { return SetBkMode(H<HDC>(dc), mode); }

bool Win32Gdi::textOut(Handle dc, int x, int y, const std::string& ansiText) {
    return TextOutA(H<HDC>(dc), x, y, ansiText.data(), static_cast<int>(ansiText.size())) != 0;
}

bool Win32Gdi::fillRect(Handle dc, int left, int top, int right, int bottom, Handle brush) {
    RECT rc{left, top, right, bottom};
    return FillRect(H<HDC>(dc), &rc, H<HBRUSH>(brush)) != 0;
}

bool Win32Gdi::bitBlt(Handle dst, int x, int y, int width, int height, Handle src, int srcX,
                      int srcY, std::uint32_t rop) {
    return BitBlt(H<HDC>(dst), x, y, width, height, H<HDC>(src), srcX, srcY, rop) != 0;
}

int Win32Gdi::getDeviceCaps(Handle dc, int index) { return GetDeviceCaps(H<HDC>(dc), index); }

bool Win32Gdi::stretchBlt(Handle dst, int x, int y, int width, int height, Handle src, int srcX,
                          int srcY, int srcWidth, int srcHeight, std::uint32_t rop) {
    return StretchBlt(H<HDC>(dst), x, y, width, height, H<HDC>(src), srcX, srcY, srcWidth,
                      srcHeight, rop) != 0;
}

int Win32Gdi::setStretchBltMode(Handle dc, int mode) {
    const int old = SetStretchBltMode(H<HDC>(dc), mode);
    if (mode == HALFTONE) SetBrushOrgEx(H<HDC>(dc), 0, 0, nullptr);  // as HALFTONE asks
    return old;
}

namespace {

// A 32-bit top-down DIB section in a memory DC of its own.
struct DibSurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr, old = nullptr;
    std::uint32_t* bits = nullptr;
    int width = 0, height = 0;
    DibSurface(int w, int h) : width(w), height(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        if (!bitmap) return;
        dc = CreateCompatibleDC(nullptr);
        if (!dc) return;
        old = static_cast<HBITMAP>(SelectObject(dc, bitmap));
        bits = static_cast<std::uint32_t*>(p);
    }
    ~DibSurface() {
        if (dc) {
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        if (bitmap) DeleteObject(bitmap);
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    bool ok() const { return bits != nullptr && dc != nullptr; }
};

// -1, 0 or 1 when v is that many times n.
int UnitOf(int v, int n) { return v == n ? 1 : v == -n ? -1 : v == 0 ? 0 : 2; }

}  // namespace

bool Win32Gdi::plgBlt(Handle dst, const GdiPoint points[3], Handle src, int srcX, int srcY,
                      int width, int height) {
    if (width <= 0 || height <= 0) return false;
    // The sides as unit steps: source x runs along (ax, ay), source y along (bx, by).
    const int ax = UnitOf(points[1].x - points[0].x, width);
    const int ay = UnitOf(points[1].y - points[0].y, width);
    const int bx = UnitOf(points[2].x - points[0].x, height);
    const int by = UnitOf(points[2].y - points[0].y, height);
    const bool axisMapping = ax != 2 && ay != 2 && bx != 2 && by != 2 &&
                             std::abs(ax) + std::abs(ay) == 1 && std::abs(bx) + std::abs(by) == 1 &&
                             ax * bx + ay * by == 0;
    if (!axisMapping) {
        POINT pts[3];
        for (int i = 0; i < 3; ++i) pts[i] = POINT{points[i].x, points[i].y};
        return PlgBlt(H<HDC>(dst), pts, H<HDC>(src), srcX, srcY, width, height, nullptr, 0, 0) != 0;
    }
    // The source rectangle, read once (the target may be the same surface).
    DibSurface from(width, height);
    if (!from.ok()) return false;
    if (!BitBlt(from.dc, 0, 0, width, height, H<HDC>(src), srcX, srcY, SRCCOPY)) return false;
    GdiFlush();
    // Source pixel (x, y) lands on p0 + x*a + y*b, less one along each side that runs
    // backwards (its centre lies half a pixel further on).
    const int offX = points[0].x + (ax < 0 ? -1 : 0) + (bx < 0 ? -1 : 0);
    const int offY = points[0].y + (ay < 0 ? -1 : 0) + (by < 0 ? -1 : 0);
    const int dw = ax != 0 ? width : height, dh = ax != 0 ? height : width;
    const int left = std::min(offX, offX + ax * (width - 1) + bx * (height - 1));
    const int top = std::min(offY, offY + ay * (width - 1) + by * (height - 1));
    // Written in bands, so the copy needs one natural-size buffer only.
    const int band = std::min(dh, 64);
    DibSurface out(dw, band);
    if (!out.ok()) return false;
    for (int y0 = 0; y0 < dh; y0 += band) {
        const int rows = std::min(band, dh - y0);
        // In tiles of a band's height, so a turn reads the source a block at a time.
        for (int c0 = 0; c0 < dw; c0 += band) {
            const int c1 = std::min(dw, c0 + band);
            for (int r = 0; r < rows; ++r) {
                std::uint32_t* row = out.bits + static_cast<std::size_t>(r) * dw;
                const int dy = top + y0 + r - offY;
                for (int c = c0; c < c1; ++c) {
                    const int dx = left + c - offX;
                    // The inverse of an axis mapping is its transpose.
                    const int sx = ax * dx + ay * dy, sy = bx * dx + by * dy;
                    row[c] = from.bits[static_cast<std::size_t>(sy) * width + sx];
                }
            }
        }
        GdiFlush();
        if (!BitBlt(H<HDC>(dst), left, top + y0, dw, rows, out.dc, 0, 0, SRCCOPY)) return false;
    }
    return true;
}

Handle Win32Gdi::createIconIndirect(const IconInfo& info) {
    ICONINFO ii{};
    ii.fIcon = info.fIcon;
    ii.xHotspot = info.xHotspot;
    ii.yHotspot = info.yHotspot;
    ii.hbmMask = H<HBITMAP>(info.hbmMask);
    ii.hbmColor = H<HBITMAP>(info.hbmColor);
    return ToHandle(CreateIconIndirect(&ii));
}

bool Win32Gdi::destroyIcon(Handle icon) { return DestroyIcon(H<HICON>(icon)) != 0; }

Handle Win32Gdi::createPictureIndirect(int pictureType, Handle handle, bool owned) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    if (pictureType == kPictureTypeIcon) {
        desc.picType = PICTYPE_ICON;
        desc.icon.hicon = H<HICON>(handle);
    } else {
        desc.picType = PICTYPE_BITMAP;
        desc.bmp.hbitmap = H<HBITMAP>(handle);
        desc.bmp.hpal = nullptr;
    }
    const OlePictureApi* pictures = OlePictures();
    if (!pictures) return 0;
    IDispatch* disp = nullptr;
    if (FAILED(pictures->OleCreatePictureIndirect(&desc, IID_IDispatch, owned ? TRUE : FALSE,
                                        reinterpret_cast<void**>(&disp))) ||
        !disp)
        return 0;
    // Keep the IPicture side: that is the one asked for the handle later.
    IPicture* pic = nullptr;
    HRESULT hr = disp->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&pic));
    disp->Release();
    return SUCCEEDED(hr) ? ToHandle(pic) : 0;
}

Handle Win32Gdi::pictureHandle(Handle picture) {
    if (!picture) return 0;
    OLE_HANDLE h = 0;
    if (FAILED(H<IPicture*>(picture)->get_Handle(&h))) return 0;
    // A 32-bit handle value; 64-bit Windows sign-extends such handles.
    return reinterpret_cast<Handle>(LongToHandle(static_cast<LONG>(h)));
}

void Win32Gdi::releasePicture(Handle picture) {
    if (picture) H<IPicture*>(picture)->Release();
}

bool Win32Gdi::patBlt(Handle dc, int x, int y, int width, int height, std::uint32_t rop) {
    return PatBlt(H<HDC>(dc), x, y, width, height, rop) != 0;
}

bool Win32Gdi::setRect(Rect& rc, int left, int top, int right, int bottom) {
    RECT r{};
    if (!SetRect(&r, left, top, right, bottom)) return false;
    rc = Rect{r.left, r.top, r.right, r.bottom};
    return true;
}

bool Win32Gdi::drawEdge(Handle dc, const Rect& rc, unsigned edge, unsigned sides) {
    RECT r{rc.left, rc.top, rc.right, rc.bottom};
    return DrawEdge(H<HDC>(dc), &r, edge, sides) != 0;
}

namespace {

// Files above this are not pictures we could show; reading them would only strain memory.
constexpr DWORD kMaxPictureFileBytes = 256u << 20;

struct HandleCloser {
    void operator()(void* h) const { CloseHandle(h); }
};
struct GlobalFreer {
    void operator()(void* h) const { GlobalFree(h); }
};

// The picture file open for reading, with its size within the limit. Null when it cannot be
// read; missing tells a missing file from an unreadable one.
HANDLE OpenPictureFile(const std::string& path, DWORD& size, bool& missing) {
    missing = false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        missing = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    DWORD high = 0;
    size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size == 0 || size > kMaxPictureFileBytes) {
        CloseHandle(file);
        return nullptr;
    }
    return file;
}

// The whole file in a movable global block, as a stream over it wants.
HGLOBAL ReadFileToGlobal(const std::string& path, DWORD& size, bool& missing) {
    HANDLE file = OpenPictureFile(path, size, missing);
    if (!file) return nullptr;
    std::unique_ptr<void, HandleCloser> closer(file);
    std::unique_ptr<void, GlobalFreer> block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return nullptr;
    void* bytes = GlobalLock(block.get());
    if (!bytes) return nullptr;
    DWORD got = 0;
    const BOOL ok = ReadFile(file, bytes, size, &got, nullptr);
    GlobalUnlock(block.get());
    if (!ok || got != size) return nullptr;
    return block.release();
}

// The formats Windows' picture loader reads, with a header within the pixel cap. wholeJpeg
// tells a JPEG that holds its end of image.
bool Acceptable(HGLOBAL block, DWORD size, bool& wholeJpeg) {
    wholeJpeg = false;
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
    if (!bytes) return false;
    bool ok = false;
    switch (SniffPictureFormat(bytes, size)) {
    case PictureFormat::Ico: ok = true; break;
    case PictureFormat::Bmp:
    case PictureFormat::Jpeg:
    case PictureFormat::Gif: {
        const auto header = ReadPictureHeader(bytes, size);
        ok = header && WithinPixelCap(header->width, header->height);
        wholeJpeg = ok && header->format == PictureFormat::Jpeg && JpegIsWhole(bytes, size);
        break;
    }
    default: break;
    }
    GlobalUnlock(block);
    return ok;
}

int PixelsOfHimetric(long himetric, int caps) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, caps);
    ReleaseDC(nullptr, screen);
    if (dpi <= 0) dpi = 96;
    return MulDiv(static_cast<int>(himetric), dpi, 2540);
}

}  // namespace

Handle Win32Gdi::loadPicture(const std::string& path, int& error) {
    DWORD size = 0;
    bool missing = false;
    std::unique_ptr<void, GlobalFreer> block(ReadFileToGlobal(path, size, missing));
    error = missing ? kErrFileNotFound : kErrInvalidPicture;
    bool wholeJpeg = false;
    if (!block || !Acceptable(block.get(), size, wholeJpeg)) return 0;
    const OleApi* ole = Ole();
    const OlePictureApi* pictures = OlePictures();
    if (!ole || !pictures) return 0;
    IStream* stream = nullptr;
    if (FAILED(ole->CreateStreamOnHGlobal(block.get(), TRUE, &stream)) || !stream) return 0;
    block.release();  // the stream frees it
    // A JPEG cut short is left to OleLoadPicture, which refuses it as before.
    IPicture* picture = wholeJpeg ? LoadColourJpeg(stream) : nullptr;
    if (!picture) {
        const LARGE_INTEGER start{};
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        const HRESULT hr = pictures->OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture));
        if (FAILED(hr)) picture = nullptr;
    }
    stream->Release();
    if (!picture) return 0;
    error = 0;
    return ToHandle(picture);
}

std::optional<std::vector<std::uint8_t>> Win32Gdi::readPictureFile(const std::string& path,
                                                                   int& error) {
    DWORD size = 0;
    bool missing = false;
    HANDLE file = OpenPictureFile(path, size, missing);
    error = missing ? kErrFileNotFound : kErrInvalidPicture;
    if (!file) return std::nullopt;
    std::unique_ptr<void, HandleCloser> closer(file);
    std::vector<std::uint8_t> bytes(size);
    DWORD got = 0;
    if (!ReadFile(file, bytes.data(), size, &got, nullptr) || got != size) return std::nullopt;
    error = 0;
    return bytes;
}

bool Win32Gdi::pictureSize(Handle picture, int& width, int& height) {
    if (!picture) return false;
    auto* pic = H<IPicture*>(picture);
    SHORT type = 0;
    OLE_HANDLE handle = 0;
    if (FAILED(pic->get_Type(&type)) || FAILED(pic->get_Handle(&handle))) return false;
    if (type == PICTYPE_BITMAP) {
        // The bitmap's own size is exact; HIMETRIC would round through the screen's dpi.
        BITMAP bm{};
        if (!GetObjectA(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bm, &bm))
            return false;
        width = bm.bmWidth;
        height = bm.bmHeight;
        return true;
    }
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (FAILED(pic->get_Width(&w)) || FAILED(pic->get_Height(&h))) return false;
    width = PixelsOfHimetric(w, LOGPIXELSX);
    height = PixelsOfHimetric(h, LOGPIXELSY);
    return true;
}

bool Win32Gdi::renderPicture(Handle dc, Handle picture, int x, int y, int width, int height) {
    if (!picture) return false;
    auto* pic = H<IPicture*>(picture);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (FAILED(pic->get_Width(&w)) || FAILED(pic->get_Height(&h))) return false;
    HDC hdc = H<HDC>(dc);
    const int oldMode = SetStretchBltMode(hdc, HALFTONE);
    POINT oldOrigin{};
    SetBrushOrgEx(hdc, 0, 0, &oldOrigin);  // HALFTONE wants it set after the mode
    // HIMETRIC runs upwards: start at the top and give a negative height.
    const HRESULT hr = pic->Render(hdc, x, y, width, height, 0, h, w, -h, nullptr);
    SetStretchBltMode(hdc, oldMode);
    SetBrushOrgEx(hdc, oldOrigin.x, oldOrigin.y, nullptr);
    return SUCCEEDED(hr);
}

}  // namespace kit::win32
