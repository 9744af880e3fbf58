// Forms: top-level windows with one process-wide instance each, created and loaded on first
// use. A form hosts components, places controls in its client area and keeps its tab order.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/backend.h"
#include "kit/control.h"
#include "kit/menu.h"

namespace kit {

class Line;
class UserControl;

enum FormBorderStyle : int {
    kBorderNone = 0,
    kBorderFixedSingle = 1,
    kBorderSizable = 2,
    kBorderFixedDialog = 3,
};
// Why a form unloads: its close box, or the program.
enum UnloadMode : int { kUnloadControlMenu = 0, kUnloadCode = 1 };
enum WindowStateValue : int { kStateNormal = 0, kStateMinimized = 1, kStateMaximized = 2 };

// What a form asks of its top-level window; bounds are the outer rectangle on the screen.
class FormPeer : public ControlPeer {
public:
    virtual void windowRect(int& x, int& y, int& width, int& height) const = 0;
    // Shows the window in front of the others and gives it the focus.
    virtual void activate() = 0;
    virtual int windowState() const = 0;
    virtual void setWindowState(int state) = 0;
    // How much wider and taller the window is than its client area.
    virtual void frameSize(int& dx, int& dy) const = 0;
    // Puts the window above every window that is not topmost too, without moving or sizing it.
    virtual void setTopmost() = 0;
    // Hands the press under way to the system, which drags the window as by its caption.
    virtual void dragWindow() = 0;
    // A menu bar of these menus and their items, before the window takes its size; captions
    // and states are read again whenever a menu opens.
    virtual void setMenuBar(const std::vector<MenuItem*>& menus) = 0;
};
std::unique_ptr<FormPeer> NewFormPeer(WindowSink* sink, int borderStyle);

class Form : public Container, public WindowSink, public TabScope {
public:
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Handle hWnd() const;
    bool Visible() const { return visible_; }
    // Shows the form modeless, in front of the other windows.
    void Show();
    void Hide();

    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    // A disabled window takes no input, nor do its controls.
    void setEnabled(bool on);
    // Takes effect when the window is made: set it in the constructor.
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int style) { borderStyle_ = style; }
    int ScaleMode() const { return scaleMode_; }
    void setScaleMode(int mode) { scaleMode_ = mode; }
    Color BackColor() const { return back_; }
    void setBackColor(Color c);

    // The outer rectangle in twips, borders and caption included.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);
    // The client area in the form's scale (0 x 0 while minimised).
    int ScaleWidth() const;
    int ScaleHeight() const;
    // The client area in pixels.
    void clientSizePx(int& width, int& height) const;
    // Sizes the window so that its client area has this size in twips (the designed size).
    void setClientSize(double widthTwips, double heightTwips);

    int WindowState() const;
    void setWindowState(int state);
    // Above all other windows (as SetWindowPos with HWND_TOPMOST, no move, no size).
    void setTopmost();
    // From a MouseDown: the window follows the pointer until the button is released, as when
    // dragged by its caption; a borderless form has none of its own.
    void dragWindow();

    // The control that has (or last had) the keyboard focus; null when none.
    Control* ActiveControl() const { return active_; }
    // The form's control whose window this is; null when none is.
    Control* controlOfWindow(Handle window) const;
    // Focus moves of the Tab key, and access keys: true when something took them.
    bool moveFocus(bool backward);
    bool pressAccessKey(char letter);
    // Key events of the form's controls reach the form's handlers first.
    bool KeyPreview = false;

    // Opens the items of menu as a popup menu and runs the chosen item's Click.
    void PopupMenu(MenuItem& menu);
    // The menus of the form's menu bar; set in the constructor. The client area lies below it.
    void setMenuBar(std::vector<MenuItem*> menus) { menuBar_ = std::move(menus); }
    const std::vector<MenuItem*>& menuBar() const { return menuBar_; }
    // A modal message box owned by this form's window.
    int MsgBox(const std::string& text, int flags, const std::string& caption);

    // Creates the native side, initialises user controls and runs Form_Load.
    void loadForm();
    // Runs Form_QueryUnload and Form_Unload; when neither cancels, terminates the user controls
    // and releases the native side. Returns false if cancelled.
    bool unloadForm(int mode = kUnloadCode);
    bool loaded() const { return loaded_; }
    // Set by the form's single instance, so the close box unloads through it.
    std::function<void(int mode)> unloadSelf;

    // Container.
    Form* hostForm() override { return this; }
    Handle containerWindow() override;
    int childScaleMode() const override { return scaleMode_; }
    Color containerBackColor() const override { return back_; }

    // WindowSink.
    void onMouseMove(int button, int shift, int x, int y) override;
    void onMouseDown(int button, int shift, int x, int y) override;
    void onMouseUp(int button, int shift, int x, int y) override;
    void onClick() override { Form_Click(); }
    void onDblClick() override { Form_DblClick(); }
    void onGotFocus() override;
    void onKeyDown(int& keyCode, int shift) override { Form_KeyDown(keyCode, shift); }
    void onKeyUp(int& keyCode, int shift) override { Form_KeyUp(keyCode, shift); }
    void onKeyPress(int& keyAscii) override { Form_KeyPress(keyAscii); }
    bool onNavigationKey(int keyCode, int shift) override;
    void onPaint(Handle dc) override;
    void onResized() override;
    void onCloseRequest() override;
    void onTaskbarCreated() override { Form_TaskbarCreated(); }
    // A menu bar item runs its Click while it is enabled.
    void onMenuItem(MenuItem* item) override;

    // For the toolkit's own parts.
    void controlGotFocus(Control* c);
    void controlGone(Control* c);
    void addLine(Line* line);
    void removeLine(Line* line);
    void repaint();
    FormPeer* peer() const { return peer_.get(); }

protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode) {}
    virtual void Form_Unload(int& cancel) {}
    virtual void Form_Resize() {}
    virtual void Form_Click() {}
    virtual void Form_DblClick() {}
    virtual void Form_MouseDown(int button, int shift, int x, int y) {}
    virtual void Form_MouseUp(int button, int shift, int x, int y) {}
    virtual void Form_MouseMove(int button, int shift, int x, int y) {}
    virtual void Form_KeyDown(int& keyCode, int shift) {}
    virtual void Form_KeyUp(int& keyCode, int shift) {}
    virtual void Form_KeyPress(int& keyAscii) {}
    virtual void Form_TaskbarCreated() {}

private:
    friend class Component;
    friend class Control;
    void ensurePeer();
    void applyBounds();
    int toScale(int pixels, bool horizontal) const;

    std::vector<Component*> components_;
    std::vector<Line*> lines_;
    std::vector<MenuItem*> menuBar_;
    std::unique_ptr<FormPeer> peer_;
    Control* active_ = nullptr;
    bool visible_ = false, loaded_ = false, shownOnce_ = false;
    std::string caption_;
    int borderStyle_ = kBorderSizable;
    int scaleMode_ = kScaleTwips;
    Color back_ = kSysButtonFace;
    // Outer rectangle in pixels; placed_ once the program set a position.
    int x_ = 0, y_ = 0, w_ = 320, h_ = 240;
    bool placed_ = false;
    int clientW_ = -1, clientH_ = -1;  // a designed client size waiting for the window
};

// Forms that can be reset between tests.
void RegisterFormSlot(std::function<void()> reset);
void ResetAllForms();

// Program code that runs for one event: a message, a timer's tick, a driver of the headless
// backend. The backends open one around each; an unloaded form is destroyed when the outermost
// one ends, as until then a handler of its own may still be on the stack. DoEvents and the
// waits open theirs with ends = false: they run inside a handler, which goes on afterwards.
class EventScope {
public:
    explicit EventScope(bool ends = true);
    ~EventScope();
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

private:
    bool ends_;
};
// Keeps an unloaded form until no event runs any more, then destroys it.
void ReleaseUnloadedForm(std::unique_ptr<Form> form);
// Unloaded forms not destroyed yet.
std::size_t UnloadedFormCount();

// The single instance of a form, created and loaded on first use.
template <class T>
class FormInstance {
public:
    T& operator()() {
        if (!inst_) {
            if (!registered_) {
                registered_ = true;
                RegisterFormSlot([this] { Reset(); });
            }
            inst_ = std::make_unique<T>();
            T* form = inst_.get();
            form->unloadSelf = [this, form](int mode) {
                if (inst_.get() == form) Unload(mode);
            };
            // The load handler may unload the form again: it is destroyed once that handler
            // and the event that made the form are over.
            form->loadForm();
            return *form;
        }
        return *inst_;
    }
    bool Loaded() const { return inst_ != nullptr; }
    // Unloads the form; the object lives on until the running event ends, so a handler of its
    // own can still return through it.
    void Unload(int mode = kUnloadCode) {
        if (!inst_) return;
        if (!inst_->unloadForm(mode)) return;
        ReleaseUnloadedForm(std::move(inst_));
    }
    void Reset() { inst_.reset(); }

private:
    std::unique_ptr<T> inst_;
    bool registered_ = false;
};

}  // namespace kit
