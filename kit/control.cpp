#include "kit/control.h"

#include <algorithm>
#include <cctype>

#include "kit/backend.h"
#include "kit/form.h"
#include "kit/usercontrol.h"

namespace kit {

namespace {
TabScope* ScopeOf(Container* c) {
    // The nearest user control up the containers, or the form.
    for (Container* k = c; k;) {
        Control* ctl = k->asControl();
        if (!ctl) return static_cast<Form*>(k);
        if (auto* uc = dynamic_cast<UserControl*>(ctl)) return uc;
        k = ctl->container();
    }
    return nullptr;
}
}  // namespace

char AccessKeyOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // "&&" is a plain "&"
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

Control::Control(Container* parent)
    : Component(parent ? parent->hostForm() : nullptr), container_(parent), scope_(ScopeOf(parent)) {
    if (container_) container_->children_.push_back(this);
    if (scope_) scope_->tabOrder.push_back(this);
}

Control::~Control() {
    Control::destroyPeer();
    if (container_) {
        auto& v = container_->children_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    if (scope_) {
        auto& v = scope_->tabOrder;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    if (Form* f = owner()) f->controlGone(this);
}

Handle Control::hWnd() const { return peer_ ? peer_->handle() : 0; }

UserControl* Control::ownerUserControl() const {
    return scope_ ? dynamic_cast<UserControl*>(scope_) : nullptr;
}

// ---- geometry ----

namespace {
int ScaleOf(const Container* c) { return c ? c->childScaleMode() : kScaleTwips; }
}  // namespace

int Control::Left() const { return FromPixelsX(x_, ScaleOf(container_)); }
int Control::Top() const { return FromPixelsY(y_, ScaleOf(container_)); }
int Control::Width() const { return FromPixelsX(w_, ScaleOf(container_)); }
int Control::Height() const { return FromPixelsY(h_, ScaleOf(container_)); }

void Control::setLeft(double v) { movePx(ToPixelsX(v, ScaleOf(container_)), y_, w_, h_); }
void Control::setTop(double v) { movePx(x_, ToPixelsY(v, ScaleOf(container_)), w_, h_); }
void Control::setWidth(double v) { movePx(x_, y_, ToPixelsX(v, ScaleOf(container_)), h_); }
void Control::setHeight(double v) { movePx(x_, y_, w_, ToPixelsY(v, ScaleOf(container_))); }

void Control::Move(double left, double top) {
    const int s = ScaleOf(container_);
    movePx(ToPixelsX(left, s), ToPixelsY(top, s), w_, h_);
}

void Control::Move(double left, double top, double width, double height) {
    const int s = ScaleOf(container_);
    movePx(ToPixelsX(left, s), ToPixelsY(top, s), ToPixelsX(width, s), ToPixelsY(height, s));
}

void Control::movePx(int x, int y, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (x == x_ && y == y_ && width == w_ && height == h_) return;
    const bool resized = width != w_ || height != h_;
    x_ = x;
    y_ = y;
    w_ = width;
    h_ = height;
    if (peer_) peer_->setBounds(x_, y_, w_, h_);
    if (resized) boundsChanged();
}

// ---- state ----

void Control::setVisible(bool on) {
    if (on == visible_) return;
    visible_ = on;
    if (peer_) peer_->setVisible(on);
    if (!on) releaseFocus();
}

void Control::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (peer_) peer_->setEnabled(on);
    if (!on) releaseFocus();
}

void Control::releaseFocus() {
    Form* f = owner();
    if (!f || !peer_) return;
    for (Control* a = f->ActiveControl(); a; a = a->container_ ? a->container_->asControl() : nullptr) {
        if (a == this) {
            // The focus may not stay on a control the user cannot reach: the next one takes
            // it, or the form itself.
            if (!f->moveFocus(false) && f->peer()) f->peer()->setFocus();
            return;
        }
    }
}

void Control::ZOrder(int position) {
    if (container_) {
        // Later in the list is nearer the front, for the headless painter and the tests.
        auto& v = container_->children_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        if (position == 0)
            v.push_back(this);
        else
            v.insert(v.begin(), this);
    }
    if (peer_) peer_->setZOrder(position == 0);
}

bool Control::showing() const {
    for (const Control* c = this; c; c = c->container_ ? c->container_->asControl() : nullptr)
        if (!c->visible_) return false;
    return true;
}

bool Control::usable() const {
    for (const Control* c = this; c; c = c->container_ ? c->container_->asControl() : nullptr)
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}

// ---- font and colours ----

void Control::setFont(const Font& f) {
    if (f == font_) return;
    font_ = f;
    if (peer_) peer_->setFont(font_);
    fontChanged();
}

void Control::setFontName(const std::string& name) {
    Font f = font_;
    f.name = name;
    setFont(f);
}

void Control::setFontSize(double points) {
    Font f = font_;
    f.size = points;
    setFont(f);
}

void Control::setFontBold(bool on) {
    Font f = font_;
    f.bold = on;
    setFont(f);
}

void Control::setFontUnderline(bool on) {
    Font f = font_;
    f.underline = on;
    setFont(f);
}

void Control::setForeColor(Color c) {
    fore_ = c;
    applyColors();
}

void Control::setBackColor(Color c) {
    back_ = c;
    applyColors();
}

void Control::applyColors() {
    if (peer_) peer_->setColors(ResolveColor(fore_), ResolveColor(back_));
}

// ---- tab order and focus ----

int Control::TabIndex() const {
    if (!scope_) return 0;
    auto& v = scope_->tabOrder;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

void Control::setTabIndex(int index) {
    if (!scope_) return;
    auto& v = scope_->tabOrder;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    index = std::clamp(index, 0, static_cast<int>(v.size()));
    v.insert(v.begin() + index, this);
}

void Control::SetFocus() {
    if (!peer_ || !canFocus() || !usable()) return;
    peer_->setFocus();
}

bool Control::onNavigationKey(int keyCode, int shift) {
    Form* f = owner();
    return f && f->onNavigationKey(keyCode, shift);
}

// ---- events ----

int Control::mouseScaleMode() const { return ScaleOf(container_); }

void Control::onMouseMove(int button, int shift, int x, int y) {
    const int s = mouseScaleMode();
    if (MouseMove) MouseMove(button, shift, FromPixelsX(x, s), FromPixelsY(y, s));
}

void Control::onMouseDown(int button, int shift, int x, int y) {
    const int s = mouseScaleMode();
    if (MouseDown) MouseDown(button, shift, FromPixelsX(x, s), FromPixelsY(y, s));
}

void Control::onMouseUp(int button, int shift, int x, int y) {
    const int s = mouseScaleMode();
    if (MouseUp) MouseUp(button, shift, FromPixelsX(x, s), FromPixelsY(y, s));
}

void Control::onMouseEnter() {
    if (MouseEnter) MouseEnter();
}

void Control::onMouseLeave() {
    if (MouseLeave) MouseLeave();
}

void Control::onCaptureLost() {
    if (CaptureLost) CaptureLost();
}

void Control::onClick() {
    if (Click) Click();
}

void Control::onDblClick() {
    if (DblClick) DblClick();
}

void Control::onGotFocus() {
    if (Form* f = owner()) f->controlGotFocus(this);
    if (GotFocus) GotFocus();
}

void Control::onLostFocus() {
    // By the time LostFocus runs, the control that took the focus is the active one.
    if (Form* f = owner())
        if (Control* next = f->controlOfWindow(backend().focusedWindow())) f->controlGotFocus(next);
    if (LostFocus) LostFocus();
}

void Control::onKeyDown(int& keyCode, int shift) {
    Form* f = owner();
    if (f && f->KeyPreview) f->onKeyDown(keyCode, shift);
    if (keyCode && KeyDown) KeyDown(keyCode, shift);
}

void Control::onKeyUp(int& keyCode, int shift) {
    Form* f = owner();
    if (f && f->KeyPreview) f->onKeyUp(keyCode, shift);
    if (keyCode && KeyUp) KeyUp(keyCode, shift);
}

void Control::onKeyPress(int& keyAscii) {
    Form* f = owner();
    if (f && f->KeyPreview) f->onKeyPress(keyAscii);
    if (keyAscii && KeyPress) KeyPress(keyAscii);
}

// ---- native side ----

void Control::createPeer() {
    if (peer_) return;
    Handle parent = container_ ? container_->containerWindow() : 0;
    if (peer_) return;  // made while its container was (a container control makes itself)
    peer_ = makePeer(parent);
    applyState();
}

void Control::applyState() {
    peer_->setBounds(x_, y_, w_, h_);
    peer_->setFont(font_);
    applyColors();
    peer_->setEnabled(enabled_);
    // Later controls lie in front of earlier ones; the children list keeps that order.
    peer_->setZOrder(true);
    peer_->setVisible(visible_);
}

void Control::destroyPeer() {
    if (!peer_) return;
    if (Form* f = owner()) f->controlGone(this);
    peer_.reset();
}

}  // namespace kit
