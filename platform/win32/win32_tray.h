// Notification area icons through Shell_NotifyIconA.
#pragma once
#include "platform/tray.h"

namespace platform::win32 {

class Win32Tray : public Tray {
public:
    bool notifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool setForegroundWindow(kit::Handle window) override;
};

}  // namespace platform::win32
