// System sounds that are only recorded.
#pragma once
#include <vector>

#include "platform/sound.h"

namespace platform::headless {

class RecordingSound : public Sound {
public:
    bool messageBeep(std::uint32_t type) override {
        beeps_.push_back(type);
        return true;
    }
    const std::vector<std::uint32_t>& beeps() const { return beeps_; }
    void reset() { beeps_.clear(); }

private:
    std::vector<std::uint32_t> beeps_;
};

}  // namespace platform::headless
