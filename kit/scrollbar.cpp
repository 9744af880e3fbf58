#include "kit/scrollbar.h"

#include <algorithm>
#include <cstdlib>

namespace kit {

ScrollBar::ScrollBar(Container* parent, bool vertical) : Control(parent), vertical_(vertical) {}

int ScrollBar::clamp(int v) const { return std::clamp(v, std::min(min_, max_), std::max(min_, max_)); }

void ScrollBar::showValue() {
    if (peer()) static_cast<ScrollBarPeer*>(peer())->setScroll(std::abs(max_ - min_), std::abs(value_ - min_), 1);
}

void ScrollBar::setMin(int v) {
    min_ = v;
    showValue();
    setValue(value_);
}

void ScrollBar::setMax(int v) {
    max_ = v;
    showValue();
    setValue(value_);
}

void ScrollBar::setValue(int v) {
    v = clamp(v);
    if (v == value_) return;
    value_ = v;
    showValue();
    if (Change) Change();
}

void ScrollBar::userScroll(int action, int offset) {
    const int toMax = max_ >= min_ ? 1 : -1;
    switch (action) {
    case kScrollLineTowardsMin: setValue(value_ - toMax * small_); break;
    case kScrollLineTowardsMax: setValue(value_ + toMax * small_); break;
    case kScrollPageTowardsMin: setValue(value_ - toMax * large_); break;
    case kScrollPageTowardsMax: setValue(value_ + toMax * large_); break;
    case kScrollThumb: setValue(min_ + toMax * offset); break;
    default: break;
    }
    showValue();  // the native thumb may stand elsewhere when the value did not change
}

std::unique_ptr<ControlPeer> ScrollBar::makePeer(Handle parentWindow) {
    return NewScrollBarPeer(parentWindow, this, vertical_);
}

void ScrollBar::applyState() {
    Control::applyState();
    showValue();
}

}  // namespace kit
