// The toolkit's parallelogram copy on Win32: a 3 x 2 bitmap of six distinct pixels through
// the two flips and the two quarter turns must land pixel for pixel. The same probe through
// the system's own PlgBlt is printed for the record (Wine builds it from a world transform).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "kit/win32/win32_gdi.h"
#include "tests/win32/check.h"
#include "viewer/view_rules.h"

namespace {

constexpr int W = 3, H = 2;

std::uint32_t Colour(int x, int y) { return 0x100000u * (y + 1) + 0x1000u * (x + 1) + 0x11u; }

std::vector<std::uint32_t> Read(HDC dc, HBITMAP bitmap, int w, int h) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
    for (auto& p : px) p &= 0xFFFFFF;
    return px;
}

struct Mapping {
    int mode, w, h;
    std::function<std::pair<int, int>(int, int)> to;
};

const Mapping kMappings[] = {
    {2, W, H, [](int x, int y) { return std::pair{W - 1 - x, y}; }},
    {3, W, H, [](int x, int y) { return std::pair{x, H - 1 - y}; }},
    {4, H, W, [](int x, int y) { return std::pair{y, W - 1 - x}; }},
    {5, H, W, [](int x, int y) { return std::pair{H - 1 - y, x}; }},
};

// How many of the six pixels land where the mapping puts them.
int Probe(const Mapping& m, bool system) {
    HDC screen = GetDC(nullptr);
    HDC sdc = CreateCompatibleDC(screen), ddc = CreateCompatibleDC(screen);
    HBITMAP src = CreateCompatibleBitmap(screen, W, H);
    HBITMAP dst = CreateCompatibleBitmap(screen, m.w, m.h);
    HGDIOBJ os = SelectObject(sdc, src), od = SelectObject(ddc, dst);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const std::uint32_t c = Colour(x, y);  // 0x00RRGGBB as DIBs hold it
            SetPixel(sdc, x, y, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
        }
    const auto pts = eViewRules::TransformPoints(m.mode, W, H);
    if (system) {
        POINT p[3];
        for (int i = 0; i < 3; ++i) p[i] = POINT{pts[i].x, pts[i].y};
        PlgBlt(ddc, p, sdc, 0, 0, W, H, nullptr, 0, 0);
    } else {
        kit::win32::Win32Gdi gdi;
        gdi.plgBlt(reinterpret_cast<kit::Handle>(ddc), pts.data(), reinterpret_cast<kit::Handle>(sdc),
                   0, 0, W, H);
    }
    SelectObject(ddc, od);
    SelectObject(sdc, os);
    const auto out = Read(screen, dst, m.w, m.h);
    int right = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const auto [tx, ty] = m.to(x, y);
            if (out[static_cast<std::size_t>(ty) * m.w + tx] == Colour(x, y)) ++right;
        }
    DeleteObject(src);
    DeleteObject(dst);
    DeleteDC(sdc);
    DeleteDC(ddc);
    ReleaseDC(nullptr, screen);
    return right;
}

CHECK_CASE(flips_and_quarter_turns_are_exact) {
    for (const Mapping& m : kMappings) {
        CHECK_EQ(Probe(m, false), 6);
        std::printf("# system PlgBlt, mode %d: %d of 6 pixels in place\n", m.mode, Probe(m, true));
    }
}

}  // namespace
