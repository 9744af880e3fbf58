#include "kit/headless/headless_backend.h"

#include "kit/menu.h"
#include "kit/window_proc.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <stdexcept>

#include "kit/form.h"
#include "kit/headless/headless_window.h"
#include "kit/runtime.h"

namespace kit::headless {

HeadlessBackend& Bound() {
    auto* b = dynamic_cast<HeadlessBackend*>(&kit::backend());
    if (!b) throw std::logic_error("the bound backend is not the headless one");
    return *b;
}

HeadlessBackend::HeadlessBackend() { reset(); }

void HeadlessBackend::reset() {
    setNow(defaultNow());
    chooser_ = nullptr;
    menuCalls_.clear();
    msgBoxAnswers_.clear();
    msgBoxCalls_.clear();
    msgBoxHandler_ = nullptr;
    posted_.clear();
    doEventsCount_ = 0;
    appPath_ = "C:\\Program Files\\Tivlo";
    appTitle_ = "tivlo";
    prevInstance_ = false;
    screenWidthTwips_ = 1024 * 15;
    screenHeightTwips_ = 768 * 15;
    endedWith_.reset();
    repaints_.clear();
    shown_.clear();
    keepShown_ = false;
}

Color HeadlessBackend::systemColor(int index) {
    // The classic Windows scheme.
    switch (index) {
    case 5: return 0xFFFFFF;    // window
    case 8: return 0x000000;    // window text
    case 15: return 0xC8D0D4;   // button face
    case 16: return 0x808080;   // 3-D shadow
    case 17: return 0x808080;   // grey text
    case 18: return 0x000000;   // button text
    case 20: return 0xFFFFFF;   // 3-D highlight
    case 21: return 0x404040;   // 3-D dark shadow
    case 22: return 0xC8D0D4;   // 3-D light
    default: return 0xC8D0D4;
    }
}

// ---- clock and timers ----

DateTime HeadlessBackend::now() {
    return FromSerialSeconds(baseSerial_ + static_cast<long long>((tick_ - baseTick_) / 1000));
}

void HeadlessBackend::setNow(const DateTime& d) {
    baseSerial_ = ToSerialSeconds(d);
    baseTick_ = tick_;
}

double HeadlessBackend::secondsSinceMidnight() {
    constexpr long long kMsPerDay = 86400LL * 1000;
    const long long ms = baseSerial_ * 1000 + static_cast<long long>(tick_ - baseTick_);
    return static_cast<double>(((ms % kMsPerDay) + kMsPerDay) % kMsPerDay) / 1000.0;
}

void HeadlessBackend::advance(std::uint64_t ms) {
    EventScope scope;
    runFor(ms);
}

void HeadlessBackend::runFor(std::uint64_t ms) {
    const std::uint64_t target = tick_ + ms;
    for (;;) {
        // The earliest due timer; std::map order breaks ties by creation.
        Handle next = 0;
        std::uint64_t due = 0;
        for (auto& [h, t] : timers_) {
            if (t.enabled && t.interval > 0 && t.due <= target && (next == 0 || t.due < due)) {
                next = h;
                due = t.due;
            }
        }
        EventSource* source = nullptr;
        std::uint64_t sourceDue = 0;
        for (EventSource* s : sources_) {
            auto d = s->nextDue();
            if (!d) continue;
            const std::uint64_t at = std::max(*d, tick_);
            if (at <= target && (!source || at < sourceDue)) {
                source = s;
                sourceDue = at;
            }
        }
        if (source && (next == 0 || sourceDue < due)) {
            tick_ = sourceDue;
            source->deliverDue(tick_);
            continue;
        }
        if (next == 0) break;
        tick_ = due;
        Timer& t = timers_.at(next);
        t.due = due + t.interval;
        // A copy, so the callback may destroy its own timer.
        auto fn = t.tick;
        if (fn) fn();
    }
    // A handler may have advanced further itself (a message box a slow user answers).
    if (tick_ < target) tick_ = target;
}

void HeadlessBackend::addEventSource(EventSource* source) {
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end())
        sources_.push_back(source);
}

void HeadlessBackend::removeEventSource(EventSource* source) {
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

bool HeadlessBackend::hasPendingEvents() const {
    if (!posted_.empty()) return true;
    for (EventSource* s : sources_) {
        auto d = s->nextDue();
        if (d && *d <= tick_) return true;
    }
    return false;
}

void HeadlessBackend::deliverSources() {
    // A copy: a delivery may add or remove sources.
    for (EventSource* s : std::vector<EventSource*>(sources_)) {
        if (std::find(sources_.begin(), sources_.end(), s) == sources_.end()) continue;
        auto d = s->nextDue();
        if (d && *d <= tick_) s->deliverDue(tick_);
    }
}

void HeadlessBackend::waitEvents() {
    EventScope scope(false);
    for (EventSource* s : std::vector<EventSource*>(sources_)) s->poll();
    if (!hasPendingEvents()) {
        // Real transfers in progress: sleep on them, and let virtual time follow real time.
        for (EventSource* s : std::vector<EventSource*>(sources_)) {
            const auto start = std::chrono::steady_clock::now();
            if (!s->waitOutside(kEventWaitMs)) continue;
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            runFor(static_cast<std::uint64_t>(waited.count()));
            doEvents();
            return;
        }
    }
    if (!hasPendingEvents()) {
        std::uint64_t until = tick_ + kEventWaitMs;
        for (auto& [h, t] : timers_)
            if (t.enabled && t.interval > 0) until = std::min(until, std::max(t.due, tick_));
        for (EventSource* s : sources_)
            if (auto d = s->nextDue()) until = std::min(until, std::max(*d, tick_));
        // Timers and deliveries that fall due on the way run inside advance.
        runFor(until - tick_);
    }
    doEvents();
}

Handle HeadlessBackend::createTimer(std::function<void()> tick) {
    Handle h = nextHandle_++;
    timers_[h].tick = std::move(tick);
    return h;
}

void HeadlessBackend::setTimer(Handle h, unsigned intervalMs, bool enabled) {
    auto it = timers_.find(h);
    if (it == timers_.end()) return;
    it->second.interval = intervalMs;
    it->second.enabled = enabled;
    it->second.due = tick_ + intervalMs;
}

void HeadlessBackend::destroyTimer(Handle h) { timers_.erase(h); }

bool HeadlessBackend::timerEnabled(Handle h) const {
    auto it = timers_.find(h);
    return it != timers_.end() && it->second.enabled && it->second.interval > 0;
}

unsigned HeadlessBackend::timerInterval(Handle h) const {
    auto it = timers_.find(h);
    return it == timers_.end() ? 0 : it->second.interval;
}

// ---- windows ----

Handle HeadlessBackend::addWindow(HeadlessWindow* w, Handle parent) {
    Handle h = nextHandle_++;
    windows_[h] = w;
    if (parent && windows_.count(parent))
        windows_.at(parent)->children.push_back(h);
    else
        topLevel_.push_back(h);
    return h;
}

void HeadlessBackend::removeWindow(Handle h) {
    auto it = windows_.find(h);
    if (it == windows_.end()) return;
    const Handle parent = it->second->parent();
    if (parent && windows_.count(parent)) {
        auto& v = windows_.at(parent)->children;
        v.erase(std::remove(v.begin(), v.end(), h), v.end());
    }
    topLevel_.erase(std::remove(topLevel_.begin(), topLevel_.end(), h), topLevel_.end());
    // Children whose peers outlive this window lose their parent, as a destroyed window's do.
    for (Handle c : it->second->children)
        if (windows_.count(c)) windows_.at(c)->visible = false;
    windows_.erase(it);
    if (focus_ == h) focus_ = 0;
    if (capture_ == h) capture_ = 0, pressed_ = 0;
    if (hover_ == h) hover_ = 0;
    if (activeForm_ == h) activeForm_ = 0;
    repaints_.erase(h);
    shown_.erase(h);
}

void HeadlessBackend::restack(Handle h, bool top) {
    HeadlessWindow& w = window(h);
    auto& v = w.parent() && windows_.count(w.parent()) ? windows_.at(w.parent())->children : topLevel_;
    v.erase(std::remove(v.begin(), v.end(), h), v.end());
    if (top)
        v.push_back(h);
    else
        v.insert(v.begin(), h);
}

HeadlessWindow& HeadlessBackend::window(Handle h) const {
    auto it = windows_.find(h);
    if (it == windows_.end()) throw std::invalid_argument("unknown window handle");
    return *it->second;
}

bool HeadlessBackend::isVisible(Handle h) const { return window(h).visible; }

bool HeadlessBackend::isUsable(Handle h) const {
    for (Handle k = h; k && windows_.count(k); k = windows_.at(k)->parent()) {
        const HeadlessWindow& w = *windows_.at(k);
        if (!w.visible || !w.enabled) return false;
    }
    return windows_.count(h) != 0;
}

Handle HeadlessBackend::windowParent(Handle h) const { return window(h).parent(); }

const std::vector<Handle>& HeadlessBackend::childrenOf(Handle h) const { return window(h).children; }

void HeadlessBackend::screenOrigin(Handle h, int& x, int& y) const {
    x = y = 0;
    for (Handle k = h; k && windows_.count(k); k = windows_.at(k)->parent()) {
        const HeadlessWindow& w = *windows_.at(k);
        x += w.border + (w.parent() ? w.x : 0);
        y += w.border + (w.parent() ? w.y : 0);
        if (!w.parent()) {
            // A form's client area lies inside its frame.
            x += w.x;
            y += w.y;
        }
    }
}

void HeadlessBackend::translate(Handle a, Handle b, int& x, int& y) const {
    int ax, ay, bx, by;
    screenOrigin(a, ax, ay);
    screenOrigin(b, bx, by);
    x += ax - bx;
    y += ay - by;
}

// ---- mouse ----

void HeadlessBackend::mouseMove(Handle h, int x, int y, int button, int shift) {
    EventScope scope;
    window(h);
    Handle target = h;
    if (capture_ && capture_ != h) {
        translate(h, capture_, x, y);
        target = capture_;
    }
    if (!capture_ && hover_ != target) {
        Handle old = hover_;
        hover_ = target;
        if (old && windows_.count(old))
            if (auto* s = window(old).sink()) s->onMouseLeave();
        if (hover_ == target && windows_.count(target))
            if (auto* s = window(target).sink()) s->onMouseEnter();
    }
    if (!windows_.count(target)) return;
    if (auto* s = window(target).sink()) s->onMouseMove(button, shift, x, y);
}

void HeadlessBackend::mouseAway() {
    EventScope scope;
    Handle old = hover_;
    hover_ = 0;
    if (old && windows_.count(old))
        if (auto* s = window(old).sink()) s->onMouseLeave();
}

void HeadlessBackend::mouseDown(Handle h, int x, int y, int button, int shift) {
    EventScope scope;
    window(h);
    if (capture_ && capture_ != h) {
        // Another button is already held: the press goes to the window that has the mouse.
        translate(h, capture_, x, y);
        h = capture_;
    } else if (!isUsable(h)) {
        return;
    }
    if (window(h).takesFocus() && focus_ != h) {
        setFocus(h);
        // Disabled by the focus move, the window cancels the press.
        if (!windows_.count(h) || !isUsable(h)) return;
    }
    capture_ = h;
    pressed_ |= button;
    if (auto* s = window(h).sink()) s->onMouseDown(button, shift, x, y);
}

void HeadlessBackend::mouseUp(Handle h, int x, int y, int button, int shift) {
    EventScope scope;
    window(h);
    Handle target = h;
    if (capture_ && capture_ != h) {
        translate(h, capture_, x, y);
        target = capture_;
    }
    const bool wasPressed = capture_ == target && (pressed_ & button);
    if (capture_ == target) {
        pressed_ &= ~button;
        if (pressed_ == 0) capture_ = 0;
    }
    if (!windows_.count(target)) return;
    if (auto* s = window(target).sink()) s->onMouseUp(button, shift, x, y);
    if (!wasPressed || !windows_.count(target)) return;
    HeadlessWindow& t = window(target);
    if (x >= 0 && y >= 0 && x < t.clientWidth() && y < t.clientHeight()) t.nativeClick(button, x, y);
}

void HeadlessBackend::loseCapture() {
    const Handle lost = capture_;
    const bool held = pressed_ != 0;
    capture_ = 0;
    pressed_ = 0;
    if (held && windows_.count(lost))
        if (auto* s = window(lost).sink()) s->onCaptureLost();
}

void HeadlessBackend::click(Handle h, int button, int shift) {
    EventScope scope;
    HeadlessWindow& w = window(h);
    const int x = w.clientWidth() / 2, y = w.clientHeight() / 2;
    mouseDown(h, x, y, button, shift);
    if (windows_.count(h)) mouseUp(h, x, y, button, shift);
}

void HeadlessBackend::dblClick(Handle h, int x, int y, int button) {
    EventScope scope;
    HeadlessWindow& w = window(h);
    if (x < 0) x = w.clientWidth() / 2;
    if (y < 0) y = w.clientHeight() / 2;
    mouseDown(h, x, y, button);
    if (!windows_.count(h)) return;
    mouseUp(h, x, y, button);
    if (!windows_.count(h) || !isUsable(h)) return;
    // The second press is the double click: no MouseDown, and its release makes no Click.
    capture_ = h;
    pressed_ = 0;
    if (auto* s = window(h).sink()) s->onDblClick();
    if (!windows_.count(h)) return;
    capture_ = 0;
    if (auto* s = window(h).sink()) s->onMouseUp(button, 0, x, y);
}

// ---- keyboard and focus ----

void HeadlessBackend::setFocus(Handle h) {
    if (h == focus_) return;
    if (h && !windows_.count(h)) return;
    const Handle old = focus_;
    focus_ = h;
    if (old && windows_.count(old))
        if (auto* s = window(old).sink()) s->onLostFocus();
    if (focus_ == h && h && windows_.count(h))
        if (auto* s = window(h).sink()) s->onGotFocus();
}

void HeadlessBackend::focus(Handle h) {
    EventScope scope;
    if (isUsable(h)) setFocus(h);
}

namespace {
// The character a key gives, or 0.
int CharOf(int keyCode, int shift) {
    if (shift & (kCtrlMask | kAltMask)) return 0;
    if (keyCode >= 'A' && keyCode <= 'Z') return (shift & kShiftMask) ? keyCode : keyCode + 32;
    if (keyCode >= '0' && keyCode <= '9') return keyCode;
    if (keyCode == kKeySpace || keyCode == kKeyReturn || keyCode == kKeyBack ||
        keyCode == kKeyEscape)
        return keyCode;
    return 0;
}
}  // namespace

void HeadlessBackend::pressKey(int keyCode, int shift) {
    EventScope scope;
    Handle h = focus_ ? focus_ : activeForm_;
    if (!h || !windows_.count(h)) return;
    WindowSink* s = window(h).sink();
    if (s && s->onNavigationKey(keyCode, shift)) return;
    int key = keyCode;
    if (s) s->onKeyDown(key, shift);
    if (!windows_.count(h)) return;
    if (key) window(h).nativeKey(key, shift);
    if (int ch = key ? CharOf(key, shift) : 0) {
        if (!windows_.count(h)) return;
        if (s) s->onKeyPress(ch);
        if (ch && windows_.count(h)) window(h).nativeChar(ch);
    }
    if (!windows_.count(h)) return;
    int up = keyCode;
    if (s) s->onKeyUp(up, shift);
}

void HeadlessBackend::keyDown(int keyCode, int shift) {
    EventScope scope;
    Handle h = focus_ ? focus_ : activeForm_;
    if (!h || !windows_.count(h)) return;
    WindowSink* s = window(h).sink();
    if (s && s->onNavigationKey(keyCode, shift)) return;
    int key = keyCode;
    if (s) s->onKeyDown(key, shift);
    if (key && windows_.count(h)) window(h).nativeKey(key, shift);
}

void HeadlessBackend::keyUp(int keyCode, int shift) {
    EventScope scope;
    Handle h = focus_ ? focus_ : activeForm_;
    if (!h || !windows_.count(h)) return;
    int up = keyCode;
    if (WindowSink* s = window(h).sink()) s->onKeyUp(up, shift);
}

std::intptr_t HeadlessBackend::wheel(Handle h, int delta, int keys) {
    EventScope scope;
    const auto wParam = static_cast<std::uintptr_t>(
        (static_cast<std::uint32_t>(delta & 0xFFFF) << 16) | static_cast<std::uint32_t>(keys & 0xFFFF));
    return CallWndProc(GetWndLong(h, kGwlWndProc), h, kWmMouseWheel, wParam, 0);
}

void HeadlessBackend::chooseMenuItem(Handle form, MenuItem& item) {
    EventScope scope;
    if (!windows_.count(form)) return;
    HeadlessWindow& w = window(form);
    for (MenuItem* menu : w.menus) {
        const bool inMenu = menu == &item ||
                            std::find(menu->Items.begin(), menu->Items.end(), &item) != menu->Items.end();
        if (!inMenu) continue;
        if (!menu->Enabled || !menu->Visible || !w.enabled) return;
        if (w.sink()) w.sink()->onMenuItem(&item);
        return;
    }
}

void HeadlessBackend::typeText(const std::string& text) {
    EventScope scope;
    for (unsigned char c : text) {
        Handle h = focus_ ? focus_ : activeForm_;
        if (!h || !windows_.count(h)) return;
        WindowSink* s = window(h).sink();
        const int vk = std::isalpha(c) ? std::toupper(c) : c;
        const int shift = std::isupper(c) ? kShiftMask : 0;
        int key = vk;
        if (s) s->onKeyDown(key, shift);
        if (!windows_.count(h)) return;
        int ch = c;
        if (s) s->onKeyPress(ch);
        if (ch && windows_.count(h)) window(h).nativeChar(ch);
        if (!windows_.count(h)) return;
        int up = vk;
        if (s) s->onKeyUp(up, shift);
    }
}

void HeadlessBackend::choose(Handle h, int index) {
    EventScope scope;
    if (!isUsable(h)) return;
    if (window(h).takesFocus()) setFocus(h);
    if (windows_.count(h)) window(h).nativeChoose(index);
}

void HeadlessBackend::pressCloseBox(Handle form) {
    EventScope scope;
    if (auto* s = window(form).sink()) s->onCloseRequest();
}

void HeadlessBackend::broadcastTaskbarCreated() {
    EventScope scope;
    std::vector<Handle> tops;
    for (auto& [h, w] : windows_)
        if (w->parent() == 0) tops.push_back(h);
    for (Handle h : tops) {
        // A handler may have destroyed the window meanwhile.
        if (!windows_.count(h)) continue;
        if (auto* s = window(h).sink()) s->onTaskbarCreated();
    }
}

// ---- pictures ----

void HeadlessBackend::noteRepaint(Handle h) {
    ++repaints_[h];
    if (keepShown_) shown_[h] = snapshot(h);
}

int HeadlessBackend::repaintCount(Handle h) const {
    auto it = repaints_.find(h);
    return it == repaints_.end() ? 0 : it->second;
}

const RasterGdi::Pixels& HeadlessBackend::shownImage(Handle h) const {
    auto it = shown_.find(h);
    if (it == shown_.end()) throw std::invalid_argument("no image shown by that window");
    return it->second;
}

RasterGdi::Pixels HeadlessBackend::snapshot(Handle h) {
    auto& g = dynamic_cast<RasterGdi&>(kit::gdi());
    HeadlessWindow& w = window(h);
    const int cw = std::max(w.clientWidth(), 1), ch = std::max(w.clientHeight(), 1);
    Handle dc = g.createCompatibleDC(0);
    Handle bmp = g.createCompatibleBitmap(0, cw, ch);
    Handle old = g.selectObject(dc, bmp);
    paintInto(h, dc, -w.border, -w.border, 0, 0, cw, ch);
    RasterGdi::Pixels out = g.bitmapPixels(bmp);
    g.selectObject(dc, old);
    g.deleteObject(bmp);
    g.deleteDC(dc);
    return out;
}

// Paints window h with its outer corner at (ox, oy) of dc, inside the clip rectangle.
void HeadlessBackend::paintInto(Handle h, Handle dc, int ox, int oy, int clipL, int clipT,
                                int clipR, int clipB) {
    auto& g = dynamic_cast<RasterGdi&>(kit::gdi());
    HeadlessWindow& w = window(h);
    const int cw = w.clientWidth(), ch = w.clientHeight();
    const int cx = ox + w.border, cy = oy + w.border;
    if (w.border > 0) {
        // A sunken edge: grey and black above and left, white and light grey below and right.
        const Color shades[2][2] = {{0x808080, 0xFFFFFF}, {0x404040, 0xC8D0D4}};
        for (int ring = 0; ring < std::min(w.border, 2); ++ring) {
            const int l = ox + ring, t = oy + ring, r = ox + w.width - 1 - ring,
                      b = oy + w.height - 1 - ring;
            Handle dark = g.createSolidBrush(shades[ring][0]);
            Handle light = g.createSolidBrush(shades[ring][1]);
            g.fillRect(dc, std::max(l, clipL), std::max(t, clipT), std::min(r, clipR),
                       std::min(t + 1, clipB), dark);
            g.fillRect(dc, std::max(l, clipL), std::max(t, clipT), std::min(l + 1, clipR),
                       std::min(b, clipB), dark);
            g.fillRect(dc, std::max(l, clipL), std::max(b, clipT), std::min(r + 1, clipR),
                       std::min(b + 1, clipB), light);
            g.fillRect(dc, std::max(r, clipL), std::max(t, clipT), std::min(r + 1, clipR),
                       std::min(b + 1, clipB), light);
            g.deleteObject(dark);
            g.deleteObject(light);
        }
    }
    // The client area, drawn on its own and copied into the clip rectangle.
    const int l = std::max(cx, clipL), t = std::max(cy, clipT);
    const int r = std::min(cx + cw, clipR), b = std::min(cy + ch, clipB);
    if (r <= l || b <= t) return;
    Handle own = g.createCompatibleDC(0);
    Handle bmp = g.createCompatibleBitmap(0, std::max(cw, 1), std::max(ch, 1));
    Handle old = g.selectObject(own, bmp);
    if (w.paintsThroughSink()) {
        if (w.sink()) w.sink()->onPaint(own);
    } else {
        w.paint(own);
    }
    g.bitBlt(dc, l, t, r - l, b - t, own, l - cx, t - cy, kSrcCopy);
    g.selectObject(own, old);
    g.deleteObject(bmp);
    g.deleteDC(own);
    for (Handle c : std::vector<Handle>(w.children)) {
        if (!windows_.count(c)) continue;
        HeadlessWindow& child = window(c);
        if (!child.visible) continue;
        paintInto(c, dc, cx + child.x, cy + child.y, l, t, r, b);
    }
}

// ---- menus, message boxes, events ----

int HeadlessBackend::popupMenu(Handle owner, const std::vector<MenuEntry>& entries) {
    menuCalls_.push_back(MenuCall{owner, entries});
    return chooser_ ? chooser_(entries) : -1;
}

int HeadlessBackend::msgBox(Handle owner, const std::string& text, const std::string& caption,
                            int flags) {
    msgBoxCalls_.push_back(MsgBoxCall{owner, text, caption, flags});
    if (!msgBoxAnswers_.empty()) {
        int a = msgBoxAnswers_.front();
        msgBoxAnswers_.pop_front();
        return a;
    }
    if (msgBoxHandler_) {
        auto handler = msgBoxHandler_;  // a copy: the handler may replace itself
        return handler(MsgBoxCall{owner, text, caption, flags});
    }
    return (flags & 0xF) == kMbYesNo ? kIdNo : kIdOk;
}

void HeadlessBackend::doEvents() {
    EventScope scope(false);
    ++doEventsCount_;
    // Only what is pending now, so a callback that posts again cannot loop forever.
    for (std::size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
        auto fn = std::move(posted_.front());
        posted_.pop_front();
        if (fn) fn();
    }
    for (EventSource* s : std::vector<EventSource*>(sources_)) s->poll();
    deliverSources();
}

void HeadlessBackend::endProcess(int exitCode) {
    endedWith_ = exitCode;
    throw ProcessEnded{exitCode};
}

}  // namespace kit::headless
