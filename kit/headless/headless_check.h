// What headless check boxes and option buttons share: a press takes the focus; a left click or
// the space bar reports the click, and the control decides what it means.
#pragma once
#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"

namespace kit::headless {

template <class Interface>
class HeadlessCheckPeer : public HeadlessPeer<Interface> {
public:
    HeadlessCheckPeer(Handle parent, WindowSink* sink, const char* kind)
        : HeadlessPeer<Interface>(parent, sink, kind) {}
    bool takesFocus() const override { return true; }
    void nativeClick(int button, int, int) override {
        if (button == kLeftButton && this->sink()) this->sink()->onClick();
    }
    void nativeKey(int keyCode, int) override {
        if (keyCode == kKeySpace && this->sink()) this->sink()->onClick();
    }
    void paint(Handle dc) override {
        const int h = this->clientHeight(), top = (h - 13) / 2;
        FillBox(dc, 0, 0, this->clientWidth(), h, this->back);
        FillBox(dc, 0, top, 13, top + 13, 0x808080);
        FillBox(dc, 1, top + 1, 12, top + 12, 0xFFFFFF);
        if (check_ == 1) FillBox(dc, 3, top + 3, 10, top + 10, 0x000000);
        if (check_ == 2) FillBox(dc, 3, top + 3, 10, top + 10, 0x808080);
        DrawLines(dc, CaptionLines(this->text, true), 17, (h - 13) / 2, this->clientWidth() - 17, 0,
                  this->enabled ? this->fore : 0x808080, this->font.underline);
    }
    int check_ = 0;
};

}  // namespace kit::headless
