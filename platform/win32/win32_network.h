// The network through WinINet (the probe) and Winsock (TCP connections whose events arrive as
// window messages, WSAAsyncSelect, with host names resolved by WSAAsyncGetHostByName).
#pragma once
#include "platform/network.h"

namespace platform::win32 {

class Win32Network : public Network {
public:
    bool getConnectedState(std::uint32_t& flags) override;
    std::unique_ptr<TcpConnection> openTcp(TcpEvents* events) override;
};

}  // namespace platform::win32
