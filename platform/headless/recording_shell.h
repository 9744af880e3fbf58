// Shell that records what it was asked to open.
#pragma once
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

    const std::vector<Call>& calls() const { return calls_; }
    void setResult(std::intptr_t r) { result_ = r; }
    void reset() {
        calls_.clear();
        result_ = 42;
    }

private:
    std::vector<Call> calls_;
    std::intptr_t result_ = 42;
};

}  // namespace platform::headless
