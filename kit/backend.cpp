#include "kit/backend.h"

#include <cassert>

namespace kit {

namespace {
Backend* g_backend = nullptr;
}

Backend& backend() {
    assert(g_backend && "no backend bound");
    return *g_backend;
}

void setBackend(Backend* b) { g_backend = b; }

}  // namespace kit
