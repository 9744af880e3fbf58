// Grab figures under Wine, run by bench/grab-wine.sh:
//   tivlo_crawlbench parse FILE [ROUNDS]   parse throughput of a page, queueing into an empty task
//   tivlo_crawlbench idle URL              a grab task of URL to its end: wall time and the share
//                                         of one core the process used meanwhile
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/win32_app.h"
#include "grabber/crawl.h"
#include "grabber/grab_state.h"
#include "grabber/html_parser.h"
#include "grabber/queues.h"
#include "kit/runtime.h"
#include "shell/globals.h"
#include "shell/tivlo_form.h"

namespace {

platform::win32::RecordingEffectsSystem g_system;

struct QueueSink : grabber::LinkSink {
    void AddResourceURL(const std::string& url) override { grabber::AddResourceURL(url); }
    void AddPageLink(const std::string& url, const std::string& text) override { grabber::AddPageLink(url, text); }
};

double ProcessCpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto s = [](const FILETIME& f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) * 1e-7;
    };
    return s(kernel) + s(user);
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
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
double g_endWall = 0, g_endCpu = 0;
LRESULT CALLBACK OnBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_endWall == 0) {
        char cls[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
        if (std::string(cls) == "#32770") {
            g_endWall = Now();
            g_endCpu = ProcessCpuSeconds();
            PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int Idle(const std::string& url) {
    kit::win32::RunGuarded(shell::StartTivlo);
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder = exe;
    gDownloadFolder = folder.substr(0, folder.find_last_of('\\'));
    gSearchKeyword.clear();
    SetWindowsHookExA(WH_CBT, OnBox, nullptr, GetCurrentThreadId());
    const double wall0 = Now(), cpu0 = ProcessCpuSeconds();
    grabber::InitGrabTask(url);
    gStopGrabbing = false;
    frmTivlo().tmrGrabbing.setEnabled(true);
    kit::Backend& backend = kit::backend();
    while (g_endWall == 0 && Now() - wall0 < 120) backend.waitEvents();
    if (g_endWall == 0) {
        std::printf("idle: the run did not end within 120 s\n");
        return 1;
    }
    const double wall = g_endWall - wall0, cpu = g_endCpu - cpu0;
    std::printf("idle: %d pages read in %.1f s, process CPU %.3f s = %.2f %% of one core\n",
                gPageQueueNext, wall, cpu, 100 * cpu / wall);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    app::BindWin32(g_system);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "parse" && argc > 2) return Parse(argv[2], argc > 3 ? std::atoi(argv[3]) : 5);
    if (mode == "idle" && argc > 2) return Idle(argv[2]);
    std::printf("usage: tivlo_crawlbench parse FILE [ROUNDS] | idle URL\n");
    return 2;
}
