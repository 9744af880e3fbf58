#include "kit/win32/wininet_reader.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "kit/url.h"
#include "kit/win32/system_dlls.h"
#include "kit/win32/win32_backend.h"

namespace kit::win32 {

constexpr UINT kReadMessage = WM_APP + 0x31;
constexpr UINT_PTR kPaceTimer = 1;
constexpr DWORD kConnectionsPerServer = 8;
constexpr DWORD kChunk = 64 * 1024;
// A worker that gets no read for this long ends: reads of a crawl follow each other closely.
constexpr DWORD kWorkerIdleLimitMs = 500;

struct WinInetReader::State {
    explicit State(const ReadLimits& l) : limits(l) {}
    const ReadLimits limits;
    std::mutex mutex;
    HINTERNET request = nullptr;
    bool cancelled = false;  // nothing more of the read is wanted
    bool finished = false;   // its completion is posted
    ReadPace pace;
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

// WinINet's entries; only once the session is open (the DLL is loaded with it).
const WinInetApi& inet() { return *WinInet(); }

bool IsRedirectCode(DWORD code) {
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

struct Job {
    HWND window;
    HINTERNET session;
    ReadHandle read;
    std::string address, url;
    std::shared_ptr<WinInetReader::State> state;

    const ReadLimits& limits() const { return state->limits; }
    void post(WinInetReader::Event* e) {
        e->read = read;
        if (PostMessageA(window, kReadMessage, 0, reinterpret_cast<LPARAM>(e)))
            Win32Backend::NotePosted();
        else
            delete e;
    }
    void complete(WinInetReader::Event* e) {
        e->complete = true;
        bool wanted;
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            wanted = state->finished = !state->cancelled;
        }
        if (wanted)
            post(e);
        else
            delete e;
    }
    void fail() { complete(new WinInetReader::Event); }
    // Registers the open request, unless the read was cancelled meanwhile.
    bool hold(HINTERNET h) {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (state->cancelled) {
            if (h) inet().InternetCloseHandle(h);
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
        if (h) inet().InternetCloseHandle(h);
    }
    bool cancelled() {
        std::lock_guard<std::mutex> lock(state->mutex);
        return state->cancelled;
    }
    // Counts bytes for the slow-peer rule; false when the read is too slow or no longer wanted.
    bool paced(std::size_t bytes) {
        std::lock_guard<std::mutex> lock(state->mutex);
        return !state->cancelled && state->pace.count(ReadPace::Clock::now(), bytes, limits());
    }

    // Reads the body of the open request to its end within the limits, into body, or only
    // counted when body is null (a redirect's).
    bool readBody(HINTERNET h, DWORD length, std::vector<std::uint8_t>* body,
                  std::vector<char>& buf) {
        const std::size_t cap = limits().maxBytes;
        if (body && length) body->reserve(length);
        std::size_t total = 0;
        for (;;) {
            // Only what has arrived: a read of a whole chunk would wait for all of it, so a
            // peer that trickles bytes would never be measured against the limit.
            DWORD available = 0;
            if (!inet().InternetQueryDataAvailable(h, &available, 0, 0)) return false;
            if (available == 0) break;
            DWORD got = 0;
            if (!inet().InternetReadFile(h, buf.data(), std::min(available, kChunk), &got)) return false;
            if (got == 0) break;
            total += got;
            if (total > cap || !paced(got)) return false;
            if (!body) continue;
            if (total > body->capacity())
                body->reserve(std::min(cap, std::max(body->capacity() * 2, total)));
            body->insert(body->end(), buf.data(), buf.data() + got);
        }
        return !length || total >= length;
    }

    void run() {
        const DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_RELOAD |
                            INTERNET_FLAG_PRAGMA_NOCACHE;
        std::vector<char> buf(kChunk);
        bool redirected = false;
        for (int hops = 0;; ++hops) {
            HINTERNET h = inet().InternetOpenUrlA(session, url.c_str(), nullptr, 0, flags, 0);
            if (!hold(h)) return;
            if (!h) return fail();
            DWORD headerBytes = 0;
            inet().HttpQueryInfoA(h, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &headerBytes, nullptr);
            DWORD code = 0, size = sizeof code;
            inet().HttpQueryInfoA(h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size,
                           nullptr);
            DWORD length = 0;
            size = sizeof length;
            if (!inet().HttpQueryInfoA(h, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                                &size, nullptr))
                length = 0;
            char location[4096];
            DWORD locationSize = sizeof location - 1;
            const bool redirect =
                IsRedirectCode(code) &&
                inet().HttpQueryInfoA(h, HTTP_QUERY_LOCATION, location, &locationSize, nullptr);
            if (!paced(headerBytes) || length > limits().maxBytes) {
                fail();
                return release();
            }
            if (!redirect) {
                auto* headers = new WinInetReader::Event;
                headers->status = kReadCacheFileAvailable;
                headers->bytesMax = length;
                post(headers);
            }
            std::vector<std::uint8_t> body;
            if (!readBody(h, length, redirect ? nullptr : &body, buf) || cancelled()) {
                fail();  // dropped when cancelled
                return release();
            }
            if (!redirect) {
                auto* done = new WinInetReader::Event;
                done->status = kReadDataEnd;
                done->bytesMax = length;
                done->data = std::move(body);
                done->finalAddress = redirected ? url : address;
                complete(done);
                return release();
            }
            location[locationSize] = '\0';
            auto next = PrepareRequest(ResolveReference(url, location));
            if (hops + 1 > limits().maxRedirects || !next) {
                fail();
                return release();
            }
            auto* e = new WinInetReader::Event;
            e->status = kReadRedirecting;
            e->text = next->url;
            post(e);
            release();  // at once: the body was read to its end
            url = next->url;
            redirected = true;
        }
    }
};

// Once no read has run for a while, the connections WinINet keeps alive for the next request
// are let go: Wine otherwise keeps them, and a thread that collects them, for a minute after
// the last read, and closing the session handle does not release them.
void DropIdleConnections() {
    inet().InternetSetOptionA(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
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
}

// The session, and WinINet with it, comes with the first read.
bool WinInetReader::openSession() {
    if (session_) return true;
    if (!WinInet()) return false;
    DWORD conns = kConnectionsPerServer;
    inet().InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &conns, sizeof conns);
    inet().InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &conns, sizeof conns);
    session_ = inet().InternetOpenA("Tivlo/2.3", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    return session_ != nullptr;
}

WinInetReader::~WinInetReader() {
    for (auto& [h, live] : live_) {
        std::lock_guard<std::mutex> lock(live.state->mutex);
        live.state->cancelled = true;
        if (live.state->request) inet().InternetCloseHandle(live.state->request);
        live.state->request = nullptr;
    }
    live_.clear();
    Win32Backend::QuietGaps(false);
    if (watching_) KillTimer(window_, kPaceTimer);
    if (session_) inet().InternetCloseHandle(static_cast<HINTERNET>(session_));
    if (window_) DestroyWindow(window_);
}

ReadHandle WinInetReader::beginRead(const std::string& address, const std::string& name,
                                    AsyncReadSink* sink) {
    auto request = PrepareRequest(address);
    if (!request || !window_ || !openSession()) return 0;
    HINTERNET session = static_cast<HINTERNET>(session_);
    const DWORD timeout = limits_.windowMs;
    inet().InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, const_cast<DWORD*>(&timeout),
                       sizeof timeout);
    inet().InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, const_cast<DWORD*>(&timeout),
                       sizeof timeout);
    const ReadHandle read = next_++;
    auto state = std::make_shared<State>(limits_);
    live_[read] = Live{name, sink, state};
    Win32Backend::QuietGaps(true);
    Job job{window_, session, read, address, request->url, state};
    if (!workers_.submit([job]() mutable { job.run(); })) {
        live_.erase(read);
        Win32Backend::QuietGaps(!live_.empty());
        return 0;
    }
    watch(state->pace.windowEnd(limits_));
    return read;
}

// The close may read on while the peer sends (see Job::release), so it runs off this thread.
void WinInetReader::closeLater(HINTERNET h) {
    if (h && !workers_.submit([h] { inet().InternetCloseHandle(h); })) inet().InternetCloseHandle(h);
}

void WinInetReader::cancelRead(ReadHandle read) {
    auto it = live_.find(read);
    if (it == live_.end()) return;
    State& state = *it->second.state;
    HINTERNET h = nullptr;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.cancelled = true;
        std::swap(h, state.request);
    }
    live_.erase(it);
    Win32Backend::QuietGaps(!live_.empty());
    closeLater(h);
}

void WinInetReader::watch(ReadPace::Clock::time_point due) {
    if (watching_ && watchDue_ <= due) return;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(due - ReadPace::Clock::now());
    watching_ = SetTimer(window_, kPaceTimer, static_cast<UINT>(std::max<long long>(ms.count(), 1)),
                         nullptr) != 0;
    watchDue_ = due;
}

// Fails each read whose window ran out with too few bytes while its worker was blocked, and
// sets the timer for the next window's end.
void WinInetReader::checkPace() {
    KillTimer(window_, kPaceTimer);
    watching_ = false;
    const auto now = ReadPace::Clock::now();
    std::vector<std::pair<ReadHandle, HINTERNET>> slow;
    std::optional<ReadPace::Clock::time_point> next;
    for (auto& [read, live] : live_) {
        State& state = *live.state;
        std::lock_guard<std::mutex> lock(state.mutex);
        if (state.finished || state.cancelled) continue;
        if (!state.pace.count(now, 0, state.limits)) {
            state.cancelled = true;
            slow.emplace_back(read, std::exchange(state.request, nullptr));
            continue;
        }
        const auto end = state.pace.windowEnd(state.limits);
        if (!next || end < *next) next = end;
    }
    if (next) watch(*next);
    for (auto [read, h] : slow) {
        closeLater(h);
        auto* e = new Event;
        e->read = read;
        e->complete = true;
        e->status = kReadError;
        deliver(e);  // dropped when a handler of an earlier one cancelled it
    }
}

void WinInetReader::deliver(Event* e) {
    std::unique_ptr<Event> owned(e);
    auto it = live_.find(e->read);
    if (it == live_.end()) return;  // cancelled: dropped
    AsyncReadSink* sink = it->second.sink;
    const std::string name = it->second.name;
    if (e->complete) {
        live_.erase(it);
        Win32Backend::QuietGaps(!live_.empty());
    }
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
    if (msg == WM_TIMER && wParam == kPaceTimer) {
        if (auto* self = reinterpret_cast<WinInetReader*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)))
            RunGuarded([&] { self->checkPace(); });
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace kit::win32
