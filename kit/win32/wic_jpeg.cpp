#include "kit/win32/wic_jpeg.h"

#include <windows.h>
#include <olectl.h>
#include <wincodec.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "kit/picture_header.h"
#include "kit/win32/system_dlls.h"

namespace kit::win32 {
namespace {

struct ComReleaser {
    void operator()(IUnknown* p) const { p->Release(); }
};
template <class T>
using Com = std::unique_ptr<T, ComReleaser>;

struct BitmapDeleter {
    void operator()(HBITMAP b) const { DeleteObject(b); }
};

// A band of rows small enough to stay in the cache while it is widened.
constexpr UINT kBandBytes = 256 * 1024;

}  // namespace

IPicture* LoadColourJpeg(IStream* stream) {
    const OleApi* ole = Ole();
    const OlePictureApi* pictures = OlePictures();
    if (!ole || !pictures) return nullptr;
    IWICImagingFactory* rawFactory = nullptr;
    if (FAILED(ole->CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&rawFactory))) ||
        !rawFactory)
        return nullptr;
    Com<IWICImagingFactory> factory(rawFactory);
    IWICBitmapDecoder* rawDecoder = nullptr;
    if (FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                &rawDecoder)) ||
        !rawDecoder)
        return nullptr;
    Com<IWICBitmapDecoder> decoder(rawDecoder);
    IWICBitmapFrameDecode* rawFrame = nullptr;
    if (FAILED(decoder->GetFrame(0, &rawFrame)) || !rawFrame) return nullptr;
    Com<IWICBitmapFrameDecode> frame(rawFrame);
    UINT width = 0, height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format)) ||
        format != GUID_WICPixelFormat24bppBGR || !WithinPixelCap(width, height))
        return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top row first, as the frame's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter> bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return nullptr;
    // The rows come through a small band and are widened to 32 bits, the screen's own depth:
    // drawing and turning a 24-bit bitmap would convert all of it each time.
    const UINT bandStride = (width * 3 + 3) & ~3u;
    const UINT bandRows = std::min<UINT>(height, std::max<UINT>(1, kBandBytes / bandStride));
    std::vector<BYTE> band(static_cast<std::size_t>(bandStride) * bandRows);
    auto* out = static_cast<BYTE*>(bits);
    for (UINT y = 0; y < height; y += bandRows) {
        const UINT rows = std::min(bandRows, height - y);
        const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(frame->CopyPixels(&rect, bandStride, bandStride * rows, band.data())))
            return nullptr;
        for (UINT r = 0; r < rows; ++r, out += static_cast<std::size_t>(width) * 4)
            WidenBgrRow(band.data() + static_cast<std::size_t>(r) * bandStride, out, width);
    }

    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap.get();
    IPicture* picture = nullptr;
    if (FAILED(pictures->OleCreatePictureIndirect(&desc, IID_IPicture, TRUE,
                                        reinterpret_cast<void**>(&picture))) ||
        !picture)
        return nullptr;
    bitmap.release();  // the picture owns it now
    return picture;
}

void WidenBgrRow(const unsigned char* in, unsigned char* out, unsigned width) {
    for (unsigned x = 0; x < width; ++x, in += 3, out += 4) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        out[3] = 0;
    }
}

}  // namespace kit::win32
