#include "kit/runtime.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "kit/backend.h"

namespace kit {

namespace {
std::vector<std::pair<std::string, std::function<void()>>>& EndActions() {
    static std::vector<std::pair<std::string, std::function<void()>>> actions;
    return actions;
}
}  // namespace

void AtProcessEnd(const std::string& key, std::function<void()> action) {
    CancelAtProcessEnd(key);
    EndActions().emplace_back(key, std::move(action));
}

void CancelAtProcessEnd(const std::string& key) {
    auto& actions = EndActions();
    for (auto it = actions.begin(); it != actions.end(); ++it) {
        if (it->first == key) {
            actions.erase(it);
            return;
        }
    }
}

void RunProcessEndActions() {
    auto& actions = EndActions();
    while (!actions.empty()) {
        // Taken off first, so an action that ends the process itself is not run again.
        auto action = std::move(actions.back().second);
        actions.pop_back();
        try {
            if (action) action();
        } catch (...) {
        }
    }
}

void ClearProcessEndActions() { EndActions().clear(); }

void EndAfterUnhandledError(const std::string& text) {
    // First, so that a box nobody answers cannot keep the machine in the program's state.
    RunProcessEndActions();
    backend().msgBox(0, text, backend().appTitle(), kMbOk | kMbIconError);
    backend().endProcess(1);
    std::abort();  // endProcess never returns
}

}  // namespace kit
