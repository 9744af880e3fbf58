#include "kit/controls.h"

#include <algorithm>

namespace kit {

// ---- Component ----

Component::Component(Form* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
    if (owner_) {
        auto& v = owner_->components_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
}

// ---- Pictures ----

PictureObject::~PictureObject() { gdi().releasePicture(object_); }

Handle PictureObject::handle() const { return gdi().pictureHandle(object_); }

Picture CreatePicture(int pictureType, Handle handle, bool owned) {
    return std::make_shared<PictureObject>(gdi().createPictureIndirect(pictureType, handle, owned));
}

// ---- Timer ----

Timer::Timer(Form* owner, unsigned intervalMs, bool enabled)
    : Component(owner), interval_(intervalMs), enabled_(enabled) {
    if (enabled_ && interval_) apply();
}

Timer::~Timer() { destroyPeer(); }

void Timer::setInterval(unsigned ms) {
    interval_ = ms;
    apply();
}

void Timer::setEnabled(bool on) {
    enabled_ = on;
    apply();
}

void Timer::apply() {
    if (!timer_) {
        if (!enabled_ || !interval_) return;
        timer_ = backend().createTimer([this] {
            if (OnTimer) OnTimer();
        });
    }
    backend().setTimer(timer_, interval_, enabled_);
}

void Timer::destroyPeer() {
    if (!timer_) return;
    backend().destroyTimer(timer_);
    timer_ = 0;
    enabled_ = false;
}

// ---- Control ----

Control::Control(Form* owner, WindowKind kind) : Component(owner), kind_(kind) {}

Control::~Control() { Control::destroyPeer(); }

void Control::createPeer() {
    if (hwnd_) return;
    hwnd_ = backend().createWindow(kind_, owner() ? owner()->hWnd() : 0, this);
}

void Control::destroyPeer() {
    if (!hwnd_) return;
    backend().destroyWindow(hwnd_);
    hwnd_ = 0;
}

// ---- PictureBox ----

PictureBox::PictureBox(Form* owner, int widthPx, int heightPx)
    : Control(owner, WindowKind::PictureBox), width_(widthPx), height_(heightPx) {}

PictureBox::~PictureBox() { releaseSurface(); }

void PictureBox::ensureSurface() {
    if (dc_) return;
    Gdi& g = gdi();
    Handle screen = g.getDC(0);
    dc_ = g.createCompatibleDC(screen);
    bitmap_ = g.createCompatibleBitmap(screen, width_, height_);
    g.releaseDC(0, screen);
    oldBitmap_ = g.selectObject(dc_, bitmap_);
    g.setTextColor(dc_, fore_);
    g.setBkColor(dc_, back_);
    g.setBkMode(dc_, kTransparent);
    selectFont();
    Cls();
}

void PictureBox::selectFont() {
    if (!dc_) return;
    Gdi& g = gdi();
    Handle font = g.createFont(fontName_, fontSize_);
    Handle previous = g.selectObject(dc_, font);
    if (font_) g.deleteObject(font_);
    else oldFont_ = previous;
    font_ = font;
}

void PictureBox::releaseSurface() {
    if (!dc_) return;
    Gdi& g = gdi();
    g.selectObject(dc_, oldBitmap_);
    g.selectObject(dc_, oldFont_);
    g.deleteObject(bitmap_);
    g.deleteObject(font_);
    g.deleteDC(dc_);
    dc_ = bitmap_ = oldBitmap_ = font_ = oldFont_ = 0;
}

void PictureBox::destroyPeer() {
    picture_.reset();
    releaseSurface();
    Control::destroyPeer();
}

Handle PictureBox::hDC() {
    ensureSurface();
    return dc_;
}

void PictureBox::Cls() {
    if (!dc_) {
        ensureSurface();  // clears
        return;
    }
    Gdi& g = gdi();
    Handle brush = g.createSolidBrush(back_);
    g.fillRect(dc_, 0, 0, width_, height_, brush);
    g.deleteObject(brush);
}

void PictureBox::setBackColor(Color c) {
    back_ = c;
    if (!dc_) return;
    gdi().setBkColor(dc_, c);
    Cls();
}

void PictureBox::setForeColor(Color c) {
    fore_ = c;
    if (dc_) gdi().setTextColor(dc_, c);
}

void PictureBox::setFontName(const std::string& face) {
    if (face == fontName_) return;
    fontName_ = face;
    selectFont();
}

void PictureBox::setFontSize(double points) {
    if (points == fontSize_) return;
    fontSize_ = points;
    selectFont();
}

// ---- Form ----

Form::Form() = default;

Form::~Form() {
    // Components are members of the derived form and are gone by now.
    if (hwnd_) backend().destroyWindow(hwnd_);
}

void Form::loadForm() {
    if (!hwnd_) hwnd_ = backend().createWindow(WindowKind::Form, 0, this);
    for (Component* c : std::vector<Component*>(components_)) c->createPeer();
    Form_Load();
}

bool Form::unloadForm() {
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel) return false;
    for (Component* c : std::vector<Component*>(components_)) c->destroyPeer();
    if (hwnd_) backend().destroyWindow(hwnd_);
    hwnd_ = 0;
    visible_ = false;
    return true;
}

void Form::Show() {
    visible_ = true;
    if (hwnd_) backend().showWindow(hwnd_, true);
}

void Form::Hide() {
    visible_ = false;
    if (hwnd_) backend().showWindow(hwnd_, false);
}

void Form::PopupMenu(MenuItem& menu) {
    std::vector<MenuEntry> entries;
    std::vector<MenuItem*> items;
    for (MenuItem* item : menu.Items) {
        if (!item->Visible) continue;
        entries.push_back({item->Caption, item->Enabled, item->Checked, true});
        items.push_back(item);
    }
    int chosen = backend().popupMenu(hwnd_, entries);
    if (chosen < 0 || chosen >= int(items.size())) return;
    MenuItem* item = items[chosen];
    if (item->Enabled && item->Caption != "-" && item->Click) item->Click();
}

int Form::MsgBox(const std::string& text, int flags, const std::string& caption) {
    return backend().msgBox(hwnd_, text, caption.empty() ? backend().appTitle() : caption, flags);
}

int MsgBox(const std::string& text, int flags, const std::string& caption) {
    return backend().msgBox(0, text, caption.empty() ? backend().appTitle() : caption, flags);
}

// ---- Form slots ----

namespace {
std::vector<std::function<void()>>& formSlots() {
    static std::vector<std::function<void()>> slots;
    return slots;
}
}  // namespace

void RegisterFormSlot(std::function<void()> reset) { formSlots().push_back(std::move(reset)); }

void ResetAllForms() {
    for (auto& reset : formSlots()) reset();
}

}  // namespace kit
