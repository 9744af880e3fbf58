// Indexed arrays of controls of one kind sharing handlers: the designed elements exist with the
// form, others are loaded and unloaded at run time. The common events arrive with the index;
// a binder wires anything else an element raises.
#pragma once
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "kit/control.h"
#include "kit/form.h"

namespace kit {

template <class T>
class ControlArray {
public:
    using Factory = std::function<std::unique_ptr<T>(Container*)>;
    using Binder = std::function<void(int index, T& element)>;

    // Elements 0 to designed - 1 are made at once; bind (optional) runs for each new element.
    ControlArray(Container* parent, Factory make, int designed = 1, Binder bind = nullptr)
        : parent_(parent), make_(std::move(make)), bind_(std::move(bind)), designed_(designed) {
        for (int i = 0; i < designed; ++i) Load(i);
    }
    T& operator()(int i) { return *at(i); }
    const T& operator()(int i) const { return *at(i); }
    bool Exists(int i) const { return i >= 0 && i < int(items_.size()) && items_[i]; }
    int LBound() const { return 0; }
    int UBound() const { return int(items_.size()) - 1; }
    int Count() const {
        int n = 0;
        for (auto& p : items_) n += p != nullptr;
        return n;
    }
    // Loads a new element at run time (a copy of nothing: the factory makes it).
    void Load(int i);
    // Unloads an element loaded at run time; designed elements stay.
    void Unload(int i);

    std::function<void(int index)> Click;
    std::function<void(int index)> DblClick;
    std::function<void(int index)> GotFocus;
    std::function<void(int index)> LostFocus;
    std::function<void(int index, int button, int shift, int x, int y)> MouseDown;
    std::function<void(int index, int button, int shift, int x, int y)> MouseUp;
    std::function<void(int index, int button, int shift, int x, int y)> MouseMove;
    std::function<void(int index, int& keyCode, int shift)> KeyDown;
    std::function<void(int index, int& keyAscii)> KeyPress;

private:
    T* at(int i) const {
        if (!Exists(i)) throw std::out_of_range("control array element not loaded");
        return items_[i].get();
    }
    Container* parent_;
    Factory make_;
    Binder bind_;
    int designed_;
    std::vector<std::unique_ptr<T>> items_;
};

template <class T>
void ControlArray<T>::Load(int i) {
    if (i < 0) throw std::out_of_range("control array index");
    if (i >= int(items_.size())) items_.resize(i + 1);
    if (items_[i]) return;
    items_[i] = make_(parent_);
    T& e = *items_[i];
    e.Click = [this, i] { if (Click) Click(i); };
    e.DblClick = [this, i] { if (DblClick) DblClick(i); };
    e.GotFocus = [this, i] { if (GotFocus) GotFocus(i); };
    e.LostFocus = [this, i] { if (LostFocus) LostFocus(i); };
    e.MouseDown = [this, i](int b, int s, int x, int y) { if (MouseDown) MouseDown(i, b, s, x, y); };
    e.MouseUp = [this, i](int b, int s, int x, int y) { if (MouseUp) MouseUp(i, b, s, x, y); };
    e.MouseMove = [this, i](int b, int s, int x, int y) { if (MouseMove) MouseMove(i, b, s, x, y); };
    e.KeyDown = [this, i](int& k, int s) { if (KeyDown) KeyDown(i, k, s); };
    e.KeyPress = [this, i](int& k) { if (KeyPress) KeyPress(i, k); };
    if (bind_) bind_(i, e);
    Form* form = parent_ ? parent_->hostForm() : nullptr;
    if (form && form->loaded()) e.createPeer();
}

template <class T>
void ControlArray<T>::Unload(int i) {
    if (i < designed_ || !Exists(i)) return;
    items_[i].reset();
    while (!items_.empty() && !items_.back()) items_.pop_back();
}

}  // namespace kit
