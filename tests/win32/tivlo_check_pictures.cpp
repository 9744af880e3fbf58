// Loads every picture of tests/pictures through the program's own Win32 picture loader and
// GDI+ service, and compares the natural sizes and pixels with tests/pictures/expected.txt,
// the same lines the native tests check against the headless decoders: under Wine this shows
// that both backends show each picture alike.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "kit/picture_loader.h"
#include "kit/runtime.h"
#include "kit/win32/wic_jpeg.h"
#include "kit/win32/win32_gdi.h"
#include "platform/services.h"
#include "platform/win32/win32_gdiplus.h"
#include "tests/picture_expectations.h"
#include "tests/win32/check.h"
#include "viewer/gdiplus_resize.h"

namespace {
// The colours of a bitmap, top row first, as 0x00BBGGRR.
std::vector<std::uint32_t> BitmapColours(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(width) * height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (auto& p : px)  // DIB order is 0x00RRGGBB
        p = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    return px;
}

void Fail(const picture_tests::Expectation& e, const std::string& why) {
    check::Fail("", 0, e.file + ": " + why);
}

void Check(const picture_tests::Expectation& e, const std::string& folder) {
    const std::string path = folder + "\\" + e.file;
    kit::Picture picture;
    int width = 0, height = 0;
    if (e.loader == "loader" || e.loader == "eighth") {
        try {
            kit::PictureSize natural;
            picture = e.loader == "loader"
                          ? kit::LoadPicture(path)
                          : kit::LoadPictureToDraw(
                                path, [](kit::PictureSize) { return kit::PictureSize{1, 1}; },
                                natural);
        } catch (const kit::RuntimeError&) {
            if (e.readable) return Fail(e, "unreadable");
            return;
        }
        if (!e.readable) return Fail(e, "read, but should not be");
        const kit::PictureSize size = kit::SizeOf(picture);
        width = size.width;
        height = size.height;
        picture = kit::StretchedCopy(picture, width, height);
    } else {
        const std::uintptr_t token = eGDIPlusResize::StartGdiPlus();
        std::int32_t w = -1, h = -1;
        const ImageSize size = eGDIPlusResize::LoadImageSize(path, w, h);
        picture = eGDIPlusResize::CreateResizedPicture(size.Width, size.Height, 0xFFFFFF, false);
        eGDIPlusResize::StopGdiPlus(token);
        if (!e.readable) {
            if (size.Width != 0 || size.Height != 0) return Fail(e, "read, but should not be");
            return;
        }
        width = size.Width;
        height = size.Height;
    }
    if (width != e.width || height != e.height)
        return Fail(e, "size " + std::to_string(width) + "x" + std::to_string(height));
    if (!picture) return Fail(e, "no picture");
    const auto px = BitmapColours(reinterpret_cast<HBITMAP>(picture->handle()), width, height);
    for (const auto& p : e.pixels) {
        const std::string diff =
            picture_tests::Compare(p, px[static_cast<std::size_t>(p.y) * width + p.x]);
        if (!diff.empty()) return Fail(e, diff);
    }
}

// The pictures' folder in the source tree, as Wine's Z: drive shows it.
std::string PictureFolder() {
    std::string folder = "Z:" TIVLO_TEST_PICTURES;
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

// A stream over a file's bytes.
IStream* FileStream(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return nullptr;
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) GlobalFree(block);
    return stream;
}

// The size and colours of a loaded picture's bitmap; empty without one.
std::vector<std::uint32_t> PictureColours(IPicture* picture, int& width, int& height) {
    OLE_HANDLE handle = 0;
    BITMAP bm{};
    width = height = 0;
    if (!picture || FAILED(picture->get_Handle(&handle))) return {};
    const auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    if (!GetObjectA(bitmap, sizeof bm, &bm)) return {};
    width = bm.bmWidth;
    height = bm.bmHeight;
    return BitmapColours(bitmap, width, height);
}

void CheckAll(const std::string& loader) {
    OleInitialize(nullptr);
    static kit::win32::Win32Gdi gdi;
    static platform::win32::Win32GdiPlus gdiplus;
    kit::setGdi(&gdi);
    platform::services().gdiplus = &gdiplus;
    const std::string folder = PictureFolder();
    int checked = 0;
    for (const auto& e : picture_tests::ReadExpectations(folder + "\\expected.txt"))
        if (e.loader == loader || (loader == "loader" && e.loader == "eighth"))
            Check(e, folder), ++checked;
    CHECK(checked > 5);
}

}  // namespace

CHECK_CASE(the_picture_loader_shows_each_test_picture_as_the_headless_decoders_do) {
    CheckAll("loader");
}

CHECK_CASE(GDI_plus_shows_each_test_picture_as_the_headless_fake_does) { CheckAll("gdiplus"); }

// The loader's own path for colour JPEGs must show exactly what OleLoadPicture shows, and leave
// the other colour models to it.
CHECK_CASE(colour_JPEGs_read_straight_into_a_bitmap_match_OleLoadPicture) {
    OleInitialize(nullptr);
    const struct {
        const char* file;
        bool direct;
    } cases[] = {{"jpeg-baseline.jpg", true},    {"jpeg-progressive.jpg", true},
                 {"jpeg-subsampled.jpg", true},  {"jpeg-named.png", true},
                 {"jpeg-cmyk-adobe.jpg", false}, {"jpeg-cmyk-plain.jpg", false}};
    for (const auto& c : cases) {
        const std::string path = PictureFolder() + "\\" + c.file;
        IStream* stream = FileStream(path);
        CHECK(stream);
        if (!stream) continue;
        IPicture* direct = kit::win32::LoadColourJpeg(stream);
        if (!c.direct) {
            if (direct) check::Fail("", 0, std::string(c.file) + ": read past OleLoadPicture");
        } else if (!direct) {
            check::Fail("", 0, std::string(c.file) + ": not read straight into a bitmap");
        } else {
            const LARGE_INTEGER start{};
            stream->Seek(start, STREAM_SEEK_SET, nullptr);
            IPicture* ole = nullptr;
            OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&ole));
            int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
            const auto mine = PictureColours(direct, w1, h1);
            const auto theirs = PictureColours(ole, w2, h2);
            if (mine.empty() || w1 != w2 || h1 != h2 || mine != theirs)
                check::Fail("", 0, std::string(c.file) + ": pixels differ from OleLoadPicture's");
            if (ole) ole->Release();
        }
        if (direct) direct->Release();
        stream->Release();
    }
}
