// The headless asynchronous read: a real HTTP/1.1 client (libcurl's multi interface) pumped by
// the headless event processing, so native tests crawl a real loopback server on one thread.
// Redirects are followed here, hop by hop, so each one is reported and the limits hold: a
// redirect's own body counts against the size limit, and header bytes count for the slow-peer
// rule as body bytes do.
#pragma once
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kit/async_read.h"
#include "kit/headless/headless_backend.h"

typedef void CURLM;
typedef void CURL;

namespace kit::headless {

class CurlReader : public AsyncReader, public EventSource {
public:
    explicit CurlReader(HeadlessBackend& backend);
    ~CurlReader() override;
    CurlReader(const CurlReader&) = delete;
    CurlReader& operator=(const CurlReader&) = delete;

    ReadHandle beginRead(const std::string& address, const std::string& name,
                         AsyncReadSink* sink) override;
    void cancelRead(ReadHandle read) override;
    void setLimits(const ReadLimits& limits) override { limits_ = limits; }
    // https is verified against this certificate (PEM) alone instead of the system's
    // authorities: a test's own loopback server.
    void trustOnly(std::string pem) { trusted_ = std::move(pem); }

    // EventSource.
    std::optional<std::uint64_t> nextDue() const override;
    void deliverDue(std::uint64_t tick) override;
    void poll() override;
    bool waitOutside(unsigned ms) override;

    int liveReads() const { return static_cast<int>(transfers_.size()); }

    struct Transfer;

private:
    struct Event {
        ReadHandle read = 0;
        bool complete = false;
        int status = 0;
        std::string text;
        std::uint32_t bytesMax = 0;
        std::vector<std::uint8_t> data;
        std::string finalAddress;
    };
    void start(Transfer& t, const std::string& url);
    void finish(Transfer& t, int curlResult);
    void drop(Transfer& t);
    void queue(Event e) { events_.push_back(std::move(e)); }

    HeadlessBackend& backend_;
    ReadLimits limits_;
    std::string trusted_;
    CURLM* multi_ = nullptr;
    bool performing_ = false;
    std::map<ReadHandle, std::unique_ptr<Transfer>> transfers_;
    std::deque<Event> events_;
    ReadHandle next_ = 1;

    friend std::size_t CurlWrite(char*, std::size_t, std::size_t, void*);
    friend std::size_t CurlHeader(char*, std::size_t, std::size_t, void*);
    friend int CurlProgress(void*, long long, long long, long long, long long);
};

}  // namespace kit::headless
