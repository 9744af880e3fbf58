// Headless up-downs: a click in the upper half steps up, in the lower half down.
#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/updown.h"

namespace kit::headless {
namespace {

class HeadlessUpDownPeer : public HeadlessPeer<UpDownPeer> {
public:
    HeadlessUpDownPeer(Handle parent, UpDown* control) : HeadlessPeer<UpDownPeer>(parent, control, "updown"), ud_(control) {}
    void setRange(int min, int max) override {
        min_ = min;
        max_ = max;
    }
    void setPosition(int value) override { pos_ = value; }
    void nativeClick(int button, int, int y) override {
        if (button == kLeftButton) ud_->userStep(y < clientHeight() / 2 ? 1 : -1);
    }
    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, 0xC8D0D4);
        FillBox(dc, 0, h / 2, w, h / 2 + 1, 0x808080);
    }
    int min_ = 0, max_ = 0, pos_ = 0;

private:
    UpDown* ud_;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<UpDownPeer> NewUpDownPeer(Handle parent, UpDown* control) {
    return std::make_unique<headless::HeadlessUpDownPeer>(parent, control);
}
}  // namespace kit
