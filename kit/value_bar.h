// A scroll bar's value without a window: Min 0, Max and Value within the 16-bit
// range, and Change on every change of Value. For offsets the program sets
// itself and that must never take the keyboard focus.
#pragma once
#include <functional>

namespace kit {

class ValueBar {
public:
    int Max() const { return max_; }
    int Value() const { return value_; }
    // Outside 0..32767 raises RuntimeError kErrInvalidPropertyValue. A Value
    // above the new Max comes down to it, raising Change.
    void setMax(int v);
    // Outside 0..Max raises RuntimeError kErrInvalidPropertyValue.
    void setValue(int v);

    std::function<void()> Change;

private:
    int max_ = 32767, value_ = 0;
};

}  // namespace kit
