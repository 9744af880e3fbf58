#include "kit/button.h"

namespace kit {

CommandButton::CommandButton(Container* parent, std::string caption)
    : Control(parent), caption_(std::move(caption)) {}

void CommandButton::setCaption(const std::string& text) {
    caption_ = text;
    if (peer()) peer()->setText(text);
}

std::unique_ptr<ControlPeer> CommandButton::makePeer(Handle parentWindow) {
    return NewButtonPeer(parentWindow, this);
}

void CommandButton::applyState() {
    Control::applyState();
    peer()->setText(caption_);
}

}  // namespace kit
