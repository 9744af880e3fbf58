// List views on Win32: a report-view common control. Its notifications, reflected by its
// parent, become selection and row clicks. The background picture is painted by the peer
// itself when the list erases its background: comctl32 before version 6 ignores a bitmap
// given through LVM_SETBKIMAGE, and where it takes one its ownership is not settled.
#include "kit/listview.h"
#include "kit/win32/win32_window.h"

#include <commctrl.h>

namespace kit::win32 {
namespace {

constexpr UINT_PTR kBackgroundSubclassId = 0x6c76;

class Win32ListViewPeer : public Win32Peer<ListViewPeer> {
public:
    Win32ListViewPeer(HWND parent, WindowSink* sink, ListViewEvents* events)
        : Win32Peer<ListViewPeer>(sink), list_(events) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        createNative(WC_LISTVIEWA, WS_EX_CLIENTEDGE,
                     WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                         LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                     parent);
        if (!hwnd()) return;
        SendMessageA(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        // Text drawn straight onto whatever the background shows.
        SendMessageA(hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
        SetWindowSubclass(hwnd(), BackgroundProc, kBackgroundSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~Win32ListViewPeer() override {
        if (hwnd()) RemoveWindowSubclass(hwnd(), BackgroundProc, kBackgroundSubclassId);
    }

    void setColors(Color fore, Color back) override {
        applyColors(fore, back);
        if (!hwnd()) return;
        SendMessageA(hwnd(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
        SendMessageA(hwnd(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(fore));
    }

    void addColumn(const std::string& title, int widthPx) override {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = widthPx;
        col.pszText = const_cast<char*>(title.c_str());
        SendMessageA(hwnd(), LVM_INSERTCOLUMNA, columns_++, reinterpret_cast<LPARAM>(&col));
    }

    void addRow(const std::string& text) override {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<char*>(text.c_str());
        quiet_ = true;
        SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        quiet_ = false;
    }

    void setCell(int row, int column, const std::string& text) override {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(hwnd(), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }

    void removeRow(int row) override {
        quiet_ = true;
        SendMessageA(hwnd(), LVM_DELETEITEM, row, 0);
        quiet_ = false;
    }

    void clearRows() override {
        quiet_ = true;
        // A list refilled after a clear is drawn once, by the repaint that ends the refill,
        // not after every row and cell.
        if (!held_) {
            SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
            held_ = true;
        }
        SendMessageA(hwnd(), LVM_DELETEALLITEMS, 0, 0);
        quiet_ = false;
    }

    void repaint() override {
        if (held_) {
            held_ = false;
            SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd(), nullptr, TRUE);
        }
        paintNow();
    }

    void selectRow(int row) override {
        quiet_ = true;
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        if (row < 0) {
            SendMessageA(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        } else {
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        }
        quiet_ = false;
    }

    int rowHeightPx() const override {
        if (!hwnd() || SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0) < 1) return 0;
        RECT rc{};
        rc.left = LVIR_BOUNDS;
        if (!SendMessageA(hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc))) return 0;
        return rc.bottom - rc.top;
    }

    void setBackground(Handle bitmap) override {
        background_ = reinterpret_cast<HBITMAP>(bitmap);
        if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
    }

    bool onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg != WM_NOTIFY) return Win32Window::onReflected(msg, wParam, lParam, result);
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->code == LVN_ITEMCHANGED) {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (quiet_ || !(nm->uChanged & LVIF_STATE)) return false;
            const bool was = (nm->uOldState & LVIS_SELECTED) != 0;
            const bool is = (nm->uNewState & LVIS_SELECTED) != 0;
            if (is && !was) {
                Guarded([&] { list_->onRowSelected(nm->iItem); });
                // A selection by the keys counts as a click on the row; a press of the mouse
                // clicks when it is released.
                const bool mouse = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
                if (!mouse && IsWindow(hdr->hwndFrom)) Guarded([&] { list_->onRowClicked(nm->iItem); });
            }
            else if (was && !is)
                Guarded([&] { list_->onRowSelected(-1); });
            result = 0;
            return true;
        }
        if (hdr->code == NM_CLICK) {
            const auto* nm = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
            const HWND self = hdr->hwndFrom;  // a handler may unload the list with its form
            if (nm->iItem >= 0) Guarded([&] { list_->onRowClicked(nm->iItem); });
            if (IsWindow(self)) Guarded([&] { sink()->onClick(); });
            result = 0;
            return true;
        }
        return false;
    }

private:
    static LRESULT CALLBACK BackgroundProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
        if (msg == WM_ERASEBKGND) {
            auto* peer = reinterpret_cast<Win32ListViewPeer*>(self);
            if (peer->background_) {
                peer->paintBackground(reinterpret_cast<HDC>(wParam));
                return 1;
            }
        }
        return DefSubclassProc(h, msg, wParam, lParam);
    }

    // The rows start below the column headers; so does the picture, so its bands meet them.
    int headerBottom() const {
        HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd(), LVM_GETHEADER, 0, 0));
        if (!header || !IsWindowVisible(header)) return 0;
        RECT rc{};
        GetWindowRect(header, &rc);
        POINT pt{rc.left, rc.bottom};
        ScreenToClient(hwnd(), &pt);
        return pt.y > 0 ? pt.y : 0;
    }

    void paintBackground(HDC dc) {
        RECT client{};
        GetClientRect(hwnd(), &client);
        const int top = headerBottom();
        BITMAP bm{};
        GetObjectA(background_, sizeof bm, &bm);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, background_);
        BitBlt(dc, 0, top, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        // What the picture does not cover shows the list's own background colour.
        const COLORREF back = static_cast<COLORREF>(SendMessageA(hwnd(), LVM_GETBKCOLOR, 0, 0));
        HBRUSH brush = CreateSolidBrush(back);
        RECT right{bm.bmWidth, top, client.right, client.bottom};
        RECT below{0, top + bm.bmHeight, bm.bmWidth, client.bottom};
        if (right.left < right.right) FillRect(dc, &right, brush);
        if (below.top < below.bottom) FillRect(dc, &below, brush);
        DeleteObject(brush);
    }

    ListViewEvents* list_;
    int columns_ = 0;
    bool quiet_ = false;  // changes made by the program raise nothing
    bool held_ = false;   // drawing held from a clear until the next repaint
    HBITMAP background_ = nullptr;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<ListViewPeer> NewListViewPeer(Handle parent, WindowSink* sink, ListViewEvents* events) {
    return std::make_unique<win32::Win32ListViewPeer>(reinterpret_cast<HWND>(parent), sink, events);
}
}  // namespace kit
