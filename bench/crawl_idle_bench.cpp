// The CPU a crawl uses while every answer it waits for is 5 s late (the loop
// must sleep in its wait for events, not spin), and a crawl of a generated site
// (bench/crawl-throughput.sh).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

#include <sys/resource.h>

#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "kit/headless/curl_reader.h"
#include "kit/runtime.h"
#include "platform/headless/bind.h"
#include "shell/globals.h"
#include "shell/start.h"
#include "shell/tivlo_form.h"
#include "tests/server/loopback_server.h"

namespace {

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A started program over in-memory files whose crawls read a loopback server
// through curl.
struct CrawlRig {
    platform::headless::HeadlessWorld world;
    testserver::LoopbackServer server;
    kit::headless::CurlReader curl{world.backend};

    explicit CrawlRig(const std::string& root) : server(prepare(world, root)) {}
    ~CrawlRig() {
        kit::setAsyncReader(&world.reader);
        ResetGlobals();
    }

    // False when the start-up ended the process.
    bool start() {
        kit::setAsyncReader(&curl);
        try {
            shell::StartTivlo();
        } catch (const kit::ProcessEnded&) {
            return false;
        }
        gDownloadFolder = "C:\\Pics";
        world.files.addFolder("C:\\Pics");
        return true;
    }

    struct Times {
        double wall, cpu, crawl;
    };
    // Runs a grab task from `url` until its closing message box, or `limit`
    // seconds.
    Times crawl(const std::string& url, double limit) {
        const std::size_t boxes = world.backend.msgBoxCalls().size();
        const double wall0 = Seconds(CLOCK_MONOTONIC), cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID),
                     crawl0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
        grabber::InitGrabTask(url);
        gStopGrabbing = false;
        frmTivlo().tmrGrabbing.setEnabled(true);
        while (world.backend.msgBoxCalls().size() == boxes &&
               Seconds(CLOCK_MONOTONIC) - wall0 < limit)
            world.backend.advance(100);
        return {Seconds(CLOCK_MONOTONIC) - wall0, Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0,
                Seconds(CLOCK_THREAD_CPUTIME_ID) - crawl0};
    }

private:
    static const std::string& prepare(platform::headless::HeadlessWorld& w,
                                      const std::string& root) {
        w.bind();
        w.reset();
        ResetGlobals();
        platform::HKey key = 0;
        std::uint32_t disposition = 0;
        w.registry.createKeyEx(platform::kHKeyLocalMachine, "Software", 0, platform::kKeyAllAccess,
                               key, disposition);
        w.registry.closeKey(key);
        return root;
    }
};

// A start page linking 20 pages, each answered after 5 s: four rounds of five
// reads in flight.
void BM_WaitingCrawl(benchmark::State& state) {
    for (auto _ : state) {
        CrawlRig rig(".");
        if (!rig.start()) {
            state.SkipWithError("the start-up ended the process");
            break;
        }
        const auto t = rig.crawl(rig.server.url("/t/waiting?n=20&ms=5000"), 60);
        state.counters["wall_s"] = t.wall;
        state.counters["cpu_s"] = t.cpu;
        state.counters["cpu_pct_of_core"] = 100.0 * t.cpu / t.wall;  // with the server's threads
        state.counters["crawl_pct_of_core"] = 100.0 * t.crawl / t.wall;  // the crawl's own thread
        state.counters["reads"] = static_cast<double>(rig.server.targets().size());
    }
}
BENCHMARK(BM_WaitingCrawl)->Unit(benchmark::kSecond)->Iterations(1);

// The whole site in TIVLO_CRAWL_SITE, saved into the in-memory files: with every picture type
// on (1), or with none, its pages alone (0); the difference is the pictures' share.
void BM_CrawlSite(benchmark::State& state) {
    const char* site = std::getenv("TIVLO_CRAWL_SITE");
    if (!site) {
        state.SkipWithError("TIVLO_CRAWL_SITE names no site (bench/crawl-throughput.sh makes one)");
        return;
    }
    const bool pictures = state.range(0) != 0;
    for (auto _ : state) {
        CrawlRig rig(site);
        if (!rig.start()) {
            state.SkipWithError("the start-up ended the process");
            break;
        }
        gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = pictures;
        gLimitImageSize = gLimitImageFileSize = false;
        const auto t = rig.crawl(rig.server.url("/index.html"), 600);
        const int pages = gPageQueueNext + gPriorityPageNext;
        state.counters["wall_s"] = t.wall;
        state.counters["cpu_s"] = t.cpu;
        state.counters["crawl_cpu_s"] = t.crawl;
        state.counters["pages"] = pages;
        state.counters["pictures"] = gSavedPictureCount;
        state.counters["pages_per_s"] = pages / t.wall;
        state.counters["pictures_per_s"] = gSavedPictureCount / t.wall;
    }
}
BENCHMARK(BM_CrawlSite)->ArgName("pictures")->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1);

// Five endless bodies at once with the real limits: each fails at the 32 MiB
// cap; the peak of the process's resident memory (the server's threads
// included) grows by what the five buffers hold at most.
void BM_FiveEndlessBodies(benchmark::State& state) {
    struct Sink : kit::AsyncReadSink {
        int failures = 0, completions = 0;
        void onReadProgress(kit::ReadHandle, const std::string&, int, const std::string&,
                            std::uint32_t) override {}
        void onReadComplete(kit::ReadHandle, const std::string&, int status,
                            std::vector<std::uint8_t>&, std::uint32_t,
                            const std::string&) override {
            ++completions;
            if (status == kit::kReadError) ++failures;
        }
    };
    for (auto _ : state) {
        platform::headless::HeadlessWorld world;
        world.bind();
        testserver::LoopbackServer server;
        kit::headless::CurlReader curl(world.backend);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        Sink sink;
        const double wall0 = Seconds(CLOCK_MONOTONIC);
        for (int i = 0; i < 5; ++i)
            curl.beginRead(server.url("/t/endless?i=" + std::to_string(i)), "n", &sink);
        while (sink.completions < 5 && Seconds(CLOCK_MONOTONIC) - wall0 < 120)
            world.backend.waitEvents();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        state.counters["failed_at_cap"] = sink.failures;
        state.counters["wall_s"] = Seconds(CLOCK_MONOTONIC) - wall0;
        state.counters["peak_growth_MB"] = (after.ru_maxrss - before.ru_maxrss) / 1024.0;
    }
}
BENCHMARK(BM_FiveEndlessBodies)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
