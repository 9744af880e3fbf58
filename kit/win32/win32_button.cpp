// Command buttons on Win32: a push button whose BN_CLICKED, reflected by its parent, is Click.
#include "kit/button.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32ButtonPeer : public Win32Peer<ButtonPeer> {
public:
    Win32ButtonPeer(HWND parent, WindowSink* sink) : Win32Peer<ButtonPeer>(sink) {
        raisesDblClick_ = false;
        createNative("BUTTON", 0, WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON, parent);
    }
    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            // A button that its own press disabled (through a focus handler) was not clicked.
            if (IsWindowEnabled(hwnd())) Guarded([&] { sink()->onClick(); });
            result = 0;
            return true;
        }
        return Win32Window::onReflected(msg, wParam, lParam, result);
    }
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<ButtonPeer> NewButtonPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<win32::Win32ButtonPeer>(reinterpret_cast<HWND>(parent), sink);
}
}  // namespace kit
