#include "platform/win32/win32_tray.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace platform::win32 {

bool Win32Tray::notifyIcon(std::uint32_t message, const NotifyIconData& data) {
    // The full record; cbSize tells the shell which fields count. The program's 88 names the
    // first ANSI layout, whose size the headers give for this word size (104 bytes in 64-bit).
    NOTIFYICONDATAA nid{};
    nid.cbSize = data.cbSize == kNotifyIconDataV1Size ? NOTIFYICONDATAA_V1_SIZE : data.cbSize;
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
