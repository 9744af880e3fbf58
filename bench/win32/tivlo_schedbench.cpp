// Times the schedule dialog on the real Win32 controls with many stored alarms: from the tray
// item to the filled dialog on the screen, a row click, a Remove and a Save, each until the
// dialog has painted again. Run under Wine by bench/schedule-500.sh.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "alarms/alarm_records.h"
#include "alarms/schedule_form.h"
#include "app/win32_app.h"
#include "kit/datetime.h"
#include "shell/registration.h"
#include "shell/tivlo_form.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Runs what is queued, then paints every window that waits for it, as the loop would.
void Settle() {
    kit::backend().doEvents();
    RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    kit::backend().doEvents();
}

void StoreAlarms(int n) {
    const char* key = kTimeSettingKey;
    const char* modes[] = {kModeOnce, kModeDaily, kModeWeekly, kModeMonthly, kModeYearly};
    const kit::DateTime now = kit::Now();
    for (int i = 0; i < n; ++i) {
        AlarmRecord a;
        a.Hint = "Alarm " + std::to_string(i + 1);
        a.Mode = modes[i % 5];
        kit::DateTime d = kit::AddDays(now, i % 3 - 1);
        a.Date = kit::Format(d, i % 2 ? "mmm dd , yyyy" : "dd mmm yyyy");
        d.hour = i % 24;
        d.minute = i % 60;
        a.Time = kit::Format(d, i % 2 ? "hh:mm:ss am/pm" : "hh:mm:ss");
        a.Music = i % 4 ? "" : "C:\\Music\\wake up " + std::to_string(i) + ".wav";
        a.Action = i % 3 == 2 ? "Lock keyboard and mouse" : "Do nothing";
        a.Snooze = "10";
        a.Week = static_cast<int16_t>(i % 5 == 2 ? 42 : 0);
        eRegistration::SetRegistryValue(key, AlarmValueName(i), AlarmListValue(a));
    }
    eRegistration::SetRegistryValue(key, "AlarmNum", std::to_string(n));
}

}  // namespace

// Usage: tivlo_schedbench [ALARMS]   (default 500)
int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 500;
    static platform::win32::RecordingEffectsSystem system;
    app::BindWin32(system);
    eRegistration::DeleteRegistryTree("Software\\Tivlo");
    kit::win32::RunGuarded(shell::StartTivlo);  // the defaults
    StoreAlarms(n);
    ResetAlarmState();
    LoadAlarms();
    std::printf("%d alarms loaded\n", static_cast<int>(gAlarmCount));

    double show = 0, click = 0, remove = 0, save = 0;
    kit::win32::RunGuarded([&] {
        auto t0 = Clock::now();
        frmTivlo().mnuSchedule_Click();
        Settle();
        show = MsSince(t0);

        OcxAlarmList& list = frmSchedule().ocxAlarmList;
        t0 = Clock::now();
        list.lstAlarmList.SelectRow(n / 2);
        list.lstAlarmList_ItemClick(n / 2);
        list.lstAlarmList_Click();
        Settle();
        click = MsSince(t0);

        t0 = Clock::now();
        list.cmdRemove_Click();
        Settle();
        remove = MsSince(t0);

        t0 = Clock::now();
        frmSchedule().cmdOK_Click();
        Settle();
        save = MsSince(t0);
    });

    const bool stored =
        eRegistration::GetRegistryValue(kTimeSettingKey, "AlarmNum") == std::to_string(n - 1);
    std::printf("dialog shown and painted: %8.1f ms   goal < 1000 ms   %s\n", show,
                show < 1000 ? "met" : "NOT met");
    std::printf("row click:                %8.1f ms   goal <  300 ms   %s\n", click,
                click < 300 ? "met" : "NOT met");
    std::printf("Remove:                   %8.1f ms   goal <  300 ms   %s\n", remove,
                remove < 300 ? "met" : "NOT met");
    std::printf("Save:                     %8.1f ms   goal <  300 ms   %s\n", save,
                save < 300 ? "met" : "NOT met");
    std::printf("saved list holds %d alarms: %s\n", n - 1, stored ? "yes" : "NO");
    std::fflush(stdout);
    ExitProcess(stored ? 0 : 1);
}
