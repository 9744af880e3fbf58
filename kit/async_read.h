// The toolkit's asynchronous read of an address into a byte array under a name. Events reach
// the sink on the user-interface thread, and only from event processing: for each redirect a
// progress event with status 3 and the new address; once the final headers are in, status 14
// with the announced size (0 when none); then exactly one completion, status 6 with the whole
// body (whatever the HTTP status) or status 0 on failure. After a cancel nothing of that read
// arrives.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kit {

using ReadHandle = std::uint64_t;

enum ReadStatus : int {
    kReadError = 0,
    kReadRedirecting = 3,
    kReadDataEnd = 6,
    kReadCacheFileAvailable = 14,
};

// When a read fails.
struct ReadLimits {
    std::size_t maxBytes = std::size_t(32) << 20;  // a longer body fails
    int maxRedirects = 10;                          // one more hop fails
    std::size_t minBytes = 1024;                    // fewer bytes than this ...
    unsigned windowMs = 30000;                      // ... within this time fail
};

// The slow-peer rule kept over a whole read, its redirects included: from the read's start,
// every window of windowMs must bring minBytes, header bytes counting as body bytes do.
struct ReadPace {
    using Clock = std::chrono::steady_clock;
    Clock::time_point windowStart;
    std::size_t windowBytes = 0;

    explicit ReadPace(Clock::time_point start = Clock::now()) : windowStart(start) {}
    // Counts bytes that arrived at now; false once a window has ended with too few.
    bool count(Clock::time_point now, std::size_t bytes, const ReadLimits& limits);
    Clock::time_point windowEnd(const ReadLimits& limits) const {
        return windowStart + std::chrono::milliseconds(limits.windowMs);
    }
};

class AsyncReadSink {
public:
    virtual ~AsyncReadSink() = default;
    virtual void onReadProgress(ReadHandle read, const std::string& name, int status,
                                const std::string& statusText, std::uint32_t bytesMax) = 0;
    // data may be moved from.
    virtual void onReadComplete(ReadHandle read, const std::string& name, int status,
                                std::vector<std::uint8_t>& data, std::uint32_t bytesMax,
                                const std::string& finalAddress) = 0;
};

class AsyncReader {
public:
    virtual ~AsyncReader() = default;
    // Starts a read; 0 for an address refused at once (see kit/url.h). No event arrives from
    // inside this call.
    virtual ReadHandle beginRead(const std::string& address, const std::string& name,
                                 AsyncReadSink* sink) = 0;
    virtual void cancelRead(ReadHandle read) = 0;
    virtual void setLimits(const ReadLimits& limits) = 0;
};

AsyncReader& asyncReader();
void setAsyncReader(AsyncReader* reader);

}  // namespace kit
