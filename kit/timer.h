// Timers of a form: ticks on the user-interface thread while enabled.
#pragma once
#include <functional>

#include "kit/component.h"

namespace kit {

class Timer : public Component {
public:
    explicit Timer(Form* owner, unsigned intervalMs = 0, bool enabled = false);
    ~Timer() override;
    unsigned Interval() const { return interval_; }
    void setInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    std::function<void()> OnTimer;
    void destroyPeer() override;

private:
    void apply();
    unsigned interval_;
    bool enabled_;
    Handle timer_ = 0;
};

}  // namespace kit
