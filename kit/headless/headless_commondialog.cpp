#include "kit/headless/headless_commondialog.h"

#include <cassert>

namespace kit::headless {

namespace {
HeadlessFileDialogs* g_dialogs = nullptr;
}

HeadlessFileDialogs& fileDialogs() {
    assert(g_dialogs && "no headless file dialogs bound");
    return *g_dialogs;
}

void setFileDialogs(HeadlessFileDialogs* d) { g_dialogs = d; }

std::optional<std::string> HeadlessFileDialogs::show(const OpenFileRequest& request) {
    requests_.push_back(request);
    if (whileOpen) whileOpen();
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> a = std::move(answers_.front());
    answers_.pop_front();
    return a;
}

}  // namespace kit::headless

namespace kit {
std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request) {
    return headless::fileDialogs().show(request);
}
}  // namespace kit
