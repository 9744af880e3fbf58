// The toolkit's input controls on Win32, driven through the messages a user's actions send:
// typing into edits, BM_CLICK, arrow keys in combo and scroll bars, clicks on up-down arrows,
// Tab and Alt+letter through the message loop. With TIVLO_CHECK_STAY=<seconds> the form stays
// on the screen that long at the end, for a screenshot.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "kit/controls.h"
#include "tests/win32/check.h"
#include "tests/win32/kit_bind.h"

namespace {

std::vector<std::string> g_log;
void Log(const std::string& s) { g_log.push_back(s); }
std::string Joined() {
    std::string s;
    for (auto& e : g_log) s += (s.empty() ? "" : ",") + e;
    return s;
}
HWND H(kit::Handle h) { return reinterpret_cast<HWND>(h); }

void Bind() { check::BindKit(); }

void Pump() {
    // Twice, so what the first round posts is handled too.
    kit::backend().doEvents();
    kit::backend().doEvents();
}

struct Panel : kit::UserControl {
    explicit Panel(kit::Container* parent) : kit::UserControl(parent) {
        setScaleMode(kit::kScalePixels);
        fme.movePx(0, 0, 250, 110);
        chk.movePx(10, 20, 200, 18);
        txt.movePx(10, 45, 50, 21);
        txt.setAlignment(kit::kAlignCenter);
        ud.movePx(60, 45, 16, 21);
        opt12.movePx(100, 45, 140, 18);
        opt24.movePx(100, 70, 140, 18);
        chk.Click = [this] { Log("chk" + std::to_string(chk.Value())); };
        txt.Change = [this] { Log("txt:" + txt.Text()); };
        ud.Change = [this] { Log("ud" + std::to_string(ud.Value())); };
        opt12.Click = [] { Log("12"); };
        opt24.Click = [] { Log("24"); };
    }
    kit::Frame fme{this, "&Limit"};
    kit::CheckBox chk{&fme, "Limited by images &resolution"};
    kit::TextBox txt{&fme, "500"};
    kit::UpDown ud{&fme};
    kit::OptionButton opt12{&fme, "12 hours (AM/PM)"};
    kit::OptionButton opt24{&fme, "24 hours"};
};

struct Dialog : kit::Form {
    Dialog() {
        setCaption("Kit input check");
        setBorderStyle(kit::kBorderFixedDialog);
        setScaleMode(kit::kScalePixels);
        panel.movePx(8, 8, 260, 120);
        lblHint.movePx(8, 140, 70, 16);
        txtHint.movePx(80, 136, 160, 21);
        cmb.movePx(8, 170, 200, 21);
        vsl.movePx(220, 170, 17, 60);
        cmdOK.movePx(8, 240, 90, 23);
        cmdGrab.movePx(110, 240, 90, 23);
        img.movePx(280, 8, 80, 80);
        img.setStretch(true);
        sb.AddPanel(-1);
        txtHint.setMaxLength(4);
        txtHint.Change = [this] { Log("hint:" + txtHint.Text()); };
        txtHint.LostFocus = [] { Log("lost"); };
        cmb.Click = [this] { Log("cmb" + std::to_string(cmb.ListIndex())); };
        vsl.Change = [this] { Log("vsl" + std::to_string(vsl.Value())); };
        cmdOK.Click = [] { Log("ok"); };
        cmdGrab.Click = [] { Log("grab"); };
        img.Click = [] { Log("img"); };
    }
    Panel panel{this};
    kit::Label lblHint{this, "Alarm &hint :"};
    kit::TextBox txtHint{this};
    kit::ComboBox cmb{this};
    kit::ScrollBar vsl{this};
    kit::CommandButton cmdOK{this, "&OK"};
    kit::CommandButton cmdGrab{this, "&Grab Now"};
    kit::Image img{this};
    kit::StatusBar sb{this};
};

kit::FormInstance<Dialog> dialog;

Dialog& Shown() {
    Bind();
    Dialog& d = dialog();
    if (!d.Visible()) {
        d.setClientSize(5700, 4500);
        d.Move(600, 600);
        d.Show();
        Pump();
    }
    g_log.clear();
    return d;
}

void Type(HWND h, const std::string& text) {
    for (char c : text) SendMessageA(h, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
}

std::string WindowText(HWND h) {
    char buf[256] = {};
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

}  // namespace

CHECK_CASE(typing_and_the_program_change_a_text_box_by_the_change_rule) {
    Dialog& d = Shown();
    HWND edit = H(d.txtHint.hWnd());
    d.txtHint.setText("ab");
    d.txtHint.setText("ab");
    CHECK_EQ(WindowText(edit), std::string("ab"));
    d.txtHint.setSelStart(2);
    Type(edit, "cde");  // the fourth character is the last MaxLength allows
    CHECK_EQ(d.txtHint.Text(), std::string("abcd"));
    CHECK_EQ(Joined(), std::string("hint:ab,hint:abc,hint:abcd"));
    SendMessageA(edit, EM_SETSEL, 1, 3);
    CHECK_EQ(d.txtHint.SelStart(), 1);
    CHECK_EQ(d.txtHint.SelLength(), 2);
    d.txtHint.setLocked(true);
    g_log.clear();
    Type(edit, "z");
    CHECK_EQ(Joined(), std::string(""));
    CHECK((GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0);
    d.txtHint.setLocked(false);
    CHECK((GetWindowLongA(H(d.panel.txt.hWnd()), GWL_STYLE) & ES_CENTER) != 0);
}

CHECK_CASE(a_text_box_loses_the_focus_before_the_button_clicks) {
    Dialog& d = Shown();
    d.txtHint.SetFocus();
    CHECK(GetFocus() == H(d.txtHint.hWnd()));
    CHECK(d.ActiveControl() == &d.txtHint);
    g_log.clear();
    SendMessageA(H(d.cmdOK.hWnd()), BM_CLICK, 0, 0);
    CHECK_EQ(Joined(), std::string("lost,ok"));
    CHECK(d.ActiveControl() == &d.cmdOK);
}

CHECK_CASE(tab_and_access_keys_go_through_the_message_loop) {
    Dialog& d = Shown();
    d.txtHint.SetFocus();
    PostMessageA(H(d.txtHint.hWnd()), WM_KEYDOWN, VK_TAB, 1);
    Pump();
    CHECK(GetFocus() == H(d.cmb.hWnd()));
    g_log.clear();
    // Alt+G: the system key message carries the Alt bit.
    PostMessageA(GetFocus(), WM_SYSKEYDOWN, 'G', 1 | (1L << 29));
    Pump();
    CHECK(GetFocus() == H(d.cmdGrab.hWnd()));
    CHECK_EQ(Joined(), std::string("grab"));
    PostMessageA(GetFocus(), WM_SYSKEYDOWN, 'H', 1 | (1L << 29));
    Pump();
    CHECK(GetFocus() == H(d.txtHint.hWnd()));
    // Tab out of the form's last control comes round to the user control's first.
    d.cmdGrab.SetFocus();
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    Pump();
    CHECK(GetFocus() == H(d.panel.chk.hWnd()));
}

CHECK_CASE(check_boxes_and_options_in_a_frame_follow_BM_CLICK) {
    Dialog& d = Shown();
    HWND chk = H(d.panel.chk.hWnd());
    SendMessageA(chk, BM_CLICK, 0, 0);
    CHECK_EQ(SendMessageA(chk, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    d.panel.chk.setValue(kit::kUnchecked);
    CHECK_EQ(SendMessageA(chk, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    SendMessageA(H(d.panel.opt12.hWnd()), BM_CLICK, 0, 0);
    SendMessageA(H(d.panel.opt24.hWnd()), BM_CLICK, 0, 0);
    SendMessageA(H(d.panel.opt24.hWnd()), BM_CLICK, 0, 0);
    CHECK_EQ(Joined(), std::string("chk1,chk0,12,24"));
    CHECK_EQ(SendMessageA(H(d.panel.opt12.hWnd()), BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
    CHECK_EQ(SendMessageA(H(d.panel.opt24.hWnd()), BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
}

CHECK_CASE(a_drop_down_list_chooses_with_the_arrow_keys) {
    Dialog& d = Shown();
    for (const char* m : {"Once", "Every day", "Every week"}) d.cmb.AddItem(m);
    HWND cmb = H(d.cmb.hWnd());
    CHECK_EQ(SendMessageA(cmb, CB_GETCOUNT, 0, 0), 3L);
    d.cmb.setListIndex(0);
    d.cmb.SetFocus();
    SendMessageA(cmb, WM_KEYDOWN, VK_DOWN, 1);
    CHECK_EQ(SendMessageA(cmb, CB_GETCURSEL, 0, 0), 1L);
    CHECK_EQ(d.cmb.Text(), std::string("Every day"));
    CHECK_EQ(Joined(), std::string("cmb0,cmb1"));
    RECT rc;
    GetWindowRect(cmb, &rc);
    CHECK(rc.bottom - rc.top < 40);  // closed, the box is one line
}

CHECK_CASE(up_down_arrows_and_scroll_bar_keys_step_the_values) {
    Dialog& d = Shown();
    kit::UpDown& ud = d.panel.ud;
    ud.setMin(1);
    ud.setMax(2048);
    ud.setValue(500);
    HWND u = H(ud.hWnd());
    SendMessageA(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 3));
    SendMessageA(u, WM_LBUTTONUP, 0, MAKELPARAM(8, 3));
    CHECK_EQ(ud.Value(), 501);
    CHECK_EQ(SendMessageA(u, UDM_GETPOS32, 0, 0), 501L);
    SendMessageA(u, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 18));
    SendMessageA(u, WM_LBUTTONUP, 0, MAKELPARAM(8, 18));
    CHECK_EQ(ud.Value(), 500);

    kit::ScrollBar& s = d.vsl;
    s.setMin(61);
    s.setMax(0);
    s.setValue(59);
    g_log.clear();
    s.SetFocus();
    SendMessageA(H(s.hWnd()), WM_KEYDOWN, VK_UP, 1);  // towards Min: up
    CHECK_EQ(s.Value(), 60);
    SendMessageA(H(s.hWnd()), WM_KEYDOWN, VK_DOWN, 1);
    SendMessageA(H(s.hWnd()), WM_KEYDOWN, VK_DOWN, 1);
    CHECK_EQ(s.Value(), 58);
    CHECK_EQ(GetScrollPos(H(s.hWnd()), SB_CTL), 3);  // 61 - 58
    CHECK_EQ(Joined(), std::string("vsl60,vsl59,vsl58"));
}

CHECK_CASE(status_panels_and_a_stretched_image_show) {
    Dialog& d = Shown();
    d.sb.setPanelText(1, "All links have been parsed !");
    char text[64] = {};
    SendMessageA(H(d.sb.hWnd()), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    CHECK_EQ(std::string(text), std::string("All links have been parsed !"));
    CHECK_EQ(SendMessageA(H(d.sb.hWnd()), SB_GETPARTS, 0, 0), 2L);
    RECT client, bar;
    GetClientRect(H(d.hWnd()), &client);
    GetWindowRect(H(d.sb.hWnd()), &bar);
    MapWindowPoints(nullptr, H(d.hWnd()), reinterpret_cast<POINT*>(&bar), 2);
    CHECK_EQ(bar.bottom, client.bottom);

    const unsigned char bgr[] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    d.img.setPicture(kit::CreatePicture(kit::kPictureTypeBitmap, kit::gdi().createBitmapFromPixels(2, 2, bgr), true));
    Pump();
    UpdateWindow(H(d.img.hWnd()));
    POINT pt{1, 1};
    ClientToScreen(H(d.img.hWnd()), &pt);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, pt.x, pt.y);
    ReleaseDC(nullptr, screen);
    CHECK(GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80);  // the red corner
    g_log.clear();
    SendMessageA(H(d.img.hWnd()), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(H(d.img.hWnd()), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    CHECK_EQ(Joined(), std::string("img"));

    if (const char* stay = std::getenv("TIVLO_CHECK_STAY")) {
        d.panel.txt.setSelStart(0);
        const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(stay)) * 1000;
        while (GetTickCount() < end) {
            Pump();
            Sleep(20);
        }
    }
}
