// Parse throughput on a large real page and on hostile pages, and the picture queue's adder.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "grabber/grab_state.h"
#include "grabber/html_parser.h"
#include "grabber/queues.h"
#include "platform/headless/bind.h"

namespace {

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
        grabber::ParseInput in;
        in.html = page;
        in.pageAddress = "http://docs.example/3.11/genindex-all.html";
        in.searchWord = keyword;
        grabber::ParseHtml(in, sink);
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

std::string Repeat(const std::string& piece, const std::string& tail = {}) {
    std::string s;
    s.reserve(kHostile + tail.size());
    while (s.size() + piece.size() <= kHostile) s += piece;
    return s + tail;
}

void BM_Hostile(benchmark::State& state) {
    static const std::string pages[] = {
        Repeat("<a href=x.html>", "</a>"),                  // links whose only "</a" is at the end
        "<a href=x.html>" + Repeat("<b>") + "</a>",         // one link holding a million tags
        "",
        "",
        Repeat("<<a href=x <img src=y.gif "),               // no ">" at all
        "<script>" + Repeat("<img src=a.gif><a href=b.html>b</a>"),  // an unclosed script
    };
    const std::string& page = pages[state.range(0)];
    ParsePage(state, page, state.range(1) ? "word" : "");
}
BENCHMARK(BM_Hostile)->ArgsProduct({{0, 1, 2, 4, 5}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);

// One address linked with ever new texts: the merged text stays within its bound.
void BM_HostileTexts(benchmark::State& state) {
    std::string page;
    page.reserve(kHostile);
    for (int i = 0; page.size() < kHostile; ++i) page += "<a href=same.html>t" + std::to_string(i) + "</a>";
    ParsePage(state, page);
    state.counters["text_bytes"] = gPageQueueTexts.empty() ? 0 : gPageQueueTexts[0].size();
}
BENCHMARK(BM_HostileTexts)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_QueuePictures(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    std::vector<std::string> urls;
    for (int i = 0; i < 100000; ++i) urls.push_back("http://host/pics/" + std::to_string(i) + ".jpg");
    for (auto _ : state) {
        ResetGrabState();
        for (const auto& u : urls) grabber::AddResourceURL(u);
    }
    state.counters["queued"] = gPictureQueueCount;
}
BENCHMARK(BM_QueuePictures)->Unit(benchmark::kMillisecond);

}  // namespace
