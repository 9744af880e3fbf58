// A value whose change raises an event: the rule every control's values follow.
#pragma once
#include <functional>
#include <utility>

namespace kit {

// Setting the value it already has raises nothing, so a program's own change is handled
// exactly like the user's.
template <class T>
class Prop {
public:
    Prop() = default;
    explicit Prop(T initial) : value_(std::move(initial)) {}
    const T& get() const { return value_; }
    operator const T&() const { return value_; }
    void set(const T& v) {
        if (v == value_) return;
        value_ = v;
        if (changed) changed();
    }
    Prop& operator=(const T& v) {
        set(v);
        return *this;
    }
    // Stores a value without raising the event (a control echoing what it already raised).
    void assignQuietly(const T& v) { value_ = v; }
    std::function<void()> changed;

private:
    T value_{};
};

}  // namespace kit
