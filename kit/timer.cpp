#include "kit/timer.h"

#include "kit/backend.h"

namespace kit {

Timer::Timer(Form* owner, unsigned intervalMs, bool enabled)
    : Component(owner), interval_(intervalMs), enabled_(enabled) {
    if (enabled_ && interval_) apply();
}

Timer::~Timer() { destroyPeer(); }

void Timer::setInterval(unsigned ms) {
    interval_ = ms;
    apply();
}

void Timer::setEnabled(bool on) {
    enabled_ = on;
    apply();
}

void Timer::apply() {
    if (!timer_) {
        if (!enabled_ || !interval_) return;
        timer_ = backend().createTimer([this] {
            if (OnTimer) OnTimer();
        });
    }
    backend().setTimer(timer_, interval_, enabled_);
}

void Timer::destroyPeer() {
    if (!timer_) return;
    backend().destroyTimer(timer_);
    timer_ = 0;
    enabled_ = false;
}

}  // namespace kit
