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

namespace kit {

Color ResolveColor(Color c) {
    if (c & kSysColor) return backend().systemColor(static_cast<int>(c & 0xFF)) & 0xFFFFFF;
    return c & 0xFFFFFF;
}

}  // namespace kit
