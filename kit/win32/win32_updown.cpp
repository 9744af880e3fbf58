// Up-downs on Win32: an up-down control with no buddy. UDN_DELTAPOS, reflected by its parent,
// becomes a step of the control's own value, which then sets the position.
#include <windows.h>
#include <commctrl.h>

#include "kit/updown.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32UpDownPeer : public Win32Peer<UpDownPeer> {
public:
    Win32UpDownPeer(HWND parent, UpDown* control) : Win32Peer<UpDownPeer>(control), ud_(control) {
        createNative(UPDOWN_CLASSA, 0, WS_CHILD | WS_CLIPSIBLINGS, parent);
    }
    void setRange(int min, int max) override {
        min_ = min;
        max_ = max;
        if (hwnd()) SendMessageA(hwnd(), UDM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
    }
    void setPosition(int value) override {
        if (hwnd()) SendMessageA(hwnd(), UDM_SETPOS32, 0, static_cast<LPARAM>(value));
    }
    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
            const auto* nm = reinterpret_cast<NMUPDOWN*>(lParam);
            // The upper arrow proposes a move towards the range's maximum.
            const bool up = (nm->iDelta > 0) == (max_ >= min_);
            if (nm->iDelta != 0) Guarded([&] { ud_->userStep(up ? 1 : -1); });
            result = 1;  // the control sets the position itself
            return true;
        }
        if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
            result = 0;
            return true;
        }
        return Win32Window::onReflected(msg, wParam, lParam, result);
    }

private:
    UpDown* ud_;
    int min_ = 0, max_ = 0;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<UpDownPeer> NewUpDownPeer(Handle parent, UpDown* control) {
    return std::make_unique<win32::Win32UpDownPeer>(reinterpret_cast<HWND>(parent), control);
}
}  // namespace kit
