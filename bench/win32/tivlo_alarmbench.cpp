// The alarm pop-up with ten lines: draws 10,000 frames (or the count given) and compares the
// program's GDI objects and windows after the first frame with those after the last, and
// counts how often the window was erased or painted meanwhile (each frame should be one copy
// of the buffer and nothing else). Exits 0 when nothing grew and nothing was erased. Run under
// Wine by bench/alarm-frames.sh.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "alarms/alarm_popup.h"
#include "alarms/alarm_records.h"
#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"

namespace {

constexpr int kLines = 10;

int g_erases = 0, g_paints = 0;
WNDPROC g_formProc = nullptr;

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) ++g_erases;
    if (msg == WM_PAINT || msg == WM_NCPAINT) ++g_paints;
    return CallWindowProcA(g_formProc, hwnd, msg, wParam, lParam);
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadWindows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

void Frame() {
    frmAlarm().tmrFlash_Timer();
    kit::DoEvents();
}

}  // namespace

// Usage: tivlo_alarmbench [FRAMES]   (default 10000)
int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 10000;
    static bench::CountingGdi gdi;
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system, &gdi);

    // Ten alarms fired one after the other into one pop-up.
    for (int i = 0; i < kLines; ++i) {
        AlarmRecord a;
        a.Hint = "Alarm number " + std::to_string(i + 1);
        a.Mode = kModeOnce;
        a.Action = kActionNothing;
        gAlarms.push_back(a);
        gAlarmQueue.push_back(AlarmQueueItem{true, static_cast<int16_t>(i), "10:00:00"});
    }
    gAlarmCount = gAlarmQueueCount = kLines;
    kit::win32::RunGuarded([] {
        for (int i = 0; i < kLines; ++i) {
            gFiredIndex = static_cast<int16_t>(i);
            if (++gHintCount == 1)
                frmAlarm().Show();
            else
                frmAlarm().AddHint();
        }
    });
    FrmAlarm& popup = frmAlarm();
    popup.tmrFlash.setEnabled(false);  // the frames come from here, as fast as they can
    HWND hwnd = reinterpret_cast<HWND>(popup.hWnd());
    for (int i = 0; i < 20; ++i) kit::DoEvents();  // the first paint
    g_formProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));

    Frame();
    const bench::Counts before = bench::Measure(gdi);
    const int windowsBefore = ThreadWindows();
    g_erases = g_paints = 0;

    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) Frame();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const bench::Counts after = bench::Measure(gdi);
    const int windowsAfter = ThreadWindows();

    std::printf("%d lines, %d frames after the first: %.3f ms each\n", gHintCount, frames,
                frames ? ms / frames : 0.0);
    std::printf("erases of the window between frames: %d, paints: %d\n", g_erases, g_paints);
    std::printf("GetGuiResources GDI objects:  %lu -> %lu\n", before.gdi, after.gdi);
    std::printf("GetGuiResources USER objects: %lu -> %lu\n", before.user, after.user);
    std::printf("live GDI handles by probing:  %d -> %d\n", before.probed, after.probed);
    std::printf("handles held via kit::Gdi:    %zu -> %zu\n", before.wrapped, after.wrapped);
    std::printf("windows of the thread:        %d -> %d\n", windowsBefore, windowsAfter);
    const bool same = before.gdi == after.gdi && before.user == after.user &&
                      before.probed == after.probed && before.wrapped == after.wrapped &&
                      windowsBefore == windowsAfter;
    const bool ok = same && g_erases == 0;
    std::printf("%s\n", ok ? "no growth, no erase" : "GROWTH OR ERASES");
    std::fflush(stdout);
    ExitProcess(ok ? 0 : 1);
}
