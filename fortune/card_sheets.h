// The card pictures, drawn at build time by fortune/cardgen and compiled into the program, so
// both backends make the two sheet surfaces from the same bytes.
#pragma once

#include <cstddef>
#include <vector>

namespace fortune {

// The pixels run-length coded, four bytes a run: a count from 1 to 255, then blue, green, red.
// The runs cover the rows top row first, one after the other; a run may go on into the next row.
// Coded, the two sheets take a quarter of the program's size they would take as plain pixels.
struct SheetPixels {
    int width;
    int height;
    const unsigned char* runs;
    std::size_t runBytes;
};

// The sheet's 24-bit pixels, top row first, rows packed, three bytes a pixel in blue, green,
// red order. Runs that do not fill the sheet exactly give black pixels where they fall short.
std::vector<unsigned char> SheetBgr(const SheetPixels& sheet);

// 923 x 384: 13 columns of points (Ace .. King) by 4 rows of suits (clubs, diamonds, hearts,
// spades), cells of 71 x 96.
extern const SheetPixels kFaceSheet;
// 568 x 96: eight back designs side by side.
extern const SheetPixels kBackSheet;

}  // namespace fortune
