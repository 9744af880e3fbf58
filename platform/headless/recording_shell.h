// Shell that records what it was asked to open, and a folder dialog answered from a script.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform::headless {

class RecordingShell : public Shell {
public:
    struct Call {
        kit::Handle owner;
        std::string verb, file, parameters, directory;
        int show;
    };

    std::intptr_t execute(kit::Handle owner, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& directory,
                          int show) override {
        calls_.push_back(Call{owner, verb, file, parameters, directory, show});
        return result_;
    }

    struct BrowseCall {
        kit::Handle owner;
        std::string title;
        unsigned flags;
        std::string startFolder;
    };

    // The next folder dialog's answer: a path, or nullopt for Cancel. Unscripted dialogs are
    // cancelled. A scripted function runs while the dialog is open, as the user would act.
    std::string browseForFolder(kit::Handle owner, const std::string& title, unsigned flags,
                                const std::string& startFolder) override {
        browseCalls_.push_back(BrowseCall{owner, title, flags, startFolder});
        if (whileBrowsing) whileBrowsing();
        if (browseAnswers_.empty()) return {};
        std::optional<std::string> a = browseAnswers_.front();
        browseAnswers_.pop_front();
        return a.value_or("");
    }

    const std::vector<Call>& calls() const { return calls_; }
    const std::vector<BrowseCall>& browseCalls() const { return browseCalls_; }
    void queueBrowseAnswer(std::optional<std::string> answer) {
        browseAnswers_.push_back(std::move(answer));
    }
    std::function<void()> whileBrowsing;
    void setResult(std::intptr_t r) { result_ = r; }
    void reset() {
        calls_.clear();
        browseCalls_.clear();
        browseAnswers_.clear();
        whileBrowsing = nullptr;
        result_ = 42;
    }

private:
    std::vector<Call> calls_;
    std::vector<BrowseCall> browseCalls_;
    std::deque<std::optional<std::string>> browseAnswers_;
    std::intptr_t result_ = 42;
};

}  // namespace platform::headless
