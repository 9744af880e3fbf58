#include "platform/headless/scripted_network.h"

#include <algorithm>

namespace platform::headless {

class ScriptedNetwork::Connection : public TcpConnection {
public:
    Connection(ScriptedNetwork& net, int id) : net_(net), id_(id) {}
    ~Connection() override { net_.conns_.erase(id_); }
    void connect(const std::string& host, std::uint16_t port, std::uint16_t localPort) override {
        net_.connect(id_, host, port, localPort);
    }
    std::string read(std::size_t max) override { return net_.read(id_, max); }
    std::uint16_t localPort() const override {
        auto it = net_.conns_.find(id_);
        return it == net_.conns_.end() ? 0 : it->second.localPort;
    }

private:
    ScriptedNetwork& net_;
    int id_;
};

ScriptedNetwork::ScriptedNetwork(kit::headless::HeadlessBackend& clock) : clock_(clock) { reset(); }

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

std::unique_ptr<TcpConnection> ScriptedNetwork::openTcp(TcpEvents* events) {
    const int id = nextId_++;
    conns_[id].events = events;
    return std::make_unique<Connection>(*this, id);
}

void ScriptedNetwork::connect(int id, const std::string& host, std::uint16_t port,
                              std::uint16_t localPort) {
    const std::uint64_t now = clock_.tickMs();
    connects_.push_back(ConnectCall{host, port, localPort, now});
    Live& c = conns_.at(id);
    c.localPort = localPort ? localPort : nextLocalPort_++;
    Peer peer;
    if (!peers_.empty()) {
        peer = std::move(peers_.front());
        peers_.pop_front();
    }
    const std::uint64_t answerAt = now + peer.answerMs;
    if (peer.answer != Peer::Answer::Accept) {
        const int code = peer.answer == Peer::Answer::Refuse ? kWsaConnRefused : kWsaHostNotFound;
        c.script.push_back(Event{answerAt, Event::Error, {}, code});
        return;
    }
    c.script.push_back(Event{answerAt, Event::Connected, {}, 0});
    for (auto& [ms, data] : peer.pieces)
        c.script.push_back(Event{std::max(now + ms, answerAt), Event::Data, std::move(data), 0});
    if (peer.closeMs) c.script.push_back(Event{std::max(now + *peer.closeMs, answerAt), Event::Closed, {}, 0});
    std::stable_sort(c.script.begin(), c.script.end(),
                     [](const Event& a, const Event& b) { return a.at < b.at; });
}

std::string ScriptedNetwork::read(int id, std::size_t max) {
    auto it = conns_.find(id);
    if (it == conns_.end()) return {};
    Live& c = it->second;
    const std::size_t n = std::min(max, c.unread.size());
    std::string out = c.unread.substr(0, n);
    c.unread.erase(0, n);
    // As Winsock does after a read that leaves bytes behind, another arrival is signalled.
    c.dataSignalled = !c.unread.empty();
    return out;
}

std::optional<std::uint64_t> ScriptedNetwork::nextDue() const {
    std::optional<std::uint64_t> due;
    for (auto& [id, c] : conns_) {
        std::optional<std::uint64_t> d;
        if (c.dataSignalled) d = clock_.tickMs();
        else if (!c.script.empty()) d = c.script.front().at;
        if (d && (!due || *d < *due)) due = d;
    }
    return due;
}

void ScriptedNetwork::deliverDue(std::uint64_t tick) {
    // One event per pass, looked up afresh each time: a handler may close any connection.
    for (;;) {
        int id = 0;
        for (auto& [cid, c] : conns_) {
            if (c.dataSignalled || (!c.script.empty() && c.script.front().at <= tick)) {
                id = cid;
                break;
            }
        }
        if (id == 0) return;
        Live& c = conns_.at(id);
        TcpEvents* events = c.events;
        if (c.dataSignalled) {
            c.dataSignalled = false;
            events->onData();
            continue;
        }
        Event e = std::move(c.script.front());
        c.script.pop_front();
        switch (e.kind) {
            case Event::Connected: events->onConnected(); break;
            case Event::Data:
                c.unread += e.data;
                c.dataSignalled = false;
                events->onData();
                break;
            case Event::Closed: events->onClosed(); break;
            case Event::Error: events->onError(e.error); break;
        }
    }
}

void ScriptedNetwork::reset() {
    online_ = true;
    probes_.clear();
    probeCount_ = 0;
    peers_.clear();
    connects_.clear();
    // Live connections belong to objects that will still destroy them.
    for (auto& [id, c] : conns_) {
        c.script.clear();
        c.unread.clear();
        c.dataSignalled = false;
    }
}

}  // namespace platform::headless
