// Window procedures: reading and replacing a window's procedure, and passing a
// message on to the one it replaced, in the shape of GetWindowLongPtrA,
// SetWindowLongPtrA and CallWindowProcA.
#pragma once
#include <cstdint>

#include "kit/peer.h"

namespace kit {

using LongPtr = std::intptr_t;
// A window procedure of the program's own.
using WindowProc = LongPtr (*)(Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                               LongPtr lParam);

constexpr int kGwlWndProc = -4;
constexpr std::uint32_t kWmMouseWheel = 0x020A;

// The window's procedure (only kGwlWndProc is supported); 0 for an unknown window.
LongPtr GetWndLong(Handle hwnd, int index);
// Installs a procedure and returns the one it replaced (0 on failure).
LongPtr SetWndLong(Handle hwnd, int index, LongPtr value);
// A procedure of ours as a value SetWindowLongPtr takes.
LongPtr AddressOfWndProc(WindowProc proc);
LongPtr CallWndProc(LongPtr proc, Handle hwnd, std::uint32_t msg, std::uintptr_t wParam,
                    LongPtr lParam);

}  // namespace kit
