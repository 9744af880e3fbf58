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
// Never destroyed: what is left at the process's end goes with it.
std::vector<std::unique_ptr<Form>>& unloadedForms() {
    static auto* forms = new std::vector<std::unique_ptr<Form>>;
    return *forms;
}
int& eventDepth() {
    static int depth = 0;
    return depth;
}
}  // namespace

void RegisterFormSlot(std::function<void()> reset) { formSlots().push_back(std::move(reset)); }

void ResetAllForms() {
    for (auto& reset : formSlots()) reset();
    unloadedForms().clear();
}

EventScope::EventScope(bool ends) : ends_(ends) { ++eventDepth(); }

EventScope::~EventScope() {
    if (--eventDepth() > 0 || !ends_) return;
    // A destructor may unload another form: take the list out first.
    while (!unloadedForms().empty()) {
        std::vector<std::unique_ptr<Form>> gone;
        gone.swap(unloadedForms());
        gone.clear();
    }
}

void ReleaseUnloadedForm(std::unique_ptr<Form> form) { unloadedForms().push_back(std::move(form)); }

std::size_t UnloadedFormCount() { return unloadedForms().size(); }

}  // namespace kit
