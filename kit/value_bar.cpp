#include "kit/value_bar.h"

#include "kit/runtime.h"

namespace kit {

namespace {
constexpr int kTop = 32767;
}

void ValueBar::setMax(int v) {
    if (v < 0 || v > kTop) throw RuntimeError(kErrInvalidPropertyValue);
    max_ = v;
    if (value_ > max_) setValue(max_);
}

void ValueBar::setValue(int v) {
    if (v < 0 || v > max_) throw RuntimeError(kErrInvalidPropertyValue);
    if (v == value_) return;
    value_ = v;
    if (Change) Change();
}

}  // namespace kit
