// Headless tab strips: a row of tabs 20 pixels high, each as wide as its caption; a press on a
// tab chooses it, and so do the left and right arrow keys.
#include <algorithm>

#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/headless/press_first.h"
#include "kit/headless/raster_gdi.h"
#include "kit/tabstrip.h"

namespace kit::headless {
namespace {

constexpr int kTabRowPx = 20, kEdgePx = 2, kTabPaddingPx = 12;

class HeadlessTabStripPeer : private PressFirstHolder, public HeadlessPeer<TabStripPeer> {
public:
    HeadlessTabStripPeer(Handle parent, WindowSink* sink, TabStripEvents* events)
        : HeadlessPeer<TabStripPeer>(parent, &pressFirst, "tabstrip"), tabs_(events) {
        pressFirst.next = sink;
        pressFirst.press = [this](int button, int x, int y) {
            if (button == kLeftButton) pressAt(x, y);
        };
    }

    void addTab(const std::string& caption) override { captions_.push_back(caption); }
    void selectTab(int index) override { current_ = index; }
    void displayArea(int& x, int& y, int& w, int& h) const override {
        x = kEdgePx;
        y = kTabRowPx + kEdgePx;
        w = std::max(clientWidth() - 2 * kEdgePx, 0);
        h = std::max(clientHeight() - kTabRowPx - 2 * kEdgePx, 0);
    }

    bool takesFocus() const override { return true; }
    void nativeClick(int, int, int) override {}  // the press chose the tab; a release does nothing
    void nativeKey(int keyCode, int shift) override {
        const int n = static_cast<int>(captions_.size());
        int to = current_;
        if (keyCode == kKeyRight) to = std::min(current_ + 1, n - 1);
        if (keyCode == kKeyLeft) to = std::max(current_ - 1, 0);
        choose(to);
    }

    // Left edge of tab i in client pixels.
    int tabLeft(int i) const {
        int x = 0;
        for (int k = 0; k < i; ++k) x += tabWidth(k);
        return x;
    }
    int tabWidth(int i) const {
        return RasterGdi::textWidth(CaptionLines(captions_[i], true)[0]) + kTabPaddingPx;
    }

    void paint(Handle dc) override {
        FillBox(dc, 0, 0, clientWidth(), clientHeight(), back);
        FillBox(dc, 0, kTabRowPx, clientWidth(), kTabRowPx + 1, 0xFFFFFF);
        for (int i = 0; i < static_cast<int>(captions_.size()); ++i) {
            const int x = tabLeft(i), w = tabWidth(i);
            FillBox(dc, x, i == current_ ? 0 : 2, x + 1, kTabRowPx, 0xFFFFFF);
            FillBox(dc, x + w - 1, i == current_ ? 0 : 2, x + w, kTabRowPx, 0x808080);
            DrawLines(dc, CaptionLines(captions_[i], true), x, 4, w, 2, fore, false);
        }
    }

    // A press at x on the tab row chooses the tab there.
    void pressAt(int x, int y) {
        if (y >= kTabRowPx) return;
        for (int i = 0; i < static_cast<int>(captions_.size()); ++i)
            if (x >= tabLeft(i) && x < tabLeft(i) + tabWidth(i)) choose(i);
    }

private:
    void choose(int index) {
        if (index == current_ || index < 0) return;
        current_ = index;
        tabs_->onTabChosen(index);
    }

    TabStripEvents* tabs_;
    std::vector<std::string> captions_;
    int current_ = 0;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<TabStripPeer> NewTabStripPeer(Handle parent, WindowSink* sink, TabStripEvents* events) {
    return std::make_unique<headless::HeadlessTabStripPeer>(parent, sink, events);
}
}  // namespace kit
