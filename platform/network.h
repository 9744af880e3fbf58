// The network as the program sees it: whether the computer is online, and TCP connections.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Winsock error codes that connections report.
constexpr int kWsaConnRefused = 10061;
constexpr int kWsaConnReset = 10054;
constexpr int kWsaTimedOut = 10060;
constexpr int kWsaHostNotFound = 11001;

// What a TCP connection reports. Always on the user-interface thread and only from event
// processing, never from inside a call on the connection. A handler may destroy the
// connection.
class TcpEvents {
public:
    virtual ~TcpEvents() = default;
    virtual void onConnected() = 0;
    // Bytes have arrived; read them. Raised again while some are left.
    virtual void onData() = 0;
    // The peer closed the connection (what it sent before can still be read).
    virtual void onClosed() = 0;
    // Connecting failed (refused, host not found) or the connection broke.
    virtual void onError(int wsaError) = 0;
};

// One TCP client connection; destroying it closes it, and no event of it arrives afterwards.
class TcpConnection {
public:
    virtual ~TcpConnection() = default;
    // Starts connecting; a host name is resolved without blocking the thread. localPort 0
    // lets the system choose.
    virtual void connect(const std::string& host, std::uint16_t port, std::uint16_t localPort) = 0;
    // What has arrived and not yet been read, up to max bytes.
    virtual std::string read(std::size_t max) = 0;
    // The local port in use, 0 before connecting.
    virtual std::uint16_t localPort() const = 0;
};

class Network {
public:
    virtual ~Network() = default;
    // InternetGetConnectedState: true when a connection is up; flags describe it.
    virtual bool getConnectedState(std::uint32_t& flags) = 0;
    virtual std::unique_ptr<TcpConnection> openTcp(TcpEvents* events) = 0;
};

}  // namespace platform
