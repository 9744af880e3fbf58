#include "tests/server/loopback_server.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace testserver {
namespace {

int Param(const httplib::Request& req, const char* name, int fallback) {
    return req.has_param(name) ? std::atoi(req.get_param_value(name).c_str()) : fallback;
}

}  // namespace

LoopbackServer::LoopbackServer(std::string folder) : server_(std::make_unique<httplib::Server>()) {
    httplib::Server& s = *server_;
    s.set_keep_alive_timeout(2);
    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
        log(req.target);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    if (!folder.empty()) s.set_mount_point("/", folder);

    // /t/redirect?n=N&to=T: N hops, each relative, then to T.
    s.Get("/t/redirect", [](const httplib::Request& req, httplib::Response& res) {
        const int n = Param(req, "n", 1);
        const std::string to = req.has_param("to") ? req.get_param_value("to") : "/t/text";
        res.status = 302;
        res.set_header("Location", n <= 1 ? to : "redirect?n=" + std::to_string(n - 1) + "&to=" + to);
    });
    s.Get("/t/loop", [](const httplib::Request&, httplib::Response& res) {
        res.status = 301;
        res.set_header("Location", "/t/loop");
    });
    s.Get("/t/ftp", [](const httplib::Request&, httplib::Response& res) {
        res.status = 302;
        res.set_header("Location", "ftp://127.0.0.1/file");
    });
    s.Get("/t/text", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("plain text body", "text/plain");
    });
    s.Get("/t/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<html>not here</html>", "text/html");
    });
    s.Get(R"(/t/echo.*)", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(req.target, "text/plain");
    });
    s.Get("/t/chunked", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [](std::size_t offset, httplib::DataSink& sink) {
            if (offset < 3 * 1000) {
                const std::string part(1000, static_cast<char>('a' + offset / 1000));
                return sink.write(part.data(), part.size());
            }
            sink.done();
            return true;
        });
    });
    s.Get("/t/endless", [this](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/octet-stream",
                                         [this](std::size_t, httplib::DataSink& sink) {
                                             static const std::string block(64 * 1024, 'x');
                                             return !stopping_ && sink.write(block.data(), block.size());
                                         });
    });
    // /t/slow?ms=M&n=N: N bytes, one every M ms.
    s.Get("/t/slow", [this](const httplib::Request& req, httplib::Response& res) {
        const int ms = Param(req, "ms", 5000), n = Param(req, "n", 100);
        res.set_content_provider(n, "application/octet-stream",
                                 [this, ms](std::size_t, std::size_t, httplib::DataSink& sink) {
                                     if (!pause(ms)) return false;
                                     return sink.write("x", 1);
                                 });
    });
    s.Get("/t/short", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(1000, "application/octet-stream",
                                 [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (offset > 0) return false;  // 100 of 1000 bytes, then close
                                     return sink.write(std::string(100, 'y').data(), 100);
                                 });
    });
    s.Get("/t/headers-only", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(100, "application/octet-stream",
                                 [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
    });
    // /t/waiting?n=N&ms=M: a page linking N pages, each answered after M ms.
    s.Get("/t/waiting", [](const httplib::Request& req, httplib::Response& res) {
        const int n = Param(req, "n", 20), ms = Param(req, "ms", 5000);
        std::string page = "<html><body>";
        for (int i = 0; i < n; ++i)
            page += "<a href=\"/t/delay?ms=" + std::to_string(ms) + "&amp;i=" + std::to_string(i) + "\">" +
                    std::to_string(i) + "</a>";
        res.set_content(page + "</body></html>", "text/html");
    });
    s.Get("/t/delay", [this](const httplib::Request& req, httplib::Response& res) {
        pause(Param(req, "ms", 1000));
        res.set_content("<html>late</html>", "text/html");
    });

    port_ = s.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });

    rawSocket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(rawSocket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(rawSocket_, 8);
    socklen_t len = sizeof addr;
    ::getsockname(rawSocket_, reinterpret_cast<sockaddr*>(&addr), &len);
    rawPort_ = ntohs(addr.sin_port);
    rawThread_ = std::thread([this] { rawLoop(); });
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() { stop(); }

void LoopbackServer::stop() {
    if (stopping_.exchange(true)) return;
    server_->stop();
    ::shutdown(rawSocket_, SHUT_RDWR);
    ::close(rawSocket_);
    if (thread_.joinable()) thread_.join();
    if (rawThread_.joinable()) rawThread_.join();
}

void LoopbackServer::wait() {
    while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

bool LoopbackServer::pause(int ms) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    // Steps of 50 ms: short enough to stop quickly, few enough that a waiting server costs
    // the CPU figures of its clients nothing.
    for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now()) {
        if (stopping_) return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(50)));
    }
    return !stopping_;
}

void LoopbackServer::rawLoop() {
    for (;;) {
        const int c = ::accept(rawSocket_, nullptr, nullptr);
        if (c < 0) return;
        char buf[4096];
        ::recv(c, buf, sizeof buf, 0);
        const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\nabc";
        ::send(c, answer, sizeof answer - 1, MSG_NOSIGNAL);
        linger l{1, 0};  // close with a reset
        ::setsockopt(c, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        ::close(c);
    }
}

void LoopbackServer::log(const std::string& target) {
    std::lock_guard<std::mutex> lock(mutex_);
    targets_.push_back(target);
}

std::vector<std::string> LoopbackServer::targets() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return targets_;
}

void LoopbackServer::clearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    targets_.clear();
}

std::string LoopbackServer::url(const std::string& target) const {
    return "http://127.0.0.1:" + std::to_string(port_) + target;
}

}  // namespace testserver
