// Headless window procedures: each window keeps the procedure the program
// installed; its own procedure counts what reaches it and passes an unhandled
// wheel message to the parent, as DefWindowProc does.
#include "kit/headless/headless_backend.h"
#include "kit/headless/headless_window.h"
#include "kit/window_proc.h"

namespace kit {
namespace {

LongPtr OwnProc(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam, LongPtr lParam) {
    headless::HeadlessBackend& b = headless::Bound();
    if (!b.hasWindow(hwnd)) return 0;
    headless::HeadlessWindow& w = b.window(hwnd);
    ++w.ownProcMessages;
    if (msg == kWmMouseWheel && w.parent())
        return CallWndProc(GetWndLong(w.parent(), kGwlWndProc), w.parent(), msg, wParam, lParam);
    return 0;
}

}  // namespace

LongPtr GetWndLong(Handle hwnd, int index) {
    headless::HeadlessBackend& b = headless::Bound();
    if (index != kGwlWndProc || !b.hasWindow(hwnd)) return 0;
    const LongPtr p = b.window(hwnd).wndProc;
    return p ? p : AddressOfWndProc(OwnProc);
}

LongPtr SetWndLong(Handle hwnd, int index, LongPtr value) {
    headless::HeadlessBackend& b = headless::Bound();
    if (index != kGwlWndProc || !b.hasWindow(hwnd) || value == 0) return 0;
    const LongPtr old = GetWndLong(hwnd, index);
    b.window(hwnd).wndProc = value == AddressOfWndProc(OwnProc) ? 0 : value;
    return old;
}

LongPtr AddressOfWndProc(WindowProc proc) { return reinterpret_cast<LongPtr>(proc); }

LongPtr CallWndProc(LongPtr proc, Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                    LongPtr lParam) {
    if (!proc) return 0;
    return reinterpret_cast<WindowProc>(proc)(hwnd, msg, wParam, lParam);
}

}  // namespace kit
