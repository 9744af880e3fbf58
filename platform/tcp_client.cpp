#include "platform/tcp_client.h"

#include "kit/runtime.h"
#include "platform/services.h"

namespace platform {

TcpClient::~TcpClient() = default;

void TcpClient::Connect(const std::string& host, std::uint16_t port) {
    if (state_ != kClosed)
        throw kit::RuntimeError(kErrInvalidOperation, "Invalid operation at current state");
    received_.clear();
    conn_ = network().openTcp(this);
    state_ = kConnecting;
    conn_->connect(host, port, localPort_);
}

void TcpClient::GetData(std::string& data) {
    data = std::move(received_);
    received_.clear();
}

void TcpClient::Close() {
    conn_.reset();
    state_ = kClosed;
    received_.clear();
}

void TcpClient::onConnected() {
    state_ = kConnected;
    if (conn_) localPort_ = conn_->localPort();
    if (OnConnect) OnConnect();
}

void TcpClient::onData() {
    if (!conn_) return;
    const std::string piece = conn_->read(kReadChunk);
    if (piece.empty()) return;
    received_ += piece;
    if (DataArrival) DataArrival(static_cast<long>(received_.size()));
}

void TcpClient::onClosed() {
    state_ = kClosing;
    if (OnClose) OnClose();
}

void TcpClient::onError(int wsaError) {
    state_ = kError;
    if (OnError) OnError(wsaError);
}

}  // namespace platform
