#include "kit/component.h"

#include <algorithm>

#include "kit/backend.h"
#include "kit/convert.h"
#include "kit/form.h"

namespace kit {

Component::Component(Form* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
    if (owner_) {
        auto& v = owner_->components_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
}

namespace {
int Twips(bool horizontal) {
    int t = horizontal ? backend().twipsPerPixelX() : backend().twipsPerPixelY();
    return t > 0 ? t : 15;
}
int ToPixels(double value, int scaleMode, bool horizontal) {
    if (scaleMode == kScalePixels) return static_cast<int>(RoundHalfEven(value));
    return static_cast<int>(RoundHalfEven(value / Twips(horizontal)));
}
int FromPixels(int pixels, int scaleMode, bool horizontal) {
    return scaleMode == kScalePixels ? pixels : pixels * Twips(horizontal);
}
}  // namespace

int ToPixelsX(double value, int scaleMode) { return ToPixels(value, scaleMode, true); }
int ToPixelsY(double value, int scaleMode) { return ToPixels(value, scaleMode, false); }
int FromPixelsX(int pixels, int scaleMode) { return FromPixels(pixels, scaleMode, true); }
int FromPixelsY(int pixels, int scaleMode) { return FromPixels(pixels, scaleMode, false); }

}  // namespace kit
