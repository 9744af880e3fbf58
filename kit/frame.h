// Frames: a captioned group box that holds controls; its access key moves the focus to the
// first control after it in tab order.
#pragma once
#include <memory>
#include <string>

#include "kit/control.h"

namespace kit {

class FramePeer : public ControlPeer {};
std::unique_ptr<FramePeer> NewFramePeer(Handle parent, WindowSink* sink);

class Frame : public Control, public Container {
public:
    explicit Frame(Container* parent, std::string caption = {});

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    char accessKey() const override { return AccessKeyOf(caption_); }

    // Container: children are placed in the frame's container's scale.
    Form* hostForm() override { return owner(); }
    Handle containerWindow() override;
    int childScaleMode() const override;
    Color containerBackColor() const override { return back_; }
    Control* asControl() override { return this; }

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    std::string caption_;
};

}  // namespace kit
