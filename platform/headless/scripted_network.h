// Network stand-in: the connection probe answers from a script, one answer per call, and TCP
// connections meet scripted peers that accept or refuse and send pieces at chosen virtual times.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kit/headless/headless_backend.h"
#include "platform/network.h"

namespace platform::headless {

class ScriptedNetwork : public Network, public kit::headless::EventSource {
public:
    static constexpr std::uint32_t kConnectionLan = 0x02;

    // How one connection goes; times are milliseconds after the connect call.
    struct Peer {
        enum class Answer { Accept, Refuse, NoHost };
        Answer answer = Answer::Accept;
        std::uint64_t answerMs = 0;                                // the accept, refusal or lookup failure
        std::vector<std::pair<std::uint64_t, std::string>> pieces;  // data sent, in time order
        std::optional<std::uint64_t> closeMs;                      // the peer closes
    };
    struct ConnectCall {
        std::string host;
        std::uint16_t port, localPort;
        std::uint64_t tick;
    };

    explicit ScriptedNetwork(kit::headless::HeadlessBackend& clock);

    bool getConnectedState(std::uint32_t& flags) override;
    std::unique_ptr<TcpConnection> openTcp(TcpEvents* events) override;

    std::optional<std::uint64_t> nextDue() const override;
    void deliverDue(std::uint64_t tick) override;

    // Probe: scripted answers are used first, one per call; then the standing answer.
    void setOnline(bool online) { online_ = online; }
    void queueProbeAnswers(std::size_t count, bool online) { probes_.insert(probes_.end(), count, online); }
    int probeCount() const { return probeCount_; }

    // Connections meet the queued peers in order; with none queued, a peer that accepts and
    // never sends.
    void queuePeer(Peer peer) { peers_.push_back(std::move(peer)); }
    const std::vector<ConnectCall>& connects() const { return connects_; }
    // Connections opened and not yet destroyed.
    std::size_t openConnections() const { return conns_.size(); }

    void reset();

private:
    class Connection;
    struct Event {
        std::uint64_t at;
        enum Kind { Connected, Data, Closed, Error } kind;
        std::string data;
        int error = 0;
    };
    struct Live {
        TcpEvents* events = nullptr;
        std::deque<Event> script;  // in time order
        std::string unread;
        bool dataSignalled = false;  // an onData is owed for unread bytes
        std::uint16_t localPort = 0;
    };
    void connect(int id, const std::string& host, std::uint16_t port, std::uint16_t localPort);
    std::string read(int id, std::size_t max);

    kit::headless::HeadlessBackend& clock_;
    bool online_ = true;
    std::deque<bool> probes_;
    int probeCount_ = 0;
    std::deque<Peer> peers_;
    std::vector<ConnectCall> connects_;
    std::map<int, Live> conns_;
    int nextId_ = 1;
    std::uint16_t nextLocalPort_ = 49152;
};

}  // namespace platform::headless
