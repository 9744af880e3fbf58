// The seam between a portable control and its native side. A control talks to its peer
// through ControlPeer (and the few calls its own kind adds); the peer reports what happens
// to the window through WindowSink. Each backend gives one peer per control kind.
#pragma once
#include <cstdint>
#include <string>

#include "kit/font.h"

namespace kit {

class MenuItem;
using Handle = std::uintptr_t;

// Mouse buttons and shift state as the toolkit passes them to handlers.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftMask : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// Virtual key codes the toolkit itself looks at.
enum KeyCode : int {
    kKeyBack = 0x08,
    kKeyTab = 0x09,
    kKeyReturn = 0x0D,
    kKeyEscape = 0x1B,
    kKeySpace = 0x20,
    kKeyEnd = 0x23,
    kKeyHome = 0x24,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
    kKeyDelete = 0x2E,
};

// Receives what happens to one native window. Positions are pixels in the window's client
// area: the low and high words of the message's position, sign-extended.
class WindowSink {
public:
    virtual ~WindowSink() = default;
    virtual void onMouseMove(int button, int shift, int x, int y) {}
    virtual void onMouseDown(int button, int shift, int x, int y) {}
    virtual void onMouseUp(int button, int shift, int x, int y) {}
    // The pointer came over the window, and left it again.
    virtual void onMouseEnter() {}
    virtual void onMouseLeave() {}
    // Another window took the mouse while a button was held here; no release will come.
    virtual void onCaptureLost() {}
    virtual void onClick() {}
    virtual void onDblClick() {}
    virtual void onGotFocus() {}
    virtual void onLostFocus() {}
    // A handler may set the key to 0 to swallow it.
    virtual void onKeyDown(int& keyCode, int shift) {}
    virtual void onKeyUp(int& keyCode, int shift) {}
    virtual void onKeyPress(int& keyAscii) {}
    // Tab, Shift+Tab and Alt+letter, before the window sees them; true when they were used.
    virtual bool onNavigationKey(int keyCode, int shift) { return false; }
    // Windows of the toolkit's own classes paint themselves whole (background included).
    virtual void onPaint(Handle dc) {}
    // A form's client area changed size or state; the close box of a form was pressed.
    virtual void onResized() {}
    virtual void onCloseRequest() {}
    // Top-level windows: the shell has (re)started its taskbar, which knows no notification
    // icons now (the "TaskbarCreated" broadcast).
    virtual void onTaskbarCreated() {}
    // An item of a form's menu bar was chosen.
    virtual void onMenuItem(MenuItem* item) {}
};

// What every control asks of its native window. Geometry is in pixels of the container's
// client area.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual Handle handle() const = 0;
    virtual void setBounds(int x, int y, int width, int height) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setEnabled(bool enabled) = 0;
    // To the top (true) or the bottom of its siblings.
    virtual void setZOrder(bool top) = 0;
    // The caption or text the window shows.
    virtual void setText(const std::string& text) = 0;
    virtual void setFont(const Font& font) = 0;
    // Colours already resolved (no system colours).
    virtual void setColors(Color fore, Color back) = 0;
    virtual void setFocus() = 0;
    // Paints the window now.
    virtual void repaint() = 0;
    // The client area's size in pixels (smaller than the bounds by any border).
    virtual void clientSize(int& width, int& height) const = 0;
};

}  // namespace kit
