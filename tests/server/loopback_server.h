// A small HTTP server on 127.0.0.1 for the download and crawl tests: it serves a folder and
// scripted routes (redirects, a redirect loop, chunked and endless bodies, a trickling peer,
// a body shorter than its Content-Length, a close after the headers, a delayed answer, a page
// of delayed pages), and logs every request target. A raw-socket responder beside it sends
// byte-exact answers that end in a reset.
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
    explicit LoopbackServer(std::string folder = {});
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // A port where the raw responder answers with headers, a few bytes, then a reset.
    int resetPort() const { return rawPort_; }
    std::string url(const std::string& target) const;
    std::vector<std::string> targets() const;
    void clearLog();
    // Runs until stop() (the command's main loop).
    void wait();
    void stop();

private:
    void rawLoop();
    void log(const std::string& target);
    bool pause(int ms) const;  // false when the server stops meanwhile

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_, rawThread_;
    int port_ = 0, rawPort_ = 0, rawSocket_ = -1;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
};

}  // namespace testserver
