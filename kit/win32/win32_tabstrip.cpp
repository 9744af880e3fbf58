// Tab strips on Win32: a tab common control whose pages are child windows of it; its
// TCN_SELCHANGE, reflected by its parent, is the user's choice of a tab.
#include "kit/tabstrip.h"
#include "kit/win32/system_dlls.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

class Win32TabStripPeer : public Win32Peer<TabStripPeer> {
public:
    Win32TabStripPeer(HWND parent, WindowSink* sink, TabStripEvents* events)
        : Win32Peer<TabStripPeer>(sink), tabs_(events) {
        createNative(WC_TABCONTROLA, 0, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, parent);
    }

    void addTab(const std::string& caption) override {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption.c_str());
        const int at = static_cast<int>(SendMessageA(hwnd(), TCM_GETITEMCOUNT, 0, 0));
        SendMessageA(hwnd(), TCM_INSERTITEMA, at, reinterpret_cast<LPARAM>(&item));
    }

    void selectTab(int index) override { SendMessageA(hwnd(), TCM_SETCURSEL, index, 0); }

    void displayArea(int& x, int& y, int& width, int& height) const override {
        RECT rc{};
        if (hwnd()) {
            GetClientRect(hwnd(), &rc);
            SendMessageA(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
        }
        x = rc.left;
        y = rc.top;
        width = rc.right > rc.left ? rc.right - rc.left : 0;
        height = rc.bottom > rc.top ? rc.bottom - rc.top : 0;
    }

    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
            const int index = static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0));
            Guarded([&] { tabs_->onTabChosen(index); });
            result = 0;
            return true;
        }
        return Win32Window::onReflected(msg, wParam, lParam, result);
    }

private:
    TabStripEvents* tabs_;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<TabStripPeer> NewTabStripPeer(Handle parent, WindowSink* sink, TabStripEvents* events) {
    return std::make_unique<win32::Win32TabStripPeer>(reinterpret_cast<HWND>(parent), sink, events);
}
}  // namespace kit
