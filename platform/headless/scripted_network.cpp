#include "platform/headless/scripted_network.h"

namespace platform::headless {

bool ScriptedNetwork::getConnectedState(std::uint32_t& flags) {
    ++probeCount_;
    bool online = online_;
    if (!probes_.empty()) {
        online = probes_.front();
        probes_.pop_front();
    }
    flags = online ? kConnectionLan : 0;
    return online;
}

void ScriptedNetwork::reset() {
    online_ = true;
    probes_.clear();
    probeCount_ = 0;
}

}  // namespace platform::headless
