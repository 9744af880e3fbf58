// Renders text the way the tray icons are drawn, into a 16 x 16 mask, and prints the mask as
// 16 lines of '#' (ink) and '.' (background). The Wine smoke test compares these with
// screenshot crops of the icons.
//
// Usage: tivlo_icontext FACE POINTS X Y TEXT [FACE POINTS X Y TEXT ...]
// Every group is drawn into the same mask, in order.
//
// Like the program: black text on a white, screen-compatible surface, then a copy to a
// monochrome bitmap, where every pixel that is not the white background (smoothed edges
// too) turns into ink.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include <string>

#include "kit/win32/win32_gdi.h"
#include "shell/tivlo_form.h"

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 1) % 5 != 0) {
        std::fprintf(stderr, "usage: %s FACE POINTS X Y TEXT [FACE POINTS X Y TEXT ...]\n",
                     argv[0]);
        return 2;
    }
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldColour = SelectObject(dc, colour);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));

    // The program's own font creation, so both pick the same face and height.
    kit::win32::Win32Gdi gdi;
    kit::setGdi(&gdi);
    for (int i = 1; i + 4 < argc; i += 5) {
        // The letter takes whatever font the program gives it here.
        const std::string face = std::string(argv[i]) == "MS Serif" ? TrayLetterFont() : argv[i];
        double points = std::atof(argv[i + 1]);
        int x = std::atoi(argv[i + 2]);
        int y = std::atoi(argv[i + 3]);
        const char* text = argv[i + 4];
        HFONT font = reinterpret_cast<HFONT>(gdi.createFont(face, points));
        HGDIOBJ oldFont = SelectObject(dc, font);
        TextOutA(dc, x, y, text, lstrlenA(text));
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }

    HDC maskDC = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    BitBlt(maskDC, 0, 0, 16, 16, dc, 0, 0, SRCCOPY);

    for (int y = 0; y < 16; ++y) {
        char line[17];
        for (int x = 0; x < 16; ++x) line[x] = GetPixel(maskDC, x, y) == RGB(0, 0, 0) ? '#' : '.';
        line[16] = 0;
        std::printf("%s\n", line);
    }
    SelectObject(maskDC, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDC);
    SelectObject(dc, oldColour);
    DeleteObject(colour);
    DeleteDC(dc);
    return 0;
}
