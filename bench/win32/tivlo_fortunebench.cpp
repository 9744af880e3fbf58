// Figures of the card game on real Win32 (run under Wine by bench/fortune.sh): the cost of
// DrawTable and of one drag move, GDI and USER objects and private memory around 1,000 deals
// and 1,000 drags, what the open window adds to private memory, and the spacing of the
// finale's ticks.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "app/win32_app.h"
#include "bench/win32/gdi_counts.h"
#include "bench/win32/process_counts.h"
#include "fortune/fortune_form.h"

namespace {

using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

BOOL CALLBACK CountChild(HWND, LPARAM n) {
    ++*reinterpret_cast<int*>(n);
    return TRUE;
}
BOOL CALLBACK CountTop(HWND w, LPARAM n) {
    ++*reinterpret_cast<int*>(n);
    EnumChildWindows(w, CountChild, n);
    return TRUE;
}
// Windows of this thread, children included.
int UserWindows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTop, reinterpret_cast<LPARAM>(&n));
    return n;
}

struct Counts {
    bench::Counts objects;
    int windows;
    double privateMb;
};
Counts Snapshot(const bench::CountingGdi& gdi) { return {bench::Measure(gdi), UserWindows(), bench::PrivateMb()}; }

// Runs the messages waiting now, as the message loop would between events.
void Pump() { kit::DoEvents(); }
void PumpFor(double ms) {
    const auto t0 = Clock::now();
    while (MsSince(t0) < ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
}

struct Stats {
    double mean, median, max;
};
Stats Of(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {std::accumulate(v.begin(), v.end(), 0.0) / v.size(), v[v.size() / 2], v.back()};
}

// Hover over column 0's top card, press, drag through `moves` points and release away from
// the pile. Returns the time of each move, the paint messages it causes included.
std::vector<double> DragColumnCard(fortune::OcxFortune& g, int moves) {
    std::vector<double> times;
    g.picFortune_MouseMove(0, 0, 30, 50);
    for (int k = 0; k < moves; ++k) {
        const auto t0 = Clock::now();
        g.picFortune_MouseMove(kit::kLeftButton, 0, 30 + (k * 7) % 250, 50 + (k * 5) % 120);
        Pump();
        times.push_back(MsSince(t0));
    }
    g.picFortune_MouseUp(kit::kLeftButton, 0, 200, 120);
    Pump();
    return times;
}

void Print(const char* what, const Counts& c) {
    std::printf("%-30s GDI handles %d (via the toolkit %zu), windows %d, GetGuiResources %lu/%lu, "
                "private %.2f MB\n",
                what, c.objects.probed, c.objects.wrapped, c.windows, c.objects.gdi, c.objects.user, c.privateMb);
}

}  // namespace

// Usage: tivlo_fortunebench [ROUNDS]   (deals and drags, default 1000)
int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 1000;
    static platform::win32::RecordingEffectsSystem system;
    static bench::CountingGdi gdi;
    app::BindWin32(system, &gdi);

    const double before = bench::PrivateMb();
    FrmFortune& form = frmFortune();
    form.Show();
    PumpFor(300);
    fortune::OcxFortune& g = form.ocxFortune;
    const double opened = bench::PrivateMb();
    std::printf("open game window adds %.2f MB of private memory (%.2f -> %.2f MB)\n", opened - before, before,
                opened);

    // DrawTable: 52 block copies and the refresh.
    std::vector<double> draw;
    for (int i = 0; i < 300; ++i) {
        const auto t0 = Clock::now();
        g.DrawTable();
        draw.push_back(MsSince(t0));
        Pump();
    }
    Stats d = Of(draw);
    std::printf("DrawTable: mean %.3f ms, median %.3f ms, max %.3f ms (300 calls)\n", d.mean, d.median, d.max);

    // One drag move: face into the floating card, placed, the table refreshed, paints done.
    Stats m = Of(DragColumnCard(g, 600));
    std::printf("drag move: mean %.3f ms, median %.3f ms, max %.3f ms (600 moves)\n", m.mean, m.median, m.max);

    // Objects and memory after the first deal and drag, and after `rounds` more of each.
    g.cmdNew_Click();
    DragColumnCard(g, 5);
    PumpFor(100);
    const Counts first = Snapshot(gdi);
    for (int i = 0; i < rounds; ++i) {
        g.cmdNew_Click();
        DragColumnCard(g, 5);
    }
    PumpFor(100);
    const Counts after = Snapshot(gdi);
    Print("after the first deal:", first);
    char label[64];
    std::snprintf(label, sizeof label, "after %d deals and drags:", rounds);
    Print(label, after);
    const bool same = first.objects.probed == after.objects.probed &&
                      first.objects.wrapped == after.objects.wrapped && first.windows == after.windows &&
                      first.objects.gdi == after.objects.gdi && first.objects.user == after.objects.user;
    std::printf("objects %s; private memory %+.2f MB\n", same ? "unchanged" : "GREW",
                after.privateMb - first.privateMb);

    // The reading of a won game with one matched pair: 105 ticks. Each tick's start and end.
    std::vector<double> starts, ends;
    const auto t0 = Clock::now();
    auto handler = g.tmrShowPairCard.OnTimer;
    g.tmrShowPairCard.OnTimer = [&] {
        starts.push_back(MsSince(t0));
        handler();
        ends.push_back(MsSince(t0));
    };
    for (int i = 0; i < 52; ++i) g.mPairPile[i] = i;
    std::swap(g.mPairPile[25], g.mPairPile[0]);
    g.mPairTop = 51;
    g.mSpacing = 5;
    g.mStockTop = -1;
    for (int c = 0; c < fortune::kColumns; ++c) g.mColumnTop[c] = -1;
    g.CheckGameEnd();
    while (ends.size() < 105 && MsSince(t0) < 60000) PumpFor(20);
    std::vector<double> gaps, work;
    for (std::size_t k = 1; k < starts.size(); ++k) gaps.push_back(starts[k] - ends[k - 1]);
    for (std::size_t k = 0; k < ends.size(); ++k) work.push_back(ends[k] - starts[k]);
    if (gaps.empty()) {
        std::printf("finale: no ticks\n");
    } else {
        Stats gp = Of(gaps), wk = Of(work);
        const double minGap = *std::min_element(gaps.begin(), gaps.end());
        std::printf("finale: %zu ticks; from the end of one tick to the next: mean %.1f ms, min %.1f ms, max "
                    "%.1f ms; tick work mean %.2f ms; first to last %.0f ms\n",
                    ends.size(), gp.mean, minGap, gp.max, wk.mean, starts.back() - starts.front());
    }
    std::fflush(stdout);
    ExitProcess(same ? 0 : 1);
}
