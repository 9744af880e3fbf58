// Today's queue over 1,000 alarms, all due today, with times in random, descending and
// ascending order (descending is the exchange sort's worst case).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <random>

#include "alarms/alarm_records.h"
#include "platform/headless/bind.h"

namespace {

enum Order { kRandom, kDescending, kAscending };

void BM_BuildAlarmQueue(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    world.backend.setNow({2026, 12, 7, 9, 41, 30});
    std::mt19937 rng(1);
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> times;
    for (int i = 0; i < n; ++i) {
        char t[16];
        std::snprintf(t, sizeof t, "%02u:%02u:%02u%s", unsigned(rng() % 12 + 1), unsigned(rng() % 60),
                      unsigned(rng() % 60), i % 3 ? " am" : "");
        times.push_back(t);
    }
    if (state.range(1) == kDescending) std::sort(times.begin(), times.end(), std::greater<>());
    if (state.range(1) == kAscending) std::sort(times.begin(), times.end());
    const char* modes[] = {kModeDaily, kModeWeekly, kModeMonthly, kModeOnce, kModeYearly};
    gAlarms.clear();
    for (int i = 0; i < n; ++i) {
        AlarmRecord a;
        a.Hint = "Alarm " + std::to_string(i);
        a.Mode = modes[i % 5];
        a.Date = i % 2 ? "Dec 07 , 2026" : "07 Dec 2026";
        a.Time = times[i];
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
BENCHMARK(BM_BuildAlarmQueue)
    ->ArgNames({"alarms", "order"})
    ->Args({1000, kRandom})
    ->Args({1000, kDescending})
    ->Args({1000, kAscending})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
