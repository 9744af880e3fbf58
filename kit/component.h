// What a form holds: components with a native side made at load and released at unload,
// and containers that controls are placed in (forms, picture boxes, frames, user controls).
#pragma once
#include <vector>

#include "kit/font.h"
#include "kit/peer.h"

namespace kit {

class Form;
class Control;

// Anything a form holds that has a native side: created at load, released at unload.
class Component {
public:
    explicit Component(Form* owner);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    Form* owner() const { return owner_; }
    virtual void createPeer() {}
    virtual void destroyPeer() {}

private:
    Form* owner_;
};

// The unit of Left, Top, Width and Height of the controls a container holds.
enum ScaleMode : int { kScaleTwips = 1, kScalePixels = 3 };

// Something controls are placed in.
class Container {
public:
    virtual ~Container() = default;
    // The form whose load and unload create and release what this container holds.
    virtual Form* hostForm() = 0;
    // The native window children are made in; created on demand.
    virtual Handle containerWindow() = 0;
    // The unit of the children's geometry.
    virtual int childScaleMode() const = 0;
    // The colour of the container's background, for transparent children.
    virtual Color containerBackColor() const = 0;
    // The control this container is; null for a form.
    virtual Control* asControl() { return nullptr; }
    // The controls placed here, in the order they were made.
    const std::vector<Control*>& children() const { return children_; }

private:
    friend class Control;
    std::vector<Control*> children_;
};

// Converts between a scale and pixels; halves go to the even pixel.
int ToPixelsX(double value, int scaleMode);
int ToPixelsY(double value, int scaleMode);
int FromPixelsX(int pixels, int scaleMode);
int FromPixelsY(int pixels, int scaleMode);

}  // namespace kit
