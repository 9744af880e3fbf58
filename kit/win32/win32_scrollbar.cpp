// Scroll bars on Win32: a scroll bar control whose WM_VSCROLL or WM_HSCROLL, reflected by its
// parent, becomes an action on the control's value, which then places the thumb.
#include "kit/scrollbar.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32ScrollBarPeer : public Win32Peer<ScrollBarPeer> {
public:
    Win32ScrollBarPeer(HWND parent, ScrollBar* bar, bool vertical) : Win32Peer<ScrollBarPeer>(bar), bar_(bar) {
        createNative("SCROLLBAR", 0, WS_CHILD | WS_CLIPSIBLINGS | (vertical ? SBS_VERT : SBS_HORZ), parent);
    }
    void setScroll(int span, int pos, int page) override {
        span_ = span;
        if (!hwnd()) return;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_POS;
        si.nMin = 0;
        si.nMax = span;
        si.nPos = pos;
        SetScrollInfo(hwnd(), SB_CTL, &si, TRUE);
    }
    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg != WM_VSCROLL && msg != WM_HSCROLL) return Win32Window::onReflected(msg, wParam, lParam, result);
        result = 0;
        int action = -1, offset = 0;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: action = kScrollLineTowardsMin; break;
        case SB_LINEDOWN: action = kScrollLineTowardsMax; break;
        case SB_PAGEUP: action = kScrollPageTowardsMin; break;
        case SB_PAGEDOWN: action = kScrollPageTowardsMax; break;
        case SB_TOP: action = kScrollThumb; break;
        case SB_BOTTOM:
            action = kScrollThumb;
            offset = span_;
            break;
        case SB_THUMBPOSITION: {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS;
            GetScrollInfo(hwnd(), SB_CTL, &si);
            action = kScrollThumb;
            offset = si.nTrackPos;
            break;
        }
        default: return true;  // tracking and the end of a scroll change nothing
        }
        Guarded([&] { bar_->userScroll(action, offset); });
        return true;
    }

private:
    ScrollBar* bar_;
    int span_ = 0;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<ScrollBarPeer> NewScrollBarPeer(Handle parent, ScrollBar* bar, bool vertical) {
    return std::make_unique<win32::Win32ScrollBarPeer>(reinterpret_cast<HWND>(parent), bar, vertical);
}
}  // namespace kit
