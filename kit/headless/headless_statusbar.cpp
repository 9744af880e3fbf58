// Headless status bars: panels along the bar, each with its text.
#include <vector>

#include "kit/headless/headless_text.h"
#include "kit/headless/headless_window.h"
#include "kit/statusbar.h"

namespace kit::headless {
namespace {

class HeadlessStatusBarPeer : public HeadlessPeer<StatusBarPeer> {
public:
    HeadlessStatusBarPeer(Handle parent, WindowSink* sink) : HeadlessPeer<StatusBarPeer>(parent, sink, "statusbar") {}
    void setPanels(const std::vector<int>& edges) override {
        edges_ = edges;
        texts_.resize(edges.size());
    }
    void setPanelText(int index, const std::string& t) override {
        if (index >= 0 && index < static_cast<int>(texts_.size())) texts_[index] = t;
    }
    void paint(Handle dc) override {
        const int w = clientWidth(), h = clientHeight();
        FillBox(dc, 0, 0, w, h, 0xC8D0D4);
        int left = 0;
        for (std::size_t i = 0; i < edges_.size(); ++i) {
            const int right = edges_[i] < 0 ? w : edges_[i];
            FillBox(dc, left, 2, right - 2, 3, 0x808080);
            DrawLines(dc, {texts_[i]}, left + 2, (h - 13) / 2, right - left - 4, 0, 0x000000, false);
            left = right;
        }
    }

private:
    std::vector<int> edges_;
    std::vector<std::string> texts_;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<StatusBarPeer> NewStatusBarPeer(Handle parent, WindowSink* sink) {
    return std::make_unique<headless::HeadlessStatusBarPeer>(parent, sink);
}
}  // namespace kit
