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

}  // namespace kit
