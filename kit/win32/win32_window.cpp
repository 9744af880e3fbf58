#include "kit/win32/win32_window.h"

#include <cctype>
#include <cmath>
#include <exception>
#include <string>

#include "kit/runtime.h"
#include "kit/win32/system_dlls.h"
#include "kit/win32/win32_backend.h"

namespace kit::win32 {

namespace {

constexpr const char* kPeerProp = "Tivlo.Peer";
constexpr UINT_PTR kSubclassId = 0x7469;

bool g_dying = false;  // the fatal error box is up: its message loop must run no handlers

// The common controls' entries; only for native controls, whose creation loaded them.
const CommonControlsApi& cc() { return *CommonControls(); }

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

int ButtonBits(WPARAM wParam) {
    int button = 0;
    if (wParam & MK_LBUTTON) button |= kLeftButton;
    if (wParam & MK_RBUTTON) button |= kRightButton;
    if (wParam & MK_MBUTTON) button |= kMiddleButton;
    return button;
}

int MouseShift(WPARAM wParam) {
    int shift = 0;
    if (wParam & MK_SHIFT) shift |= kShiftMask;
    if (wParam & MK_CONTROL) shift |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
    return shift;
}

// The window a notification is about, for the messages that are reflected.
HWND NotifyingChild(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_VSCROLL:
    case WM_HSCROLL:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
        return lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default:
        return nullptr;
    }
}

}  // namespace

bool RunGuardedCall(void (*call)(void*), void* context) {
    if (g_dying) return false;
    try {
        call(context);
        return true;
    } catch (const RuntimeError& e) {
        g_dying = true;
        EndAfterUnhandledError("Run-time error '" + std::to_string(e.code()) + "':\n\n" + e.what());
    } catch (const std::exception& e) {
        g_dying = true;
        EndAfterUnhandledError(e.what());
    } catch (...) {
        g_dying = true;
        RunProcessEndActions();
        ExitProcess(1);
    }
}

int ShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
    return shift;
}

HFONT CreateKitFont(const Font& font) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int hundredths = static_cast<int>(std::lround(font.size * 100));
    int height = -MulDiv(hundredths, dpi, 7200);
    return CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic,
                       font.underline, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       font.name.c_str());
}

// ---- message handling shared by both kinds of window ----

// Handles what the toolkit needs from a message; true when the window must not see it.
// own: a window of the toolkit's own class (no native behaviour behind it).
bool Dispatch(Win32Window* w, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
              LRESULT& result, bool own) {
    WindowSink* sink = w->sink_;
    auto alive = w->alive_;
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    auto callNative = [&] {
        result = own ? DefWindowProcA(hwnd, msg, wParam, lParam)
                     : cc().DefSubclassProc(hwnd, msg, wParam, lParam);
    };

    if (w->onMessage(msg, wParam, lParam, result)) return true;
    if (HWND child = NotifyingChild(msg, wParam, lParam)) {
        if (Win32Window* c = Win32Window::FromHwnd(child); c && c != w) {
            if (c->onReflected(msg, wParam, lParam, result)) return true;
        }
        return false;
    }

    switch (msg) {
    case WM_MOUSEMOVE:
        if (!w->tracking_ && !w->isForm_) {
            TRACKMOUSEEVENT tme{};
            tme.cbSize = sizeof tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = hwnd;
            if (TrackMouseEvent(&tme)) w->tracking_ = true;
            Guarded([&] { sink->onMouseEnter(); });
            if (!*alive) return true;
        }
        // The tray's callback arrives here too, with the mouse message in the position.
        Guarded([&] { sink->onMouseMove(ButtonBits(wParam), MouseShift(wParam), x, y); });
        if (own || !*alive) return true;
        return false;
    case WM_MOUSELEAVE:
        w->tracking_ = false;
        Guarded([&] { sink->onMouseLeave(); });
        return own || !*alive;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // The second press of a double click, with any button, where the window raises
        // DblClick; a right or middle one elsewhere is a press like the first.
        if (msg == WM_LBUTTONDBLCLK || w->raisesDblClick_) {
            if (!own) {
                callNative();
                if (!*alive) return true;
            }
            if (w->ownClicks_) SetCapture(hwnd);
            // Stands for the second press: no MouseDown, and its release makes no Click.
            if (w->raisesDblClick_) Guarded([&] { sink->onDblClick(); });
            return true;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const int button = (msg == WM_LBUTTONDOWN)                             ? kLeftButton
                           : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? kRightButton
                                                                                : kMiddleButton;
        if (!own) {
            // The control takes the focus first, so LostFocus of another runs before this.
            callNative();
            if (!*alive) return true;
        }
        if (w->ownClicks_) {
            w->pressed_ |= button;
            SetCapture(hwnd);  // so the release arrives here even outside the window
        }
        Guarded([&] { sink->onMouseDown(button, MouseShift(wParam), x, y); });
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const int button = (msg == WM_LBUTTONUP)   ? kLeftButton
                           : (msg == WM_RBUTTONUP) ? kRightButton
                                                   : kMiddleButton;
        const bool wasPressed = (w->pressed_ & button) != 0;
        w->pressed_ &= ~button;
        if (w->ownClicks_ && w->pressed_ == 0 && GetCapture() == hwnd) ReleaseCapture();
        Guarded([&] { sink->onMouseUp(button, MouseShift(wParam), x, y); });
        if (!*alive) return true;
        if (!w->ownClicks_) return false;  // the control clicks by itself
        if (wasPressed) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            POINT pt{x, y};
            if (PtInRect(&rc, pt)) Guarded([&] { sink->onClick(); });
        }
        if (!own && *alive) callNative();
        return true;
    }
    case WM_CAPTURECHANGED:
        // A release of ours clears the buttons before it lets the mouse go, so buttons still
        // held here mean another window took it.
        if (reinterpret_cast<HWND>(lParam) != hwnd && w->pressed_ != 0) {
            w->pressed_ = 0;
            Guarded([&] { sink->onCaptureLost(); });
        }
        return own;
    case WM_SETFOCUS:
        if (!own) callNative();
        if (*alive) Guarded([&] { sink->onGotFocus(); });
        if (own) result = 0;
        return true;
    case WM_KILLFOCUS:
        if (!own) callNative();
        if (*alive) Guarded([&] { sink->onLostFocus(); });
        if (own) result = 0;
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        int key = static_cast<int>(wParam);
        const bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
        Guarded([&] {
            if (down)
                sink->onKeyDown(key, ShiftState());
            else
                sink->onKeyUp(key, ShiftState());
        });
        if (!*alive || key == 0) return true;
        return false;
    }
    case WM_CHAR: {
        int ascii = static_cast<int>(wParam & 0xFF);
        Guarded([&] { sink->onKeyPress(ascii); });
        if (!*alive || ascii == 0) return true;
        if (ascii != static_cast<int>(wParam & 0xFF)) {
            result = own ? DefWindowProcA(hwnd, msg, static_cast<WPARAM>(ascii), lParam)
                         : cc().DefSubclassProc(hwnd, msg, static_cast<WPARAM>(ascii), lParam);
            return true;
        }
        return false;
    }
    default:
        break;
    }

    if (!own) return false;
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (msg == taskbarCreated) {
        Guarded([&] { sink->onTaskbarCreated(); });
        result = 0;
        return true;
    }
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;  // the paint handler draws the whole client area
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        Guarded([&] { sink->onPaint(reinterpret_cast<Handle>(dc)); });
        EndPaint(hwnd, &ps);
        result = 0;
        return true;
    }
    case WM_CLOSE:
        // Forms go away only when the program unloads them.
        Guarded([&] { sink->onCloseRequest(); });
        result = 0;
        return true;
    case WM_SIZE:
        Guarded([&] { sink->onResized(); });
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* w = static_cast<Win32Window*>(cs->lpCreateParams);
        if (w) {
            w->hwnd_ = hwnd;
            SetPropA(hwnd, kPeerProp, w);
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    Win32Window* w = Win32Window::FromHwnd(hwnd);
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kPeerProp);
        if (w) w->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (!w || !w->sink_) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (Dispatch(w, hwnd, msg, wParam, lParam, result, true)) return result;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK NativeSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR) {
    Win32Window* w = Win32Window::FromHwnd(hwnd);
    if (msg == WM_NCDESTROY) {
        cc().RemoveWindowSubclass(hwnd, NativeSubclassProc, kSubclassId);
        RemovePropA(hwnd, kPeerProp);
        if (w) w->hwnd_ = nullptr;
        const LRESULT result = cc().DefSubclassProc(hwnd, msg, wParam, lParam);
        UnpinCommonControls();
        return result;
    }
    if (!w || !w->sink_) return cc().DefSubclassProc(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (Dispatch(w, hwnd, msg, wParam, lParam, result, false)) return result;
    return cc().DefSubclassProc(hwnd, msg, wParam, lParam);
}

void RegisterWindowClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = OwnWindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // windows of ours paint their whole client area
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);
    wc.hIcon = nullptr;
    wc.lpszClassName = kPictureClass;
    RegisterClassExA(&wc);
}

// ---- Win32Window ----

Win32Window::Win32Window(WindowSink* sink) : sink_(sink) { RegisterWindowClasses(); }

Win32Window::~Win32Window() {
    detach();
    if (font_) DeleteObject(font_);
    if (backBrush_) DeleteObject(backBrush_);
}

void Win32Window::detach() {
    *alive_ = false;
    if (!hwnd_) return;
    HWND h = hwnd_;
    // No message of the destruction may reach a peer that is half gone.
    if (subclassed_) cc().RemoveWindowSubclass(h, NativeSubclassProc, kSubclassId);
    RemovePropA(h, kPeerProp);
    hwnd_ = nullptr;
    if (GetCapture() == h) ReleaseCapture();
    DestroyWindow(h);
    if (subclassed_) UnpinCommonControls();
}

Win32Window* Win32Window::FromHwnd(HWND hwnd) {
    return hwnd ? static_cast<Win32Window*>(GetPropA(hwnd, kPeerProp)) : nullptr;
}

void Win32Window::createOwn(const char* cls, DWORD exStyle, DWORD style, HWND parent, int x,
                            int y, int width, int height) {
    CreateWindowExA(exStyle, cls, "", style, x, y, width, height, parent, nullptr,
                    ModuleInstance(), this);
}

void Win32Window::createNative(const char* cls, DWORD exStyle, DWORD style, HWND parent) {
    // The first native control brings the common controls' DLL and classes.
    if (!CommonControls()) return;
    HWND h = CreateWindowExA(exStyle, cls, "", style, 0, 0, 0, 0, parent, nullptr,
                             ModuleInstance(), nullptr);
    if (!h) return;
    hwnd_ = h;
    SetPropA(h, kPeerProp, this);
    // The DLL stays while the control lives; the subclass sees the control's end, so without
    // it the DLL stays for good.
    PinCommonControls();
    subclassed_ = cc().SetWindowSubclass(h, NativeSubclassProc, kSubclassId, 0) != FALSE;
}

bool Win32Window::onReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, fore_);
        SetBkColor(dc, back_);
        if (!backBrush_) backBrush_ = CreateSolidBrush(back_);
        result = reinterpret_cast<LRESULT>(backBrush_);
        return true;
    }
    default:
        return false;
    }
}

void Win32Window::moveTo(int x, int y, int width, int height) {
    if (hwnd_)
        SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::show(bool visible) {
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::enable(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

void Win32Window::restack(bool top) {
    if (hwnd_)
        SetWindowPos(hwnd_, top ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Window::setWindowText(const std::string& text) {
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

void Win32Window::applyFont(const Font& font) {
    HFONT f = CreateKitFont(font);
    if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    if (font_) DeleteObject(font_);
    font_ = f;
}

void Win32Window::applyColors(Color fore, Color back) {
    fore_ = fore;
    back_ = back;
    if (backBrush_) DeleteObject(backBrush_);
    backBrush_ = nullptr;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Window::focus() {
    if (hwnd_) SetFocus(hwnd_);
}

void Win32Window::paintNow() {
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void Win32Window::clientExtent(int& width, int& height) const {
    RECT rc{};
    if (hwnd_) GetClientRect(hwnd_, &rc);
    width = rc.right - rc.left;
    height = rc.bottom - rc.top;
}

// ---- keyboard navigation ----

bool PreTranslateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    const int key = static_cast<int>(msg.wParam);
    int shift = ShiftState();
    // A system key message says itself whether Alt is held (its context bit).
    if (msg.message == WM_SYSKEYDOWN && (msg.lParam & (1L << 29))) shift |= kAltMask;
    const bool letter = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (key != VK_TAB && !((shift & kAltMask) && letter)) return false;
    for (HWND h = msg.hwnd; h; h = GetParent(h)) {
        Win32Window* w = Win32Window::FromHwnd(h);
        if (!w || !w->sink()) continue;
        // A control that types tabs itself (a multi-line text box) keeps them.
        if (key == VK_TAB && h == msg.hwnd &&
            (SendMessageA(h, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
             DLGC_WANTTAB))
            return false;
        bool used = false;
        Guarded([&] { used = w->sink()->onNavigationKey(key, shift); });
        return used;
    }
    return false;
}

}  // namespace kit::win32
