#include "platform/headless/recording_tray.h"

namespace platform::headless {

bool RecordingTray::notifyIcon(std::uint32_t message, const NotifyIconData& data) {
    calls_.push_back(Call{message, data});
    auto key = std::make_pair(data.hWnd, data.uID);
    bool shown = icons_.count(key) != 0;
    switch (message) {
    case kNimAdd:
        if (shown) return false;
        icons_[key] = data;
        return true;
    case kNimModify:
        if (!shown) return false;
        icons_[key] = data;
        return true;
    case kNimDelete:
        return icons_.erase(key) != 0;
    default:
        return false;
    }
}

bool RecordingTray::setForegroundWindow(kit::Handle window) {
    foreground_.push_back(window);
    return true;
}

std::optional<NotifyIconData> RecordingTray::icon(kit::Handle hWnd, std::uint32_t uID) const {
    auto it = icons_.find({hWnd, uID});
    if (it == icons_.end()) return std::nullopt;
    return it->second;
}

void RecordingTray::reset() {
    icons_.clear();
    calls_.clear();
    foreground_.clear();
}

}  // namespace platform::headless
