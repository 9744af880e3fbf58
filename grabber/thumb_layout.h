// The grab window's thumbnail pages as numbers: pages of five, the page shown, the fit into
// 80 x 80 and the place of each slot's picture and name, all in pixels.
#pragma once

namespace eThumbLayout {

constexpr int kPerPage = 5;
constexpr int kBox = 80;             // thumbnails fit into kBox x kBox
constexpr int kFirstCentreX = 65;    // centre of slot 0
constexpr int kSlotStep = 126;       // from one slot's centre to the next
constexpr int kPictureCentreY = 368;
constexpr int kLabelTop = 418;

// (n - 1) \ 5 + 1 pages for n >= 1 files; 0 for none.
int PageCount(int files);

struct Page {
    int first = 0;  // index of the page's first file
    int count = 0;  // files on it, 0 to 5
};
// Page p (1-based) of n files; page 0 shows nothing.
Page PageOf(int page, int files);

struct Buttons {
    bool first = false, backward = false, forward = false, last = false;
    bool operator==(const Buttons&) const = default;
};
Buttons PageButtons(int page, int files);

// The page a refresh keeps: 0 without files, else the page lowered until it exists, at least 1.
int ClampPage(int page, int files);

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};
// Fits into 80 x 80 keeping the ratio (the side rounded half to even); never enlarges.
Size FitThumb(int width, int height);

// Left and top of slot k's picture of that size, and left of its name of that width, each
// centred on the slot and rounded half to even.
int PictureLeft(int slot, int width);
int PictureTop(int height);
int LabelLeft(int slot, int width);
// The page label centred in the window's inner width.
int CentredLeft(int innerWidth, int width);

}  // namespace eThumbLayout
