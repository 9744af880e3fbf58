#include "kit/option.h"

#include <algorithm>

namespace kit {

OptionButton::OptionButton(Container* parent, std::string caption)
    : Control(parent), caption_(std::move(caption)) {}

void OptionButton::setCaption(const std::string& text) {
    caption_ = text;
    if (peer()) peer()->setText(text);
}

std::vector<OptionButton*> OptionButton::group() const {
    std::vector<OptionButton*> out;
    if (!container_) return out;
    for (Control* c : container_->children())
        if (auto* o = dynamic_cast<OptionButton*>(c)) out.push_back(o);
    // In tab order, which is the order the arrow keys walk.
    std::sort(out.begin(), out.end(), [](OptionButton* a, OptionButton* b) { return a->TabIndex() < b->TabIndex(); });
    return out;
}

void OptionButton::show(bool on) {
    value_ = on;
    if (peer()) static_cast<OptionButtonPeer*>(peer())->setCheck(on);
}

void OptionButton::setValue(bool on) {
    if (!on) {
        show(false);
        return;
    }
    if (value_) return;
    for (OptionButton* o : group())
        if (o != this && o->value_) o->show(false);
    show(true);
    if (Click) Click();
}

bool OptionButton::inTabCycle() const {
    if (!Control::inTabCycle()) return false;
    if (value_) return true;
    // Tab goes to the selected option of a group; with none selected, to each.
    for (OptionButton* o : group())
        if (o->value_ && o->usable()) return false;
    return true;
}

void OptionButton::onKeyDown(int& keyCode, int shift) {
    Control::onKeyDown(keyCode, shift);
    const bool back = keyCode == kKeyUp || keyCode == kKeyLeft;
    const bool on = keyCode == kKeyDown || keyCode == kKeyRight;
    if (!back && !on) return;
    auto g = group();
    const int n = static_cast<int>(g.size());
    int at = static_cast<int>(std::find(g.begin(), g.end(), this) - g.begin());
    for (int step = 1; step < n; ++step) {
        OptionButton* next = g[((at + (back ? -step : step)) % n + n) % n];
        if (!next->usable()) continue;
        keyCode = 0;  // used here
        next->SetFocus();
        next->setValue(true);
        return;
    }
}

std::unique_ptr<ControlPeer> OptionButton::makePeer(Handle parentWindow) {
    return NewOptionButtonPeer(parentWindow, this);
}

void OptionButton::applyState() {
    Control::applyState();
    peer()->setText(caption_);
    static_cast<OptionButtonPeer*>(peer())->setCheck(value_);
}

}  // namespace kit
