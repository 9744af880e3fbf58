#include "kit/controls.h"

namespace kit {

int MsgBox(const std::string& text, int flags, const std::string& caption) {
    return backend().msgBox(0, text, caption.empty() ? backend().appTitle() : caption, flags);
}

int MessageBox(Handle owner, const std::string& text, const std::string& caption, int flags) {
    return backend().msgBox(owner, text, caption, flags);
}

// ---- Form slots ----

namespace {
std::vector<std::function<void()>>& formSlots() {
    static std::vector<std::function<void()>> slots;
    return slots;
}
}  // namespace

void RegisterFormSlot(std::function<void()> reset) { formSlots().push_back(std::move(reset)); }

void ResetAllForms() {
    for (auto& reset : formSlots()) reset();
}

}  // namespace kit
