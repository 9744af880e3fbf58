// Parse throughput on a large real page and on hostile pages, and the picture queue's adder.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>

#include "grabber/grab_state.h"
#include "grabber/html_parser.h"
#include "grabber/parse_web.h"
#include "grabber/queues.h"
#include "platform/headless/bind.h"

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"  // the replaced new is malloc

// Bytes allocated and not yet freed, and their peak since the last reset, counted only while
// g_counting is set (the hostile pages), so that the other figures bear no counting cost.
std::atomic<std::size_t> g_live{0}, g_peak{0};
std::atomic<bool> g_counting{false};

void* operator new(std::size_t n) {
    void* p = std::malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    if (g_counting) {
        const std::size_t live = g_live += malloc_usable_size(p);
        if (live > g_peak) g_peak = live;
    }
    return p;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    if (g_counting) {
        const std::size_t size = malloc_usable_size(p);
        g_live -= std::min<std::size_t>(size, g_live);  // blocks from before the count began
    }
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

std::size_t g_parsePeak = 0;  // the last parse's peak above what was live before it

// Queues into an empty task, as a parsed page does.
struct QueueSink : grabber::LinkSink {
    void AddResourceURL(const std::string& url) override { grabber::AddResourceURL(url); }
    void AddPageLink(const std::string& url, const std::string& text) override { grabber::AddPageLink(url, text); }
};

void ParsePage(benchmark::State& state, const std::string& page, const std::string& keyword = "") {
    platform::headless::HeadlessWorld world;
    world.bind();
    QueueSink sink;
    for (auto _ : state) {
        ResetGrabState();
        const std::size_t before = g_live;
        g_peak = before;
        grabber::ParseInput in;
        in.html = page;
        in.pageAddress = "http://docs.example/3.11/genindex-all.html";
        in.searchWord = keyword;
        grabber::ParseHtml(in, sink);
        g_parsePeak = g_peak - before;
        benchmark::DoNotOptimize(gPageQueueCount);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["pages_queued"] = gPageQueueCount;
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void BM_ParseGenindex(benchmark::State& state) {
    static const std::string page = ReadFile("/usr/share/doc/python3.11/html/genindex-all.html");
    if (page.empty()) {
        state.SkipWithError("python3.11-doc is not installed");
        return;
    }
    ParsePage(state, page, state.range(0) ? "index+python" : "");
}
BENCHMARK(BM_ParseGenindex)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

constexpr std::size_t kHostile = 16u << 20;

std::string Repeat(const std::string& head, const std::string& piece, const std::string& tail = {}) {
    std::string s = head;
    s.reserve(kHostile + tail.size());
    while (s.size() + piece.size() <= kHostile) s += piece;
    return s + tail;
}

std::string HostilePage(int kind) {
    switch (kind) {
        case 0: return Repeat("", "<a href=x.html>", "</a>");      // links whose only "</a" is at the end
        case 1: return Repeat("<a href=x.html>", "<b>", "</a>");   // one link holding a million tags
        case 2: {                                                  // one address, a million texts
            std::string page;
            page.reserve(kHostile + 64);
            for (int i = 0; page.size() < kHostile; ++i) page += "<a href=same.html>t" + std::to_string(i) + "</a>";
            return page;
        }
        case 3: return Repeat("", "<<a href=x <img src=y.gif ");  // no ">" at all
        default: return Repeat("<script>", "<img src=a.gif><a href=b.html>b</a>");  // an unclosed script
    }
}

// Each hostile page parsed once, into the real queues; the time, and the peak of the memory
// allocated meanwhile (the page itself not counted) as a multiple of the page's size.
void BM_Hostile(benchmark::State& state) {
    const std::string page = HostilePage(static_cast<int>(state.range(0)));
    g_live = 0;
    g_counting = true;
    ParsePage(state, page, state.range(1) ? "word" : "");
    g_counting = false;
    state.counters["peak_x_size"] = static_cast<double>(g_parsePeak) / static_cast<double>(page.size());
    state.counters["text_bytes"] = gPageQueueTexts.empty() ? 0 : gPageQueueTexts[0].size();
}
BENCHMARK(BM_Hostile)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);

long StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string want = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(want, 0) == 0) return std::atol(line.c_str() + want.size());
    return 0;
}

// The reader's largest page, 32 MB of distinct short links, at a 127-byte address, parsed
// through the download control as a finished page is: what the parse adds to the process at
// its peak, the page itself not counted. Counted by the allocator, and as the resident set's
// high-water mark (reset before the parse) above the resident set before it.
void BM_PageOfLinks(benchmark::State& state) {
    constexpr std::size_t kPage = 32u << 20;
    std::string page;
    page.reserve(kPage);
    int links = 0;
    for (;; ++links) {
        const std::string link = "<a href=" + std::to_string(links) + "></a>";
        if (page.size() + link.size() > kPage) break;
        page += link;
    }
    const std::string address = "http://www.site.example/" + std::string(127 - 34, 'd') + "/page.html";
    platform::headless::HeadlessWorld world;
    world.bind();
    ParseWeb web(nullptr);
    double heapMb = 0, rssMb = 0;
    for (auto _ : state) {
        ResetGrabState();
        std::ofstream("/proc/self/clear_refs") << "5";
        const long rssBefore = StatusKb("VmRSS");
        g_live = 0;
        g_peak = 0;
        g_counting = true;
        web.ParseHtml(page, "HTM$$" + address, address);
        g_counting = false;
        heapMb = static_cast<double>(g_peak) / (1 << 20);
        rssMb = static_cast<double>(StatusKb("VmHWM") - rssBefore) / 1024;
    }
    state.counters["links_on_page"] = links;
    state.counters["address_bytes"] = static_cast<double>(address.size());
    state.counters["pages_queued"] = gPageQueueCount;
    state.counters["heap_added_MB"] = heapMb;
    state.counters["rss_added_MB"] = rssMb;
}
BENCHMARK(BM_PageOfLinks)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_QueuePictures(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    std::vector<std::string> urls;
    for (int i = 0; i < 100000; ++i) urls.push_back("http://host/pics/" + std::to_string(i) + ".jpg");
    for (auto _ : state) {
        state.PauseTiming();  // freeing the last round's queue is not queueing
        ResetGrabState();
        state.ResumeTiming();
        for (const auto& u : urls) grabber::AddResourceURL(u);
    }
    state.counters["queued"] = gPictureQueueCount;
}
BENCHMARK(BM_QueuePictures)->Unit(benchmark::kMillisecond);

}  // namespace
