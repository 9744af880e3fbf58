// The headless file-open dialog: answered from a script (a path, or a cancel), every request
// recorded.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kit/commondialog.h"

namespace kit::headless {

class HeadlessFileDialogs {
public:
    // The next dialog's answer; unscripted dialogs are cancelled.
    void queueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
    const std::vector<OpenFileRequest>& requests() const { return requests_; }
    // Runs while a dialog is open, as the user would act meanwhile.
    std::function<void()> whileOpen;
    void reset() {
        answers_.clear();
        requests_.clear();
        whileOpen = nullptr;
    }

    std::optional<std::string> show(const OpenFileRequest& request);

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<OpenFileRequest> requests_;
};

HeadlessFileDialogs& fileDialogs();
void setFileDialogs(HeadlessFileDialogs* d);

}  // namespace kit::headless
