// Command buttons: a caption with an "&" access key, Click from the mouse, the keyboard or
// the access key.
#pragma once
#include <memory>
#include <string>

#include "kit/control.h"

namespace kit {

class ButtonPeer : public ControlPeer {};
std::unique_ptr<ButtonPeer> NewButtonPeer(Handle parent, WindowSink* sink);

class CommandButton : public Control {
public:
    explicit CommandButton(Container* parent, std::string caption = {});

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);

    bool canFocus() const override { return true; }
    char accessKey() const override { return AccessKeyOf(caption_); }
    void accessKeyPressed() override { onClick(); }

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    std::string caption_;
};

}  // namespace kit
