#include "kit/statusbar.h"

#include <algorithm>

#include "kit/form.h"
#include "kit/runtime.h"

namespace kit {

StatusBar::StatusBar(Container* parent) : Control(parent), panels_(1) {
    tabStop_ = false;
    h_ = kHeightPx;
}

int StatusBar::AddPanel(double width) {
    Panel p;
    p.widthPx = width < 0 ? -1 : ToPixelsX(width, container_ ? container_->childScaleMode() : kScaleTwips);
    panels_.push_back(p);
    showPanels();
    return PanelCount();
}

const std::string& StatusBar::PanelText(int number) const {
    if (number < 1 || number > PanelCount()) throw RuntimeError(kErrSubscript, "Index out of bounds");
    return panels_[number - 1].text;
}

void StatusBar::setPanelText(int number, const std::string& text) {
    if (number < 1 || number > PanelCount()) throw RuntimeError(kErrSubscript, "Index out of bounds");
    panels_[number - 1].text = text;
    if (peer()) static_cast<StatusBarPeer*>(peer())->setPanelText(number - 1, text);
}

void StatusBar::showPanels() {
    if (!peer()) return;
    // Panels of width -1 share what the others leave.
    int fixed = 0, springs = 0;
    for (const Panel& p : panels_) {
        if (p.widthPx < 0)
            ++springs;
        else
            fixed += p.widthPx;
    }
    const int share = springs ? std::max(w_ - fixed, 0) / springs : 0;
    std::vector<int> edges;
    int right = 0;
    for (const Panel& p : panels_) {
        right += p.widthPx < 0 ? share : p.widthPx;
        edges.push_back(right);
    }
    edges.back() = -1;  // the last reaches the bar's end
    auto* sp = static_cast<StatusBarPeer*>(peer());
    sp->setPanels(edges);
    for (int i = 0; i < PanelCount(); ++i) sp->setPanelText(i, panels_[i].text);
}

void StatusBar::alignBottom() {
    int w = 0, h = 0;
    if (Form* f = container_ ? dynamic_cast<Form*>(container_) : nullptr) {
        f->clientSizePx(w, h);
    } else if (Control* c = container_ ? container_->asControl() : nullptr) {
        w = c->widthPx();
        h = c->heightPx();
    }
    if (w <= 0 || h <= 0) return;  // minimised: keep the last place
    movePx(0, h - kHeightPx, w, kHeightPx);
}

std::unique_ptr<ControlPeer> StatusBar::makePeer(Handle parentWindow) { return NewStatusBarPeer(parentWindow, this); }

void StatusBar::applyState() {
    alignBottom();
    Control::applyState();
    showPanels();
}

}  // namespace kit
