// Forms on Win32: a top-level window of the toolkit's form class with the style of its border.
#include "kit/form.h"

#include <vector>

#include "kit/menu.h"
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
    void setMenuBar(const std::vector<MenuItem*>& menus) override {
        if (!hwnd()) return;
        HMENU bar = CreateMenu();
        items_.clear();
        popups_.clear();
        for (MenuItem* menu : menus) {
            HMENU popup = CreatePopupMenu();
            popups_.push_back({popup, menu});
            for (MenuItem* item : menu->Items) {
                items_.push_back(item);
                const UINT id = static_cast<UINT>(items_.size());
                if (item->Caption == "-")
                    AppendMenuA(popup, MF_SEPARATOR, id, nullptr);
                else
                    AppendMenuA(popup, MF_STRING | (item->Enabled ? 0 : MF_GRAYED), id,
                                item->Caption.c_str());
            }
            AppendMenuA(bar, MF_POPUP | MF_STRING | (menu->Enabled ? 0 : MF_GRAYED),
                        reinterpret_cast<UINT_PTR>(popup), menu->Caption.c_str());
        }
        SetMenu(hwnd(), bar);
        hasMenu_ = true;
    }
    bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_INITMENUPOPUP) {
            // The program changes captions and states without telling the menu: read them now.
            HMENU popup = reinterpret_cast<HMENU>(wParam);
            for (const auto& p : popups_) {
                if (p.handle != popup) continue;
                for (MenuItem* item : p.menu->Items) {
                    if (item->Caption == "-") continue;
                    const UINT id = IdOf(item);
                    ModifyMenuA(popup, id, MF_BYCOMMAND | MF_STRING | (item->Enabled ? 0 : MF_GRAYED),
                                id, item->Caption.c_str());
                }
            }
            return false;
        }
        if (msg == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0) {
            const UINT id = LOWORD(wParam);
            if (id == 0 || id > items_.size()) return false;
            MenuItem* item = items_[id - 1];
            WindowSink* s = sink();
            Guarded([&] { s->onMenuItem(item); });
            result = 0;
            return true;
        }
        return false;
    }
    void frameSize(int& dx, int& dy) const override {
        RECT rc{0, 0, 100, 100};
        AdjustWindowRectEx(&rc, style_, hasMenu_ ? TRUE : FALSE, exStyle_);
        dx = (rc.right - rc.left) - 100;
        dy = (rc.bottom - rc.top) - 100;
    }

private:
    struct Popup {
        HMENU handle;
        MenuItem* menu;
    };
    UINT IdOf(MenuItem* item) const {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == item) return static_cast<UINT>(i + 1);
        return 0;
    }
    std::vector<MenuItem*> items_;  // command id i + 1 is items_[i]
    std::vector<Popup> popups_;
    bool hasMenu_ = false;
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
