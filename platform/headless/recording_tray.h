// Notification area that only remembers: the icons shown and every call made.
#pragma once
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/tray.h"

namespace platform::headless {

class RecordingTray : public Tray {
public:
    struct Call {
        std::uint32_t message;
        NotifyIconData data;
    };

    // Adding an icon that is there, or changing or deleting one that is not, fails.
    bool notifyIcon(std::uint32_t message, const NotifyIconData& data) override;
    bool setForegroundWindow(kit::Handle window) override;

    // The last data given for the icon, while it is shown.
    std::optional<NotifyIconData> icon(kit::Handle hWnd, std::uint32_t uID) const;
    std::size_t iconCount() const { return icons_.size(); }
    const std::vector<Call>& calls() const { return calls_; }
    const std::vector<kit::Handle>& foregroundCalls() const { return foreground_; }
    void reset();

private:
    std::map<std::pair<kit::Handle, std::uint32_t>, NotifyIconData> icons_;
    std::vector<Call> calls_;
    std::vector<kit::Handle> foreground_;
};

}  // namespace platform::headless
