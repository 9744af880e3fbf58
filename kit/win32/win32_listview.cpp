// List views on Win32: a report-view common control. Its notifications, reflected by its
// parent, become selection and row clicks. The list holds no texts of its own: it asks the
// control for each cell it draws, so filling or refilling hundreds of rows is one count and
// not a message per row and cell. The background picture is painted by the peer itself when
// the list erases its background: comctl32 before version 6 ignores a bitmap given through
// LVM_SETBKIMAGE, and where it takes one its ownership is not settled.
#include "kit/listview.h"
#include "kit/win32/system_dlls.h"
#include "kit/win32/win32_window.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace kit::win32 {
namespace {

constexpr UINT_PTR kBackgroundSubclassId = 0x6c76;

class Win32ListViewPeer : public Win32Peer<ListViewPeer> {
public:
    Win32ListViewPeer(HWND parent, WindowSink* sink, ListViewEvents* events)
        : Win32Peer<ListViewPeer>(sink), list_(events) {
        createNative(WC_LISTVIEWA, WS_EX_CLIENTEDGE,
                     WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                         LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_OWNERDATA,
                     parent);
        if (!hwnd()) return;
        SendMessageA(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        // Text drawn straight onto whatever the background shows.
        SendMessageA(hwnd(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
        CommonControls()->SetWindowSubclass(hwnd(), BackgroundProc, kBackgroundSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~Win32ListViewPeer() override {
        if (hwnd()) CommonControls()->RemoveWindowSubclass(hwnd(), BackgroundProc, kBackgroundSubclassId);
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

    void addRow(const std::string&) override {
        ++rows_;
        if (!held_) sync();
    }

    void setCell(int row, int, const std::string&) override {
        if (!held_ && row < shown_) SendMessageA(hwnd(), LVM_REDRAWITEMS, row, row);
    }

    void removeRow(int row) override {
        if (row < 0 || row >= rows_) return;
        sync();
        quiet_ = true;
        SendMessageA(hwnd(), LVM_DELETEITEM, row, 0);
        quiet_ = false;
        --rows_;
        shown_ = static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
        sync();
    }

    void clearRows() override {
        quiet_ = true;
        // A list refilled after a clear is drawn once, by the repaint that ends the refill.
        if (!held_) {
            SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
            held_ = true;
        }
        SendMessageA(hwnd(), LVM_DELETEALLITEMS, 0, 0);
        quiet_ = false;
        rows_ = shown_ = 0;
    }

    void repaint() override {
        sync();
        if (held_) {
            held_ = false;
            SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd(), nullptr, TRUE);
        }
        paintNow();
    }

    void selectRow(int row) override {
        sync();
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
        sync();
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
        switch (hdr->code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                const std::string_view text = list_->cellText(item.iItem, item.iSubItem);
                const std::size_t n = std::min<std::size_t>(text.size(), item.cchTextMax - 1);
                text.copy(item.pszText, n);
                item.pszText[n] = '\0';
            }
            result = 0;
            return true;
        }
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                const std::string_view text = list_->cellText(item.iItem, item.iSubItem);
                const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                  item.pszText, item.cchTextMax - 1);
                item.pszText[n > 0 ? n : 0] = L'\0';
            }
            result = 0;
            return true;
        }
        case LVN_ODFINDITEMA: {
            const auto* nm = reinterpret_cast<const NMLVFINDITEMA*>(lParam);
            result = findRow(nm->iStart, nm->lvfi.flags, nm->lvfi.psz ? nm->lvfi.psz : "");
            return true;
        }
        case LVN_ODFINDITEMW: {
            const auto* nm = reinterpret_cast<const NMLVFINDITEMW*>(lParam);
            std::string key;
            if (nm->lvfi.psz) {
                const int n = WideCharToMultiByte(CP_ACP, 0, nm->lvfi.psz, -1, nullptr, 0, nullptr, nullptr);
                if (n > 1) {
                    key.resize(n - 1);
                    WideCharToMultiByte(CP_ACP, 0, nm->lvfi.psz, -1, key.data(), n, nullptr, nullptr);
                }
            }
            result = findRow(nm->iStart, nm->lvfi.flags, key);
            return true;
        }
        default:
            break;
        }
        if (hdr->code == LVN_ITEMCHANGED) {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if (quiet_ || !(nm->uChanged & LVIF_STATE)) return false;
            const bool was = (nm->uOldState & LVIS_SELECTED) != 0;
            const bool is = (nm->uNewState & LVIS_SELECTED) != 0;
            if (is && !was && nm->iItem >= 0) {
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
    // The list learns the number of rows the control holds.
    void sync() const {
        if (!hwnd() || shown_ == rows_) return;
        SendMessageA(hwnd(), LVM_SETITEMCOUNT, rows_, LVSICF_NOSCROLL);
        shown_ = rows_;
    }

    // Typing in the list finds the next row whose text starts with (or is) what was typed.
    LRESULT findRow(int start, UINT flags, const std::string& key) const {
        if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || rows_ == 0) return -1;
        const bool partial = (flags & LVFI_PARTIAL) != 0;
        auto same = [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        };
        const int first = start >= 0 && start < rows_ ? start : 0;
        const int span = (flags & LVFI_WRAP) ? rows_ : rows_ - first;
        for (int k = 0; k < span; ++k) {
            const int row = (first + k) % rows_;
            const std::string_view text = list_->cellText(row, 0);
            const bool hit = partial ? text.size() >= key.size() &&
                                           std::equal(key.begin(), key.end(), text.begin(), same)
                                     : text.size() == key.size() &&
                                           std::equal(key.begin(), key.end(), text.begin(), same);
            if (hit) return row;
        }
        return -1;
    }

    static LRESULT CALLBACK BackgroundProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
        if (msg == WM_ERASEBKGND) {
            auto* peer = reinterpret_cast<Win32ListViewPeer*>(self);
            if (peer->background_) {
                peer->paintBackground(reinterpret_cast<HDC>(wParam));
                return 1;
            }
        }
        return CommonControls()->DefSubclassProc(h, msg, wParam, lParam);
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
    int rows_ = 0;               // rows the control holds
    mutable int shown_ = 0;      // rows the list was told of
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
