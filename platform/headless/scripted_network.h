// Network stand-in: the connection probe answers from a script, one answer per call.
#pragma once
#include <deque>

#include "platform/network.h"

namespace platform::headless {

class ScriptedNetwork : public Network {
public:
    static constexpr std::uint32_t kConnectionLan = 0x02;

    ScriptedNetwork() { reset(); }

    // Scripted answers are used first, one per call; then the standing answer.
    bool getConnectedState(std::uint32_t& flags) override;

    void setOnline(bool online) { online_ = online; }
    void queueProbeAnswers(std::size_t count, bool online) { probes_.insert(probes_.end(), count, online); }
    int probeCount() const { return probeCount_; }

    void reset();

private:
    bool online_ = true;
    std::deque<bool> probes_;
    int probeCount_ = 0;
};

}  // namespace platform::headless
