// Status bars: a strip along the bottom of its container with panels numbered from 1, each
// with a text; panels of width -1 share what the others leave, and the last reaches the end.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"

namespace kit {

class StatusBarPeer : public ControlPeer {
public:
    // Right edges of the panels in pixels; -1 reaches the bar's end.
    virtual void setPanels(const std::vector<int>& rightEdges) = 0;
    virtual void setPanelText(int index, const std::string& text) = 0;  // from 0
};
std::unique_ptr<StatusBarPeer> NewStatusBarPeer(Handle parent, WindowSink* sink);

class StatusBar : public Control {
public:
    // The bar's height in pixels.
    static constexpr int kHeightPx = 20;

    // Starts with one panel that fills the bar.
    explicit StatusBar(Container* parent);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    // Adds a panel of this width in the container's scale (-1: the rest) and returns its number.
    int AddPanel(double width = -1);
    const std::string& PanelText(int number) const;
    void setPanelText(int number, const std::string& text);
    // Lies along the bottom of its container (the program calls it when the container
    // changes size; forms do it for their own status bars).
    void alignBottom();

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;
    void boundsChanged() override { showPanels(); }

private:
    struct Panel {
        std::string text;
        int widthPx = -1;
    };
    void showPanels();
    std::vector<Panel> panels_;
};

}  // namespace kit
