// A small HTTP server on 127.0.0.1 for the download and crawl tests: it serves a folder and
// scripted routes (redirects, a redirect loop, chunked and endless bodies, a redirect whose
// body never ends, a trickling peer, a body shorter than its Content-Length, a close after the
// headers, a delayed answer, a page of delayed pages, one page at every path below a script),
// and logs every request target. A raw-socket responder beside it sends byte-exact answers:
// one that ends in a reset, and headers that trickle without end. "/t/end-endless" ends the
// endless answers in progress. On request the same routes are served over TLS too, with a
// certificate for "localhost" made when the server starts.
#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace testserver {

class LoopbackServer {
public:
    // folder may be empty: scripted routes only.
    explicit LoopbackServer(std::string folder = {}, bool https = false);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // A port where the raw responder answers with headers, a few bytes, then a reset.
    int resetPort() const { return rawPort_; }
    std::string url(const std::string& target) const;
    // The raw responder's address for a target: "/t/trickle?ms=M" sends the status line and
    // then one header byte every M ms; anything else gets headers, a few bytes and a reset.
    std::string rawUrl(const std::string& target) const;
    // With https: the TLS port, its address for a target (host "localhost", which the
    // certificate names) and the certificate in PEM and DER.
    int httpsPort() const { return httpsPort_; }
    std::string httpsUrl(const std::string& target) const;
    const std::string& certificatePem() const { return certPem_; }
    const std::string& certificateDer() const { return certDer_; }
    std::vector<std::string> targets() const;
    void clearLog();
    // Runs until stop() (the command's main loop).
    void wait();
    void stop();

private:
    void routes(httplib::Server& s);
    void makeCertificate();
    void rawLoop();
    void rawAnswer(int connection);
    void log(const std::string& target);
    bool pause(int ms) const;  // false when the server stops meanwhile

    std::unique_ptr<httplib::Server> server_, tls_;
    std::thread thread_, rawThread_, tlsThread_;
    std::vector<std::thread> rawAnswers_;  // under mutex_
    int port_ = 0, rawPort_ = 0, rawSocket_ = -1, httpsPort_ = 0;
    std::string certPem_, certDer_;
    void* key_ = nullptr;   // EVP_PKEY
    void* cert_ = nullptr;  // X509
    std::atomic<bool> stopping_{false};
    std::atomic<int> endlessEpoch_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
};

}  // namespace testserver
