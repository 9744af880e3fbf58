// Counts the program's GDI and USER objects after the first redraw of the tray icons and again
// after 10,000 more (or the count given); exits 0 when nothing grew. Run under Wine by
// bench/gdi-leaks.sh.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "kit/datetime.h"
#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"
#include "shell/tivlo_form.h"
#include "shell/tray.h"

namespace {

using bench::CountingGdi;
using bench::Counts;
using bench::Measure;

void Redraw() {
    const kit::DateTime now = kit::Now();
    frmTivlo().TrayDispDateTime(kit::DateText(now), kit::TimeText(now));
}

}  // namespace

// Usage: tivlo_gdibench [REDRAWS]   (default 10000)
int main(int argc, char** argv) {
    const int redraws = argc > 1 ? std::atoi(argv[1]) : 10000;
    static CountingGdi gdi;
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system, &gdi);

    // Start-up up to the loaded main form, which draws and adds the icons.
    kit::win32::RunGuarded(shell::StartTivlo);
    Redraw();
    const Counts before = Measure(gdi);
    std::printf("after the first redraw:\n");
    gdi.list();

    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < redraws; ++i) Redraw();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const Counts after = Measure(gdi);
    std::printf("after %d more redraws (%.3f ms each):\n", redraws, redraws ? ms / redraws : 0.0);
    gdi.list();

    std::printf("GetGuiResources GDI objects:  %lu -> %lu\n", before.gdi, after.gdi);
    std::printf("GetGuiResources USER objects: %lu -> %lu\n", before.user, after.user);
    if (before.gdi == 0 && before.user == 0)
        std::printf("  (GetGuiResources returns 0 here: a stub, as under Wine)\n");
    std::printf("live GDI handles by probing:  %d -> %d\n", before.probed, after.probed);
    std::printf("handles held via kit::Gdi:    %zu -> %zu\n", before.wrapped, after.wrapped);
    const bool same = before.gdi == after.gdi && before.user == after.user &&
                      before.probed == after.probed && before.wrapped == after.wrapped;
    std::printf("%s\n", same ? "no growth" : "GROWTH");
    std::fflush(stdout);

    eTray::RemoveTrayIcons();
    ExitProcess(same ? 0 : 1);
}
