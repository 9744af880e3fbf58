// A TCP client control as forms hold it: connect, data arrival, read, close, local port.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/network.h"

namespace platform {

class TcpClient : private TcpEvents {
public:
    enum State { kClosed = 0, kConnecting = 6, kConnected = 7, kClosing = 8, kError = 9 };
    static constexpr int kErrInvalidOperation = 40020;  // connect while not closed
    // The most read at one arrival; the rest raises DataArrival again.
    static constexpr std::size_t kReadChunk = 64 * 1024;

    TcpClient() = default;
    ~TcpClient() override;
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // Raises kit::RuntimeError(kErrInvalidOperation) unless the control is closed.
    void Connect(const std::string& host, std::uint16_t port);
    // Moves what has arrived into data.
    void GetData(std::string& data);
    void Close();
    State GetState() const { return state_; }
    std::uint16_t LocalPort() const { return localPort_; }
    void setLocalPort(std::uint16_t port) { localPort_ = port; }

    std::function<void()> OnConnect;
    std::function<void(long bytesTotal)> DataArrival;
    std::function<void()> OnClose;
    // A Winsock error code: the connection was refused, the host is unknown, or it broke.
    std::function<void(int number)> OnError;

private:
    void onConnected() override;
    void onData() override;
    void onClosed() override;
    void onError(int wsaError) override;

    std::unique_ptr<TcpConnection> conn_;
    State state_ = kClosed;
    std::uint16_t localPort_ = 0;
    std::string received_;
};

}  // namespace platform
