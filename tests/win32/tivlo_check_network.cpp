// The Win32 wait for events and TCP connections: events come only from event processing, in
// order, and none after a connection is gone.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/win32_app.h"
#include "tests/win32/check.h"

namespace {

platform::win32::Win32System g_system;
kit::win32::Win32Backend& Backend() {
    static kit::win32::Win32Backend& backend = app::BindWin32(g_system);
    return backend;
}

template <class F>
bool WaitUntil(F done, DWORD ms) {
    return check::WaitUntil(Backend(), done, ms);
}

// Records what a connection reports.
struct Recorder : platform::TcpEvents {
    std::unique_ptr<platform::TcpConnection> conn;
    std::string log, data;
    bool closeOnData = false;
    void onConnected() override { log += "connected;"; }
    void onData() override {
        log += "data;";
        data += conn->read(1 << 16);
        if (closeOnData) conn.reset();
    }
    void onClosed() override { log += "closed;"; }
    void onError(int code) override { log += "error " + std::to_string(code) + ";"; }
};

// A listening socket on a free loopback port; a thread serves one connection with serve(), or
// gives up after 15 s without one, so that a case whose connection never came still ends.
struct Listener {
    SOCKET s = INVALID_SOCKET;
    std::uint16_t port = 0;
    Listener() {
        s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(s, 4);
        int len = sizeof a;
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~Listener() { closesocket(s); }
    template <class F>
    std::thread serve(F body) {
        return std::thread([this, body] {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(s, &ready);
            timeval wait{15, 0};
            if (select(0, &ready, nullptr, nullptr, &wait) != 1) return;
            SOCKET c = accept(s, nullptr, nullptr);
            if (c == INVALID_SOCKET) return;
            body(c);
            closesocket(c);
        });
    }
};

void Send(SOCKET c, const std::string& text) { send(c, text.data(), static_cast<int>(text.size()), 0); }

// A port on which nothing listens.
std::uint16_t FreePort() {
    Listener l;
    return l.port;
}

}  // namespace

CHECK_CASE(an_idle_wait_returns_and_a_posted_message_ends_it_at_once) {
    int ran = 0;
    const kit::Handle t = Backend().createTimer([&] { ++ran; });
    const DWORD start = GetTickCount();
    Backend().waitEvents();  // nothing pending: returns after a short sleep
    CHECK(GetTickCount() - start < 1000);
    Backend().setTimer(t, 50, true);
    CHECK(WaitUntil([&] { return ran >= 2; }, 5000));
    Backend().destroyTimer(t);
    CHECK(Backend().secondsSinceMidnight() >= 0 && Backend().secondsSinceMidnight() < 86400);
}

CHECK_CASE(a_connection_reports_connect_data_and_close_in_order) {
    Backend();
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    Listener server;
    std::thread peer = server.serve([](SOCKET c) {
        Send(c, "\n61381 26-12-07 ");
        Sleep(200);
        Send(c, "21:45:30 00\n");
        Sleep(100);
    });
    Recorder r;
    r.conn = platform::network().openTcp(&r);
    r.conn->connect("127.0.0.1", server.port, 0);
    CHECK_EQ(r.log, std::string());  // nothing from inside the call
    CHECK(WaitUntil([&] { return r.log.find("closed;") != std::string::npos; }, 10000));
    peer.join();
    CHECK_EQ(r.data, std::string("\n61381 26-12-07 21:45:30 00\n"));
    CHECK_EQ(r.log.substr(0, 10), std::string("connected;"));
    CHECK(r.conn->localPort() != 0);
}

CHECK_CASE(a_refused_port_and_an_unknown_host_report_errors_as_events) {
    Backend();
    Recorder refused;
    refused.conn = platform::network().openTcp(&refused);
    refused.conn->connect("127.0.0.1", FreePort(), 0);
    CHECK_EQ(refused.log, std::string());
    CHECK(WaitUntil([&] { return !refused.log.empty(); }, 10000));
    CHECK_EQ(refused.log, std::string("error 10061;"));

    Recorder unknown;
    unknown.conn = platform::network().openTcp(&unknown);
    // A label longer than 63 characters cannot be put into a query: no name server is asked.
    unknown.conn->connect(std::string(64, 'x') + ".invalid", 13, 0);
    CHECK(WaitUntil([&] { return !unknown.log.empty(); }, 30000));
    CHECK(unknown.log.rfind("error ", 0) == 0);
}

CHECK_CASE(a_name_is_looked_up_and_a_connection_closed_in_its_handler_reports_nothing_more) {
    Backend();
    Listener server;
    // "second" goes out once the client has closed (or after 10 s), however slow this machine.
    std::thread peer = server.serve([](SOCKET c) {
        Send(c, "first");
        fd_set closed;
        FD_ZERO(&closed);
        FD_SET(c, &closed);
        timeval wait{10, 0};
        select(0, &closed, nullptr, nullptr, &wait);
        Send(c, "second");
        Sleep(100);
    });
    Recorder r;
    r.closeOnData = true;
    r.conn = platform::network().openTcp(&r);
    // The name's look-up must not wait on a name server: the check's set-up passes a name
    // that this machine's own hosts file gives.
    const char* name = std::getenv("TIVLO_CHECK_LOOPBACK_NAME");
    if (!name || !*name) {
        std::printf("# no loopback name in this machine's hosts file: connecting by address\n");
        name = "127.0.0.1";
    }
    r.conn->connect(name, server.port, 0);
    CHECK(WaitUntil([&] { return !r.conn; }, 10000));
    WaitUntil([] { return false; }, 500);  // whatever else was on its way
    peer.join();
    CHECK_EQ(r.log, std::string("connected;data;"));
    CHECK_EQ(r.data, std::string("first"));
}
