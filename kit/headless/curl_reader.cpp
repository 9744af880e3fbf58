#include "kit/headless/curl_reader.h"

#include <curl/curl.h>

#include <algorithm>

#include "kit/url.h"

namespace kit::headless {

struct CurlReader::Transfer {
    CurlReader* owner = nullptr;
    ReadHandle read = 0;
    std::string name, address;  // as asked for
    AsyncReadSink* sink = nullptr;
    CURL* easy = nullptr;
    std::string url;  // the hop in progress
    int redirects = 0;
    bool redirected = false;
    // The response in progress.
    long code = 0;
    std::string location;
    bool isRedirect = false;
    bool headersDone = false;
    std::uint32_t bytesMax = 0;
    std::vector<std::uint8_t> body;
    std::size_t redirectBody = 0;  // a redirect's body is counted, not kept
    bool overCap = false, tooSlow = false;
    ReadPace pace;

    // Counts bytes for the slow-peer rule; false once the read is too slow.
    bool paced(std::size_t bytes) {
        tooSlow = tooSlow || !pace.count(ReadPace::Clock::now(), bytes, owner->limits_);
        return !tooSlow;
    }
};

namespace {

bool IsRedirectCode(long code) {
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

std::string TrimLine(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
    std::size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    return s.substr(b);
}

}  // namespace

std::size_t CurlHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<CurlReader::Transfer*>(user);
    const std::string line(data, size * count);
    if (!t.paced(line.size())) return 0;
    if (line.rfind("HTTP/", 0) == 0) {
        t.code = 0;
        t.location.clear();
        t.isRedirect = false;
        const std::size_t sp = line.find(' ');
        if (sp != std::string::npos) t.code = std::atol(line.c_str() + sp + 1);
        return size * count;
    }
    const std::string trimmed = TrimLine(line);
    if (trimmed.empty()) {
        if (t.code < 200) return size * count;  // an interim answer
        t.isRedirect = IsRedirectCode(t.code) && !t.location.empty();
        if (!t.isRedirect && !t.headersDone) {
            t.headersDone = true;
            curl_off_t length = -1;
            curl_easy_getinfo(t.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
            t.bytesMax = length > 0 && length < 0xFFFFFFFFLL ? static_cast<std::uint32_t>(length) : 0;
            if (t.bytesMax && t.bytesMax <= t.owner->limits_.maxBytes) t.body.reserve(t.bytesMax);
            CurlReader::Event e;
            e.read = t.read;
            e.status = kReadCacheFileAvailable;
            e.bytesMax = t.bytesMax;
            t.owner->queue(std::move(e));
        }
        return size * count;
    }
    const std::size_t colon = trimmed.find(':');
    if (colon != std::string::npos) {
        std::string key = trimmed.substr(0, colon);
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (key == "location") t.location = TrimLine(trimmed.substr(colon + 1));
    }
    return size * count;
}

std::size_t CurlWrite(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<CurlReader::Transfer*>(user);
    const std::size_t n = size * count;
    if (!t.paced(n)) return 0;
    const std::size_t cap = t.owner->limits_.maxBytes;
    if (t.isRedirect) {
        t.redirectBody += n;
        t.overCap = t.redirectBody > cap;
        return t.overCap ? 0 : n;
    }
    if (t.body.size() + n > cap) {
        t.overCap = true;
        return 0;
    }
    // Grow by doubling, but never past the cap, so a body at the cap costs the cap.
    if (t.body.size() + n > t.body.capacity())
        t.body.reserve(std::min(cap, std::max(t.body.capacity() * 2, t.body.size() + n)));
    t.body.insert(t.body.end(), data, data + n);
    return n;
}

int CurlProgress(void* user, long long, long long, long long, long long) {
    return static_cast<CurlReader::Transfer*>(user)->paced(0) ? 0 : 1;
}

CurlReader::CurlReader(HeadlessBackend& backend) : backend_(backend) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    multi_ = curl_multi_init();
    backend_.addEventSource(this);
}

CurlReader::~CurlReader() {
    backend_.removeEventSource(this);
    for (auto& [h, t] : transfers_) drop(*t);
    transfers_.clear();
    curl_multi_cleanup(multi_);
}

ReadHandle CurlReader::beginRead(const std::string& address, const std::string& name,
                                 AsyncReadSink* sink) {
    auto request = PrepareRequest(address);
    if (!request) return 0;
    auto t = std::make_unique<Transfer>();
    t->owner = this;
    t->read = next_++;
    t->name = name;
    t->address = address;
    t->sink = sink;
    start(*t, request->url);
    const ReadHandle h = t->read;
    transfers_[h] = std::move(t);
    return h;
}

void CurlReader::start(Transfer& t, const std::string& url) {
    t.url = url;
    t.code = 0;
    t.location.clear();
    t.isRedirect = t.headersDone = false;
    t.body.clear();
    t.redirectBody = 0;
    CURL* e = curl_easy_init();
    t.easy = e;
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, &t);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROXY, "");  // no proxy from the environment
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);  // the target is prepared already
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    if (!trusted_.empty()) {
        curl_blob pem{trusted_.data(), trusted_.size(), CURL_BLOB_COPY};
        curl_easy_setopt(e, CURLOPT_CAINFO_BLOB, &pem);
    }
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Tivlo/2.3");
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.windowMs));
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.maxBytes));
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, CurlHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, CurlWrite);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, CurlProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &t);
    curl_multi_add_handle(multi_, e);
}

void CurlReader::drop(Transfer& t) {
    if (!t.easy) return;
    curl_multi_remove_handle(multi_, t.easy);
    curl_easy_cleanup(t.easy);
    t.easy = nullptr;
}

void CurlReader::cancelRead(ReadHandle read) {
    auto it = transfers_.find(read);
    if (it == transfers_.end()) return;
    drop(*it->second);
    transfers_.erase(it);  // its queued events find no transfer and are dropped
}

void CurlReader::finish(Transfer& t, int result) {
    drop(t);
    Event e;
    e.read = t.read;
    e.complete = true;
    if (result == CURLE_OK && t.isRedirect) {
        const std::string target = ResolveReference(t.url, t.location);
        auto request = PrepareRequest(target);
        if (++t.redirects <= limits_.maxRedirects && request) {
            Event hop;
            hop.read = t.read;
            hop.status = kReadRedirecting;
            hop.text = request->url;
            queue(std::move(hop));
            t.redirected = true;
            start(t, request->url);
            return;
        }
        e.status = kReadError;  // too many hops, or somewhere that is not http or https
    } else if (result == CURLE_OK && !t.overCap && !t.tooSlow) {
        e.status = kReadDataEnd;
        e.bytesMax = t.bytesMax;
        e.data = std::move(t.body);
        e.finalAddress = t.redirected ? t.url : t.address;
    } else {
        e.status = kReadError;
        e.text = curl_easy_strerror(static_cast<CURLcode>(result));
    }
    queue(std::move(e));
}

void CurlReader::poll() {
    if (performing_ || transfers_.empty()) return;
    performing_ = true;
    int running = 0;
    curl_multi_perform(multi_, &running);
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
        if (msg->msg != CURLMSG_DONE) continue;
        Transfer* t = nullptr;
        curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&t));
        if (t) finish(*t, msg->data.result);
    }
    performing_ = false;
}

bool CurlReader::waitOutside(unsigned ms) {
    if (transfers_.empty()) return false;
    int fds = 0;
    curl_multi_poll(multi_, nullptr, 0, static_cast<int>(ms), &fds);
    poll();
    return true;
}

std::optional<std::uint64_t> CurlReader::nextDue() const {
    if (events_.empty()) return std::nullopt;
    return 0;  // due now
}

void CurlReader::deliverDue(std::uint64_t) {
    // Only what is queued now; a handler that processes events takes the later ones itself.
    for (std::size_t n = events_.size(); n > 0 && !events_.empty(); --n) {
        Event e = std::move(events_.front());
        events_.pop_front();
        auto it = transfers_.find(e.read);
        if (it == transfers_.end()) continue;  // cancelled
        AsyncReadSink* sink = it->second->sink;
        const std::string name = it->second->name;
        if (e.complete) transfers_.erase(it);
        if (!sink) continue;
        if (e.complete)
            sink->onReadComplete(e.read, name, e.status, e.data, e.bytesMax, e.finalAddress);
        else
            sink->onReadProgress(e.read, name, e.status, e.text, e.bytesMax);
    }
}

}  // namespace kit::headless
