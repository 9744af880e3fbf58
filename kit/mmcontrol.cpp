#include "kit/mmcontrol.h"

#include <cctype>

#include "kit/runtime.h"

namespace kit {

namespace {
bool SameWord(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return i == a.size() && !b[i];
}
}  // namespace

MMControl::MMControl(Form* owner) : Component(owner), status_(owner) {
    status_.OnTimer = [this] {
        if (StatusUpdate) StatusUpdate();
    };
}

MMControl::~MMControl() { MMControl::destroyPeer(); }

int MMControl::Mode() const { return device_ ? device_->mode() : kMciModeNotOpen; }

long MMControl::Length() const { return device_ ? device_->length() : 0; }

void MMControl::fail(int error) {
    std::string text = device_ ? device_->errorText(error) : std::string();
    throw RuntimeError(kErrDeviceUnavailable,
                       text.empty() ? "multimedia device error " + std::to_string(error) : text);
}

void MMControl::setCommand(const std::string& command) {
    if (SameWord(command, "open")) {
        if (device_) device_->close();
        device_ = NewMciPeer();
        int error = device_->open(fileName_);
        if (!error) error = device_->setTimeFormat(timeFormat_);
        if (error) {
            std::string text = device_->errorText(error);
            device_->close();
            device_.reset();
            applyStatusTimer();
            throw RuntimeError(kErrDeviceUnavailable, text);
        }
        applyStatusTimer();
    } else if (SameWord(command, "play")) {
        if (!device_) throw RuntimeError(kErrDeviceUnavailable, "no multimedia device is open");
        if (int error = device_->play()) fail(error);
    } else if (SameWord(command, "close")) {
        if (!device_) return;
        device_->close();
        device_.reset();
        applyStatusTimer();
    } else {
        throw RuntimeError(kErrInvalidPropertyValue, "invalid multimedia command");
    }
}

void MMControl::setTimeFormat(int format) {
    timeFormat_ = format;
    if (device_) {
        if (int error = device_->setTimeFormat(format)) fail(error);
    }
}

void MMControl::setUpdateInterval(unsigned ms) {
    updateInterval_ = ms;
    applyStatusTimer();
}

void MMControl::applyStatusTimer() {
    // Events only while a device is open: a closed control costs nothing.
    const bool on = device_ && updateInterval_ > 0;
    if (on && status_.Enabled() && status_.Interval() == updateInterval_) return;
    status_.setInterval(updateInterval_);
    status_.setEnabled(on);
}

void MMControl::destroyPeer() {
    if (device_) {
        device_->close();
        device_.reset();
    }
    status_.setEnabled(false);
}

}  // namespace kit
