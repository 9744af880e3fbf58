// The toolkit's controls on Win32, driven through real window messages: the events and state
// they produce. With TIVLO_CHECK_STAY=<seconds> the form stays on the screen that long before
// it closes, for a screenshot.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kit/controls.h"
#include "tests/win32/check.h"
#include "tests/win32/kit_bind.h"

namespace {

std::vector<std::string> g_log;

void Check(bool ok, const std::string& what) {
    if (!ok) ::check::Fail("", 0, what);
}

void Bind() { check::BindKit(); }

HWND H(kit::Handle h) { return reinterpret_cast<HWND>(h); }

std::string Joined() {
    std::string s;
    for (auto& e : g_log) s += (s.empty() ? "" : ",") + e;
    return s;
}

struct Board : kit::UserControl {
    explicit Board(kit::Container* parent) : kit::UserControl(parent) {
        setScaleMode(kit::kScalePixels);
        table.setBorderStyle(1);
        table.setBackColor(0x000000);
        table.movePx(8, 40, 200, 150);
        card.setBackColor(0xFFFFFF);
        card.movePx(30, 60, 71, 96);
        remark.movePx(8, 100, 10, 10);
        remark.setForeColor(0x0000C0);
        remark.setBackColor(0x000000);
        remark.setFontBold(true);
        remark.setAutoSize(true);
        table.MouseMove = [](int b, int, int x, int y) {
            g_log.push_back("move" + std::to_string(b) + ":" + std::to_string(x) + ":" + std::to_string(y));
        };
        table.MouseDown = [](int b, int, int, int) { g_log.push_back("down" + std::to_string(b)); };
        table.MouseUp = [](int b, int, int x, int y) {
            g_log.push_back("up" + std::to_string(b) + ":" + std::to_string(x) + ":" + std::to_string(y));
        };
        table.Click = [] { g_log.push_back("click"); };
        table.DblClick = [] { g_log.push_back("dbl"); };
        table.CaptureLost = [] { g_log.push_back("lost"); };
    }
    void UserControl_Initialize() override { g_log.push_back("init"); }
    void UserControl_Terminate() override { g_log.push_back("terminate"); }
    kit::PictureBox table{this, 1, 1};
    kit::PictureBox card{this, 1, 1};
    kit::Label remark{&table, "As you sow,\r\nso will you reap"};
};

struct Probe : kit::Form {
    Probe() {
        setCaption("Kit check");
        setBorderStyle(kit::kBorderFixedDialog);
        setScaleMode(kit::kScalePixels);
        board.movePx(0, 0, 230, 200);
        title.setFontBold(true);
        title.setFontSize(9.75);
        title.movePx(240, 8, 10, 10);
        title.setAutoSize(true);
        link.movePx(240, 30, 10, 10);
        link.setAutoSize(true);
        link.setMousePointer(kit::kPointerHand);
        link.MouseEnter = [this] {
            link.setFontUnderline(true);
            link.setForeColor(0xFF0000);
        };
        link.MouseLeave = [this] {
            link.setFontUnderline(false);
            link.setForeColor(0xFFFF00);
        };
        link.Click = [] { g_log.push_back("link"); };
        ok.movePx(240, 60, 100, 22);
        ok.setFontBold(true);
        ok.Click = [] { g_log.push_back("ok"); };
        rule.setBorderColor(0x0000FF);
        rule.setX1(240);
        rule.setY1(100);
        rule.setX2(400);
        rule.setY2(100);
    }
    void Form_QueryUnload(int&, int mode) override { g_log.push_back("query" + std::to_string(mode)); }
    void Form_Resize() override { g_log.push_back("resize"); }
    Board board{this};
    kit::Label title{this, "Tivlo 2.3"};
    kit::Label link{this, "http://tivlo.invalid/"};
    kit::CommandButton ok{this, "&OK"};
    kit::Line rule{this};
};

kit::FormInstance<Probe> probe;

void Pump() { kit::backend().doEvents(); }

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(window, &pt);
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, pt.x, pt.y);
    ReleaseDC(nullptr, dc);
    return c;
}

}  // namespace

CHECK_CASE(forms_measure_their_window_in_twips_and_resize) {
    Bind();
    g_log.clear();
    Probe& f = probe();
    Check(Joined() == "init", "user controls initialise at load: " + Joined());
    f.Move(0, 0, 7500, 4500);
    RECT rc;
    GetWindowRect(H(f.hWnd()), &rc);
    Check(rc.right - rc.left == 7500 / kit::backend().twipsPerPixelX() &&
              rc.bottom - rc.top == 4500 / kit::backend().twipsPerPixelY(),
          "Width and Height set the outer window in twips");
    RECT client;
    GetClientRect(H(f.hWnd()), &client);
    Check(f.ScaleWidth() == client.right && f.ScaleHeight() == client.bottom,
          "ScaleWidth and ScaleHeight are the client area in pixels");
    int dx = 0, dy = 0;
    f.peer()->frameSize(dx, dy);
    Check(dx == (rc.right - rc.left) - client.right && dy == (rc.bottom - rc.top) - client.bottom,
          "the frame size matches the window's border and caption");
    char caption[64] = {};
    GetWindowTextA(H(f.hWnd()), caption, sizeof caption);
    Check(std::strcmp(caption, "Kit check") == 0, "the caption is the window's text");

    g_log.clear();
    f.Show();
    Pump();
    Check(IsWindowVisible(H(f.hWnd())) != FALSE, "Show shows the form");
    Check(!g_log.empty() && g_log.front() == "resize", "the first Show raises Resize: " + Joined());
    g_log.clear();
    SetWindowPos(H(f.hWnd()), nullptr, 0, 0, 520, 300, SWP_NOMOVE | SWP_NOZORDER);
    Check(Joined() == "resize", "a new size raises Resize: " + Joined());
}

CHECK_CASE(labels_size_to_their_text_and_hear_the_pointer) {
    Probe& f = probe();
    HWND link = H(f.link.hWnd());
    char text[64] = {};
    GetWindowTextA(link, text, sizeof text);
    Check(std::strcmp(text, "http://tivlo.invalid/") == 0, "a label shows its caption");
    // AutoSize matches the text measured in the label's own font.
    HDC dc = GetDC(link);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(link, dc);
    Check(f.link.widthPx() == size.cx && f.link.heightPx() == size.cy,
          "an auto-sized label fits its text: " + std::to_string(f.link.widthPx()) + " vs " +
              std::to_string(size.cx));
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(H(f.title.hWnd()), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    Check(lf.lfWeight == FW_BOLD && std::strcmp(lf.lfFaceName, "MS Sans Serif") == 0,
          "a bold label gets a bold MS Sans Serif");
    Check(f.board.remark.heightPx() > f.link.heightPx(), "a two-line label is taller than one line");

    g_log.clear();
    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    Check(f.link.FontUnderline() && lf.lfUnderline && f.link.ForeColor() == 0xFF0000,
          "the pointer entering a label raises MouseEnter");
    SendMessageA(link, WM_MOUSELEAVE, 0, 0);
    Check(!f.link.FontUnderline() && f.link.ForeColor() == 0xFFFF00, "leaving raises MouseLeave");
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    Check(GetCapture() == link, "a label holds the mouse while pressed");
    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    Check(Joined() == "link" && GetCapture() != link, "press and release make one Click: " + Joined());

    // The pointer's shape: the hand over the link, the arrow over a plain label.
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND), arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Check(GetCursor() == hand, "the pointer over a hand-pointer label is the hand");
    HWND title = H(f.title.hWnd());
    SendMessageA(title, WM_SETCURSOR, reinterpret_cast<WPARAM>(title), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Check(GetCursor() != hand, "the pointer over a plain label is not the hand");
}

CHECK_CASE(buttons_click_once_per_BM_CLICK) {
    Probe& f = probe();
    HWND ok = H(f.ok.hWnd());
    g_log.clear();
    SendMessageA(ok, BM_CLICK, 0, 0);
    Check(Joined() == "ok", "BM_CLICK raises Click once: " + Joined());
    f.ok.setEnabled(false);
    Check(!IsWindowEnabled(ok), "Enabled False disables the button");
    f.ok.setEnabled(true);
    Check(IsWindowEnabled(ok) != FALSE, "and True enables it again");
    char text[32] = {};
    GetWindowTextA(ok, text, sizeof text);
    Check(std::strcmp(text, "&OK") == 0, "the caption keeps its access key");
}

CHECK_CASE(picture_boxes_capture_stack_and_show_their_image) {
    Probe& f = probe();
    HWND table = H(f.board.table.hWnd());
    RECT client;
    GetClientRect(table, &client);
    Check(client.right == 196 && client.bottom == 146, "a sunken border takes 2 pixels a side");
    Check(f.board.table.ScaleWidth() == 196, "ScaleWidth is the client area");

    g_log.clear();
    SendMessageA(table, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    Check(GetCapture() == table, "a pressed box takes the mouse");
    SendMessageA(table, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(300, static_cast<WORD>(-5)));
    SendMessageA(table, WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
    Check(Joined() == "down1,move3:300:-5,up1:300:5",
          "moves and the release outside reach the box, without Click: " + Joined());
    Check(GetCapture() != table, "the release frees the mouse");
    g_log.clear();
    SendMessageA(table, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(table, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageA(table, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(table, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Check(Joined() == "down1,up1:10:10,click,dbl,up1:10:10", "a double click: " + Joined());
    // Another window takes the mouse while the button is down: told at once, not at a release.
    g_log.clear();
    SendMessageA(table, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SetCapture(H(f.board.card.hWnd()));
    ReleaseCapture();
    SendMessageA(table, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Check(Joined() == "down1,lost,up1:10:10", "a lost capture: " + Joined());

    // Z-order: the card was made after the table, so it lies in front; sent back, behind.
    HWND board = H(f.board.hWnd());
    HWND card = H(f.board.card.hWnd());
    Check(GetWindow(board, GW_CHILD) == card, "a later control lies in front");
    f.board.card.ZOrder(1);
    Check(GetWindow(board, GW_CHILD) == table, "ZOrder 1 sends it back");
    f.board.card.ZOrder(0);
    Check(GetWindow(board, GW_CHILD) == card, "ZOrder 0 brings it to the front");
    f.board.card.setVisible(false);
    Check(!IsWindowVisible(card), "Visible False hides the box");
    f.board.card.movePx(120, 70, 71, 96);
    f.board.card.setVisible(true);
    RECT r;
    GetWindowRect(card, &r);
    MapWindowPoints(nullptr, board, reinterpret_cast<POINT*>(&r), 2);
    Check(r.left == 120 && r.top == 70 && r.right - r.left == 71, "Move places the box");

    // The persistent image shows at Refresh.
    kit::Gdi& g = kit::gdi();
    kit::Handle brush = g.createSolidBrush(0x00FF00);
    g.fillRect(f.board.table.hDC(), 0, 0, 20, 20, brush);
    g.deleteObject(brush);
    f.board.table.Refresh();
    Pump();
    Check(ScreenPixel(table, 5, 5) == RGB(0, 255, 0), "Refresh shows the persistent image");
    Check(ScreenPixel(table, 40, 5) == RGB(0, 0, 0), "the image's background is the BackColor");
    // The line is drawn on the form.
    InvalidateRect(H(f.hWnd()), nullptr, TRUE);
    UpdateWindow(H(f.hWnd()));
    Check(ScreenPixel(H(f.hWnd()), 300, 100) == RGB(255, 0, 0), "a line is drawn on its form");
}

CHECK_CASE(the_close_box_unloads_a_minimised_form) {
    if (const char* stay = std::getenv("TIVLO_CHECK_STAY")) {
        probe().Show();
        const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(stay)) * 1000;
        while (GetTickCount() < end) {
            Pump();
            Sleep(20);
        }
    }
    Probe& f = probe();
    HWND form = H(f.hWnd());
    g_log.clear();
    f.setWindowState(kit::kStateMinimized);
    Pump();
    Check(f.WindowState() == kit::kStateMinimized && f.ScaleWidth() == 0,
          "a minimised form has no client area");
    f.setWindowState(kit::kStateNormal);
    g_log.clear();
    SendMessageA(form, WM_CLOSE, 0, 0);
    Check(!probe.Loaded() && !IsWindow(form), "the close box unloads the form");
    Check(Joined() == "query0,terminate", "with unload mode 0: " + Joined());
}

