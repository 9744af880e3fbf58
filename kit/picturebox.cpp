#include "kit/picturebox.h"

#include <algorithm>

#include "kit/form.h"
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
