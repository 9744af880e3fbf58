// The network as the program sees it: whether the computer is online.
#pragma once
#include <cstdint>

namespace platform {

class Network {
public:
    virtual ~Network() = default;
    // InternetGetConnectedState: true when a connection is up; flags describe it.
    virtual bool getConnectedState(std::uint32_t& flags) = 0;
};

}  // namespace platform
