#include "kit/async_read.h"

#include <cassert>

namespace kit {

namespace {
AsyncReader* g_reader = nullptr;
}

AsyncReader& asyncReader() {
    assert(g_reader && "no reader bound");
    return *g_reader;
}

void setAsyncReader(AsyncReader* reader) { g_reader = reader; }

bool ReadPace::count(Clock::time_point now, std::size_t bytes, const ReadLimits& limits) {
    // Windows that ended before now are judged first; what arrives now opens the next one.
    while (now >= windowEnd(limits)) {
        if (windowBytes < limits.minBytes) return false;
        windowStart = windowEnd(limits);
        windowBytes = 0;
    }
    windowBytes += bytes;
    return true;
}

}  // namespace kit
