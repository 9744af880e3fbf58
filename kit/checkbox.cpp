#include "kit/checkbox.h"

namespace kit {

CheckBox::CheckBox(Container* parent, std::string caption) : Control(parent), caption_(std::move(caption)) {}

void CheckBox::setCaption(const std::string& text) {
    caption_ = text;
    if (peer()) peer()->setText(text);
}

void CheckBox::setValue(int value) {
    if (value < kUnchecked || value > kGrayed || value == value_) return;
    value_ = value;
    if (peer()) static_cast<CheckBoxPeer*>(peer())->setCheck(value_);
    if (Click) Click();
}

void CheckBox::onClick() { setValue(value_ == kUnchecked ? kChecked : kUnchecked); }

std::unique_ptr<ControlPeer> CheckBox::makePeer(Handle parentWindow) { return NewCheckBoxPeer(parentWindow, this); }

void CheckBox::applyState() {
    Control::applyState();
    peer()->setText(caption_);
    static_cast<CheckBoxPeer*>(peer())->setCheck(value_);
}

}  // namespace kit
