// The multimedia control's device on MCI command strings. Each device has an alias of its own;
// the end of a file is found by polling the mode, which works for every device type (the
// mpegvideo device under Wine reports a "wait" play as finished early).
#include <cstdlib>
#include <string>

#include "kit/mmcontrol.h"
#include "kit/win32/system_dlls.h"

namespace kit::win32 {
namespace {

class Win32MciPeer : public MciPeer {
public:
    Win32MciPeer() : alias_("tivlo_media_" + std::to_string(++lastAlias)) {}
    ~Win32MciPeer() override { Win32MciPeer::close(); }

    int open(const std::string& file) override {
        close();
        // No device type: MCI picks it by the file's extension, as the control does.
        const std::string command = "open \"" + file + "\" alias " + alias_;
        const int error = send(command);
        open_ = error == 0;
        return error;
    }
    int setTimeFormat(int format) override {
        if (format != kMciFormatMilliseconds) return MCIERR_BAD_TIME_FORMAT;
        return send("set " + alias_ + " time format milliseconds");
    }
    int play() override { return send("play " + alias_); }
    void close() override {
        if (!open_) return;
        send("close " + alias_);
        open_ = false;
    }
    int mode() override {
        if (!open_) return kMciModeNotOpen;
        std::string answer;
        if (send("status " + alias_ + " mode", &answer) != 0) return kMciModeNotOpen;
        if (answer == "playing") return kMciModePlay;
        if (answer == "paused") return kMciModePause;
        if (answer == "seeking") return kMciModeSeek;
        if (answer == "recording") return kMciModeRecord;
        if (answer == "open") return kMciModeReady;
        if (answer == "not ready") return kMciModeNotOpen;  // the same number in MCI
        return kMciModeStop;
    }
    long length() override {
        std::string answer;
        if (!open_ || send("status " + alias_ + " length", &answer) != 0) return 0;
        return std::strtol(answer.c_str(), nullptr, 10);
    }
    std::string errorText(int error) override {
        char text[MAXERRORLENGTH] = {};
        const MultimediaApi* mm = Multimedia();
        if (!mm || !mm->mciGetErrorStringA(static_cast<MCIERROR>(error), text, sizeof text))
            return "multimedia device error " + std::to_string(error);
        return text;
    }

private:
    static int send(const std::string& command, std::string* answer = nullptr) {
        char buffer[128] = {};
        const MultimediaApi* mm = Multimedia();
        if (!mm) return MCIERR_DEVICE_NOT_INSTALLED;
        const MCIERROR error = mm->mciSendStringA(command.c_str(), buffer, sizeof buffer, nullptr);
        if (answer) *answer = buffer;
        return static_cast<int>(error);
    }

    static inline unsigned lastAlias = 0;
    std::string alias_;
    bool open_ = false;
};

}  // namespace
}  // namespace kit::win32

namespace kit {
std::unique_ptr<MciPeer> NewMciPeer() { return std::make_unique<win32::Win32MciPeer>(); }
}  // namespace kit
