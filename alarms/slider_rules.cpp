#include "alarms/slider_rules.h"

#include <algorithm>
#include <cmath>

#include "kit/convert.h"

namespace slider {

std::optional<double> ThumbLeft(int controlWidth, int sliderWidth, Range r, std::int32_t value) {
    if (r.max == r.min) return std::nullopt;
    const float step = static_cast<float>(double(controlWidth - sliderWidth) /
                                          (double(r.max) - double(r.min)));
    return double(step) * (double(value) - double(r.min));
}

Placed PlaceAt(double pointerX, int controlWidth, int sliderWidth, int thumbWidth, Range r) {
    const double x = pointerX - sliderWidth / 2.0;
    // Whole steps, the quotient cut toward zero.
    const double rounded = kit::RoundHalfEven(x);
    long long left = static_cast<long long>(std::trunc(rounded / kTwipsPerStep)) * kTwipsPerStep;
    const int lastLeft = controlWidth - sliderWidth;
    if (left < 0) left = 0;
    else if (left > lastLeft) left = lastLeft;
    Placed p;
    p.left = static_cast<int>(left);
    // A single-value range has nothing to divide by: the press gives that value.
    if (r.max == r.min) {
        p.value = r.min;
        return p;
    }
    const float step = static_cast<float>(double(controlWidth - thumbWidth) /
                                          (double(r.max) - double(r.min)));
    double v = kit::RoundHalfEven(double(p.left) / double(step) + double(r.min));
    // A track no wider than the thumb stands for the minimum.
    if (!std::isfinite(v)) v = r.min;
    // Float steps can land a hair outside the range at either end.
    v = std::clamp(v, double(r.min), double(r.max));
    p.value = static_cast<std::int32_t>(v);
    return p;
}

}  // namespace slider
