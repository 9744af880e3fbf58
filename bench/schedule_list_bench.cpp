// Rebuilding the schedule dialog's alarm table over 500 alarms: the rows' texts in the current
// display settings and the painted bands behind them, as every change of the list does.
#include <benchmark/benchmark.h>

#include "alarms/alarm_records.h"
#include "alarms/schedule_form.h"
#include "platform/headless/bind.h"
#include "shell/globals.h"
#include "shell/start.h"
#include "shell/tivlo_form.h"

namespace {

void BM_RefreshAlarmList(benchmark::State& state) {
    platform::headless::HeadlessWorld world;
    world.bind();
    world.backend.setNow({2026, 12, 7, 9, 41, 30});
    shell::StartTivlo();
    const int n = static_cast<int>(state.range(0));
    const char* modes[] = {kModeOnce, kModeDaily, kModeWeekly, kModeMonthly, kModeYearly};
    gAlarms.clear();
    for (int i = 0; i < n; ++i) {
        AlarmRecord a;
        a.Hint = "Alarm " + std::to_string(i + 1);
        a.Mode = modes[i % 5];
        a.Date = i % 2 ? "Dec 07 , 2026" : "08 Dec 2026";
        char t[16];
        std::snprintf(t, sizeof t, i % 2 ? "%02d:%02d:%02d pm" : "%02d:%02d:%02d",
                      i % 2 ? 1 + i % 11 : i % 24, i % 60, (i * 7) % 60);
        a.Time = t;
        a.Music = i % 4 ? "" : "C:\\Music\\wake up " + std::to_string(i) + ".wav";
        a.Action = i % 3 == 2 ? "Lock keyboard and mouse" : "Do nothing";
        a.Snooze = "10";
        a.Week = static_cast<int16_t>(i % 5 == 2 ? 42 : 0);
        gAlarms.push_back(a);
    }
    gAlarmCount = static_cast<int16_t>(n);
    eSchedule::BuildAlarmQueue();
    frmTivlo().mnuSchedule_Click();
    OcxAlarmList& list = frmSchedule().ocxAlarmList;
    for (auto _ : state) {
        list.RefreshAlarmList();
        benchmark::DoNotOptimize(list.lstAlarmList.RowCount());
    }
    if (list.lstAlarmList.RowCount() != n) state.SkipWithError("rows missing");
    ResetGlobals();
}
BENCHMARK(BM_RefreshAlarmList)->ArgName("alarms")->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
