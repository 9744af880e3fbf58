// Labels on Win32: a static control that notifies, coloured through WM_CTLCOLORSTATIC; clicks
// come from its own press and release, as on the toolkit's windows.
#include "kit/label.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32LabelPeer : public Win32Peer<LabelPeer> {
public:
    Win32LabelPeer(HWND parent, WindowSink* sink) : Win32Peer<LabelPeer>(sink) {
        ownClicks_ = true;
        createNative("STATIC", 0, WS_CHILD | WS_CLIPSIBLINGS | SS_NOTIFY | SS_LEFT, parent);
    }
    ~Win32LabelPeer() override {
        if (underBrush_) DeleteObject(underBrush_);
    }
    void setAlignment(int alignment) override {
        if (!hwnd()) return;
        LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
        style |= alignment == kAlignRight ? SS_RIGHT : alignment == kAlignCenter ? SS_CENTER : SS_LEFT;
        SetWindowLongPtrA(hwnd(), GWL_STYLE, style);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    void setBorder(bool on) override {
        if (!hwnd()) return;
        LONG_PTR ex = GetWindowLongPtrA(hwnd(), GWL_EXSTYLE);
        ex = on ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
        SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, ex);
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    void setTransparent(bool on, Color under) override {
        transparent_ = on;
        if (underBrush_) DeleteObject(underBrush_);
        underBrush_ = CreateSolidBrush(under);
        under_ = under;
        if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
    }
    void setPointer(int shape) override { hand_ = shape == kPointerHand; }
    bool onMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) override {
        // The static control would show its class's arrow.
        if (msg == WM_SETCURSOR && hand_ && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        }
        return false;
    }
    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_CTLCOLORSTATIC && transparent_) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, fore_);
            SetBkColor(dc, under_);
            result = reinterpret_cast<LRESULT>(underBrush_);
            return true;
        }
        return Win32Window::onReflected(msg, wParam, lParam, result);
    }

private:
    bool transparent_ = false, hand_ = false;
    Color under_ = 0;
    HBRUSH underBrush_ = nullptr;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<LabelPeer> NewLabelPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<win32::Win32LabelPeer>(reinterpret_cast<HWND>(parent), sink);
}
}  // namespace kit
