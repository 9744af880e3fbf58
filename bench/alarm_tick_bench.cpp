// One tick of the alarm dispatcher over a queue of 1,000 entries, none of them due: the cost
// the program pays every second all day.
#include <benchmark/benchmark.h>

#include "alarms/alarm_records.h"
#include "platform/headless/bind.h"
#include "shell/globals.h"
#include "shell/start.h"
#include "shell/tivlo_form.h"

namespace {

void BM_AlarmTickNoneDue(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    world.backend.setNow({2026, 12, 7, 9, 41, 30});
    shell::StartTivlo();
    const int n = static_cast<int>(state.range(0));
    gAlarms.clear();
    for (int i = 0; i < n; ++i) {
        AlarmRecord a;
        a.Hint = "Alarm " + std::to_string(i);
        a.Mode = kModeDaily;
        a.Date = "Dec 07 , 2026";
        char t[16];
        // Later today, half of them entered on the 12-hour clock.
        std::snprintf(t, sizeof t, i % 2 ? "%02d:%02d:%02d pm" : "%02d:%02d:%02d", i % 2 ? 1 + i % 11 : 12 + i % 12,
                      i % 60, (i * 7) % 60);
        a.Time = t;
        gAlarms.push_back(a);
    }
    gAlarmCount = static_cast<int16_t>(n);
    gToday = kit::Format(kit::Now(), "mmm dd , yyyy");
    eSchedule::BuildAlarmQueue();
    FrmTivlo& main = frmTivlo();
    for (auto _ : state) {
        main.tmrAlarm_Timer();
        benchmark::DoNotOptimize(gHintCount);
    }
    if (gHintCount != 0) state.SkipWithError("an alarm fired");
    state.counters["queued"] = gAlarmQueueCount;
    ResetGlobals();
}
BENCHMARK(BM_AlarmTickNoneDue)->ArgName("entries")->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
