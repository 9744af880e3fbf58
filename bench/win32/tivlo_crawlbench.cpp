// Grab figures under Wine, run by bench/grab-wine.sh:
//   tivlo_crawlbench parse FILE [ROUNDS]   parse throughput of a page, queueing into an empty task
//   tivlo_crawlbench idle URL              a grab task of URL to its end: wall time and the share
//                                         of one core the process used meanwhile
//   tivlo_crawlbench runs URL N FOLDER [pages]
//                                         N grab tasks of URL saving into FOLDER (emptied before
//                                         each): time, pictures, and after each run the working
//                                         set, private bytes, threads and handles; with "pages",
//                                         every picture type off (the pages' share of a crawl)
//   tivlo_crawlbench endless URL...        the reads at once with the real limits: how each ends,
//                                         when, and the process's peak memory meanwhile
#include <windows.h>
// After windows.h:
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32_app.h"
#include "bench/win32/process_counts.h"
#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "grabber/html_parser.h"
#include "grabber/queues.h"
#include "kit/async_read.h"
#include "kit/runtime.h"
#include "shell/globals.h"
#include "shell/tivlo_form.h"

namespace {

platform::win32::RecordingEffectsSystem g_system;

struct QueueSink : grabber::LinkSink {
    void AddResourceURL(const std::string& url) override { grabber::AddResourceURL(url); }
    void AddPageLink(const std::string& url, const std::string& text) override {
        grabber::AddPageLink(url, text);
    }
};

double Seconds(const FILETIME& f) {
    return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) *
           1e-7;
}

double ProcessCpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

// The user-interface thread's own share: the crawl loop, parsing and saving.
double ThreadCpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int Parse(const char* path, int rounds) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string page = s.str();
    if (page.empty()) {
        std::printf("cannot read %s\n", path);
        return 1;
    }
    QueueSink sink;
    double best = 1e9;
    int links = 0;
    for (int i = 0; i < rounds; ++i) {
        ResetGrabState();
        grabber::ParseInput input;
        input.html = page;
        input.pageAddress = "http://docs.example/3.11/genindex-all.html";
        const double t0 = Now();
        grabber::ParseHtml(input, sink);
        const double t = Now() - t0;
        if (t < best) best = t;
        links = gPageQueueCount;
    }
    std::printf("parse: %.2f MB in %.1f ms (best of %d), %.1f MB/s, %d pages queued\n",
                page.size() / 1e6, best * 1e3, rounds, page.size() / 1e6 / best, links);
    return 0;
}

// The run's closing message box: when it shows, the run is over; it is answered at once.
double g_endWall = 0, g_endCpu = 0, g_endThreadCpu = 0;
LRESULT CALLBACK OnBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_endWall == 0) {
        char cls[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
        if (std::string(cls) == "#32770") {
            g_endWall = Now();
            g_endCpu = ProcessCpuSeconds();
            g_endThreadCpu = ThreadCpuSeconds();
            PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Starts the program as the grab window would find it, with downloads saved into folder.
void StartProgram(const std::string& folder) {
    kit::win32::RunGuarded(shell::StartTivlo);
    gDownloadFolder = folder;
    gSearchKeyword.clear();
    SetWindowsHookExA(WH_CBT, OnBox, nullptr, GetCurrentThreadId());
}

// One grab task of url to its closing box; false when it did not end within the limit. cpu is
// the process's, threadCpu the user-interface thread's.
bool Grab(const std::string& url, double limitS, double& wall, double& cpu,
          double* threadCpu = nullptr) {
    g_endWall = 0;
    const double wall0 = Now(), cpu0 = ProcessCpuSeconds(), threadCpu0 = ThreadCpuSeconds();
    grabber::InitGrabTask(url);
    gStopGrabbing = false;
    frmTivlo().tmrGrabbing.setEnabled(true);
    kit::Backend& backend = kit::backend();
    while (g_endWall == 0 && Now() - wall0 < limitS) backend.waitEvents();
    if (g_endWall == 0) return false;
    wall = g_endWall - wall0;
    cpu = g_endCpu - cpu0;
    if (threadCpu) *threadCpu = g_endThreadCpu - threadCpu0;
    return true;
}

int Idle(const std::string& url) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string path = exe;
    StartProgram(path.substr(0, path.find_last_of('\\')));
    double wall = 0, cpu = 0;
    if (!Grab(url, 120, wall, cpu)) {
        std::printf("idle: the run did not end within 120 s\n");
        return 1;
    }
    std::printf("idle: %d pages read in %.1f s, process CPU %.3f s = %.2f %% of one core\n",
                gPageQueueNext, wall, cpu, 100 * cpu / wall);
    return 0;
}

struct Usage {
    double workingMB = 0, privateMB = 0, peakWorkingMB = 0, peakPrivateMB = 0;
    int threads = 0;
    unsigned long handles = 0;
};

Usage Measure() {
    Usage u;
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                         sizeof pmc);
    u.workingMB = pmc.WorkingSetSize / 1048576.0;
    u.privateMB = pmc.PagefileUsage / 1048576.0;  // PrivateUsage is 0 under Wine
    u.peakWorkingMB = pmc.PeakWorkingSetSize / 1048576.0;
    u.peakPrivateMB = pmc.PeakPagefileUsage / 1048576.0;
    u.threads = bench::CountThreads();
    u.handles = bench::CountHandles();
    return u;
}

void Print(const char* what, const Usage& u) {
    std::printf("%-22s working set %7.1f MB, private %7.1f MB, threads %3d, handles %4lu\n", what,
                u.workingMB, u.privateMB, u.threads, u.handles);
}

void EmptyFolder(const std::string& folder) {
    WIN32_FIND_DATAA f;
    const HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + "\\" + f.cFileName).c_str());
    } while (FindNextFileA(h, &f));
    FindClose(h);
}

// The counts settle once the workers of the last reads are gone: up to 5 s for the threads,
// how long it took in waited.
Usage Settled(const Usage& start, double& waited) {
    const double t0 = Now();
    while (bench::CountThreads() > start.threads && Now() - t0 < 5) {
        kit::backend().doEvents();
        Sleep(100);
    }
    waited = Now() - t0;
    return Measure();
}

int Runs(const std::string& url, int runs, const std::string& folder, bool pagesOnly) {
    StartProgram(folder);
    if (pagesOnly) gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = false;
    const std::vector<std::uintptr_t> startHandles = bench::LiveHandles();
    const Usage start = Measure();
    Print("before the first run:", start);
    double firstWorking = 0, firstPrivate = 0;
    bool back = true;
    for (int r = 1; r <= runs; ++r) {
        EmptyFolder(folder);
        double wall = 0, cpu = 0, threadCpu = 0;
        if (!Grab(url, 600, wall, cpu, &threadCpu)) {
            std::printf("run %d did not end within 600 s\n", r);
            return 1;
        }
        const int pictures = gFileCounterGIF + gFileCounterJPG + gFileCounterBMP + gFileCounterPNG;
        std::printf(
            "run %2d: %d pages, %d pictures in %.2f s (%.1f pages/s, %.1f pictures/s), "
            "CPU %.2f s (%.2f s the crawl's thread)\n",
            r, gPageQueueNext, pictures, wall, gPageQueueNext / wall, pictures / wall, cpu,
            threadCpu);
        double waited = 0;
        const Usage u = Settled(start, waited);
        char label[32];
        std::snprintf(label, sizeof label, "after run %d:", r);
        Print(label, u);
        std::printf("%-22s (threads settled %.1f s after the run)\n", "", waited);
        if (u.threads != start.threads || u.handles != start.handles) back = false;
        if (r == 1) firstWorking = u.workingMB, firstPrivate = u.privateMB;
        if (r == runs && runs > 1)
            std::printf("from run 1 to run %d: working set %+.2f MB, private %+.2f MB\n", runs,
                        u.workingMB - firstWorking, u.privateMB - firstPrivate);
    }
    std::printf("threads and handles back to their start counts within 5 s of every run: %s\n",
                back ? "yes" : "NO");
    if (!back) {
        // How long what is left takes to go.
        const double t0 = Now();
        Usage u = Measure();
        while (u.threads != start.threads && Now() - t0 < 90) {
            kit::backend().doEvents();
            Sleep(500);
            u.threads = bench::CountThreads();
        }
        u = Measure();
        std::printf("after the last run, %.0f s later: threads %d, handles %lu\n", Now() - t0,
                    u.threads, u.handles);
        if (u.handles != start.handles)
            std::printf("  left open: %s\n", bench::NewHandles(startHandles).c_str());
    }
    return 0;
}

int Endless(const std::vector<std::string>& urls) {
    struct Sink : kit::AsyncReadSink {
        double t0 = Now();
        int completions = 0;
        void onReadProgress(kit::ReadHandle, const std::string&, int, const std::string&,
                            std::uint32_t) override {}
        void onReadComplete(kit::ReadHandle, const std::string& name, int status,
                            std::vector<std::uint8_t>& data, std::uint32_t,
                            const std::string&) override {
            ++completions;
            std::printf("%s: status %d after %.1f s with %zu bytes\n", name.c_str(), status,
                        Now() - t0, data.size());
        }
    } sink;
    kit::win32::RunGuarded(shell::StartTivlo);
    const Usage start = Measure();
    Print("before:", start);
    kit::AsyncReader& reader = kit::asyncReader();
    reader.setLimits(kit::ReadLimits{});
    for (std::size_t i = 0; i < urls.size(); ++i)
        reader.beginRead(urls[i], "read " + std::to_string(i + 1), &sink);
    Usage peak = start;
    kit::Backend& backend = kit::backend();
    while (sink.completions < static_cast<int>(urls.size()) && Now() - sink.t0 < 300) {
        backend.waitEvents();
        peak.threads = std::max(peak.threads, bench::CountThreads());
    }
    const Usage end = Measure();
    Print("when all had ended:", end);
    std::printf("peak: working set %.1f MB, private %.1f MB, threads %d\n", end.peakWorkingMB,
                end.peakPrivateMB, peak.threads);
    return sink.completions == static_cast<int>(urls.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    app::BindWin32(g_system);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "parse" && argc > 2) return Parse(argv[2], argc > 3 ? std::atoi(argv[3]) : 5);
    if (mode == "idle" && argc > 2) return Idle(argv[2]);
    if (mode == "runs" && argc > 4)
        return Runs(argv[2], std::atoi(argv[3]), argv[4], argc > 5 && std::string(argv[5]) == "pages");
    if (mode == "endless" && argc > 2)
        return Endless(std::vector<std::string>(argv + 2, argv + argc));
    std::printf(
        "usage: tivlo_crawlbench parse FILE [ROUNDS] | idle URL | runs URL N FOLDER [pages] | "
        "endless URL...\n");
    return 2;
}
