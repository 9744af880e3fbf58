// frmTivlo.tmrAlarm_Timer: each second it watches the network connection for a grab run and a
// pending clock synchronisation, fires the due entries of today's queue into the alarm pop-up,
// and rebuilds the queue when the date has changed.
#include "alarms/alarm_popup.h"
#include "alarms/alarm_records.h"
#include "alarms/alarm_times.h"
#include "kit/datetime.h"
#include "platform/services.h"
#include "shell/globals.h"
#include "shell/registration.h"
#include "shell/tivlo_form.h"

namespace {
constexpr int16_t kOfflineTicksBeforeStop = 10;
constexpr const char* kStopGrabbingCaption = "Stop &Grabbing";

// Clears a flag when the scope ends, however it ends.
struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
};
}  // namespace

void FrmTivlo::tmrAlarm_Timer() {
    // A message box inside a tick (the shut-down warning) keeps the timers running: a nested
    // tick would change the queue under the loop of the one that is waiting.
    if (mAlarmTickRunning) return;
    Running running(mAlarmTickRunning);
    WatchConnection();
    FireDueAlarms();
    RebuildQueueAtNewDate();
}

void FrmTivlo::WatchConnection() {
    // The probe costs real time each second; with no run, no synchronisation and nothing
    // counted, neither answer would change anything.
    const bool grabbing = mnuGrabbing.Caption == kStopGrabbingCaption;
    if (!grabbing && !mnuTimeSynch.Checked && mOfflineTicks == 0) return;
    std::uint32_t flags = 0;
    const bool online = platform::network().getConnectedState(flags);
    if (online) {
        mOfflineTicks = 0;
    } else if (grabbing) {
        if (mOfflineTicks < kOfflineTicksBeforeStop) {
            ++mOfflineTicks;
        } else {
            gStopGrabbing = true;
            gGrabOffline = true;
            mOfflineTicks = 0;
        }
    } else if (mnuTimeSynch.Checked) {
        mOfflineTicks = 0;
        CancelTimeSynch();  // tells the user "You are not on the internet !"
    }
}

void FrmTivlo::FireDueAlarms() {
    if (!mnuSchedule.Enabled || gAlarmQueueCount < 1) return;
    const int count = gAlarmQueueCount;
    for (int i = 0; i < count; ++i) {
        // Entries past the count of a rebuild made meanwhile no longer count.
        if (i >= gAlarmQueueCount || i >= int(gAlarmQueue.size())) break;
        AlarmQueueItem& entry = gAlarmQueue[i];
        if (entry.AlarmIndex < 0 || entry.AlarmIndex >= int(gAlarms.size())) continue;
        const kit::DateTime now = kit::Now();
        if (!alarm_times::IsDue(entry, kit::Format(now, "hh:mm:ss"))) continue;
        AlarmRecord& alarm = gAlarms[entry.AlarmIndex];
        // A day-based entry of a queue built on an earlier day (the computer slept past
        // midnight) belonged to that day; today's queue is built below. The hourly slot keeps
        // its own rules.
        if (alarm.Mode != kModeHourly && gAlarmQueueDate != kit::Format(now, "dd mmm yyyy"))
            continue;
        if (alarm.Mode != kModeHourly) {
            entry.Active = false;
            alarm.LastDate = kit::Format(now, "dd mmm yyyy");
            eRegistration::SetRegistryValue(kTimeSettingKey, AlarmValueName(entry.AlarmIndex),
                                            AlarmListValue(alarm));
        } else {
            const auto next = alarm_times::FireHourly(entry.NextTime, now);
            if (!next) continue;
            entry.NextTime = *next;
            alarm.Time = *next;
            gLastHourlyTime = *next;
        }
        gSavedAlarms = gAlarms;
        gFiredIndex = static_cast<int16_t>(i);
        ++gHintCount;
        if (gHintCount == 1 || !frmAlarm.Loaded()) {
            gHintCount = 1;
            frmAlarm().Show();  // its load adds the hint
        } else {
            frmAlarm().AddHint();
        }
    }
}

void FrmTivlo::RebuildQueueAtNewDate() {
    const kit::DateTime now = kit::Now();
    const std::string today = kit::Format(now, "mmm dd , yyyy");
    if (gToday == today) return;
    gToday = today;
    // An hourly slot that the computer slept through would wait for that time tomorrow.
    if (gHourlyAlarmSet) gLastHourlyTime = alarm_times::SlotAfterDateChange(gLastHourlyTime, now);
    eSchedule::BuildAlarmQueue();
    gTrayRedraw = true;
    tmrClock_Timer();
}
