#include "kit/image.h"

#include "kit/gdi.h"

namespace kit {

Image::Image(Container* parent) : Control(parent) { tabStop_ = false; }

void Image::setPicture(Picture p) {
    picture_ = std::move(p);
    fit();
    if (peer()) peer()->repaint();
}

void Image::setStretch(bool on) {
    stretch_ = on;
    fit();
    if (peer()) peer()->repaint();
}

void Image::fit() {
    if (stretch_ || !picture_) return;
    int w = 0, h = 0;
    if (gdi().pictureSize(picture_->object(), w, h)) movePx(x_, y_, w, h);
}

void Image::onPaint(Handle dc) {
    Gdi& g = gdi();
    // What lies behind the picture: the container's background.
    Handle brush = g.createSolidBrush(ResolveColor(container_ ? container_->containerBackColor() : back_));
    g.fillRect(dc, 0, 0, w_, h_, brush);
    g.deleteObject(brush);
    if (!picture_) return;
    int pw = 0, ph = 0;
    if (!g.pictureSize(picture_->object(), pw, ph)) return;
    if (stretch_)
        g.renderPicture(dc, picture_->object(), 0, 0, w_, h_);
    else
        g.renderPicture(dc, picture_->object(), 0, 0, pw, ph);
}

void Image::destroyPeer() {
    Control::destroyPeer();
    picture_.reset();
}

std::unique_ptr<ControlPeer> Image::makePeer(Handle parentWindow) { return NewImagePeer(parentWindow, this); }

}  // namespace kit
