#include "kit/textbox.h"

#include <algorithm>

#include "kit/label.h"

namespace kit {

TextBox::TextBox(Container* parent, std::string text) : Control(parent), text_(std::move(text)) {
    fore_ = kSysWindowText;
    back_ = kSysWindow;
}

void TextBox::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (boxPeer()) boxPeer()->setText(text_);
    selStart_ = std::min<int>(selStart_, static_cast<int>(text_.size()));
    selLength_ = 0;
    if (Change) Change();
}

void TextBox::userEdited(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (Change) Change();
}

void TextBox::setMaxLength(int chars) {
    maxLength_ = std::max(chars, 0);
    if (boxPeer()) boxPeer()->setMaxLength(maxLength_);
}

void TextBox::setLocked(bool on) {
    locked_ = on;
    if (boxPeer()) boxPeer()->setLocked(on);
}

void TextBox::setAlignment(int alignment) {
    alignment_ = alignment;
    if (boxPeer()) boxPeer()->setAlignment(alignment);
}

int TextBox::SelStart() const {
    if (!boxPeer()) return selStart_;
    int s, l;
    boxPeer()->selection(s, l);
    return s;
}

int TextBox::SelLength() const {
    if (!boxPeer()) return selLength_;
    int s, l;
    boxPeer()->selection(s, l);
    return l;
}

void TextBox::setSelStart(int start) {
    const int n = static_cast<int>(text_.size());
    selStart_ = std::clamp(start, 0, n);
    selLength_ = 0;
    if (boxPeer()) boxPeer()->setSelection(selStart_, 0);
}

void TextBox::setSelLength(int length) {
    const int n = static_cast<int>(text_.size());
    const int start = SelStart();
    selStart_ = start;
    selLength_ = std::clamp(length, 0, n - start);
    if (boxPeer()) boxPeer()->setSelection(selStart_, selLength_);
}

std::unique_ptr<ControlPeer> TextBox::makePeer(Handle parentWindow) { return NewTextBoxPeer(parentWindow, this, alignment_); }

void TextBox::applyState() {
    Control::applyState();
    boxPeer()->setText(text_);
    boxPeer()->setMaxLength(maxLength_);
    boxPeer()->setLocked(locked_);
    boxPeer()->setAlignment(alignment_);
    boxPeer()->setSelection(selStart_, selLength_);
}

}  // namespace kit
