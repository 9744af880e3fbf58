// Window procedures on Win32. A procedure of the program's own has the portable
// calling convention, so it is installed through one of a few trampolines with Windows' own.
#include <windows.h>

#include "kit/win32/win32_window.h"
#include "kit/window_proc.h"

namespace kit {
namespace {

constexpr int kSlots = 4;
WindowProc g_procs[kSlots] = {};

template <int I>
LRESULT CALLBACK Trampoline(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LongPtr result = 0;
    const bool ran = win32::Guarded(
        [&] { result = g_procs[I](reinterpret_cast<Handle>(hwnd), msg, wParam, lParam); });
    if (!ran) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return result;
}

constexpr WNDPROC kTrampolines[kSlots] = {Trampoline<0>, Trampoline<1>, Trampoline<2>,
                                          Trampoline<3>};

}  // namespace

LongPtr GetWndLong(Handle hwnd, int index) {
    return GetWindowLongPtrA(reinterpret_cast<HWND>(hwnd), index);
}

LongPtr SetWndLong(Handle hwnd, int index, LongPtr value) {
    return SetWindowLongPtrA(reinterpret_cast<HWND>(hwnd), index, value);
}

LongPtr AddressOfWndProc(WindowProc proc) {
    for (int i = 0; i < kSlots; ++i)
        if (g_procs[i] == proc || !g_procs[i]) {
            g_procs[i] = proc;
            return reinterpret_cast<LongPtr>(kTrampolines[i]);
        }
    return 0;
}

LongPtr CallWndProc(LongPtr proc, Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                    LongPtr lParam) {
    if (!proc) return 0;
    return CallWindowProcA(reinterpret_cast<WNDPROC>(proc), reinterpret_cast<HWND>(hwnd), msg,
                           wParam, lParam);
}

}  // namespace kit
