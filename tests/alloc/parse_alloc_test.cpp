// Pages parsed while allocations fail: the page is dropped, never the program, and the queues
// stay whole. A program of its own, as it replaces the allocator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "grabber/grab_state.h"
#include "grabber/parse_web.h"
#include "kit/async_read.h"
#include "platform/headless/bind.h"

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // the replaced new is malloc

// While armed, every allocation of this many bytes or more fails.
std::size_t g_refuseFrom = SIZE_MAX;

void* operator new(std::size_t n) {
    if (n >= g_refuseFrom) throw std::bad_alloc();
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct Refusing {
    explicit Refusing(std::size_t from) { g_refuseFrom = from; }
    ~Refusing() { g_refuseFrom = SIZE_MAX; }
};

std::string Links(int n) {
    std::string page;
    for (int i = 0; i < n; ++i) page += "<a href=" + std::to_string(i) + "></a>";
    return page;
}

TEST(ParseAllocation, AFailedAllocationDropsThePageAndTheQueuesStayWhole) {
    platform::headless::HeadlessWorld world;
    world.bind();
    ResetGrabState();
    ParseWeb web(nullptr);
    const std::string address = "http://s/d/p.html", name = "HTM$$" + address;

    // No room for the page's text, nor for its lower-cased copy.
    std::vector<std::uint8_t> data(1 << 20, 'x');
    const std::string big = Links(70000);
    {
        Refusing refusing(512 << 10);
        EXPECT_NO_THROW(web.UserControl_AsyncReadComplete(0, name, kit::kReadDataEnd, data, 0, address));
        EXPECT_NO_THROW(EXPECT_FALSE(web.ParseHtml(big, name, address)));
    }
    EXPECT_EQ(gPageQueueCount, 0);

    // The queue runs out of room part of the way through: what was queued stays, and the same
    // page parsed later adds each link once.
    const std::string page = Links(3000);
    {
        Refusing refusing(64 << 10);
        EXPECT_NO_THROW(web.ParseHtml(page, name, address));
    }
    EXPECT_GT(gPageQueueCount, 1000);
    EXPECT_LT(gPageQueueCount, 3000);
    EXPECT_TRUE(web.ParseHtml(page, name, address));
    EXPECT_EQ(gPageQueueCount, 3000);
    EXPECT_EQ(gPageQueueURLs[2999], "http://s/d/2999");
}

}  // namespace
