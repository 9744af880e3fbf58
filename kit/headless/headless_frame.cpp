// Headless frames: a group box that holds children; its caption sits on the top edge.
#include "kit/frame.h"
#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/headless/raster_gdi.h"

namespace kit::headless {
namespace {

class HeadlessFramePeer : public HeadlessPeer<FramePeer> {
public:
    HeadlessFramePeer(Handle parent, WindowSink* sink) : HeadlessPeer<FramePeer>(parent, sink, "frame") {}
    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, back);
        // The etched edge, from the middle of the caption's line down.
        FillBox(dc, 0, 6, w, 7, 0x808080);
        FillBox(dc, 0, 6, 1, h, 0x808080);
        FillBox(dc, w - 1, 6, w, h, 0x808080);
        FillBox(dc, 0, h - 1, w, h, 0x808080);
        auto lines = CaptionLines(text, true);
        if (!lines[0].empty()) {
            FillBox(dc, 6, 0, 10 + RasterGdi::textWidth(lines[0]), 13, back);
            DrawLines(dc, {lines[0]}, 8, 0, w, 0, enabled ? fore : 0x808080, false);
        }
    }
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<FramePeer> NewFramePeer(Handle parent, WindowSink* sink) {
    return std::make_unique<headless::HeadlessFramePeer>(parent, sink);
}
}  // namespace kit
