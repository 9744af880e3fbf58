// Check boxes: Value 0 (clear), 1 (ticked) or 2 (grey). A change of Value, by the user's click
// or by the program, raises Click; the same value raises nothing.
#pragma once
#include <memory>
#include <string>

#include "kit/control.h"

namespace kit {

enum CheckValue : int { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

class CheckBoxPeer : public ControlPeer {
public:
    virtual void setCheck(int value) = 0;
};
// The peer reports the user's click through WindowSink::onClick.
std::unique_ptr<CheckBoxPeer> NewCheckBoxPeer(Handle parent, WindowSink* sink);

class CheckBox : public Control {
public:
    explicit CheckBox(Container* parent, std::string caption = {});

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    int Value() const { return value_; }
    void setValue(int value);

    bool canFocus() const override { return true; }
    char accessKey() const override { return AccessKeyOf(caption_); }
    void accessKeyPressed() override { onClick(); }
    // The user's click ticks a clear box and clears a ticked or grey one.
    void onClick() override;

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    std::string caption_;
    int value_ = kUnchecked;
};

}  // namespace kit
