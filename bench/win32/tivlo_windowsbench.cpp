// Opens and closes every window of the program 50 times each (or the count given), as its menu
// item and its close box do, and prints private bytes, GDI and USER objects after each window's
// first and last closing. Run under Wine by bench/window-cycles.sh. Exits 0 when every window's
// objects came back to the first closing's counts and private bytes stayed within 1 MB.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "alarms/alarm_popup.h"
#include "alarms/alarm_records.h"
#include "alarms/schedule_form.h"
#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"
#include "bench/win32/process_counts.h"
#include "fortune/fortune_form.h"
#include "grabber/resource_form.h"
#include "grabber/resource_state.h"
#include "shell/about_form.h"
#include "shell/globals.h"
#include "shell/tivlo_form.h"
#include "shell/tray.h"
#include "viewer/sized_preview.h"

namespace {

using Clock = std::chrono::steady_clock;

// The message loop for a while: paints, timers, the close. Each round is an event of its own,
// as one turn of the program's loop is, so unloaded forms are destroyed at its end.
void PumpFor(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        kit::win32::RunGuarded([] { kit::DoEvents(); });
    }
}

struct Counts {
    int gdi;
    std::size_t wrapped;
    bench::UserObjects user;
    double privateMb;
};

Counts Snapshot(const bench::CountingGdi& gdi) {
    return {bench::ProbeGdiHandles(), gdi.live(), bench::ProbeUserObjects(), bench::PrivateMb()};
}

struct Window {
    const char* name;
    std::function<void()> open;   // as its menu item or its caller does, inside an event
    std::function<kit::Handle()> handle;  // 0 once closed
};

// Opens the window, lets it paint, then sends its close box's message and runs the loop until
// it is gone.
bool Cycle(const Window& w) {
    kit::win32::RunGuarded(w.open);
    PumpFor(150);
    const HWND h = reinterpret_cast<HWND>(w.handle());
    if (!h) return false;
    PostMessageA(h, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && w.handle(); ++i) PumpFor(10);
    PumpFor(50);
    return w.handle() == 0;
}

void Print(const char* when, const Counts& c) {
    std::printf("  %-22s private %8.2f MB  GDI %4d (via the toolkit %3zu)  USER %4d (windows %d, menus %d, "
                "icons %d)\n",
                when, c.privateMb, c.gdi, c.wrapped, c.user.total(), c.user.windows, c.user.menus, c.user.icons);
}

}  // namespace

// Usage: tivlo_windowsbench FOLDER [CYCLES]   (FOLDER holds big.jpg, 4000 x 3000; default 50)
int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 50;
    static bench::CountingGdi gdi;
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system, &gdi);
    kit::win32::RunGuarded(shell::StartTivlo);
    PumpFor(300);

    gDownloadFolder = argv[1];
    AlarmRecord alarm;
    alarm.Hint = "Tea time";
    alarm.Mode = kModeOnce;
    alarm.Action = kActionNothing;
    gAlarms.push_back(alarm);
    gAlarmQueue.push_back(AlarmQueueItem{true, 0, "10:00:00"});
    gAlarmCount = gAlarmQueueCount = 1;

    const std::vector<Window> windows = {
        {"schedule dialog", [] { frmTivlo().mnuSchedule.Click(); },
         [] { return frmSchedule.Loaded() ? frmSchedule().hWnd() : 0; }},
        {"grab window", [] { frmTivlo().mnuGrabbing.Click(); },
         [] { return frmResource.Loaded() ? frmResource().hWnd() : 0; }},
        {"viewer, 4000 x 3000",
         [] {
             frmTivlo().flbThumbView.setPath(gDownloadFolder);
             gThumbFileCount = frmTivlo().flbThumbView.ListCount();
             gCurrentPicture = 0;
             frmSizedPreview().Show();
         },
         [] { return frmSizedPreview.Loaded() ? frmSizedPreview().hWnd() : 0; }},
        {"game", [] { frmTivlo().mnuFortune.Click(); },
         [] { return frmFortune.Loaded() ? frmFortune().hWnd() : 0; }},
        {"About box", [] { frmTivlo().mnuAbout.Click(); },
         [] { return frmAbout.Loaded() ? frmAbout().hWnd() : 0; }},
        {"alarm pop-up",
         [] {
             gFiredIndex = 0;
             gHintCount = 1;
             frmAlarm().Show();
         },
         [] { return frmAlarm.Loaded() ? frmAlarm().hWnd() : 0; }},
    };

    bool ok = true;
    for (const Window& w : windows) {
        const auto t0 = Clock::now();
        if (!Cycle(w)) {
            std::printf("%s: did not open and close\n", w.name);
            ok = false;
            continue;
        }
        const Counts first = Snapshot(gdi);
        for (int i = 1; i < cycles; ++i)
            if (!Cycle(w)) {
                std::printf("%s: closing %d failed\n", w.name, i + 1);
                ok = false;
                break;
            }
        const Counts last = Snapshot(gdi);
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        std::printf("%s, %d openings (%.1f s):\n", w.name, cycles, s);
        Print("after the 1st closing:", first);
        char label[40];
        std::snprintf(label, sizeof label, "after the %dth closing:", cycles);
        Print(label, last);
        const bool same = first.gdi == last.gdi && first.wrapped == last.wrapped &&
                          first.user.total() == last.user.total();
        const double grew = last.privateMb - first.privateMb;
        std::printf("  objects %s, private bytes %+.2f MB%s\n", same ? "back to the first closing's" : "GREW", grew,
                    grew > 1.0 ? " (OVER 1 MB)" : "");
        std::fflush(stdout);
        ok = ok && same && grew <= 1.0;
    }
    std::printf("%s\n", ok ? "all windows gave back what they held" : "SOME WINDOW KEPT SOMETHING");
    std::fflush(stdout);
    eTray::RemoveTrayIcons();
    ExitProcess(ok ? 0 : 1);
}
