// Figures of the image viewer under Wine: the time from a command to the drawn picture, the
// private bytes one picture takes, and the drawing objects over many steps. Medians of the
// runs given. Run by bench/viewer-cost.sh with a folder of generated pictures.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"
#include "bench/win32/process_counts.h"
#include "grabber/resource_state.h"
#include "kit/gdi.h"
#include "kit/picture_loader.h"
#include "shell/globals.h"
#include "shell/tivlo_form.h"
#include "shell/tray.h"
// The viewer's LoadImage, not the Windows macro.
#undef LoadImage
#include "viewer/sized_preview.h"

namespace {

using Clock = std::chrono::steady_clock;

// Lets the window paint what it was given, as the user would see it.
void Settle() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    GdiFlush();
}

double TimeMs(const std::function<void()>& f) {
    const auto t0 = Clock::now();
    f();
    Settle();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int IndexOf(const std::string& name) {
    kit::FileListBox& list = frmTivlo().flbThumbView;
    for (int i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == name) return i;
    std::printf("missing %s\n", name.c_str());
    std::fflush(stdout);
    ExitProcess(2);
}

void Show(const std::string& name, int mode = 0) {
    gCurrentPicture = IndexOf(name);
    frmSizedPreview().LoadImage(static_cast<std::int16_t>(mode));
}

}  // namespace

// Usage: tivlo_viewerbench FOLDER [RUNS]
// FOLDER holds big1.jpg, big2.jpg, big3.jpg (4000 x 3000), alpha.png (2000 x 1500), small.bmp.
int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
    static bench::CountingGdi gdi;
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system, &gdi);
    kit::win32::RunGuarded(shell::StartTivlo);

    gDownloadFolder = argv[1];
    frmTivlo().flbThumbView.setPath(gDownloadFolder);
    gThumbFileCount = frmTivlo().flbThumbView.ListCount();
    // A first opening loads the decoders (OLE picture codecs, GDI+) for good: its JPEG is the
    // cold figure, and the baseline is taken after it.
    const double fresh = bench::PrivateMb();
    gCurrentPicture = IndexOf("small.bmp");
    frmSizedPreview().Show();
    Settle();
    const double cold = TimeMs([] { Show("big1.jpg"); });
    Show("alpha.png");
    frmSizedPreview.Unload();
    Settle();
    const double before = bench::PrivateMb();
    gCurrentPicture = IndexOf("small.bmp");
    frmSizedPreview().Show();
    Settle();
    const double baseline = bench::PrivateMb();
    const bench::Counts countsOpen = bench::Measure(gdi);
    std::printf("private bytes: %.1f MB at start, %.1f MB after a first opening and closing\n",
                fresh, before);
    std::vector<double> warm;
    for (int i = 0; i < runs; ++i) warm.push_back(TimeMs([] { Show("big1.jpg"); }));
    const double fitted = bench::PrivateMb() - baseline;
    std::printf("4000x3000 JPEG fitted: cold %.1f ms, warm median %.1f ms (%d runs)\n", cold,
                Median(warm), runs);
    std::printf("  private bytes above the open viewer: %.1f MB fitted\n", fitted);

    // The platform loader's share: reading the file into a picture, and drawing it fitted.
    std::vector<double> loads, draws;
    const std::string big = gDownloadFolder + "\\big1.jpg";
    for (int i = 0; i < runs; ++i) {
        kit::Picture p;
        loads.push_back(TimeMs([&] { p = kit::LoadPicture(big); }));
        kit::PictureBox& box = frmSizedPreview().picPview;
        draws.push_back(TimeMs([&] {
            kit::gdi().renderPicture(box.hDC(), p->object(), 0, 0, 640, 480);
        }));
    }
    std::printf("  of which the picture loader alone: median %.1f ms; drawing it fitted: %.1f ms\n",
                Median(loads), Median(draws));

    std::vector<double> turns;
    for (int i = 0; i < runs; ++i) {
        Show("big1.jpg");
        turns.push_back(TimeMs([] { frmSizedPreview().LoadImage(4); }));
    }
    std::printf("quarter turn of the 4000x3000 picture: warm median %.1f ms\n", Median(turns));

    std::vector<double> png;
    for (int i = 0; i < runs; ++i) png.push_back(TimeMs([] { Show("alpha.png"); }));
    std::printf("2000x1500 PNG with alpha: median %.1f ms\n", Median(png));

    Show("big1.jpg");
    frmSizedPreview().mnuFullSize.Click();
    Settle();
    std::printf("  private bytes above the open viewer: %.1f MB at Full Size\n", bench::PrivateMb() - baseline);
    // Drags at Full Size: each move pans by 7 pixels and back.
    const HWND box = reinterpret_cast<HWND>(frmSizedPreview().picPview.hWnd());
    SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 300));
    std::vector<double> moves;
    for (int i = 0; i < runs * 5; ++i) {
        const int x = 300 + ((i & 1) ? 7 : -7);
        moves.push_back(TimeMs([&] { SendMessageA(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 300)); }));
    }
    SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
    std::printf("drag move at Full Size: median %.2f ms, worst %.2f ms\n", Median(moves),
                *std::max_element(moves.begin(), moves.end()));

    // 100 Next steps through the big pictures.
    Show("big1.jpg");
    const bench::Counts c0 = bench::Measure(gdi);
    const double m0 = bench::PrivateMb();
    const char* names[] = {"big1.jpg", "big2.jpg", "big3.jpg"};
    for (int i = 0; i < 100; ++i) Show(names[(i + 1) % 3]);
    Show("big1.jpg");
    const bench::Counts c1 = bench::Measure(gdi);
    std::printf("100 Next steps: GDI %lu -> %lu, USER %lu -> %lu, probed %d -> %d, kit handles %zu -> %zu, "
                "private %.1f -> %.1f MB\n",
                c0.gdi, c1.gdi, c0.user, c1.user, c0.probed, c1.probed, c0.wrapped, c1.wrapped, m0,
                bench::PrivateMb());

    frmSizedPreview.Unload();
    Settle();
    const bench::Counts closed = bench::Measure(gdi);
    std::printf("after closing: private %.1f MB; open viewer's baseline %.1f MB (%+.1f MB), before "
                "opening %.1f MB; kit handles %zu open -> %zu closed\n",
                bench::PrivateMb(), baseline, bench::PrivateMb() - baseline, before, countsOpen.wrapped,
                closed.wrapped);
    std::fflush(stdout);
    eTray::RemoveTrayIcons();
    ExitProcess(0);
}
