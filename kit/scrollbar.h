// Scroll bars: a value between Min and Max (Min may be the larger: the arrow towards Min still
// moves towards it), stepped by the arrows and the track and set by the thumb. A change of
// Value, by the user or the program, raises Change.
#pragma once
#include <memory>

#include "kit/control.h"

namespace kit {

class ScrollBar;

// What the user did to the bar.
enum ScrollAction : int {
    kScrollLineTowardsMin,
    kScrollLineTowardsMax,
    kScrollPageTowardsMin,
    kScrollPageTowardsMax,
    kScrollThumb,  // the thumb was let go at an offset from Min
};

class ScrollBarPeer : public ControlPeer {
public:
    // Positions run from 0 (at Min) to span; the thumb stands at pos.
    virtual void setScroll(int span, int pos, int page) = 0;
};
// The peer reports the user's actions through ScrollBar::userScroll.
std::unique_ptr<ScrollBarPeer> NewScrollBarPeer(Handle parent, ScrollBar* bar, bool vertical);

class ScrollBar : public Control {
public:
    explicit ScrollBar(Container* parent, bool vertical = true);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    int SmallChange() const { return small_; }
    int LargeChange() const { return large_; }
    void setMin(int v);
    void setMax(int v);
    // Kept between Min and Max.
    void setValue(int v);
    void setSmallChange(int v) { small_ = v < 1 ? 1 : v; }
    void setLargeChange(int v) { large_ = v < 1 ? 1 : v; }
    bool vertical() const { return vertical_; }

    std::function<void()> Change;

    bool canFocus() const override { return true; }

    // For the peers: offset is the thumb's distance from Min for kScrollThumb.
    void userScroll(int action, int offset = 0);

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    void showValue();
    int clamp(int v) const;
    bool vertical_;
    int min_ = 0, max_ = 32767, value_ = 0, small_ = 1, large_ = 1;
};

}  // namespace kit
