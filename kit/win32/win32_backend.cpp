#include "kit/win32/win32_backend.h"

#include <atomic>
#include <cctype>
#include <exception>
#include <vector>

#include "kit/form.h"
#include "kit/runtime.h"
#include "kit/win32/system_dlls.h"
#include "kit/win32/win32_window.h"

namespace kit::win32 {
namespace {

constexpr const char* kHelperClass = "TivloHelper";

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

// A crash ends the process too: what the program changed outside itself is put back first.
LONG WINAPI OnCrash(EXCEPTION_POINTERS*) {
    static bool crashed = false;
    if (!crashed) {
        crashed = true;
        RunProcessEndActions();
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

std::string ModulePath() {
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size()) return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

}  // namespace

void RunGuarded(const std::function<void()>& f) {
    EventScope scope;
    Guarded([&] { f(); });
}

std::string ModuleFolder() {
    std::string path = ModulePath();
    auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return path;
    std::string folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive's root keeps it
    return folder;
}

std::string ModuleBaseName() {
    std::string path = ModulePath();
    auto slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

Win32Backend::Win32Backend() {
    SetUnhandledExceptionFilter(OnCrash);
    RegisterWindowClasses();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = helperProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = kHelperClass;
    RegisterClassExA(&wc);
    // A hidden top-level window (not message-only) so it can also own a popup menu.
    helper_ = CreateWindowExA(WS_EX_TOOLWINDOW, kHelperClass, "", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, ModuleInstance(), nullptr);
    SetWindowLongPtrA(helper_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    lastTick_ = GetTickCount();
}

Win32Backend::~Win32Backend() {
    for (auto& t : timers_) KillTimer(helper_, t.first);
    timers_.clear();
    if (helper_) DestroyWindow(helper_);
    if (instanceMutex_) CloseHandle(instanceMutex_);
}

DateTime Win32Backend::now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    DateTime d;
    d.year = st.wYear;
    d.month = st.wMonth;
    d.day = st.wDay;
    d.hour = st.wHour;
    d.minute = st.wMinute;
    d.second = st.wSecond;
    return d;
}

std::uint64_t Win32Backend::tickMs() {
    // GetTickCount64 is missing before Vista: widen the 32-bit counter ourselves.
    DWORD t = GetTickCount();
    if (t < lastTick_) tickHigh_ += 0x100000000ull;
    lastTick_ = t;
    return tickHigh_ + t;
}

Handle Win32Backend::createTimer(std::function<void()> tick) {
    UINT_PTR id = nextTimerId_++;  // never reused, so a late WM_TIMER finds nothing
    timers_[id] = std::make_shared<std::function<void()>>(std::move(tick));
    return id;
}

void Win32Backend::setTimer(Handle timer, unsigned intervalMs, bool enabled) {
    if (!timers_.count(timer)) return;
    if (enabled && intervalMs > 0)
        SetTimer(helper_, timer, intervalMs, nullptr);  // same id again restarts the count
    else
        KillTimer(helper_, timer);
}

void Win32Backend::destroyTimer(Handle timer) {
    if (timers_.erase(timer)) KillTimer(helper_, timer);
}

void Win32Backend::onTimer(UINT_PTR id) {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    auto tick = it->second;  // keeps the function alive if the tick destroys its timer
    if (*tick) Guarded([&] { (*tick)(); });
}

LRESULT CALLBACK Win32Backend::helperProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self) self->onTimer(wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int Win32Backend::popupMenu(Handle owner, const std::vector<MenuEntry>& entries) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    int shown = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& e = entries[i];
        if (!e.visible) continue;
        UINT flags = MF_STRING;
        if (e.caption == "-") flags = MF_SEPARATOR;
        if (!e.enabled) flags |= MF_GRAYED;
        if (e.checked) flags |= MF_CHECKED;
        AppendMenuA(menu, flags, i + 1, flags & MF_SEPARATOR ? nullptr : e.caption.c_str());
        ++shown;
    }
    int chosen = 0;
    if (shown > 0) {
        HWND hwnd = owner ? reinterpret_cast<HWND>(owner) : helper_;
        POINT pt{};
        GetCursorPos(&pt);
        chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON |
                                          TPM_LEFTALIGN,
                                pt.x, pt.y, 0, hwnd, nullptr);
        // Without this a tray menu may not close when the user clicks elsewhere.
        PostMessageA(hwnd, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
    return chosen > 0 ? chosen - 1 : -1;
}

int Win32Backend::msgBox(Handle owner, const std::string& text, const std::string& caption,
                         int flags) {
    return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(),
                       static_cast<UINT>(flags));
}

namespace {

std::atomic<std::uint64_t> gPosts{0};
bool gQuietGaps = false;
// Input, painting and timers wait at most this long for a DoEvents; two frames of a 1000 Hz
// mouse, far below what a user sees.
constexpr LONGLONG kQuietGapUs = 2000;

LONGLONG PerformanceCount() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart;
}

LONGLONG QuietGapCounts() {
    static const LONGLONG counts = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart * kQuietGapUs / 1000000;
    }();
    return counts;
}

}  // namespace

void Win32Backend::QuietGaps(bool on) { gQuietGaps = on; }

void Win32Backend::NotePosted() { gPosts.fetch_add(1, std::memory_order_release); }

void Win32Backend::doEvents() {
    // Under Wine each look at the queue is a round trip to its server, two when the queue is
    // empty, and a crawl calls DoEvents thousands of times a second. During one a look within
    // a short gap after the last one is skipped unless our own code posted meanwhile.
    if (!gQuietGaps) return pump();
    const std::uint64_t posts = gPosts.load(std::memory_order_acquire);
    if (posts == postsSeen_ && PerformanceCount() < quietUntil_) return;
    postsSeen_ = posts;
    pump();
    quietUntil_ = PerformanceCount() + QuietGapCounts();
}

void Win32Backend::pump() {
    EventScope scope(false);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            RunProcessEndActions();
            ExitProcess(static_cast<UINT>(msg.wParam));
        }
        if (PreTranslateKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Win32Backend::waitEvents() {
    // MWMO_INPUTAVAILABLE also wakes for messages already queued but not yet looked at, so a
    // timeout means there is nothing to pump: skipping the pump then halves the calls into
    // the window server of an idle wait (measured under Wine).
    if (MsgWaitForMultipleObjectsEx(0, nullptr, kEventWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
        WAIT_TIMEOUT)
        return;
    pump();
}

double Win32Backend::secondsSinceMidnight() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond + st.wMilliseconds / 1000.0;
}

void Win32Backend::run() {
    MSG msg;
    for (;;) {
        {
            // Messages sent by other threads run inside GetMessage: in the scope too. Forms
            // unloaded by the message are destroyed at its end.
            EventScope scope;
            BOOL r = GetMessageA(&msg, nullptr, 0, 0);
            if (r == 0 || r == -1) {
                RunProcessEndActions();
                ExitProcess(r == 0 ? static_cast<UINT>(msg.wParam) : 1);
            }
            if (!PreTranslateKey(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        // Between two messages of the outermost loop: no control's code is running.
        ReleaseUnusedCommonControls();
    }
}

std::string Win32Backend::appPath() { return ModuleFolder(); }

std::string Win32Backend::appTitle() { return ModuleBaseName(); }

std::string Win32Backend::instanceMutexName(const std::string& title) {
    // A plain name lives in the session's namespace, the same as "Local\" on systems
    // that know it; file names ignore case, so the name does too.
    std::string name = "Tivlo.Instance.";
    for (char c : title) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

bool Win32Backend::prevInstance() {
    if (!prevInstanceChecked_) {
        prevInstanceChecked_ = true;
        SetLastError(0);
        instanceMutex_ = CreateMutexA(nullptr, FALSE, instanceMutexName(appTitle()).c_str());
        prevInstance_ = instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    return prevInstance_;
}

int Win32Backend::twipsOf(int pixels, int caps) {
    // The logical resolution is fixed for the session; asking the screen each time costs a
    // round trip per coordinate (a form resized every frame converts several).
    int& dpi = caps == LOGPIXELSX ? dpiX_ : dpiY_;
    if (dpi == 0) {
        HDC dc = GetDC(nullptr);
        dpi = GetDeviceCaps(dc, caps);
        ReleaseDC(nullptr, dc);
        if (dpi <= 0) dpi = 96;
    }
    return pixels * 1440 / dpi;
}

int Win32Backend::screenWidthTwips() { return twipsOf(GetSystemMetrics(SM_CXSCREEN), LOGPIXELSX); }

int Win32Backend::screenHeightTwips() {
    return twipsOf(GetSystemMetrics(SM_CYSCREEN), LOGPIXELSY);
}

int Win32Backend::twipsPerPixelX() { return twipsOf(1, LOGPIXELSX); }

int Win32Backend::twipsPerPixelY() { return twipsOf(1, LOGPIXELSY); }

Color Win32Backend::systemColor(int index) { return GetSysColor(index) & 0xFFFFFF; }

void Win32Backend::endProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace kit::win32
