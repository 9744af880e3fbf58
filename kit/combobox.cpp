#include "kit/combobox.h"

#include <stdexcept>

#include "kit/runtime.h"

namespace kit {

ComboBox::ComboBox(Container* parent) : Control(parent) {
    fore_ = kSysWindowText;
    back_ = kSysWindow;
}

void ComboBox::AddItem(const std::string& text, int index) {
    const int n = ListCount();
    if (index < 0 || index > n) index = n;
    items_.insert(items_.begin() + index, text);
    if (index_ >= index) ++index_;  // the chosen item keeps its place
    if (boxPeer()) {
        boxPeer()->insertItem(index, text);
        boxPeer()->select(index_);
    }
}

void ComboBox::Clear() {
    items_.clear();
    index_ = -1;
    if (boxPeer()) boxPeer()->clearItems();
}

const std::string& ComboBox::List(int index) const {
    static const std::string kNone;
    if (index < 0 || index >= ListCount()) return kNone;
    return items_[index];
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= ListCount()) throw RuntimeError(380, "Invalid property value");
    if (index == index_) return;
    index_ = index;
    if (boxPeer()) boxPeer()->select(index_);
    if (Click) Click();
}

std::string ComboBox::Text() const { return List(index_); }

void ComboBox::setText(const std::string& text) {
    for (int i = 0; i < ListCount(); ++i) {
        if (items_[i] == text) {
            setListIndex(i);
            return;
        }
    }
}

std::unique_ptr<ControlPeer> ComboBox::makePeer(Handle parentWindow) { return NewComboBoxPeer(parentWindow, this); }

void ComboBox::applyState() {
    Control::applyState();
    for (int i = 0; i < ListCount(); ++i) boxPeer()->insertItem(i, items_[i]);
    boxPeer()->select(index_);
}

}  // namespace kit
