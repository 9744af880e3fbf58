// User controls: a child window of a form that holds controls of its own, with its own scale
// and tab order; it may fill its form's client area. Initialised when its form loads,
// terminated when it unloads.
#pragma once
#include <memory>
#include <string>

#include "kit/control.h"
#include "kit/picturebox.h"

namespace kit {

class UserControl : public Control, public Container, public TabScope {
public:
    explicit UserControl(Container* parent);

    int ScaleMode() const { return scaleMode_; }
    void setScaleMode(int mode) { scaleMode_ = mode; }
    int ScaleWidth() const;
    int ScaleHeight() const;
    void setBackColor(Color c) override;
    // Keeps the control sized to its form's client area.
    void setFillsForm(bool on);
    bool fillsForm() const { return fills_; }

    // A modal message box owned by this control's window.
    int MsgBox(const std::string& text, int flags, const std::string& caption);

    // Run by the form: after the controls exist and before Form_Load; after Form_Unload.
    void initialize() { UserControl_Initialize(); }
    void terminate() { UserControl_Terminate(); }
    void fitForm();

    // Container.
    Form* hostForm() override { return owner(); }
    Handle containerWindow() override;
    int childScaleMode() const override { return scaleMode_; }
    Color containerBackColor() const override { return back_; }
    Control* asControl() override { return this; }

    void onPaint(Handle dc) override;

protected:
    virtual void UserControl_Initialize() {}
    virtual void UserControl_Terminate() {}
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    int mouseScaleMode() const override { return scaleMode_; }

private:
    int scaleMode_ = kScaleTwips;
    bool fills_ = false;
};

}  // namespace kit
