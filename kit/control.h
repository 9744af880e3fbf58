// The base of every windowed control: geometry in its container's scale, visibility,
// enabled state, z-order, font and colours, focus and tab order, and the mouse and key events.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/component.h"
#include "kit/peer.h"

namespace kit {

class UserControl;

// The controls whose tab order one TabIndex sequence sets: a form's, or a user control's own.
struct TabScope {
    virtual ~TabScope() = default;
    std::vector<Control*> tabOrder;
};

class Control : public Component, public WindowSink {
public:
    explicit Control(Container* parent);
    ~Control() override;

    Container* container() const { return container_; }
    // The native window; 0 while the form is not loaded.
    Handle hWnd() const;

    // Geometry in the container's scale (twips or pixels).
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);
    // The same in pixels of the container's client area.
    int leftPx() const { return x_; }
    int topPx() const { return y_; }
    int widthPx() const { return w_; }
    int heightPx() const { return h_; }
    void movePx(int x, int y, int width, int height);

    bool Visible() const { return visible_; }
    void setVisible(bool on);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    // Disabled and enabled again at once, as the program does after handling a click (the
    // focus leaves the control).
    void EnableAgain() {
        setEnabled(false);
        setEnabled(true);
    }
    // 0 brings the control in front of its siblings, 1 sends it behind them.
    void ZOrder(int position = 0);

    const Font& font() const { return font_; }
    void setFont(const Font& f);
    const std::string& FontName() const { return font_.name; }
    double FontSize() const { return font_.size; }
    bool FontBold() const { return font_.bold; }
    bool FontUnderline() const { return font_.underline; }
    void setFontName(const std::string& name);
    void setFontSize(double points);
    void setFontBold(bool on);
    void setFontUnderline(bool on);

    Color ForeColor() const { return fore_; }
    Color BackColor() const { return back_; }
    virtual void setForeColor(Color c);
    virtual void setBackColor(Color c);

    // Position in its tab scope's sequence, counted from 0; setting one moves the others.
    int TabIndex() const;
    void setTabIndex(int index);
    bool TabStop() const { return tabStop_; }
    void setTabStop(bool on) { tabStop_ = on; }
    // Gives the control the keyboard focus; nothing when it cannot take it now.
    void SetFocus();

    // Visible and enabled, with every container up to the form.
    bool showing() const;
    bool usable() const;
    // The control can hold the keyboard focus at all (buttons, boxes, lists...).
    virtual bool canFocus() const { return false; }
    // Tab reaches it now: it can take the focus, is a tab stop and is usable.
    virtual bool inTabCycle() const { return canFocus() && tabStop_ && usable(); }
    // The letter after "&" in its caption, lower case; 0 when it has none.
    virtual char accessKey() const { return 0; }
    // What its access key does once the control has the focus (a button clicks).
    virtual void accessKeyPressed() {}
    // Alt with this letter reaches the control: its caption's letter, or one of several (the
    // tabs of a tab strip), with what that letter does.
    virtual bool hasAccessKey(char letter) const { return letter != 0 && accessKey() == letter; }
    virtual void accessKeyPressed(char letter) { accessKeyPressed(); }
    TabScope* tabScope() const { return scope_; }
    // The user control this control belongs to, when it is part of one.
    UserControl* ownerUserControl() const;

    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int button, int shift, int x, int y)> MouseDown;
    std::function<void(int button, int shift, int x, int y)> MouseUp;
    std::function<void(int button, int shift, int x, int y)> MouseMove;
    std::function<void()> MouseEnter;
    std::function<void()> MouseLeave;
    // The mouse was taken away while a button was held on the control (no MouseUp follows).
    std::function<void()> CaptureLost;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(int& keyCode, int shift)> KeyDown;
    std::function<void(int& keyCode, int shift)> KeyUp;
    std::function<void(int& keyAscii)> KeyPress;

    // WindowSink.
    void onMouseMove(int button, int shift, int x, int y) override;
    void onMouseDown(int button, int shift, int x, int y) override;
    void onMouseUp(int button, int shift, int x, int y) override;
    void onMouseEnter() override;
    void onMouseLeave() override;
    void onCaptureLost() override;
    void onClick() override;
    void onDblClick() override;
    void onGotFocus() override;
    void onLostFocus() override;
    void onKeyDown(int& keyCode, int shift) override;
    void onKeyUp(int& keyCode, int shift) override;
    void onKeyPress(int& keyAscii) override;
    bool onNavigationKey(int keyCode, int shift) override;

    void createPeer() override;
    void destroyPeer() override;

protected:
    // Makes this kind's peer as a child of the given window.
    virtual std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) = 0;
    // Pushes the control's whole state into a new peer; kinds add theirs after the base's.
    virtual void applyState();
    // The scale of the positions mouse events report: the container's, or a container
    // control's own.
    virtual int mouseScaleMode() const;
    virtual void fontChanged() {}
    virtual void boundsChanged() {}
    ControlPeer* peer() const { return peer_.get(); }
    void applyColors();
    // Moves the focus on when this control, or one inside it, holds it and stops being usable.
    void releaseFocus();

    Container* container_;
    TabScope* scope_;
    int x_ = 0, y_ = 0, w_ = 0, h_ = 0;
    bool visible_ = true, enabled_ = true, tabStop_ = true;
    Font font_;
    Color fore_ = kSysButtonText, back_ = kSysButtonFace;

private:
    std::unique_ptr<ControlPeer> peer_;
};

// The letter after the first single "&" of a caption, lower case; 0 when there is none.
char AccessKeyOf(const std::string& caption);

}  // namespace kit
