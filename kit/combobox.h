// Drop-down list combo boxes: a list of texts and the chosen one. A change of ListIndex, by
// the user's choice or by the program, raises Click; the same index raises nothing.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"

namespace kit {

class ComboBox;

class ComboBoxPeer : public ControlPeer {
public:
    virtual void insertItem(int index, const std::string& text) = 0;
    virtual void clearItems() = 0;
    virtual void select(int index) = 0;  // -1: none
};
// The peer reports the user's choice through ComboBox::userChose.
std::unique_ptr<ComboBoxPeer> NewComboBoxPeer(Handle parent, ComboBox* box);

class ComboBox : public Control {
public:
    explicit ComboBox(Container* parent);

    // Adds an item at the end, or before the item at index.
    void AddItem(const std::string& text, int index = -1);
    void Clear();
    const std::string& List(int index) const;
    int ListCount() const { return static_cast<int>(items_.size()); }
    int ListIndex() const { return index_; }
    void setListIndex(int index);
    // The chosen item's text, or "" when none is chosen.
    std::string Text() const;
    // Chooses the first item with exactly this text; a text not in the list changes nothing.
    void setText(const std::string& text);

    bool canFocus() const override { return true; }

    // For the peers: the user chose an item.
    void userChose(int index) { setListIndex(index); }

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    ComboBoxPeer* boxPeer() const { return static_cast<ComboBoxPeer*>(peer()); }
    std::vector<std::string> items_;
    int index_ = -1;
};

}  // namespace kit
