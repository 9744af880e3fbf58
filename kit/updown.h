// Up-down controls: a pair of arrows stepping a value between Min and Max by Increment. A
// change of Value, by the arrows or the program, raises Change; it is bound to no box.
#pragma once
#include <memory>

#include "kit/control.h"

namespace kit {

class UpDown;

class UpDownPeer : public ControlPeer {
public:
    virtual void setRange(int min, int max) = 0;
    virtual void setPosition(int value) = 0;
};
// The peer reports an arrow press through UpDown::userStep (+1 up, -1 down).
std::unique_ptr<UpDownPeer> NewUpDownPeer(Handle parent, UpDown* control);

class UpDown : public Control {
public:
    explicit UpDown(Container* parent);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Increment() const { return increment_; }
    int Value() const { return value_; }
    void setMin(int v);
    void setMax(int v);
    void setIncrement(int v) { increment_ = v < 1 ? 1 : v; }
    // Kept between Min and Max.
    void setValue(int v);

    std::function<void()> Change;

    // For the peers: an arrow was pressed.
    void userStep(int direction);

protected:
    std::unique_ptr<ControlPeer> makePeer(Handle parentWindow) override;
    void applyState() override;

private:
    UpDownPeer* udPeer() const { return static_cast<UpDownPeer*>(peer()); }
    int clamp(int v) const;
    int min_ = 0, max_ = 10, increment_ = 1, value_ = 0;
};

}  // namespace kit
