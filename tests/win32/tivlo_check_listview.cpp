// The toolkit's Win32 list view and tab strip driven through real window messages: columns, rows
// and their texts, the measured row height, selection by the keys, the background picture below
// the headers, tabs chosen by the keys and their display area; the common controls' DLL given
// back with the last control and loaded again for the next.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kit/controls.h"
#include "kit/listview.h"
#include "kit/tabstrip.h"
#include "kit/win32/system_dlls.h"
#include "app/win32_app.h"
#include "tests/win32/check.h"

namespace {

std::vector<std::string> g_log;

platform::win32::Win32System g_system;
void Bind() {
    static bool bound = false;
    if (!bound) app::BindWin32(g_system);
    bound = true;
}

HWND H(kit::Handle h) { return reinterpret_cast<HWND>(h); }

void CheckThat(bool ok, const std::string& what) {
    if (!ok) ::check::Fail("", 0, what);
}

std::string Joined() {
    std::string s;
    for (auto& e : g_log) s += (s.empty() ? "" : ",") + e;
    return s;
}

struct Sheet : kit::Form {
    Sheet() {
        setCaption("List check");
        setClientSize(9000, 6000);
        list.Move(240, 360, 8055, 2400);
        list.AddColumn("Hint", 8055 / 6.0);
        list.AddColumn("Mode", 8055 / 7.0);
        list.ItemClick = [](int row) { g_log.push_back("item" + std::to_string(row)); };
        list.Click = [] { g_log.push_back("click"); };
        tabs.Move(120, 3000, 5205, 2700);
        tabs.AddTab("Sched&ule");
        tabs.AddTab("Action&s");
        tabs.Click = [this] { g_log.push_back("tab" + std::to_string(tabs.Tab())); };
        bar.setVisible(false);
    }
    kit::ListView list{this};
    kit::TabStrip tabs{this};
    kit::PictureBox page{&tabs, 1, 1};
    kit::PictureBox bar{this, 1, 1};
};

kit::FormInstance<Sheet> sheet;

void Pump() { kit::backend().doEvents(); }

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(window, &pt);
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, pt.x, pt.y);
    ReleaseDC(nullptr, dc);
    return c;
}

std::string ItemText(HWND list, int row, int column) {
    char buf[64] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buf;
}

}  // namespace

CHECK_CASE(list_rows_selection_row_height_and_background_bands) {
    Bind();
    Sheet& s = sheet();
    s.Show();
    Pump();
    HWND list = H(s.list.hWnd());
    CheckThat(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0) == s.list.ColumnWidthPx(1),
          "columns get their widths");
    const int emptyHeight = s.list.RowHeight();
    s.list.AddRow("");
    const int h = s.list.RowHeight();
    s.list.RemoveRow(1);
    CheckThat(h > 0 && h % kit::backend().twipsPerPixelY() == 0, "a row has a real height: " + std::to_string(h));
    CheckThat(emptyHeight > 0, "an empty list still tells a row height");
    for (const char* hint : {"Tea", "Bed", "Alarm"}) s.list.SetCell(s.list.AddRow(hint), 1, "Every day");
    CheckThat(ItemText(list, 2, 0) == "Alarm" && ItemText(list, 0, 1) == "Every day",
          "rows and sub-items keep their order and texts");

    g_log.clear();
    SetFocus(list);
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(list, WM_KEYUP, VK_DOWN, 0);
    CheckThat(s.list.SelectedRow() >= 1, "the keys select a row");
    const int first = s.list.SelectedRow();
    SendMessageA(list, WM_KEYDOWN, VK_END, 0);
    SendMessageA(list, WM_KEYUP, VK_END, 0);
    CheckThat(s.list.SelectedRow() == 3 && Joined() == "item" + std::to_string(first) + ",item3",
          "a selection by the keys counts as a row click: " + Joined());
    g_log.clear();
    s.list.SelectRow(1);
    CheckThat(g_log.empty() && SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == 0,
          "the program's selection raises nothing: " + Joined());
    s.list.RemoveRow(1);
    CheckThat(s.list.SelectedRow() == 0 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2,
          "removing the selected row leaves none selected");

    // Bands painted off-screen become the background, their top edge at the first row.
    s.bar.movePx(0, 0, s.list.widthPx(), s.list.heightPx());
    s.bar.setScaleWidth(1);
    s.bar.setScaleHeight(s.list.heightPx() / double(h / kit::backend().twipsPerPixelY()));
    s.bar.Cls();
    s.bar.FillBox(0, 0, 1, 1, 0x0000FF);
    s.bar.FillBox(0, 1, 1, 2, 0x7F7F7F);
    s.list.Clear();
    s.list.setPicture(s.bar.Image());
    s.list.Refresh();
    Pump();
    RECT row0{};
    s.list.AddRow("");
    row0.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row0));
    s.list.Clear();
    s.list.Refresh();
    Pump();
    const int rowPx = h / kit::backend().twipsPerPixelY();
    CheckThat(ScreenPixel(list, 300, row0.top + 1) == RGB(255, 0, 0),
          "the first band lies behind the first row");
    CheckThat(ScreenPixel(list, 300, row0.top + rowPx + 1) == RGB(127, 127, 127),
          "the second band behind the second row");
}

CHECK_CASE(tabs_chosen_by_key_and_program_with_pages_in_the_display_area) {
    Bind();
    Sheet& s = sheet();
    HWND tabs = H(s.tabs.hWnd());
    s.page.Move(s.tabs.ClientLeft(), s.tabs.ClientTop(), s.tabs.ClientWidth(), s.tabs.ClientHeight());
    RECT area{};
    GetClientRect(tabs, &area);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    CheckThat(s.page.leftPx() == area.left && s.page.topPx() == area.top && area.top > 10,
          "a page fills the display area below the tabs");
    CheckThat(GetParent(H(s.page.hWnd())) == tabs, "pages are children of the strip");
    g_log.clear();
    SetFocus(tabs);
    SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(tabs, WM_KEYUP, VK_RIGHT, 0);
    CheckThat(Joined() == "tab1" && s.tabs.Caption() == "Action&s", "the arrow key chooses the next tab: " + Joined());
    g_log.clear();
    s.tabs.setTab(0);
    CheckThat(Joined() == "tab0" && SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0,
          "the program's choice shows and raises Click: " + Joined());
}


CHECK_CASE(the_common_controls_go_with_their_last_control_and_come_back_with_the_next) {
    Bind();
    sheet();
    {
        kit::EventScope event;
        sheet.Unload();
    }
    kit::win32::ReleaseUnusedCommonControls();
    CheckThat(GetModuleHandleA("comctl32.dll") == nullptr, "the DLL goes once no control is left");
    Sheet& s = sheet();
    s.Show();
    Pump();
    HWND list = H(s.list.hWnd());
    s.list.AddRow("Tea");
    CheckThat(GetModuleHandleA("comctl32.dll") != nullptr && list != nullptr &&
                  SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1,
              "a new form loads it again and its list works");
    kit::win32::ReleaseUnusedCommonControls();
    CheckThat(GetModuleHandleA("comctl32.dll") != nullptr, "it stays while a control lives");
}
