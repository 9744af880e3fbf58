#include "kit/usercontrol.h"

#include "kit/backend.h"
#include "kit/form.h"
#include "kit/gdi.h"

namespace kit {

UserControl::UserControl(Container* parent) : Control(parent) { tabStop_ = false; }

int UserControl::ScaleWidth() const { return FromPixelsX(w_, scaleMode_); }
int UserControl::ScaleHeight() const { return FromPixelsY(h_, scaleMode_); }

void UserControl::setBackColor(Color c) {
    Control::setBackColor(c);
    if (peer()) peer()->repaint();
}

void UserControl::setFillsForm(bool on) {
    fills_ = on;
    fitForm();
}

void UserControl::fitForm() {
    Form* f = owner();
    if (!fills_ || !f || container() != f) return;
    int w, h;
    f->clientSizePx(w, h);
    // A minimised form reports no client area; keep the last size until it is restored.
    if (w > 0 && h > 0) movePx(0, 0, w, h);
}

int UserControl::MsgBox(const std::string& text, int flags, const std::string& caption) {
    return backend().msgBox(hWnd(), text, caption.empty() ? backend().appTitle() : caption, flags);
}

Handle UserControl::containerWindow() {
    createPeer();
    return hWnd();
}

std::unique_ptr<ControlPeer> UserControl::makePeer(Handle parentWindow) {
    return NewPictureBoxPeer(parentWindow, this, false);
}

void UserControl::onPaint(Handle dc) {
    Gdi& g = gdi();
    Handle brush = g.createSolidBrush(ResolveColor(back_));
    g.fillRect(dc, 0, 0, w_, h_, brush);
    g.deleteObject(brush);
}

}  // namespace kit
