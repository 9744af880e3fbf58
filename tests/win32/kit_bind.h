// Binds the toolkit's Win32 backend and GDI, with the common controls, for check programs that
// need no platform services.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "kit/backend.h"
#include "kit/gdi.h"
#include "kit/win32/win32_backend.h"
#include "kit/win32/win32_gdi.h"

namespace check {

inline void BindKit() {
    static bool done = false;
    if (done) return;
    done = true;
    static kit::win32::Win32Backend backend;
    static kit::win32::Win32Gdi gdi;
    kit::setBackend(&backend);
    kit::setGdi(&gdi);
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
}

}  // namespace check
