#include "tests/server/loopback_server.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>
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

LoopbackServer::LoopbackServer(std::string folder, bool https) : server_(std::make_unique<httplib::Server>()) {
    routes(*server_);
    if (!folder.empty()) server_->set_mount_point("/", folder);
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    if (https) {
        makeCertificate();
        tls_ = std::make_unique<httplib::SSLServer>(static_cast<X509*>(cert_), static_cast<EVP_PKEY*>(key_));
        routes(*tls_);
        if (!folder.empty()) tls_->set_mount_point("/", folder);
        httpsPort_ = tls_->bind_to_any_port("127.0.0.1");
        tlsThread_ = std::thread([this] { tls_->listen_after_bind(); });
    }

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
    while (!server_->is_running() || (tls_ && !tls_->is_running()))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// A self-signed certificate for "localhost" alone, which a test trusts on its own.
void LoopbackServer::makeCertificate() {
    EVP_PKEY* key = EVP_RSA_gen(2048);
    X509* cert = X509_new();
    X509_set_version(cert, 2);
    std::uint32_t serial = 0;
    RAND_bytes(reinterpret_cast<unsigned char*>(&serial), sizeof serial);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), serial & 0x7FFFFFFF);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 7 * 24 * 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    for (auto [nid, value] : {std::pair{NID_subject_alt_name, "DNS:localhost"},
                              std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
        X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
        X509_add_ext(cert, ext, -1);
        X509_EXTENSION_free(ext);
    }
    X509_sign(cert, key, EVP_sha256());
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, cert);
    char* pem = nullptr;
    certPem_.assign(pem, BIO_get_mem_data(bio, &pem));
    BIO_free(bio);
    unsigned char* der = nullptr;
    const int derLength = i2d_X509(cert, &der);
    certDer_.assign(reinterpret_cast<char*>(der), derLength > 0 ? derLength : 0);
    OPENSSL_free(der);
    key_ = key;
    cert_ = cert;
}

void LoopbackServer::routes(httplib::Server& s) {
    s.set_keep_alive_timeout(2);
    // Headers and body go out in separate writes; like nginx and Apache on a kept-alive
    // connection, send each at once instead of holding the body until the headers are
    // acknowledged (Nagle's rule against the client's delayed acknowledgement: ~40 ms).
    s.set_tcp_nodelay(true);
    s.set_keep_alive_max_count(100);  // Apache's default; nginx allows 1000
    // Room for the clients that read on from endless bodies (Wine drains one on close) beside
    // the requests of a test.
    s.new_task_queue = [] { return new httplib::ThreadPool(32); };
    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
        log(req.target);
        return httplib::Server::HandlerResponse::Unhandled;
    });

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
    // Endless bodies run until /t/end-endless, or the server stops.
    auto endless = [this] {
        return [this, epoch = endlessEpoch_.load()](std::size_t, httplib::DataSink& sink) {
            static const std::string block(64 * 1024, 'x');
            return !stopping_ && endlessEpoch_ == epoch && sink.write(block.data(), block.size());
        };
    };
    s.Get("/t/endless", [endless](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/octet-stream", endless());
    });
    s.Get("/t/endless-redirect", [endless](const httplib::Request&, httplib::Response& res) {
        res.status = 302;
        res.set_header("Location", "/t/text");
        res.set_chunked_content_provider("text/html", endless());
    });
    s.Get("/t/end-endless", [this](const httplib::Request&, httplib::Response& res) {
        ++endlessEpoch_;
        res.set_content("ended", "text/plain");
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
    // /t/info.php and every path below it: the one page of a script that reads its path info,
    // with a fragment link and a relative link. Deep paths fail, so that a crawl that nests
    // them ends, with many pages, instead of running on.
    s.Get(R"(/t/info\.php(/.*)?)", [](const httplib::Request& req, httplib::Response& res) {
        if (std::count(req.path.begin(), req.path.end(), '/') > 12) {
            res.status = 404;
            return;
        }
        res.set_content("<a href=\"#top\">top</a><a href=\"about.php\">about</a>"
                        "<a href=\"/t/info.php/more\">more</a>",
                        "text/html");
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
}

LoopbackServer::~LoopbackServer() {
    stop();
    EVP_PKEY_free(static_cast<EVP_PKEY*>(key_));
    X509_free(static_cast<X509*>(cert_));
}

void LoopbackServer::stop() {
    if (stopping_.exchange(true)) return;
    server_->stop();
    if (tls_) tls_->stop();
    ::shutdown(rawSocket_, SHUT_RDWR);
    ::close(rawSocket_);
    for (std::thread* t : {&thread_, &tlsThread_, &rawThread_})
        if (t->joinable()) t->join();
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::thread& t : rawAnswers_) t.join();
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
        std::lock_guard<std::mutex> lock(mutex_);
        rawAnswers_.emplace_back([this, c] { rawAnswer(c); });
    }
}

void LoopbackServer::rawAnswer(int c) {
    char buf[4096];
    const ssize_t n = ::recv(c, buf, sizeof buf, 0);
    const std::string request(buf, n > 0 ? n : 0);
    if (request.rfind("GET /t/trickle", 0) == 0) {
        const std::size_t ms = request.find("ms=");
        const int every = ms == std::string::npos ? 300 : std::atoi(request.c_str() + ms + 3);
        const std::string head = "HTTP/1.1 200 OK\r\nX-Slow: ";
        const int epoch = endlessEpoch_;
        bool sent = ::send(c, head.data(), head.size(), MSG_NOSIGNAL) > 0;
        while (sent && pause(every) && endlessEpoch_ == epoch) sent = ::send(c, "a", 1, MSG_NOSIGNAL) == 1;
        ::close(c);
        return;
    }
    const char answer[] = "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\nabc";
    ::send(c, answer, sizeof answer - 1, MSG_NOSIGNAL);
    linger l{1, 0};  // close with a reset
    ::setsockopt(c, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::close(c);
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

std::string LoopbackServer::rawUrl(const std::string& target) const {
    return "http://127.0.0.1:" + std::to_string(rawPort_) + target;
}

std::string LoopbackServer::httpsUrl(const std::string& target) const {
    return "https://localhost:" + std::to_string(httpsPort_) + target;
}

}  // namespace testserver
