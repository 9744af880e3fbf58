// Forms on Win32: a top-level window of the toolkit's form class with the style of its border.
#include "kit/form.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

void StylesOf(int borderStyle, DWORD& style, DWORD& exStyle) {
    exStyle = 0;
    switch (borderStyle) {
    case kBorderNone: style = WS_POPUP; break;
    case kBorderFixedSingle: style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
    case kBorderFixedDialog:
        style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        exStyle = WS_EX_DLGMODALFRAME;
        break;
    default: style = WS_OVERLAPPEDWINDOW; break;
    }
    style |= WS_CLIPCHILDREN;
}

class Win32FormPeer : public Win32Peer<FormPeer> {
public:
    Win32FormPeer(WindowSink* sink, int borderStyle) : Win32Peer<FormPeer>(sink) {
        isForm_ = true;
        ownClicks_ = true;
        StylesOf(borderStyle, style_, exStyle_);
        createOwn(kFormClass, exStyle_, style_, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, 320, 240);
    }
    void setBounds(int x, int y, int w, int h) override {
        if (hwnd()) SetWindowPos(hwnd(), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void setVisible(bool on) override {
        if (!hwnd()) return;
        ShowWindow(hwnd(), on ? (pendingState_ == kStateMinimized   ? SW_SHOWMINIMIZED
                                 : pendingState_ == kStateMaximized ? SW_SHOWMAXIMIZED
                                                                    : SW_SHOW)
                              : SW_HIDE);
    }
    void setZOrder(bool top) override {
        if (hwnd() && top) BringWindowToTop(hwnd());
    }
    void windowRect(int& x, int& y, int& w, int& h) const override {
        RECT rc{};
        if (hwnd()) {
            if (IsIconic(hwnd())) {
                WINDOWPLACEMENT wp{};
                wp.length = sizeof wp;
                GetWindowPlacement(hwnd(), &wp);
                rc = wp.rcNormalPosition;
            } else {
                GetWindowRect(hwnd(), &rc);
            }
        }
        x = rc.left;
        y = rc.top;
        w = rc.right - rc.left;
        h = rc.bottom - rc.top;
    }
    void activate() override {
        if (!hwnd()) return;
        if (!IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_SHOW);
        SetForegroundWindow(hwnd());
        BringWindowToTop(hwnd());
    }
    int windowState() const override {
        if (!hwnd()) return kStateNormal;
        if (!IsWindowVisible(hwnd())) return pendingState_;
        return IsIconic(hwnd()) ? kStateMinimized : IsZoomed(hwnd()) ? kStateMaximized : kStateNormal;
    }
    void setWindowState(int state) override {
        pendingState_ = state;
        if (!hwnd() || !IsWindowVisible(hwnd())) return;
        ShowWindow(hwnd(), state == kStateMinimized   ? SW_MINIMIZE
                           : state == kStateMaximized ? SW_MAXIMIZE
                                                      : SW_RESTORE);
    }
    void setTopmost() override {
        if (hwnd()) SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
    void dragWindow() override {
        if (!hwnd()) return;
        ReleaseCapture();
        SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }
    void frameSize(int& dx, int& dy) const override {
        RECT rc{0, 0, 100, 100};
        AdjustWindowRectEx(&rc, style_, FALSE, exStyle_);
        dx = (rc.right - rc.left) - 100;
        dy = (rc.bottom - rc.top) - 100;
    }

private:
    DWORD style_ = 0, exStyle_ = 0;
    int pendingState_ = kStateNormal;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<FormPeer> NewFormPeer(WindowSink* sink, int borderStyle) {
    return std::make_unique<win32::Win32FormPeer>(sink, borderStyle);
}
}  // namespace kit
