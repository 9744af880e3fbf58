// Frames on Win32: a group box. It holds child windows, so it fills its inside with its own
// background (a group box paints only its edge and caption).
#include "kit/frame.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32FramePeer : public Win32Peer<FramePeer> {
public:
    Win32FramePeer(HWND parent, WindowSink* sink) : Win32Peer<FramePeer>(sink) {
        createNative("BUTTON", 0, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX, parent);
    }
    bool onMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (msg != WM_ERASEBKGND) return false;
        RECT rc;
        GetClientRect(hwnd(), &rc);
        if (!backBrush_) backBrush_ = CreateSolidBrush(back_);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, backBrush_);
        result = 1;
        return true;
    }
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<FramePeer> NewFramePeer(Handle parent, WindowSink* sink) {
    return std::make_unique<win32::Win32FramePeer>(reinterpret_cast<HWND>(parent), sink);
}
}  // namespace kit
