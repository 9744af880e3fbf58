#include "platform/win32/win32_network.h"

#include <map>
#include <vector>

#include "kit/win32/system_dlls.h"
#include "kit/win32/win32_backend.h"

namespace platform::win32 {
namespace {

constexpr const char* kSocketWindowClass = "TivloSockets";
constexpr UINT kLookupDone = WM_APP + 1;
constexpr UINT kLateError = WM_APP + 2;  // wParam: connection id, lParam: error code
// Each connection gets its own message number for its socket events, so that events still
// queued for a closed socket never reach a later one that Winsock gave the same handle.
constexpr UINT kFirstSocketMessage = WM_APP + 0x100;
constexpr UINT kSocketMessages = 0x3000;

class Win32Connection;

struct Registry {
    HWND window = nullptr;
    bool winsockReady = false;
    UINT nextMessage = 0;
    UINT_PTR nextId = 1;
    std::map<UINT_PTR, Win32Connection*> byId;
    std::map<UINT, Win32Connection*> byMessage;
    std::map<HANDLE, Win32Connection*> byLookup;
};

Registry& reg() {
    static Registry r;
    return r;
}

LRESULT CALLBACK SocketWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Winsock's entries; only after EnsureReady has succeeded.
const kit::win32::WinsockApi& ws() { return *kit::win32::Winsock(); }

// The window first: a failure of Winsock itself still reaches the program through it.
bool EnsureReady() {
    Registry& r = reg();
    if (!r.window) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = SocketWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kSocketWindowClass;
        RegisterClassExA(&wc);
        r.window = CreateWindowExA(0, kSocketWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        if (!r.window) return false;
    }
    if (!r.winsockReady) {
        const kit::win32::WinsockApi* api = kit::win32::Winsock();
        WSADATA data;
        if (!api || api->WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
        r.winsockReady = true;
    }
    return true;
}

class Win32Connection : public TcpConnection {
public:
    explicit Win32Connection(TcpEvents* events) : events_(events) {
        Registry& r = reg();
        id_ = r.nextId++;
        message_ = kFirstSocketMessage + (r.nextMessage++ % kSocketMessages);
        r.byId[id_] = this;
        r.byMessage[message_] = this;
    }

    ~Win32Connection() override {
        Registry& r = reg();
        if (lookup_) {
            ws().WSACancelAsyncRequest(lookup_);
            r.byLookup.erase(lookup_);
        }
        if (socket_ != INVALID_SOCKET) ws().closesocket(socket_);  // also ends its event messages
        r.byId.erase(id_);
        r.byMessage.erase(message_);
    }

    void connect(const std::string& host, std::uint16_t port, std::uint16_t localPort) override {
        port_ = port;
        localPort_ = localPort;
        if (!EnsureReady()) return fail(WSASYSNOTREADY);
        const unsigned long address = ws().inet_addr(host.c_str());
        if (address != INADDR_NONE) return start(address);
        lookupBuffer_.assign(MAXGETHOSTSTRUCT, 0);
        lookup_ = ws().WSAAsyncGetHostByName(reg().window, kLookupDone, host.c_str(),
                                        lookupBuffer_.data(), static_cast<int>(lookupBuffer_.size()));
        if (!lookup_) return fail(ws().WSAGetLastError());
        reg().byLookup[lookup_] = this;
    }

    std::string read(std::size_t max) override {
        std::string out;
        if (socket_ == INVALID_SOCKET) return out;
        char buf[8192];
        while (out.size() < max) {
            const int want = static_cast<int>(std::min(sizeof buf, max - out.size()));
            const int n = ws().recv(socket_, buf, want, 0);
            if (n <= 0) break;  // WSAEWOULDBLOCK: all read for now; 0: closed
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out;
    }

    std::uint16_t localPort() const override { return localPort_; }

    void onLookup(LPARAM lParam) {
        reg().byLookup.erase(lookup_);
        lookup_ = nullptr;
        const int error = WSAGETASYNCERROR(lParam);
        const auto* host = reinterpret_cast<const hostent*>(lookupBuffer_.data());
        if (error != 0 || !host->h_addr_list || !host->h_addr_list[0] || host->h_length != 4) {
            events_->onError(error ? error : WSAHOST_NOT_FOUND);
            return;
        }
        unsigned long address;
        memcpy(&address, host->h_addr_list[0], sizeof address);
        start(address);
    }

    void onSocket(LPARAM lParam) {
        const int error = WSAGETSELECTERROR(lParam);
        switch (WSAGETSELECTEVENT(lParam)) {
            case FD_CONNECT:
                if (error) return events_->onError(error);
                readLocalPort();
                return events_->onConnected();
            case FD_READ:
                if (error) return events_->onError(error);
                return events_->onData();
            case FD_CLOSE:
                if (error) return events_->onError(error);
                return events_->onClosed();
            default:
                return;
        }
    }

    void onLateError(int error) { events_->onError(error); }

private:
    void start(unsigned long address) {
        socket_ = ws().socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (socket_ == INVALID_SOCKET) return fail(ws().WSAGetLastError());
        if (localPort_) {
            sockaddr_in local{};
            local.sin_family = AF_INET;
            local.sin_port = ws().htons(localPort_);
            if (ws().bind(socket_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
                return fail(ws().WSAGetLastError());
        }
        if (ws().WSAAsyncSelect(socket_, reg().window, message_, FD_CONNECT | FD_READ | FD_CLOSE) != 0)
            return fail(ws().WSAGetLastError());
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = ws().htons(port_);
        remote.sin_addr.s_addr = address;
        if (ws().connect(socket_, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
            const int error = ws().WSAGetLastError();
            if (error != WSAEWOULDBLOCK) return fail(error);
        }
    }

    void readLocalPort() {
        sockaddr_in local{};
        int len = sizeof local;
        if (ws().getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &len) == 0)
            localPort_ = ws().ntohs(local.sin_port);
    }

    // Errors found inside a call still reach the program as events, from event processing.
    void fail(int error) {
        if (PostMessageA(reg().window, kLateError, id_, error)) kit::win32::Win32Backend::NotePosted();
    }

    TcpEvents* events_;
    UINT_PTR id_ = 0;
    UINT message_ = 0;
    SOCKET socket_ = INVALID_SOCKET;
    HANDLE lookup_ = nullptr;
    std::vector<char> lookupBuffer_;
    std::uint16_t port_ = 0, localPort_ = 0;
};

LRESULT CALLBACK SocketWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Registry& r = reg();
    // Each event looks its connection up afresh: a handler may have closed it meanwhile.
    if (msg == kLookupDone) {
        auto it = r.byLookup.find(reinterpret_cast<HANDLE>(wParam));
        if (it != r.byLookup.end()) {
            Win32Connection* c = it->second;
            kit::win32::RunGuarded([&] { c->onLookup(lParam); });
        }
        return 0;
    }
    if (msg == kLateError) {
        auto it = r.byId.find(static_cast<UINT_PTR>(wParam));
        if (it != r.byId.end()) {
            Win32Connection* c = it->second;
            kit::win32::RunGuarded([&] { c->onLateError(static_cast<int>(lParam)); });
        }
        return 0;
    }
    if (msg >= kFirstSocketMessage && msg < kFirstSocketMessage + kSocketMessages) {
        auto it = r.byMessage.find(msg);
        if (it != r.byMessage.end()) {
            Win32Connection* c = it->second;
            kit::win32::RunGuarded([&] { c->onSocket(lParam); });
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

bool Win32Network::getConnectedState(std::uint32_t& flags) {
    // Without its DLL there is no connection to report.
    const kit::win32::WinInetApi* inet = kit::win32::WinInet();
    DWORD f = 0;
    const BOOL online = inet ? inet->InternetGetConnectedState(&f, 0) : FALSE;
    flags = f;
    return online != FALSE;
}

std::unique_ptr<TcpConnection> Win32Network::openTcp(TcpEvents* events) {
    return std::make_unique<Win32Connection>(events);
}

}  // namespace platform::win32
