// Text boxes: one line of text that the user or the program changes (Change on every change
// that differs), a maximum length for typing, read-only (Locked), alignment, the selection.
#pragma once
#include <memory>
#include <string>

#include "kit/control.h"

namespace kit {

class TextBox;

class TextBoxPeer : public ControlPeer {
public:
    virtual void setMaxLength(int chars) = 0;  // 0: no limit
    virtual void setLocked(bool on) = 0;
    virtual void setAlignment(int alignment) = 0;  // kAlignLeft, kAlignRight, kAlignCenter
    virtual void setSelection(int start, int length) = 0;
    virtual void selection(int& start, int& length) const = 0;
};
// The peer reports the user's edits through TextBox::userEdited. Some systems take the
// alignment only when the window is made.
std::unique_ptr<TextBoxPeer> NewTextBoxPeer(Handle parent, TextBox* box, int alignment);

class TextBox : public Control {
public:
    explicit TextBox(Container* parent, std::string text = {});

    const std::string& Text() const { return text_; }
    // A different text raises Change, as the user's typing does; the same text nothing.
    void setText(const std::string& text);
    int MaxLength() const { return maxLength_; }
    void setMaxLength(int chars);
    bool Locked() const { return locked_; }
    void setLocked(bool on);
    int Alignment() const { return alignment_; }
    // Set it before the form loads (as at design); a later change may not show everywhere.
    void setAlignment(int alignment);

    // The selection in characters from 0; SelStart set alone empties it (the caret).
    int SelStart() const;
    int SelLength() const;
    void setSelStart(int start);
    void setSelLength(int length);

    std::function<void()> Change;

    bool canFocus() const override { return true; }

    // For the peers: the user changed the text.
    void userEdited(const std::string& text);

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    TextBoxPeer* boxPeer() const { return static_cast<TextBoxPeer*>(peer()); }
    std::string text_;
    int maxLength_ = 0, alignment_ = 0;
    bool locked_ = false;
    int selStart_ = 0, selLength_ = 0;  // while there is no peer
};

}  // namespace kit
