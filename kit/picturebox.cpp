#include "kit/picturebox.h"

#include <algorithm>

#include "kit/form.h"
#include "kit/convert.h"
#include "kit/gdi.h"

namespace kit {

PictureBox::PictureBox(Container* parent, int widthPx, int heightPx)
    : Control(parent), image_(parent ? parent->hostForm() : nullptr, widthPx, heightPx) {
    w_ = widthPx;
    h_ = heightPx;
    back_ = kSysButtonFace;
    image_.setBackColor(back_);
}

PictureBox::~PictureBox() = default;

void PictureBox::setBorderStyle(int style) {
    border_ = style ? 1 : 0;
    boundsChanged();
}

int PictureBox::ScaleWidth() const { return FromPixelsX(std::max(w_ - 2 * borderPx(), 0), scaleMode_); }
int PictureBox::ScaleHeight() const { return FromPixelsY(std::max(h_ - 2 * borderPx(), 0), scaleMode_); }

void PictureBox::setScaleWidth(double units) { userWidth_ = units; }

void PictureBox::setScaleHeight(double units) { userHeight_ = units; }

int PictureBox::drawPxX(double x) const {
    if (userWidth_ != 0) return static_cast<int>(RoundHalfEven(x * image_.width() / userWidth_));
    return ToPixelsX(x, scaleMode_);
}

int PictureBox::drawPxY(double y) const {
    if (userHeight_ != 0) return static_cast<int>(RoundHalfEven(y * image_.height() / userHeight_));
    return ToPixelsY(y, scaleMode_);
}

void PictureBox::FillBox(double x1, double y1, double x2, double y2, Color color) {
    int l = drawPxX(x1), r = drawPxX(x2), t = drawPxY(y1), b = drawPxY(y2);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    Gdi& g = gdi();
    Handle brush = g.createSolidBrush(ResolveColor(color));
    g.fillRect(image_.hDC(), l, t, r + 1, b + 1, brush);
    g.deleteObject(brush);
}

Picture PictureBox::Image() {
    Gdi& g = gdi();
    Handle src = image_.hDC();
    Handle screen = g.getDC(0);
    Handle copy = g.createCompatibleBitmap(screen, image_.width(), image_.height());
    Handle dc = g.createCompatibleDC(screen);
    g.releaseDC(0, screen);
    Handle old = g.selectObject(dc, copy);
    g.bitBlt(dc, 0, 0, image_.width(), image_.height(), src, 0, 0, kSrcCopy);
    g.selectObject(dc, old);
    g.deleteDC(dc);
    return CreatePicture(kPictureTypeBitmap, copy, true);
}

void PictureBox::setPicture(Picture p) {
    picture_ = std::move(p);
    fitPicture();
}

void PictureBox::setAutoSize(bool on) {
    autoSize_ = on;
    fitPicture();
}

void PictureBox::fitPicture() {
    if (!autoSize_ || !picture_) return;
    int w = 0, h = 0;
    if (gdi().pictureSize(picture_->object(), w, h))
        movePx(x_, y_, w + 2 * borderPx(), h + 2 * borderPx());
}

void PictureBox::setBackColor(Color c) {
    Control::setBackColor(c);
    image_.setBackColor(c);
}

void PictureBox::setForeColor(Color c) {
    Control::setForeColor(c);
    image_.setForeColor(c);
}

void PictureBox::fontChanged() { image_.setFont(font_); }

void PictureBox::boundsChanged() { image_.resize(w_ - 2 * borderPx(), h_ - 2 * borderPx()); }

Handle PictureBox::hDC() { return image_.hDC(); }

void PictureBox::Cls() { image_.Cls(); }

void PictureBox::Refresh() {
    if (peer()) peer()->repaint();
}

Handle PictureBox::containerWindow() {
    createPeer();
    return hWnd();
}

std::unique_ptr<ControlPeer> PictureBox::makePeer(Handle parentWindow) {
    return NewPictureBoxPeer(parentWindow, this, border_ != 0);
}

void PictureBox::onPaint(Handle dc) {
    Handle src = image_.hDC();
    gdi().bitBlt(dc, 0, 0, image_.width(), image_.height(), src, 0, 0, kSrcCopy);
}

void PictureBox::destroyPeer() {
    picture_.reset();
    image_.destroyPeer();
    Control::destroyPeer();
}

}  // namespace kit
