// Headless scroll bars: the arrows are squares at the ends, the track between pages towards
// the click, the arrow keys step the bar while it has the focus, and HeadlessBackend::choose
// lets its thumb go at an offset from Min.
#include <algorithm>

#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/scrollbar.h"

namespace kit::headless {
namespace {

class HeadlessScrollBarPeer : public HeadlessPeer<ScrollBarPeer> {
public:
    HeadlessScrollBarPeer(Handle parent, ScrollBar* bar, bool vertical)
        : HeadlessPeer<ScrollBarPeer>(parent, bar, "scrollbar"), bar_(bar), vertical_(vertical) {}
    void setScroll(int span, int pos, int page) override {
        span_ = span;
        pos_ = pos;
    }
    bool takesFocus() const override { return true; }
    void nativeClick(int button, int x, int y) override {
        if (button != kLeftButton) return;
        const int along = vertical_ ? y : x, length = vertical_ ? clientHeight() : clientWidth();
        const int arrow = vertical_ ? clientWidth() : clientHeight();
        if (along < arrow)
            bar_->userScroll(kScrollLineTowardsMin);
        else if (along >= length - arrow)
            bar_->userScroll(kScrollLineTowardsMax);
        else
            bar_->userScroll(along < thumbCentre() ? kScrollPageTowardsMin : kScrollPageTowardsMax);
    }
    void nativeKey(int keyCode, int) override {
        if (keyCode == kKeyUp || keyCode == kKeyLeft) bar_->userScroll(kScrollLineTowardsMin);
        if (keyCode == kKeyDown || keyCode == kKeyRight) bar_->userScroll(kScrollLineTowardsMax);
    }
    void nativeChoose(int offset) override { bar_->userScroll(kScrollThumb, std::clamp(offset, 0, span_)); }
    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, 0xE0E0E0);
        const int c = thumbCentre(), t = vertical_ ? w : h;
        if (vertical_)
            FillBox(dc, 0, c - t / 2, w, c + t / 2, 0xC8D0D4);
        else
            FillBox(dc, c - t / 2, 0, c + t / 2, h, 0xC8D0D4);
    }

private:
    int thumbCentre() const {
        const int length = vertical_ ? clientHeight() : clientWidth();
        const int arrow = vertical_ ? clientWidth() : clientHeight();
        const int track = std::max(length - 3 * arrow, 0);
        return arrow + arrow / 2 + (span_ > 0 ? track * pos_ / span_ : 0);
    }
    ScrollBar* bar_;
    bool vertical_;
    int span_ = 0, pos_ = 0;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<ScrollBarPeer> NewScrollBarPeer(Handle parent, ScrollBar* bar, bool vertical) {
    return std::make_unique<headless::HeadlessScrollBarPeer>(parent, bar, vertical);
}
}  // namespace kit
