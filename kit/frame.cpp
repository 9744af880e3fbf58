#include "kit/frame.h"

namespace kit {

Frame::Frame(Container* parent, std::string caption) : Control(parent), caption_(std::move(caption)) {
    tabStop_ = false;
}

void Frame::setCaption(const std::string& text) {
    caption_ = text;
    if (peer()) peer()->setText(text);
}

Handle Frame::containerWindow() {
    createPeer();
    return hWnd();
}

int Frame::childScaleMode() const { return container_ ? container_->childScaleMode() : kScaleTwips; }

std::unique_ptr<ControlPeer> Frame::makePeer(Handle parentWindow) { return NewFramePeer(parentWindow, this); }

void Frame::applyState() {
    Control::applyState();
    peer()->setText(caption_);
}

}  // namespace kit
