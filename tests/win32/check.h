// A small harness for check programs: tests of the Win32 backends that smoke/run-smoke.sh
// runs under Wine for each architecture. Each CHECK_CASE prints "ok - name" or
// "not ok - name: what failed"; the program's last line is "N passed, N failed" and its exit
// code is 0 when nothing failed.
#pragma once
#include <chrono>
#include <sstream>
#include <string>

#include "kit/backend.h"

namespace check {
int Register(const char* name, void (*body)());
int RegisterChild(const char* name, int (*body)());
void Fail(const char* file, int line, const std::string& what);

// Waits with the program's own wait, so that events keep arriving, until done() or the time is up.
template <class F>
bool WaitUntil(kit::Backend& backend, F done, long ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        backend.waitEvents();
    }
    return true;
}
}  // namespace check

// CHECK_CHILD(name) { ...; return exit code; }: what the program does when started with the
// arguments "--child name", for cases that need a process of their own (one that ends, say).
#define CHECK_CHILD(name)                                                            \
    static int name();                                                               \
    [[maybe_unused]] static const int name##_child = ::check::RegisterChild(#name, name); \
    static int name()

// CHECK_CASE(name_in_words) { ... }: underscores print as blanks.
#define CHECK_CASE(name)                                                        \
    static void name();                                                         \
    [[maybe_unused]] static const int name##_case = ::check::Register(#name, name); \
    static void name()

// Records a failure and goes on with the case.
#define CHECK(cond)                                                   \
    do {                                                              \
        if (!(cond)) ::check::Fail(__FILE__, __LINE__, "CHECK(" #cond ")"); \
    } while (0)

#define CHECK_EQ(a, b)                                                         \
    do {                                                                       \
        const auto& check_a_ = (a);                                            \
        const auto& check_b_ = (b);                                            \
        if (!(check_a_ == check_b_)) {                                         \
            std::ostringstream check_s_;                                       \
            check_s_ << #a " == " #b ": " << check_a_ << " vs " << check_b_;   \
            ::check::Fail(__FILE__, __LINE__, check_s_.str());                 \
        }                                                                      \
    } while (0)
