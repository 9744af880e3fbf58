#include "platform/win32/win32_tray.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace platform::win32 {

bool Win32Tray::notifyIcon(std::uint32_t message, const NotifyIconData& data) {
    // The full record; cbSize (88, the first ANSI layout) tells the shell which fields count.
    NOTIFYICONDATAA nid{};
    static_assert(sizeof nid >= 88);
    nid.cbSize = data.cbSize;
    nid.hWnd = reinterpret_cast<HWND>(data.hWnd);
    nid.uID = data.uID;
    nid.uFlags = data.uFlags;
    nid.uCallbackMessage = data.uCallbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(data.hIcon);
    std::memcpy(nid.szTip, data.szTip, sizeof data.szTip);
    nid.szTip[sizeof data.szTip - 1] = '\0';
    return Shell_NotifyIconA(message, &nid) != 0;
}

bool Win32Tray::setForegroundWindow(kit::Handle window) {
    return SetForegroundWindow(reinterpret_cast<HWND>(window)) != 0;
}

}  // namespace platform::win32
