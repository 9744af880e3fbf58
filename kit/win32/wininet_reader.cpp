#include "kit/win32/wininet_reader.h"

#include <wininet.h>

#include <chrono>
#include <mutex>
#include <vector>

#include "kit/url.h"
#include "kit/win32/win32_backend.h"

namespace kit::win32 {

constexpr UINT kReadMessage = WM_APP + 0x31;
constexpr DWORD kConnectionsPerServer = 8;
constexpr DWORD kChunk = 64 * 1024;
// A worker that gets no read for this long ends: reads of a crawl follow each other closely.
constexpr DWORD kWorkerIdleLimitMs = 500;

struct WinInetReader::State {
    std::mutex mutex;
    HINTERNET request = nullptr;
    bool cancelled = false;
};

struct WinInetReader::Event {
    ReadHandle read = 0;
    bool complete = false;
    int status = 0;
    std::string text;
    std::uint32_t bytesMax = 0;
    std::vector<std::uint8_t> data;
    std::string finalAddress;
};

namespace {

bool IsRedirectCode(DWORD code) {
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

struct Job {
    HWND window;
    HINTERNET session;
    ReadHandle read;
    std::string address, url;
    ReadLimits limits;
    std::shared_ptr<WinInetReader::State> state;

    void post(WinInetReader::Event* e) {
        e->read = read;
        if (!PostMessageA(window, kReadMessage, 0, reinterpret_cast<LPARAM>(e))) delete e;
    }
    void fail() {
        auto* e = new WinInetReader::Event;
        e->complete = true;
        e->status = kReadError;
        post(e);
    }
    // Registers the open request, unless the read was cancelled meanwhile.
    bool hold(HINTERNET h) {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (state->cancelled) {
            if (h) InternetCloseHandle(h);
            return false;
        }
        state->request = h;
        return true;
    }
    // Closes the open request. Wine reads what the peer still sends before it closes (to keep
    // the connection), which lasts as long as the peer keeps sending: whatever the read ends
    // with is posted first.
    void release() {
        HINTERNET h = nullptr;
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            std::swap(h, state->request);
        }
        if (h) InternetCloseHandle(h);
    }
    bool cancelled() {
        std::lock_guard<std::mutex> lock(state->mutex);
        return state->cancelled;
    }

    void run() {
        const DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_RELOAD |
                            INTERNET_FLAG_PRAGMA_NOCACHE;
        bool redirected = false;
        for (int hops = 0;; ++hops) {
            HINTERNET h = InternetOpenUrlA(session, url.c_str(), nullptr, 0, flags, 0);
            if (!hold(h)) return;
            if (!h) return fail();
            DWORD code = 0, size = sizeof code;
            HttpQueryInfoA(h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size,
                           nullptr);
            char location[4096];
            DWORD locationSize = sizeof location - 1;
            if (IsRedirectCode(code) &&
                HttpQueryInfoA(h, HTTP_QUERY_LOCATION, location, &locationSize, nullptr)) {
                location[locationSize] = '\0';
                release();
                auto next = PrepareRequest(ResolveReference(url, location));
                if (hops + 1 > limits.maxRedirects || !next) return fail();
                auto* e = new WinInetReader::Event;
                e->status = kReadRedirecting;
                e->text = next->url;
                post(e);
                url = next->url;
                redirected = true;
                continue;
            }
            DWORD length = 0;
            size = sizeof length;
            if (!HttpQueryInfoA(h, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                                &size, nullptr))
                length = 0;
            if (length > limits.maxBytes) {
                fail();
                return release();
            }
            auto* headers = new WinInetReader::Event;
            headers->status = kReadCacheFileAvailable;
            headers->bytesMax = length;
            post(headers);

            auto* done = new WinInetReader::Event;
            done->complete = true;
            std::vector<std::uint8_t>& body = done->data;
            if (length) body.reserve(length);
            std::vector<char> buf(kChunk);
            auto windowStart = std::chrono::steady_clock::now();
            std::size_t windowBytes = 0;
            bool ok = true;
            for (;;) {
                // Only what has arrived: a read of a whole chunk would wait for all of it, so
                // a peer that trickles bytes would never be measured against the limit.
                DWORD available = 0;
                if (!InternetQueryDataAvailable(h, &available, 0, 0)) {
                    ok = false;
                    break;
                }
                if (available == 0) break;
                DWORD got = 0;
                if (!InternetReadFile(h, buf.data(), std::min(available, kChunk), &got)) {
                    ok = false;
                    break;
                }
                if (got == 0) break;
                if (body.size() + got > limits.maxBytes) {
                    ok = false;
                    break;
                }
                if (body.size() + got > body.capacity())
                    body.reserve(std::min<std::size_t>(
                        limits.maxBytes,
                        std::max<std::size_t>(body.capacity() * 2, body.size() + got)));
                body.insert(body.end(), buf.data(), buf.data() + got);
                windowBytes += got;
                const auto now = std::chrono::steady_clock::now();
                if (now - windowStart >= std::chrono::milliseconds(limits.windowMs)) {
                    if (windowBytes < limits.minBytes) {
                        ok = false;
                        break;
                    }
                    windowStart = now;
                    windowBytes = 0;
                }
            }
            if (cancelled()) {
                delete done;
            } else if (!ok || (length && body.size() < length)) {
                delete done;
                fail();
            } else {
                done->status = kReadDataEnd;
                done->bytesMax = length;
                done->finalAddress = redirected ? url : address;
                post(done);
            }
            return release();
        }
    }
};

// Once no read has run for a while, the connections WinINet keeps alive for the next request
// are let go: Wine otherwise keeps them, and a thread that collects them, for a minute after
// the last read, and closing the session handle does not release them.
void DropIdleConnections() {
    InternetSetOptionA(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
}

}  // namespace

WinInetReader::WinInetReader() : workers_(kWorkerIdleLimitMs, DropIdleConnections) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TivloReads";
    RegisterClassExA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DWORD conns = kConnectionsPerServer;
    InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &conns, sizeof conns);
    InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &conns, sizeof conns);
    session_ = InternetOpenA("Tivlo/2.3", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

WinInetReader::~WinInetReader() {
    for (auto& [h, live] : live_) {
        std::lock_guard<std::mutex> lock(live.state->mutex);
        live.state->cancelled = true;
        if (live.state->request) InternetCloseHandle(live.state->request);
        live.state->request = nullptr;
    }
    live_.clear();
    if (session_) InternetCloseHandle(static_cast<HINTERNET>(session_));
    if (window_) DestroyWindow(window_);
}

ReadHandle WinInetReader::beginRead(const std::string& address, const std::string& name,
                                    AsyncReadSink* sink) {
    auto request = PrepareRequest(address);
    if (!request || !session_ || !window_) return 0;
    HINTERNET session = static_cast<HINTERNET>(session_);
    const DWORD timeout = limits_.windowMs;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, const_cast<DWORD*>(&timeout),
                       sizeof timeout);
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, const_cast<DWORD*>(&timeout),
                       sizeof timeout);
    const ReadHandle read = next_++;
    auto state = std::make_shared<State>();
    live_[read] = Live{name, sink, state};
    Job job{window_, session, read, address, request->url, limits_, state};
    if (!workers_.submit([job]() mutable { job.run(); })) {
        live_.erase(read);
        return 0;
    }
    return read;
}

void WinInetReader::cancelRead(ReadHandle read) {
    auto it = live_.find(read);
    if (it == live_.end()) return;
    HINTERNET h = nullptr;
    {
        std::lock_guard<std::mutex> lock(it->second.state->mutex);
        it->second.state->cancelled = true;
        std::swap(h, it->second.state->request);
    }
    live_.erase(it);
    // Closing the handle makes a blocked read in the worker return at once. The close itself
    // may read on while the peer sends (see Job::release), so it runs off this thread.
    if (h && !workers_.submit([h] { InternetCloseHandle(h); })) InternetCloseHandle(h);
}

void WinInetReader::deliver(Event* e) {
    std::unique_ptr<Event> owned(e);
    auto it = live_.find(e->read);
    if (it == live_.end()) return;  // cancelled: dropped
    AsyncReadSink* sink = it->second.sink;
    const std::string name = it->second.name;
    if (e->complete) live_.erase(it);
    if (!sink) return;
    if (e->complete)
        sink->onReadComplete(e->read, name, e->status, e->data, e->bytesMax, e->finalAddress);
    else
        sink->onReadProgress(e->read, name, e->status, e->text, e->bytesMax);
}

LRESULT CALLBACK WinInetReader::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kReadMessage) {
        auto* self = reinterpret_cast<WinInetReader*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        auto* e = reinterpret_cast<Event*>(lParam);
        if (self)
            RunGuarded([&] { self->deliver(e); });
        else
            delete e;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace kit::win32
