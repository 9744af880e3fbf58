#include "kit/updown.h"

#include <algorithm>

namespace kit {

UpDown::UpDown(Container* parent) : Control(parent) { tabStop_ = false; }

int UpDown::clamp(int v) const { return std::clamp(v, std::min(min_, max_), std::max(min_, max_)); }

void UpDown::setMin(int v) {
    min_ = v;
    if (udPeer()) udPeer()->setRange(min_, max_);
    setValue(value_);
}

void UpDown::setMax(int v) {
    max_ = v;
    if (udPeer()) udPeer()->setRange(min_, max_);
    setValue(value_);
}

void UpDown::setValue(int v) {
    v = clamp(v);
    if (v == value_) return;
    value_ = v;
    if (udPeer()) udPeer()->setPosition(value_);
    if (Change) Change();
}

void UpDown::userStep(int direction) {
    // The upper arrow goes towards Max.
    const int towardsMax = max_ >= min_ ? 1 : -1;
    setValue(value_ + (direction > 0 ? 1 : -1) * towardsMax * increment_);
}

std::unique_ptr<ControlPeer> UpDown::makePeer(Handle parentWindow) { return NewUpDownPeer(parentWindow, this); }

void UpDown::applyState() {
    Control::applyState();
    udPeer()->setRange(min_, max_);
    udPeer()->setPosition(value_);
}

}  // namespace kit
