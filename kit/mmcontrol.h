// The multimedia control: opens, plays and closes one sound file (.wav, .mp3) through the
// backend's media device, reports its mode and length, and raises StatusUpdate every
// UpdateInterval milliseconds while a device is open, so its host can poll for the end.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "kit/controls.h"

namespace kit {

// Mode values, as the control reports them (MCI's own mode numbers).
enum : int {
    kMciModeNotOpen = 524,
    kMciModeStop = 525,  // opened and not started yet, or played to its end
    kMciModePlay = 526,
    kMciModeRecord = 527,
    kMciModeSeek = 528,
    kMciModePause = 529,
    kMciModeReady = 530,
};
constexpr int kMciFormatMilliseconds = 0;

// One device of the backend. Every call except close returns 0 or the device's error number.
class MciPeer {
public:
    virtual ~MciPeer() = default;
    virtual int open(const std::string& file) = 0;
    virtual int setTimeFormat(int format) = 0;
    virtual int play() = 0;
    virtual void close() = 0;
    virtual int mode() = 0;       // one of the kMciMode values; only while open
    virtual long length() = 0;    // in the time format; 0 when unknown
    virtual std::string errorText(int error) = 0;
};
// The device of the backend linked in.
std::unique_ptr<MciPeer> NewMciPeer();

class MMControl : public Component {
public:
    explicit MMControl(Form* owner);
    ~MMControl() override;

    // kMciModeNotOpen while no device is open.
    int Mode() const;
    // "Open" (closes an open device first, then opens FileName in TimeFormat), "Play", "Close";
    // any case. A failing command, or one the control does not know, raises a RuntimeError and
    // leaves no device open when it was "Open".
    void setCommand(const std::string& command);

    const std::string& FileName() const { return fileName_; }
    void setFileName(const std::string& file) { fileName_ = file; }
    int TimeFormat() const { return timeFormat_; }
    void setTimeFormat(int format);
    unsigned UpdateInterval() const { return updateInterval_; }
    void setUpdateInterval(unsigned ms);
    // The open file's length in the time format; 0 with no device open.
    long Length() const;

    std::function<void()> StatusUpdate;

    void destroyPeer() override;

private:
    void fail(int error);
    void applyStatusTimer();

    std::string fileName_;
    int timeFormat_ = kMciFormatMilliseconds;
    unsigned updateInterval_ = 0;
    std::unique_ptr<MciPeer> device_;  // set while a device is open
    Timer status_;
};

}  // namespace kit
