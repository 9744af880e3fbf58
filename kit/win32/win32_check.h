// What check boxes and option buttons share on Win32: a button of a style that does not tick
// itself; BN_CLICKED, reflected by its parent, tells the control, which decides its value.
#pragma once
#include "kit/win32/win32_window.h"

namespace kit::win32 {

template <class Interface>
class Win32CheckPeer : public Win32Peer<Interface> {
public:
    Win32CheckPeer(HWND parent, WindowSink* sink, DWORD buttonStyle) : Win32Peer<Interface>(sink) {
        this->raisesDblClick_ = false;  // the button takes a double click as a second click
        this->createNative("BUTTON", 0, WS_CHILD | WS_CLIPSIBLINGS | buttonStyle, parent);
    }
    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            Guarded([&] { this->sink()->onClick(); });
            result = 0;
            return true;
        }
        return Win32Window::onReflected(msg, wParam, lParam, result);
    }

protected:
    void showCheck(int state) {
        if (this->hwnd()) SendMessageA(this->hwnd(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
    }
};

}  // namespace kit::win32
