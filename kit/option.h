// Option buttons: of the options in one container, at most one has Value True. Selecting one,
// by the user or the program, clears the others and raises its Click; Tab reaches only the
// selected one of a group, and the arrow keys move through the group, selecting.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"

namespace kit {

class OptionButtonPeer : public ControlPeer {
public:
    virtual void setCheck(bool on) = 0;
};
// The peer reports the user's click through WindowSink::onClick.
std::unique_ptr<OptionButtonPeer> NewOptionButtonPeer(Handle parent, WindowSink* sink);

class OptionButton : public Control {
public:
    explicit OptionButton(Container* parent, std::string caption = {});

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    bool Value() const { return value_; }
    // True selects this option (raising Click when it was not) and clears its group; False
    // only clears it.
    void setValue(bool on);

    bool canFocus() const override { return true; }
    bool inTabCycle() const override;
    char accessKey() const override { return AccessKeyOf(caption_); }
    void accessKeyPressed() override { setValue(true); }
    void onClick() override { setValue(true); }
    void onKeyDown(int& keyCode, int shift) override;

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    std::vector<OptionButton*> group() const;
    void show(bool on);
    std::string caption_;
    bool value_ = false;
};

}  // namespace kit
