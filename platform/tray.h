// Notification area icons.
#pragma once
#include <cstdint>

#include "kit/backend.h"

namespace platform {

constexpr std::uint32_t kNimAdd = 0, kNimModify = 1, kNimDelete = 2;
constexpr std::uint32_t kNifMessage = 1, kNifIcon = 2, kNifTip = 4;

// The size of the first ANSI layout of the record in 32-bit Windows; the Win32 tray passes the
// size of that layout at the build's own word size.
constexpr std::uint32_t kNotifyIconDataV1Size = 88;

// The first record of the ANSI interface.
struct NotifyIconData {
    std::uint32_t cbSize = kNotifyIconDataV1Size;
    kit::Handle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    kit::Handle hIcon = 0;
    char szTip[64] = {};
};

class Tray {
public:
    virtual ~Tray() = default;
    virtual bool notifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;
    virtual bool setForegroundWindow(kit::Handle window) = 0;
};

}  // namespace platform
