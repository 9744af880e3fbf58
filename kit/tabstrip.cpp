#include "kit/tabstrip.h"

#include <algorithm>

namespace kit {

namespace {
// Without a native side: tabs of this height, and a thin border around the display area.
constexpr int kTabRowPx = 20, kEdgePx = 2;
}  // namespace

TabStrip::TabStrip(Container* parent) : Control(parent) {}

std::unique_ptr<ControlPeer> TabStrip::makePeer(Handle parentWindow) {
    return NewTabStripPeer(parentWindow, this, this);
}

void TabStrip::applyState() {
    Control::applyState();
    for (const std::string& t : tabs_) tabPeer()->addTab(t);
    if (!tabs_.empty()) tabPeer()->selectTab(current_);
}

Handle TabStrip::containerWindow() {
    createPeer();
    return hWnd();
}

int TabStrip::childScaleMode() const { return container() ? container()->childScaleMode() : kScaleTwips; }

void TabStrip::AddTab(const std::string& caption) {
    tabs_.push_back(caption);
    if (tabPeer()) {
        tabPeer()->addTab(caption);
        if (tabs_.size() == 1) tabPeer()->selectTab(0);
    }
}

void TabStrip::setTab(int index) {
    if (index < 0 || index >= TabCount() || index == current_) return;
    current_ = index;
    if (tabPeer()) tabPeer()->selectTab(index);
    onClick();
}

void TabStrip::onTabChosen(int index) {
    if (index < 0 || index >= TabCount() || index == current_) return;
    current_ = index;
    onClick();
}

bool TabStrip::hasAccessKey(char letter) const {
    return std::any_of(tabs_.begin(), tabs_.end(), [&](const std::string& t) { return AccessKeyOf(t) == letter; });
}

void TabStrip::accessKeyPressed(char letter) {
    for (int i = 0; i < TabCount(); ++i)
        if (AccessKeyOf(tabs_[i]) == letter) {
            setTab(i);
            return;
        }
}

void TabStrip::area(int& x, int& y, int& w, int& h) const {
    if (tabPeer()) {
        tabPeer()->displayArea(x, y, w, h);
        return;
    }
    x = kEdgePx;
    y = kTabRowPx + kEdgePx;
    w = std::max(widthPx() - 2 * kEdgePx, 0);
    h = std::max(heightPx() - kTabRowPx - 2 * kEdgePx, 0);
}

int TabStrip::ClientLeft() const {
    int x, y, w, h;
    area(x, y, w, h);
    return FromPixelsX(x, childScaleMode());
}

int TabStrip::ClientTop() const {
    int x, y, w, h;
    area(x, y, w, h);
    return FromPixelsY(y, childScaleMode());
}

int TabStrip::ClientWidth() const {
    int x, y, w, h;
    area(x, y, w, h);
    return FromPixelsX(w, childScaleMode());
}

int TabStrip::ClientHeight() const {
    int x, y, w, h;
    area(x, y, w, h);
    return FromPixelsY(h, childScaleMode());
}

}  // namespace kit
