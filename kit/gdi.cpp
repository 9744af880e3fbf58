#include "kit/gdi.h"

#include <cassert>

namespace kit {

namespace {
Gdi* g_gdi = nullptr;
}

Gdi& gdi() {
    assert(g_gdi && "no drawing backend bound");
    return *g_gdi;
}

void setGdi(Gdi* g) { g_gdi = g; }

}  // namespace kit
