// Tab strips: a row of tabs over a display area in which the program shows one page (a picture
// box placed in the strip) per tab. Choosing a tab, by the user or by the program, raises Click.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "kit/control.h"

namespace kit {

class TabStripEvents {
public:
    virtual ~TabStripEvents() = default;
    // The user chose a tab (0-based).
    virtual void onTabChosen(int index) {}
};

class TabStripPeer : public ControlPeer {
public:
    virtual void addTab(const std::string& caption) = 0;
    // Raises nothing.
    virtual void selectTab(int index) = 0;
    // The display area below the tabs, in the strip's client pixels.
    virtual void displayArea(int& x, int& y, int& width, int& height) const = 0;
};
std::unique_ptr<TabStripPeer> NewTabStripPeer(Handle parent, WindowSink* sink, TabStripEvents* events);

class TabStrip : public Control, public Container, public TabStripEvents {
public:
    explicit TabStrip(Container* parent);

    void AddTab(const std::string& caption);
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    const std::string& TabCaption(int index) const { return tabs_.at(index); }
    // The chosen tab (0-based) and its caption.
    int Tab() const { return current_; }
    void setTab(int index);
    const std::string& Caption() const { return tabs_.at(current_); }

    // The display area in the container's scale (where pages go).
    int ClientLeft() const;
    int ClientTop() const;
    int ClientWidth() const;
    int ClientHeight() const;

    bool canFocus() const override { return true; }
    // Alt with a letter of any tab's caption chooses that tab.
    bool hasAccessKey(char letter) const override;
    using Control::accessKeyPressed;
    void accessKeyPressed(char letter) override;

    // Container: pages are placed in the strip's own window, in the same scale as the strip.
    Form* hostForm() override { return owner(); }
    Handle containerWindow() override;
    int childScaleMode() const override;
    Color containerBackColor() const override { return back_; }
    Control* asControl() override { return this; }

    void onTabChosen(int index) override;

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    TabStripPeer* tabPeer() const { return static_cast<TabStripPeer*>(peer()); }
    void area(int& x, int& y, int& w, int& h) const;
    std::vector<std::string> tabs_;
    int current_ = 0;
};

}  // namespace kit
