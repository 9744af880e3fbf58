#include "kit/headless/headless_backend.h"

#include <algorithm>
#include <stdexcept>

#include "kit/runtime.h"

namespace kit::headless {

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
}

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
    if (!hasPendingEvents()) {
        std::uint64_t until = tick_ + kEventWaitMs;
        for (auto& [h, t] : timers_)
            if (t.enabled && t.interval > 0) until = std::min(until, std::max(t.due, tick_));
        for (EventSource* s : sources_)
            if (auto d = s->nextDue()) until = std::min(until, std::max(*d, tick_));
        // Timers and deliveries that fall due on the way run inside advance.
        advance(until - tick_);
    }
    doEvents();
}

HeadlessBackend::Window& HeadlessBackend::window(Handle h) {
    auto it = windows_.find(h);
    if (it == windows_.end()) throw std::invalid_argument("unknown window handle");
    return it->second;
}

const HeadlessBackend::Window& HeadlessBackend::window(Handle h) const {
    auto it = windows_.find(h);
    if (it == windows_.end()) throw std::invalid_argument("unknown window handle");
    return it->second;
}

Handle HeadlessBackend::createWindow(WindowKind kind, Handle parent, WindowSink* sink) {
    Handle h = nextHandle_++;
    // Forms start hidden; child controls are shown with their form.
    windows_[h] = Window{kind, parent, sink, kind != WindowKind::Form};
    return h;
}

void HeadlessBackend::destroyWindow(Handle h) { windows_.erase(h); }

void HeadlessBackend::showWindow(Handle h, bool visible) {
    auto it = windows_.find(h);
    if (it != windows_.end()) it->second.visible = visible;
}

bool HeadlessBackend::isVisible(Handle h) const { return window(h).visible; }
WindowKind HeadlessBackend::windowKind(Handle h) const { return window(h).kind; }
Handle HeadlessBackend::windowParent(Handle h) const { return window(h).parent; }

void HeadlessBackend::mouseMove(Handle h, int x, int y, int button, int shift) {
    if (auto* s = window(h).sink) s->onMouseMove(button, shift, x, y);
}
void HeadlessBackend::mouseDown(Handle h, int x, int y, int button, int shift) {
    if (auto* s = window(h).sink) s->onMouseDown(button, shift, x, y);
}
void HeadlessBackend::mouseUp(Handle h, int x, int y, int button, int shift) {
    if (auto* s = window(h).sink) s->onMouseUp(button, shift, x, y);
}
void HeadlessBackend::click(Handle h) {
    if (auto* s = window(h).sink) s->onClick();
}
void HeadlessBackend::dblClick(Handle h) {
    if (auto* s = window(h).sink) s->onDblClick();
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
    ++doEventsCount_;
    // Only what is pending now, so a callback that posts again cannot loop forever.
    for (std::size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
        auto fn = std::move(posted_.front());
        posted_.pop_front();
        if (fn) fn();
    }
    deliverSources();
}

void HeadlessBackend::endProcess(int exitCode) {
    endedWith_ = exitCode;
    throw ProcessEnded{exitCode};
}

}  // namespace kit::headless
