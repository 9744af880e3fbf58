#include "grabber/thumb_layout.h"

#include "kit/convert.h"

namespace eThumbLayout {

namespace {
int Round(double v) { return static_cast<int>(kit::RoundHalfEven(v)); }
}  // namespace

int PageCount(int files) { return files >= 1 ? (files - 1) / kPerPage + 1 : 0; }

Page PageOf(int page, int files) {
    if (page <= 0 || files <= 0) return {};
    Page p;
    p.first = (page - 1) * kPerPage;
    p.count = files > page * kPerPage ? kPerPage : files - p.first;
    if (p.count < 0) p.count = 0;
    return p;
}

Buttons PageButtons(int page, int files) {
    if (page <= 0) return {};
    const int pages = PageCount(files);
    Buttons b;
    b.forward = b.last = page < pages;
    b.backward = b.first = page >= 2;
    return b;
}

int ClampPage(int page, int files) {
    if (files <= 0) return 0;
    const int pages = PageCount(files);
    if (page > pages) page = pages;
    return page < 1 ? 1 : page;
}

Size FitThumb(int width, int height) {
    if (height > width && height >= kBox + 1)
        return Size{Round(static_cast<double>(width) * kBox / height), kBox};
    if (width >= height && width >= kBox + 1)
        return Size{kBox, Round(static_cast<double>(height) * kBox / width)};
    return Size{width, height};
}

int PictureLeft(int slot, int width) {
    return Round(kFirstCentreX + kSlotStep * slot - width / 2.0);
}

int PictureTop(int height) { return Round(kPictureCentreY - height / 2.0); }

int LabelLeft(int slot, int width) { return PictureLeft(slot, width); }

int CentredLeft(int innerWidth, int width) { return Round((innerWidth - width) / 2.0); }

}  // namespace eThumbLayout
