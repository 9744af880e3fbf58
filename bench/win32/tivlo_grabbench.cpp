// The grab window's costs under Wine: the first page built over a folder of big pictures, a
// refresh tick over the unchanged folder, private memory against the window over an empty
// folder, the idle share of a core for a while, drawing objects after page flips and refreshes
// over a folder of small pictures, and the listing of a folder of many pictures.
// Run by bench/grab-window.sh, which makes the folders.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"
#include "bench/win32/process_counts.h"
#include "grabber/resource_form.h"
#include "grabber/resource_state.h"
#include "shell/globals.h"
#include "shell/start.h"
#include "shell/tivlo_form.h"

namespace {

double MsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double CpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return ((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

// Runs the messages for a while, sleeping between them as the program's own loop does: an
// idle share must not count wake-ups of the bench's.
void Pump(int ms) {
    const auto t0 = std::chrono::steady_clock::now();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const double left = ms - MsSince(t0);
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

// A point where the script measures the process from outside (its memory, its CPU time): says
// so, then waits until the script has created the file NAME in the sync folder.
std::string gSyncFolder;
void Checkpoint(const char* name) {
    std::printf("checkpoint %s\n", name);
    std::fflush(stdout);
    if (gSyncFolder.empty()) return;
    const std::string done = gSyncFolder + "\\" + name;
    const auto t0 = std::chrono::steady_clock::now();
    while (GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES && MsSince(t0) < 120000)
        Pump(20);
}

FrmResource& OpenOn(const std::string& folder) {
    gDownloadFolder = gListedFolder = folder;
    FrmResource& w = frmResource();
    w.tmrRefreshThumbView.setEnabled(false);  // ticks come from here
    w.Show();
    return w;
}

}  // namespace

// Usage: tivlo_grabbench BIG EMPTY SMALL MANY [IDLE_SECONDS [BUILDS [SYNC_FOLDER]]]
int main(int argc, char** argv) {
    if (argc < 5) {
        std::printf("usage: %s BIG EMPTY SMALL MANY [IDLE_SECONDS [BUILDS [SYNC_FOLDER]]]\n",
                    argv[0]);
        return 2;
    }
    const std::string big = argv[1], empty = argv[2], small = argv[3], many = argv[4];
    const int idleSeconds = argc > 5 ? std::atoi(argv[5]) : 60;
    const int builds = std::max(1, argc > 6 ? std::atoi(argv[6]) : 20);
    if (argc > 7) gSyncFolder = argv[7];
    static bench::CountingGdi gdi;
    static platform::win32::RecordingEffectsSystem system;
    static platform::win32::RecordingEffectsShell shell;
    app::BindWin32(system, &gdi, &shell);
    kit::win32::RunGuarded(shell::StartTivlo);
    kit::win32::RunGuarded([] { frmTivlo().tmrGrabbing.setEnabled(false); });

    // Memory of the window over an empty folder, then over the big pictures: first opened,
    // and again after all the builds.
    FrmResource* w = &OpenOn(empty);
    Pump(500);
    const double emptyMb = bench::PrivateMb();
    Checkpoint("empty");
    frmResource.Unload();
    Pump(200);

    // Page builds from scratch: each opening decodes the five pictures again.
    std::vector<double> buildMs;
    for (int i = 0; i < builds; ++i) {
        const auto t = std::chrono::steady_clock::now();
        OpenOn(big);
        buildMs.push_back(MsSince(t));
        if (i == 0) {
            Pump(500);
            Checkpoint("big-first");
        }
        frmResource.Unload();
        Pump(50);
    }
    const double firstBuildMs = buildMs.front();
    std::sort(buildMs.begin(), buildMs.end());
    auto t0 = std::chrono::steady_clock::now();
    w = &OpenOn(big);
    Pump(500);
    const double bigMb = bench::PrivateMb();
    Checkpoint("big");

    t0 = std::chrono::steady_clock::now();
    const int ticks = 20;
    for (int i = 0; i < ticks; ++i) w->tmrRefreshThumbView_Timer();
    const double tickMs = MsSince(t0) / ticks;
    w->tmrRefreshThumbView.setEnabled(true);

    Checkpoint("idle-start");
    const double cpu0 = CpuMs();
    t0 = std::chrono::steady_clock::now();
    Pump(idleSeconds * 1000);
    const double idleShare = (CpuMs() - cpu0) / MsSince(t0) * 100.0;
    Checkpoint("idle-end");
    frmResource.Unload();
    Pump(200);

    // Drawing objects: 200 page flips and 50 refreshes over small pictures.
    w = &OpenOn(small);
    Pump(300);
    w->cmdForward_Click();
    w->cmdFirst_Click();
    const bench::Counts before = bench::Measure(gdi);
    for (int i = 0; i < 100; ++i) {
        w->cmdForward_Click();
        w->cmdFirst_Click();
    }
    for (int i = 0; i < 50; ++i) w->tmrRefreshThumbView_Timer();
    w->tmrRefreshThumbView.setEnabled(false);
    Pump(300);
    const bench::Counts after = bench::Measure(gdi);
    frmResource.Unload();

    // The listing of a folder of many pictures.
    kit::FileListBox& list = frmTivlo().flbThumbView;
    list.setPath(small);
    t0 = std::chrono::steady_clock::now();
    list.setPath(many);
    const double listMs = MsSince(t0);

    std::printf("page of five big pictures built in:   %.0f ms median of %d (first %.0f ms)\n",
                buildMs[buildMs.size() / 2], builds, firstBuildMs);
    std::printf("refresh tick over the same folder:    %.2f ms\n", tickMs);
    // Wine reports a PrivateUsage of 0: the script reads the memory from Linux at the checkpoints.
    std::printf("private memory, empty folder:         %.1f MB (GetProcessMemoryInfo)\n", emptyMb);
    std::printf("private memory, five big pictures:    %.1f MB (+%.1f MB)\n", bigMb, bigMb - emptyMb);
    std::printf("idle share of a core over %d s:       %.2f %% (GetProcessTimes)\n", idleSeconds,
                idleShare);
    std::printf("GetGuiResources GDI objects:  %lu -> %lu\n", before.gdi, after.gdi);
    std::printf("GetGuiResources USER objects: %lu -> %lu\n", before.user, after.user);
    std::printf("live GDI handles by probing:  %d -> %d\n", before.probed, after.probed);
    std::printf("handles held via kit::Gdi:    %zu -> %zu\n", before.wrapped, after.wrapped);
    std::printf("listing of %d pictures:       %.0f ms\n", list.ListCount(), listMs);
    const bool same = before.gdi == after.gdi && before.user == after.user &&
                      before.probed == after.probed && before.wrapped == after.wrapped;
    std::printf("%s\n", same ? "no growth" : "GROWTH");
    std::fflush(stdout);
    ExitProcess(same ? 0 : 1);
}
