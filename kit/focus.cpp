// The keyboard side of a form: the Tab sequence over its controls (a user control's own
// sequence in its place) and access keys. Both backends call it, so the order is the same.
#include <cctype>
#include <vector>

#include "kit/form.h"
#include "kit/usercontrol.h"

namespace kit {

namespace {

void Flatten(const TabScope& scope, std::vector<Control*>& out) {
    for (Control* c : scope.tabOrder) {
        if (auto* uc = dynamic_cast<UserControl*>(c)) {
            if (uc->usable()) Flatten(*uc, out);
            continue;
        }
        out.push_back(c);
    }
}

int IndexOf(const std::vector<Control*>& v, const Control* c) {
    for (std::size_t i = 0; i < v.size(); ++i)
        if (v[i] == c) return static_cast<int>(i);
    return -1;
}

}  // namespace

bool Form::moveFocus(bool backward) {
    std::vector<Control*> all;
    Flatten(*this, all);
    const int n = static_cast<int>(all.size());
    if (n == 0) return false;
    int at = IndexOf(all, active_);
    if (at < 0) at = backward ? 0 : n - 1;
    for (int step = 1; step <= n; ++step) {
        Control* c = all[((at + (backward ? -step : step)) % n + n) % n];
        if (c == active_ && step < n) continue;
        if (!c->inTabCycle() || !c->hWnd()) continue;
        c->SetFocus();
        return true;
    }
    return false;
}

bool Form::pressAccessKey(char letter) {
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    std::vector<Control*> all;
    Flatten(*this, all);
    const int n = static_cast<int>(all.size());
    const int at = IndexOf(all, active_);
    for (int step = 1; step <= n; ++step) {
        const int i = ((at + step) % n + n) % n;
        Control* c = all[i];
        if (!c->hasAccessKey(letter) || !c->usable() || !c->hWnd()) continue;
        if (c->canFocus()) {
            c->SetFocus();
            c->accessKeyPressed(letter);
            return true;
        }
        // A label or a frame hands the focus to the next control that takes it.
        for (int k = 1; k < n; ++k) {
            Control* next = all[(i + k) % n];
            if (next->inTabCycle() && next->hWnd()) {
                next->SetFocus();
                return true;
            }
        }
        return true;
    }
    return false;
}

bool Form::onNavigationKey(int keyCode, int shift) {
    if (keyCode == kKeyTab && !(shift & (kCtrlMask | kAltMask))) {
        moveFocus((shift & kShiftMask) != 0);
        return true;
    }
    const bool letter = (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9');
    if ((shift & kAltMask) && !(shift & kCtrlMask) && letter)
        return pressAccessKey(static_cast<char>(keyCode));
    return false;
}

}  // namespace kit
