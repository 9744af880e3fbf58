// The window machinery every Win32 peer shares: the toolkit's own window classes, the subclass
// that common controls get, mouse capture and enter/leave, focus and key events, and the
// reflection of WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR* and scroll messages to the child that
// sent them, so each control turns its own notifications into events.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "kit/peer.h"

namespace kit::win32 {

// Runs f; an error escaping it is reported in a message box and ends the process, as an
// unhandled run-time error does (it could not unwind through USER32). Every call from Windows
// into the program's handlers goes through this. False when nothing ran (the process is
// already going down).
bool RunGuardedCall(void (*call)(void*), void* context);
template <class F>
bool Guarded(F&& f) {
    return RunGuardedCall([](void* c) { (*static_cast<F*>(c))(); }, &f);
}

// The toolkit's own window classes.
constexpr const char* kFormClass = "TivloForm";
constexpr const char* kPictureClass = "TivloPicture";
void RegisterWindowClasses();

HFONT CreateKitFont(const Font& font);
int ShiftState();

class Win32Window {
public:
    explicit Win32Window(WindowSink* sink);
    virtual ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    WindowSink* sink() const { return sink_; }
    // The peer behind a window of ours, or null.
    static Win32Window* FromHwnd(HWND hwnd);

    // A message for this window before anything else sees it; true (with the result) when used.
    virtual bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // A notification its parent received about this window; true (with the result) when used.
    virtual bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Common peer calls.
    void moveTo(int x, int y, int width, int height);
    void show(bool visible);
    void enable(bool enabled);
    void restack(bool top);
    void setWindowText(const std::string& text);
    void applyFont(const Font& font);
    void applyColors(Color fore, Color back);
    void focus();
    void paintNow();
    void clientExtent(int& width, int& height) const;

protected:
    // A window of one of the toolkit's own classes; it paints through its sink.
    void createOwn(const char* cls, DWORD exStyle, DWORD style, HWND parent, int x, int y,
                   int width, int height);
    // A common control, subclassed so its mouse, focus and key messages raise events.
    void createNative(const char* cls, DWORD exStyle, DWORD style, HWND parent);

    // A press and release inside makes Click, and the window takes the mouse while a button is
    // held (the toolkit's own windows and labels); common controls click by themselves.
    bool ownClicks_ = false;
    // A double click raises DblClick (not on buttons, which turn it into a second click).
    bool raisesDblClick_ = true;
    bool isForm_ = false;
    Color fore_ = 0, back_ = 0xFFFFFF;
    HBRUSH backBrush_ = nullptr;

private:
    friend LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK NativeSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    friend bool Dispatch(Win32Window*, HWND, UINT, WPARAM, LPARAM, LRESULT&, bool);
    void detach();

    HWND hwnd_ = nullptr;
    WindowSink* sink_;
    HFONT font_ = nullptr;
    bool subclassed_ = false;
    int pressed_ = 0;
    bool tracking_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Implements the common peer calls over a Win32Window.
template <class Interface>
class Win32Peer : public Interface, public Win32Window {
public:
    explicit Win32Peer(WindowSink* sink) : Win32Window(sink) {}
    Handle handle() const override { return reinterpret_cast<Handle>(hwnd()); }
    void setBounds(int x, int y, int w, int h) override { moveTo(x, y, w, h); }
    void setVisible(bool on) override { show(on); }
    void setEnabled(bool on) override { enable(on); }
    void setZOrder(bool top) override { restack(top); }
    void setText(const std::string& t) override { setWindowText(t); }
    void setFont(const Font& f) override { applyFont(f); }
    void setColors(Color f, Color b) override { applyColors(f, b); }
    void setFocus() override { focus(); }
    void repaint() override { paintNow(); }
    void clientSize(int& w, int& h) const override { clientExtent(w, h); }
};

// Handles Tab, Shift+Tab and Alt+letter for windows of ours before they are dispatched; true
// when the message was used. The message loops call it.
bool PreTranslateKey(const MSG& msg);

}  // namespace kit::win32
