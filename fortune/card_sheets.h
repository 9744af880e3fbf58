// The card pictures, drawn at build time by fortune/cardgen and compiled into the program, so
// both backends make the two sheet surfaces from the same bytes.
#pragma once

namespace fortune {

// 24-bit pixels, top row first, rows packed, three bytes a pixel in blue, green, red order.
struct SheetPixels {
    int width;
    int height;
    const unsigned char* bgr;
};

// 923 x 384: 13 columns of points (Ace .. King) by 4 rows of suits (clubs, diamonds, hearts,
// spades), cells of 71 x 96.
extern const SheetPixels kFaceSheet;
// 568 x 96: eight back designs side by side.
extern const SheetPixels kBackSheet;

}  // namespace fortune
