// Headless labels: the caption drawn by alignment over the background colour (or the
// container's, when transparent); a click of any button counts, as on the toolkit's labels.
#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/label.h"

namespace kit::headless {
namespace {

class HeadlessLabelPeer : public HeadlessPeer<LabelPeer> {
public:
    HeadlessLabelPeer(Handle parent, WindowSink* sink) : HeadlessPeer<LabelPeer>(parent, sink, "label") {}
    void setAlignment(int a) override { alignment = a; }
    void setBorder(bool on) override { border = on ? 2 : 0; }
    void setTransparent(bool on, Color under) override {
        transparent = on;
        underColor = under;
    }
    void setPointer(int shape) override { pointer = shape; }
    void paint(Handle dc) override {
        FillBox(dc, 0, 0, clientWidth(), clientHeight(), transparent ? underColor : back);
        DrawLines(dc, CaptionLines(text, true), 0, 0, clientWidth(), alignment, fore, font.underline);
    }

    int alignment = 0, pointer = 0;
    bool transparent = false;
    Color underColor = 0;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<LabelPeer> NewLabelPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<headless::HeadlessLabelPeer>(parent, sink);
}
}  // namespace kit
