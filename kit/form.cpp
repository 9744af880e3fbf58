#include "kit/form.h"

#include <algorithm>

#include "kit/gdi.h"
#include "kit/line.h"
#include "kit/statusbar.h"
#include "kit/usercontrol.h"

namespace kit {

Form::Form() = default;

Form::~Form() {
    // Components are members of the derived form and are gone by now.
    peer_.reset();
}

Handle Form::hWnd() const { return peer_ ? peer_->handle() : 0; }

Handle Form::containerWindow() {
    ensurePeer();
    return peer_->handle();
}

void Form::ensurePeer() {
    if (peer_) return;
    peer_ = NewFormPeer(this, borderStyle_);
    if (!menuBar_.empty()) peer_->setMenuBar(menuBar_);
    peer_->setText(caption_);
    peer_->setColors(0, ResolveColor(back_));
    if (clientW_ >= 0) {
        int dx = 0, dy = 0;
        peer_->frameSize(dx, dy);
        w_ = clientW_ + dx;
        h_ = clientH_ + dy;
        clientW_ = clientH_ = -1;
    }
    if (!placed_) {
        // Where the system would put a new window.
        int x, y, w, h;
        peer_->windowRect(x, y, w, h);
        x_ = x;
        y_ = y;
    }
    applyBounds();
}

void Form::applyBounds() {
    if (peer_) peer_->setBounds(x_, y_, w_, h_);
}

// ---- load and unload ----

void Form::loadForm() {
    ensurePeer();
    for (Component* c : std::vector<Component*>(components_)) c->createPeer();
    // Stack each container's children in their list order, later ones in front.
    for (Component* c : std::vector<Component*>(components_)) {
        auto* k = dynamic_cast<Container*>(c);
        if (!k) continue;
        for (Control* child : std::vector<Control*>(k->children()))
            if (child->hWnd()) child->ZOrder(0);
    }
    for (Control* child : std::vector<Control*>(children()))
        if (child->hWnd()) child->ZOrder(0);
    for (Component* c : std::vector<Component*>(components_))
        if (auto* uc = dynamic_cast<UserControl*>(c)) uc->fitForm();
    for (Component* c : std::vector<Component*>(components_))
        if (auto* uc = dynamic_cast<UserControl*>(c)) uc->initialize();
    loaded_ = true;
    Form_Load();
}

bool Form::unloadForm(int mode) {
    int cancel = 0;
    Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel) return false;
    for (Component* c : std::vector<Component*>(components_))
        if (auto* uc = dynamic_cast<UserControl*>(c)) uc->terminate();
    // Children before their containers: the reverse of the order they were made in.
    std::vector<Component*> all(components_);
    for (auto it = all.rbegin(); it != all.rend(); ++it) (*it)->destroyPeer();
    active_ = nullptr;
    peer_.reset();
    visible_ = false;
    loaded_ = false;
    return true;
}

void Form::onCloseRequest() {
    if (unloadSelf)
        unloadSelf(kUnloadControlMenu);
    else
        unloadForm(kUnloadControlMenu);
}

// ---- showing ----

void Form::Show() {
    if (!loaded_ && !peer_) loadForm();
    visible_ = true;
    if (!peer_) return;  // unloaded by its own load handler
    peer_->setVisible(true);
    peer_->activate();
    if (!shownOnce_) {
        shownOnce_ = true;
        Form_Resize();  // as when the window first takes its size on the screen
    }
}

void Form::Hide() {
    visible_ = false;
    if (peer_) peer_->setVisible(false);
}

void Form::setCaption(const std::string& text) {
    caption_ = text;
    if (peer_) peer_->setText(text);
}

void Form::setEnabled(bool on) {
    if (peer_) peer_->setEnabled(on);
}

void Form::setBackColor(Color c) {
    back_ = c;
    if (peer_) {
        peer_->setColors(0, ResolveColor(c));
        peer_->repaint();
    }
}

// ---- geometry ----

namespace {
int Twips(int pixels, bool horizontal) {
    return horizontal ? FromPixelsX(pixels, kScaleTwips) : FromPixelsY(pixels, kScaleTwips);
}
}  // namespace

int Form::Left() const {
    if (peer_) {
        int x, y, w, h;
        peer_->windowRect(x, y, w, h);
        return Twips(x, true);
    }
    return Twips(x_, true);
}

int Form::Top() const {
    if (peer_) {
        int x, y, w, h;
        peer_->windowRect(x, y, w, h);
        return Twips(y, false);
    }
    return Twips(y_, false);
}

int Form::Width() const {
    if (peer_) {
        int x, y, w, h;
        peer_->windowRect(x, y, w, h);
        return Twips(w, true);
    }
    return Twips(w_, true);
}

int Form::Height() const {
    if (peer_) {
        int x, y, w, h;
        peer_->windowRect(x, y, w, h);
        return Twips(h, false);
    }
    return Twips(h_, false);
}

void Form::Move(double left, double top) { Move(left, top, Width(), Height()); }

void Form::Move(double left, double top, double width, double height) {
    if (peer_) peer_->windowRect(x_, y_, w_, h_);
    const int x = ToPixelsX(left, kScaleTwips), y = ToPixelsY(top, kScaleTwips);
    const int w = std::max(0, ToPixelsX(width, kScaleTwips));
    const int h = std::max(0, ToPixelsY(height, kScaleTwips));
    placed_ = true;
    // The same place and size again costs the window nothing (a form resized every frame).
    if (peer_ && x == x_ && y == y_ && w == w_ && h == h_) return;
    x_ = x;
    y_ = y;
    w_ = w;
    h_ = h;
    applyBounds();
}

void Form::setLeft(double twips) { Move(twips, Top(), Width(), Height()); }
void Form::setTop(double twips) { Move(Left(), twips, Width(), Height()); }
void Form::setTopmost() {
    if (peer_) peer_->setTopmost();
}

void Form::dragWindow() {
    if (peer_) peer_->dragWindow();
}

void Form::setWidth(double twips) { Move(Left(), Top(), twips, Height()); }
void Form::setHeight(double twips) { Move(Left(), Top(), Width(), twips); }

void Form::setClientSize(double widthTwips, double heightTwips) {
    const int cw = ToPixelsX(widthTwips, kScaleTwips), ch = ToPixelsY(heightTwips, kScaleTwips);
    if (!peer_) {
        clientW_ = cw;
        clientH_ = ch;
        return;
    }
    int dx = 0, dy = 0;
    peer_->frameSize(dx, dy);
    peer_->windowRect(x_, y_, w_, h_);
    w_ = cw + dx;
    h_ = ch + dy;
    applyBounds();
}

void Form::clientSizePx(int& width, int& height) const {
    if (peer_) {
        peer_->clientSize(width, height);
        return;
    }
    width = clientW_ >= 0 ? clientW_ : w_;
    height = clientH_ >= 0 ? clientH_ : h_;
}

int Form::ScaleWidth() const {
    int w, h;
    clientSizePx(w, h);
    return FromPixelsX(w, scaleMode_);
}

int Form::ScaleHeight() const {
    int w, h;
    clientSizePx(w, h);
    return FromPixelsY(h, scaleMode_);
}

int Form::WindowState() const { return peer_ ? peer_->windowState() : kStateNormal; }

void Form::setWindowState(int state) {
    if (peer_) peer_->setWindowState(state);
}

void Form::onResized() {
    for (Component* c : std::vector<Component*>(components_)) {
        if (auto* uc = dynamic_cast<UserControl*>(c)) uc->fitForm();
        if (auto* sb = dynamic_cast<StatusBar*>(c); sb && sb->container() == this) sb->alignBottom();
    }
    // Not while loading: the first Resize comes when the form is first shown.
    if (loaded_ && shownOnce_) Form_Resize();
}

// ---- painting ----

void Form::addLine(Line* line) { lines_.push_back(line); }

void Form::removeLine(Line* line) { lines_.erase(std::remove(lines_.begin(), lines_.end(), line), lines_.end()); }

void Form::repaint() {
    if (peer_) peer_->repaint();
}

void Form::onPaint(Handle dc) {
    Gdi& g = gdi();
    int w, h;
    clientSizePx(w, h);
    Handle brush = g.createSolidBrush(ResolveColor(back_));
    g.fillRect(dc, 0, 0, w, h, brush);
    g.deleteObject(brush);
    for (Line* line : lines_) line->paint(dc);
}

// ---- mouse ----

void Form::onMouseMove(int button, int shift, int x, int y) {
    Form_MouseMove(button, shift, FromPixelsX(x, scaleMode_), FromPixelsY(y, scaleMode_));
}

void Form::onMouseDown(int button, int shift, int x, int y) {
    Form_MouseDown(button, shift, FromPixelsX(x, scaleMode_), FromPixelsY(y, scaleMode_));
}

void Form::onMouseUp(int button, int shift, int x, int y) {
    Form_MouseUp(button, shift, FromPixelsX(x, scaleMode_), FromPixelsY(y, scaleMode_));
}

// ---- menus and message boxes ----

void Form::PopupMenu(MenuItem& menu) {
    std::vector<MenuEntry> entries;
    std::vector<MenuItem*> items;
    for (MenuItem* item : menu.Items) {
        if (!item->Visible) continue;
        entries.push_back({item->Caption, item->Enabled, item->Checked, true});
        items.push_back(item);
    }
    int chosen = backend().popupMenu(hWnd(), entries);
    if (chosen < 0 || chosen >= int(items.size())) return;
    MenuItem* item = items[chosen];
    if (item->Enabled && item->Caption != "-" && item->Click) item->Click();
}

void Form::onMenuItem(MenuItem* item) {
    if (item && item->Enabled && item->Visible && item->Caption != "-" && item->Click) item->Click();
}

int Form::MsgBox(const std::string& text, int flags, const std::string& caption) {
    return backend().msgBox(hWnd(), text, caption.empty() ? backend().appTitle() : caption, flags);
}

// ---- focus ----

void Form::controlGotFocus(Control* c) { active_ = c; }

Control* Form::controlOfWindow(Handle window) const {
    if (!window) return nullptr;
    for (Component* c : components_)
        if (auto* ctl = dynamic_cast<Control*>(c); ctl && ctl->hWnd() == window) return ctl;
    return nullptr;
}

void Form::controlGone(Control* c) {
    if (active_ == c) active_ = nullptr;
}

void Form::onGotFocus() {
    // The form's own window got the focus (its activation): hand it to its control.
    if (active_ && active_->usable() && active_->hWnd()) {
        active_->SetFocus();
        return;
    }
    moveFocus(false);
}

}  // namespace kit
