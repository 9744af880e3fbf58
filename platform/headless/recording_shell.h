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

    // File operations: recorded as given; answered by the script, succeeding when it is empty.
    enum class FileOpAnswer { Succeed, Fail, Decline };
    int fileOperation(ShFileOpStruct& op) override {
        fileOps_.push_back(op);
        if (whileOperating) whileOperating();
        FileOpAnswer a = FileOpAnswer::Succeed;
        if (!fileOpAnswers_.empty()) {
            a = fileOpAnswers_.front();
            fileOpAnswers_.pop_front();
        }
        if (a == FileOpAnswer::Fail) return 0x402;  // what the shell reports for a bad path
        if (a == FileOpAnswer::Decline) {
            op.fAnyOperationsAborted = true;
            return 0;
        }
        if (op.wFunc == kFoDelete && trash) {
            // Each path of the list, up to the empty entry.
            for (std::size_t at = 0; at < op.pFrom.size();) {
                const std::size_t end = op.pFrom.find('\0', at);
                if (end == at || end == std::string::npos) break;
                if (!trash(op.pFrom.substr(at, end - at))) return 0x402;
                at = end + 1;
            }
        }
        return 0;
    }
    void queueFileOpAnswer(FileOpAnswer a) { fileOpAnswers_.push_back(a); }
    const std::vector<ShFileOpStruct>& fileOps() const { return fileOps_; }
    // Moves a deleted file to the recycle bin; false when it cannot.
    std::function<bool(const std::string& path)> trash;
    // Runs while the shell's confirmation is open, as the user would act meanwhile.
    std::function<void()> whileOperating;

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
        whileOperating = nullptr;
        fileOps_.clear();
        fileOpAnswers_.clear();
        result_ = 42;
    }

private:
    std::vector<Call> calls_;
    std::vector<BrowseCall> browseCalls_;
    std::deque<std::optional<std::string>> browseAnswers_;
    std::intptr_t result_ = 42;
    std::vector<ShFileOpStruct> fileOps_;
    std::deque<FileOpAnswer> fileOpAnswers_;
};

}  // namespace platform::headless
