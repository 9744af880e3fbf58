// The headless side of one window: the state a native window would keep (bounds, text, font,
// colours, visibility), what it does by itself when the test drivers click or type into it,
// and how it draws when the backend paints a picture of a form.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "kit/peer.h"

namespace kit::headless {

class HeadlessBackend;

class HeadlessWindow {
public:
    // Registers with the bound headless backend; parent 0 makes a top-level window.
    HeadlessWindow(Handle parent, WindowSink* sink, std::string kind);
    virtual ~HeadlessWindow();
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    Handle handle() const { return handle_; }
    Handle parent() const { return parent_; }
    WindowSink* sink() const { return sink_; }
    const std::string& kind() const { return kind_; }

    // State, as the peer calls set it.
    int x = 0, y = 0, width = 0, height = 0;
    bool visible = true, enabled = true;
    std::string text;
    Font font;
    Color fore = 0, back = 0xFFFFFF;
    int border = 0;  // pixels of edge on each side of the client area
    bool topmost = false;  // forms: placed above all other windows
    int drags = 0;         // forms: drags handed to the system
    std::vector<MenuItem*> menus;  // forms: the menu bar
    // The window's procedure as the program replaced it; 0: its own.
    std::intptr_t wndProc = 0;
    // Messages that reached the window's own procedure through the procedure chain.
    int ownProcMessages = 0;
    // The child windows, back to front.
    std::vector<Handle> children;

    int clientWidth() const { return width - 2 * border > 0 ? width - 2 * border : 0; }
    int clientHeight() const { return height - 2 * border > 0 ? height - 2 * border : 0; }

    // What the native window does by itself.
    // A press gives it the focus.
    virtual bool takesFocus() const { return false; }
    // A press and release of this button inside the window at (x, y): buttons click, check
    // boxes tick, up-downs step.
    virtual void nativeClick(int button, int x, int y) {
        if (sink_) sink_->onClick();
    }
    // The user picks entry index of the window's list (a combo box's drop-down).
    virtual void nativeChoose(int index) {}
    // Keys and characters that reach the window after its handlers let them through.
    virtual void nativeKey(int keyCode, int shift) {}
    virtual void nativeChar(int ascii) {}
    // The window's own class paints through its sink; others draw here.
    virtual bool paintsThroughSink() const { return false; }
    virtual void paint(Handle dc) {}

protected:
    HeadlessBackend& backend() const { return *backend_; }
    void setBoundsAndNotify(int x, int y, int width, int height);

private:
    HeadlessBackend* backend_;
    Handle handle_;
    Handle parent_;
    WindowSink* sink_;
    std::string kind_;
};

// Calls the common peer methods share.
void RestackWindow(HeadlessWindow& w, bool top);
void FocusWindow(HeadlessWindow& w);
void RepaintWindow(HeadlessWindow& w);

// Implements the common peer calls over a HeadlessWindow.
template <class Interface>
class HeadlessPeer : public Interface, public HeadlessWindow {
public:
    HeadlessPeer(Handle parent, WindowSink* sink, std::string kind)
        : HeadlessWindow(parent, sink, std::move(kind)) {}
    Handle handle() const override { return HeadlessWindow::handle(); }
    void setBounds(int nx, int ny, int w, int h) override { setBoundsAndNotify(nx, ny, w, h); }
    void setVisible(bool on) override { visible = on; }
    void setEnabled(bool on) override { enabled = on; }
    void setZOrder(bool top) override { RestackWindow(*this, top); }
    void setText(const std::string& t) override { text = t; }
    void setFont(const Font& f) override { font = f; }
    void setColors(Color f, Color b) override {
        fore = f;
        back = b;
    }
    void setFocus() override { FocusWindow(*this); }
    void repaint() override { RepaintWindow(*this); }
    void clientSize(int& w, int& h) const override {
        w = clientWidth();
        h = clientHeight();
    }
};

}  // namespace kit::headless
