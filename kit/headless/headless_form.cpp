// Headless forms: a top-level window with frame metrics of the classic Windows look
// (caption 18 pixels, fixed frames 3, sizing frames 4), a window state and the close box.
#include "kit/form.h"
#include "kit/headless/headless_backend.h"
#include "kit/headless/headless_window.h"

namespace kit::headless {
namespace {

constexpr int kCaption = 18, kFixedFrame = 3, kSizingFrame = 4, kMenuBar = 19;

class HeadlessFormPeer : public HeadlessPeer<FormPeer> {
public:
    HeadlessFormPeer(WindowSink* sink, int borderStyle)
        : HeadlessPeer<FormPeer>(0, sink, "form"), style_(borderStyle) {
        visible = false;
        width = 320;
        height = 240;
    }
    void setBounds(int nx, int ny, int w, int h) override {
        int cw, ch;
        clientSize(cw, ch);
        setBoundsAndNotify(nx, ny, w, h);
        int cw2, ch2;
        clientSize(cw2, ch2);
        if ((cw != cw2 || ch != ch2) && sink()) sink()->onResized();
    }
    void clientSize(int& w, int& h) const override {
        if (state_ == kStateMinimized) {
            w = h = 0;
            return;
        }
        int dx, dy;
        frameSize(dx, dy);
        w = width - dx > 0 ? width - dx : 0;
        h = height - dy > 0 ? height - dy : 0;
    }
    void windowRect(int& wx, int& wy, int& w, int& h) const override {
        wx = x;
        wy = y;
        w = width;
        h = height;
    }
    void activate() override {
        Bound().setActiveForm(handle());
        HeadlessBackend& b = Bound();
        // Focus inside this form stays; otherwise the form takes it and hands it on.
        for (Handle f = b.focused(); f; f = b.hasWindow(f) ? b.windowParent(f) : 0)
            if (f == handle()) return;
        b.setFocus(handle());
    }
    int windowState() const override { return state_; }
    void setWindowState(int s) override {
        if (s == state_) return;
        state_ = s;
        if (sink()) sink()->onResized();
    }
    void frameSize(int& dx, int& dy) const override {
        switch (style_) {
        case kBorderNone: dx = dy = 0; break;
        case kBorderSizable: dx = 2 * kSizingFrame; dy = 2 * kSizingFrame + kCaption; break;
        default: dx = 2 * kFixedFrame; dy = 2 * kFixedFrame + kCaption; break;
        }
        if (!menus.empty()) dy += kMenuBar;
    }
    void setMenuBar(const std::vector<MenuItem*>& m) override { menus = m; }
    bool paintsThroughSink() const override { return true; }
    void setTopmost() override { topmost = true; }
    void dragWindow() override {
        ++drags;
        Bound().loseCapture();  // the system's drag has the mouse now
    }

private:
    int style_;
    int state_ = kStateNormal;
};

}  // namespace
}  // namespace kit::headless

namespace kit {
std::unique_ptr<FormPeer> NewFormPeer(WindowSink* sink, int borderStyle) {
    return std::make_unique<headless::HeadlessFormPeer>(sink, borderStyle);
}
}  // namespace kit
