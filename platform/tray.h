// Notification area icons.
#pragma once
#include <cstdint>

#include "kit/backend.h"

namespace platform {

constexpr std::uint32_t kNimAdd = 0, kNimModify = 1, kNimDelete = 2;
constexpr std::uint32_t kNifMessage = 1, kNifIcon = 2, kNifTip = 4;

// The 88-byte record of the ANSI interface.
struct NotifyIconData {
    std::uint32_t cbSize = 88;
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
