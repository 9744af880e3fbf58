#include "kit/surface.h"

#include <algorithm>

#include "kit/gdi.h"

namespace kit {

Surface::Surface(Form* owner, int widthPx, int heightPx)
    : Component(owner), width_(std::max(widthPx, 1)), height_(std::max(heightPx, 1)) {}

Surface::~Surface() { release(); }

void Surface::ensure() {
    if (dc_) return;
    Gdi& g = gdi();
    Handle screen = g.getDC(0);
    dc_ = g.createCompatibleDC(screen);
    bitmap_ = g.createCompatibleBitmap(screen, width_, height_);
    g.releaseDC(0, screen);
    oldBitmap_ = g.selectObject(dc_, bitmap_);
    g.setTextColor(dc_, ResolveColor(fore_));
    g.setBkColor(dc_, ResolveColor(back_));
    g.setBkMode(dc_, kTransparent);
    selectFont();
    Cls();
}

void Surface::selectFont() {
    if (!dc_) return;
    Gdi& g = gdi();
    Handle font = g.createFontIndirect(font_);
    Handle previous = g.selectObject(dc_, font);
    if (fontHandle_)
        g.deleteObject(fontHandle_);
    else
        oldFont_ = previous;
    fontHandle_ = font;
}

void Surface::release() {
    if (!dc_) return;
    Gdi& g = gdi();
    g.selectObject(dc_, oldBitmap_);
    g.selectObject(dc_, oldFont_);
    g.deleteObject(bitmap_);
    g.deleteObject(fontHandle_);
    g.deleteDC(dc_);
    dc_ = bitmap_ = oldBitmap_ = fontHandle_ = oldFont_ = 0;
}

void Surface::destroyPeer() { release(); }

Handle Surface::hDC() {
    ensure();
    return dc_;
}

void Surface::Cls() {
    if (!dc_) {
        ensure();  // clears
        return;
    }
    Gdi& g = gdi();
    Handle brush = g.createSolidBrush(ResolveColor(back_));
    g.fillRect(dc_, 0, 0, width_, height_, brush);
    g.deleteObject(brush);
}

void Surface::resize(int widthPx, int heightPx) {
    widthPx = std::max(widthPx, 1);
    heightPx = std::max(heightPx, 1);
    if (widthPx == width_ && heightPx == height_) return;
    if (!dc_) {
        width_ = widthPx;
        height_ = heightPx;
        return;
    }
    // A new bitmap with the old picture in its top left corner.
    Gdi& g = gdi();
    Handle screen = g.getDC(0);
    Handle bigger = g.createCompatibleBitmap(screen, widthPx, heightPx);
    Handle tmp = g.createCompatibleDC(screen);
    g.releaseDC(0, screen);
    Handle tmpOld = g.selectObject(tmp, bigger);
    Handle brush = g.createSolidBrush(ResolveColor(back_));
    g.fillRect(tmp, 0, 0, widthPx, heightPx, brush);
    g.deleteObject(brush);
    g.bitBlt(tmp, 0, 0, std::min(width_, widthPx), std::min(height_, heightPx), dc_, 0, 0,
             kSrcCopy);
    g.selectObject(tmp, tmpOld);
    g.deleteDC(tmp);
    g.selectObject(dc_, bigger);
    g.deleteObject(bitmap_);
    bitmap_ = bigger;
    width_ = widthPx;
    height_ = heightPx;
}

void Surface::setBackColor(Color c) {
    back_ = c;
    if (!dc_) return;
    gdi().setBkColor(dc_, ResolveColor(c));
    Cls();
}

void Surface::setForeColor(Color c) {
    fore_ = c;
    if (dc_) gdi().setTextColor(dc_, ResolveColor(c));
}

void Surface::setFont(const Font& f) {
    if (f == font_) return;
    font_ = f;
    selectFont();
}

}  // namespace kit
