// The alarm editor's music controls under Wine: the volume thumb dragged across its slider
// (each Change with its mixer call, timed), a preview that loops a file for a while (the
// process's share of a core), and ten minutes' worth of progress updates (GDI and USER objects
// after the first second against those after the last). Run by bench/music-cost.sh.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "alarms/mci.h"
#include "alarms/slider_control.h"
#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"
#include "kit/mmcontrol.h"

namespace {

using Clock = std::chrono::steady_clock;

struct MusicForm : kit::Form {
    MusicForm() {
        setCaption("Music bench");
        volume.Move(120, 120, 3375, 255);
        progress.Move(120, 480, 3375, 255);
        progress.setSlideMove(false);
        volume.Change = [this] { eMci::SetVolume(mixer, control, volume.getValue()); };
        media.StatusUpdate = [this] { statusUpdate(); };
    }
    void Form_Load() override { Move(0, 0, 3900, 1300); }
    void statusUpdate() {
        if (media.Mode() == kit::kMciModeStop) {
            media.setCommand("Close");
            media.setCommand("Open");
            media.setCommand("Play");
            progress.setValue(0);
            played = 0;
            ++restarts;
            return;
        }
        played += 55;
        if (auto p = eMci::ProgressValue(played, media.Length(), progress.getMax()))
            progress.setValue(*p);
    }
    OcxSlider volume{this};
    OcxSlider progress{this};
    kit::MMControl media{this};
    platform::MixerHandle mixer = 0;
    platform::MixerControl control;
    double played = 0;
    int restarts = 0;  // the file played to its end and started again
};
kit::FormInstance<MusicForm> musicForm;

double CpuSeconds() {
    FILETIME c, e, k, u;
    GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
    auto s = [](FILETIME f) {
        return (double(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7;
    };
    return s(k) + s(u);
}

void RunFor(double seconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) kit::WaitEvents();
}

}  // namespace

// Usage: tivlo_musicbench FILE.wav [PREVIEW_SECONDS] [UPDATES]   (defaults 60, 12000)
int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: tivlo_musicbench FILE.wav [PREVIEW_SECONDS] [UPDATES]\n");
        return 2;
    }
    const double previewSeconds = argc > 2 ? std::atof(argv[2]) : 60;
    const int updates = argc > 3 ? std::atoi(argv[3]) : 12000;
    static bench::CountingGdi gdi;
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system, &gdi);
    bool ok = true;

    MusicForm& f = musicForm();
    f.Show();
    for (int i = 0; i < 20; ++i) kit::DoEvents();

    // The thumb dragged from end to end and back, as the mouse reports it: 4 pixels a move.
    if (platform::mixer().open(0, f.mixer) == 0 &&
        eMci::GetVolumeControl(f.mixer, platform::kMixerComponentSpeakers,
                               platform::kMixerControlVolume, f.control)) {
        f.volume.setMax(f.control.maximum);
        f.volume.setMin(f.control.minimum);
        double worst = 0, total = 0;
        int moves = 0;
        for (int pass = 0; pass < 10; ++pass) {
            for (int step = 0; step < 60; ++step) {
                const int toward = (pass % 2 == 0 ? 60 : -60);
                const auto t0 = Clock::now();
                f.volume.picSlider_MouseMove(1, 0, 67 + toward, 128);
                UpdateWindow(reinterpret_cast<HWND>(f.volume.hWnd()));
                const double ms =
                    std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                worst = std::max(worst, ms);
                total += ms;
                ++moves;
            }
        }
        std::printf("drag: %d moves, each Change with its mixer call and repaint %.3f ms on "
                    "average, %.3f ms at most\n", moves, total / moves, worst);
        ok = ok && worst < 5;
    } else {
        std::printf("drag: no speaker volume on this machine; not measured\n");
    }

    // The preview, looping, with its progress events every 50 ms.
    f.media.setFileName(argv[1]);
    try {
        f.media.setCommand("Open");
        f.media.setTimeFormat(kit::kMciFormatMilliseconds);
        f.media.setUpdateInterval(50);
        f.media.setCommand("Play");
    } catch (const kit::RuntimeError& e) {
        std::printf("preview: cannot play %s: %s\n", argv[1], e.what());
        ExitProcess(2);
    }
    RunFor(1);
    const bench::Counts first = bench::Measure(gdi);
    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    const int restarts0 = f.restarts;
    RunFor(previewSeconds);
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const double share = 100 * (CpuSeconds() - cpu0) / wall;
    std::printf("preview: %.0f s playing, %.2f %% of one core, the file started again %d times\n",
                wall, share, f.restarts - restarts0);
    ok = ok && share < 2;
    // The same time with the device playing and no status events: what playing costs by itself.
    // Started again from the top, so that both minutes play the same stretch of the file (the
    // null device runs faster than real time: a minute of it is four of the file's).
    f.media.setUpdateInterval(0);
    f.media.setCommand("Close");
    f.media.setCommand("Open");
    f.media.setCommand("Play");
    const double cpu1 = CpuSeconds();
    const auto t1 = Clock::now();
    RunFor(previewSeconds);
    const double wall1 = std::chrono::duration<double>(Clock::now() - t1).count();
    const double alone = 100 * (CpuSeconds() - cpu1) / wall1;
    std::printf("playing alone, no status events: %.2f %% of one core (mode %d at the end)\n",
                alone, f.media.Mode());
    std::printf("the status events' own share: %.2f %% of one core\n", share - alone);
    f.media.setUpdateInterval(50);

    // Ten minutes of status events (12,000 at 50 ms), as fast as they come.
    for (int i = 0; i < updates; ++i) {
        f.statusUpdate();
        kit::DoEvents();
    }
    const bench::Counts last = bench::Measure(gdi);
    std::printf("%d progress updates more\n", updates);
    std::printf("GetGuiResources GDI objects:  %lu -> %lu\n", first.gdi, last.gdi);
    std::printf("GetGuiResources USER objects: %lu -> %lu\n", first.user, last.user);
    std::printf("live GDI handles by probing:  %d -> %d\n", first.probed, last.probed);
    std::printf("handles held via kit::Gdi:    %zu -> %zu\n", first.wrapped, last.wrapped);
    ok = ok && first.gdi == last.gdi && first.user == last.user && first.probed == last.probed &&
         first.wrapped == last.wrapped;
    f.media.setCommand("Close");
    if (f.mixer) platform::mixer().close(f.mixer);
    std::printf("%s\n", ok ? "within the goals" : "GOAL MISSED");
    std::fflush(stdout);
    ExitProcess(ok ? 0 : 1);
}
