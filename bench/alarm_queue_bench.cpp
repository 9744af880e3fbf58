// Today's queue over 1,000 alarms, all due today, in random order of time.
#include <benchmark/benchmark.h>

#include <random>

#include "alarms/alarm_records.h"
#include "platform/headless/bind.h"

namespace {

void BM_BuildAlarmQueue(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    world.backend.setNow({2026, 12, 7, 9, 41, 30});
    std::mt19937 rng(1);
    const char* modes[] = {kModeDaily, kModeWeekly, kModeMonthly, kModeOnce, kModeYearly};
    gAlarms.clear();
    for (int i = 0; i < state.range(0); ++i) {
        AlarmRecord a;
        a.Hint = "Alarm " + std::to_string(i);
        a.Mode = modes[i % 5];
        a.Date = i % 2 ? "Dec 07 , 2026" : "07 Dec 2026";
        char t[16];
        std::snprintf(t, sizeof t, "%02u:%02u:%02u%s", unsigned(rng() % 12 + 1), unsigned(rng() % 60),
                      unsigned(rng() % 60), i % 3 ? " am" : "");
        a.Time = t;
        a.Week = 127;
        a.LastDate = i % 7 ? "" : "06 Dec 2026";
        gAlarms.push_back(a);
    }
    gAlarmCount = static_cast<int16_t>(gAlarms.size());
    for (auto _ : state) {
        eSchedule::BuildAlarmQueue();
        benchmark::DoNotOptimize(gAlarmQueueCount);
    }
    state.counters["queued"] = gAlarmQueueCount;
    ResetAlarmState();
}
BENCHMARK(BM_BuildAlarmQueue)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
