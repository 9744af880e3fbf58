// The network through WinINet.
#pragma once
#include "platform/network.h"

namespace platform::win32 {

class Win32Network : public Network {
public:
    bool getConnectedState(std::uint32_t& flags) override;
};

}  // namespace platform::win32
