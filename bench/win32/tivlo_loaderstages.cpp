// Where the Win32 picture loader's time goes for a large colour JPEG under Wine: the platform
// decoder, the bitmap's fresh memory, widening the rows to 32 bits, and drawing the picture
// fitted; the whole loader and OleLoadPicture beside them. Medians of the runs given. Run by
// bench/loader-stages.sh with a generated 4000 x 3000 JPEG.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "kit/gdi.h"
#include "kit/picture_loader.h"
#include "kit/win32/wic_jpeg.h"
#include "kit/win32/win32_gdi.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Ms(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void Report(const char* what, const std::vector<double>& v) {
    std::printf("  %-58s median %7.1f ms, least %7.1f ms\n", what, Median(v),
                *std::min_element(v.begin(), v.end()));
    std::fflush(stdout);
}

IStream* StreamOf(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::copy(bytes.begin(), bytes.end(), static_cast<char*>(GlobalLock(block)));
    GlobalUnlock(block);
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(block, TRUE, &stream);
    return stream;
}

// The platform decoder's frame of the file; null on failure.
IWICBitmapFrameDecode* FrameOf(IWICImagingFactory* factory, IStream* stream) {
    IWICBitmapDecoder* decoder = nullptr;
    if (FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                &decoder)))
        return nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    decoder->GetFrame(0, &frame);
    decoder->Release();
    return frame;
}

}  // namespace

// Usage: tivlo_loaderstages FILE.jpg [RUNS]
int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
    OleInitialize(nullptr);
    static kit::win32::Win32Gdi gdi;
    kit::setGdi(&gdi);
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
        std::printf("no imaging component\n");
        return 1;
    }
    UINT width = 0, height = 0;
    {
        IStream* s = StreamOf(bytes);
        IWICBitmapFrameDecode* frame = FrameOf(factory, s);
        if (frame) frame->GetSize(&width, &height), frame->Release();
        s->Release();
    }
    std::printf("%s: %ux%u, %zu bytes, %d runs\n", argv[1], width, height, bytes.size(), runs);
    if (!width || !height) return 1;
    const UINT stride24 = (width * 3 + 3) & ~3u;
    std::vector<BYTE> warm24(static_cast<std::size_t>(stride24) * height, 1);
    std::vector<BYTE> warm32(static_cast<std::size_t>(width) * 4 * height, 1);

    std::vector<double> decode, copyAgain, fresh, widen, loader, ole, draw;
    for (int i = 0; i < runs; ++i) {
        IStream* s = StreamOf(bytes);
        auto t0 = Clock::now();
        IWICBitmapFrameDecode* frame = FrameOf(factory, s);
        frame->CopyPixels(nullptr, stride24, stride24 * height, warm24.data());
        decode.push_back(Ms(t0));
        t0 = Clock::now();  // the decoder keeps the rows: this is the copy alone
        frame->CopyPixels(nullptr, stride24, stride24 * height, warm24.data());
        copyAgain.push_back(Ms(t0));
        frame->Release();
        s->Release();

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = static_cast<LONG>(width);
        info.bmiHeader.biHeight = -static_cast<LONG>(height);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        t0 = Clock::now();
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        for (std::size_t b = 0; b < warm32.size(); b += 4096) static_cast<BYTE*>(bits)[b] = 1;
        fresh.push_back(Ms(t0));
        DeleteObject(bitmap);

        t0 = Clock::now();
        BYTE* out = warm32.data();
        for (UINT y = 0; y < height; ++y, out += static_cast<std::size_t>(width) * 4)
            kit::win32::WidenBgrRow(warm24.data() + static_cast<std::size_t>(y) * stride24, out,
                                    width);
        widen.push_back(Ms(t0));

        kit::Picture picture;
        t0 = Clock::now();
        picture = kit::LoadPicture(argv[1]);
        loader.push_back(Ms(t0));

        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP target = CreateCompatibleBitmap(screen, 640, 480);
        HGDIOBJ old = SelectObject(dc, target);
        t0 = Clock::now();
        gdi.renderPicture(reinterpret_cast<kit::Handle>(dc), picture->object(), 0, 0, 640, 480);
        GdiFlush();
        draw.push_back(Ms(t0));
        SelectObject(dc, old);
        DeleteObject(target);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        picture = {};

        s = StreamOf(bytes);
        IPicture* olePicture = nullptr;
        t0 = Clock::now();
        OleLoadPicture(s, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                       reinterpret_cast<void**>(&olePicture));
        ole.push_back(Ms(t0));
        if (olePicture) olePicture->Release();
        s->Release();
    }
    Report("platform decoder, whole frame into a warm buffer", decode);
    Report("  of which copying the decoded rows out again", copyAgain);
    Report("fresh 32-bit bitmap, every page touched once", fresh);
    Report("widening 24 to 32 bits, warm buffers", widen);
    Report("kit::LoadPicture (all of the above, in bands)", loader);
    Report("drawing the picture fitted (640 x 480, halftone)", draw);
    Report("OleLoadPicture of the same bytes, for scale", ole);
    factory->Release();
    return 0;
}
