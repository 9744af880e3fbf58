// The card game on the headless backend: DrawTable (52 block copies into the table's image, and
// its refresh) and one drag move (the face into the floating card, placed, the table refreshed).
#include <benchmark/benchmark.h>

#include "fortune/fortune_form.h"
#include "platform/headless/bind.h"

namespace {

void BM_DrawTable(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    fortune::OcxFortune& g = frmFortune().ocxFortune;
    for (auto _ : state) g.DrawTable();
    kit::ResetAllForms();
}
BENCHMARK(BM_DrawTable)->Unit(benchmark::kMicrosecond);

void BM_DragMove(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    fortune::OcxFortune& g = frmFortune().ocxFortune;
    g.picFortune_MouseMove(0, 0, 30, 50);
    int k = 0;
    for (auto _ : state) {
        g.picFortune_MouseMove(kit::kLeftButton, 0, 30 + k % 250, 50 + k % 120);
        ++k;
    }
    kit::ResetAllForms();
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMicrosecond);

}  // namespace
