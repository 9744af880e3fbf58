// Headless command buttons: a press takes the focus; a left click or the space bar clicks.
#include "kit/button.h"
#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"

namespace kit::headless {
namespace {

class HeadlessButtonPeer : public HeadlessPeer<ButtonPeer> {
public:
    HeadlessButtonPeer(Handle parent, WindowSink* sink) : HeadlessPeer<ButtonPeer>(parent, sink, "button") {}
    bool takesFocus() const override { return true; }
    void nativeClick(int button, int, int) override {
        if (button == kLeftButton && sink()) sink()->onClick();
    }
    void nativeKey(int keyCode, int shift) override {
        if (keyCode == kKeySpace && sink()) sink()->onClick();
    }
    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, 0x000000);
        FillBox(dc, 1, 1, w - 1, h - 1, back);
        DrawLines(dc, CaptionLines(text, true), 0, (h - 13) / 2, w, 2, enabled ? fore : 0x808080,
                  font.underline);
    }
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<ButtonPeer> NewButtonPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<headless::HeadlessButtonPeer>(parent, sink);
}
}  // namespace kit
