#include "alarms/schedule_form.h"

#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_records.h"
#include "alarms/alarm_times.h"
#include "alarms/schedule_layout.h"
#include "alarms/schedule_state.h"
#include "kit/datetime.h"
#include "shell/globals.h"
#include "shell/help.h"
#include "shell/registration.h"
#include "shell/tivlo_form.h"

namespace L = schedule_layout;

namespace {
void Place(kit::Control& c, const L::Box& b) { c.Move(b.left, b.top, b.width, b.height); }
}  // namespace

void ResetScheduleState() {
    gAddingAlarm = false;
    gAlarmEditHeight = 0;
    gCalendarDateEnabled = false;
    gSavedDayMode = gSavedAmPmMode = 0;
}

FrmSchedule::FrmSchedule() {
    setCaption("Alarm Schedule Setting");
    setBorderStyle(kit::kBorderFixedSingle);
    setClientSize(L::kClientWidth, L::kClientHeight);
    Place(txtDumb, L::kDumb);
    Place(ocxAlarmList, L::kAlarmList);
    Place(cmdOK, L::kSave);
    Place(cmdCancel, L::kExit);
    Place(cmdHelp, L::kHelp);
    Place(ocxAlarm, L::kEditor);
    Place(ocxCalendar, L::kCalendar);
    cmdOK.setEnabled(false);
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
}

void FrmSchedule::Form_Load() {
    gAlarmEditHeight = kAlarmEditHeight;
    setLeft((kit::ScreenWidth() - Width()) / 2);
    // Centred for the open dialog, so that the editor fits when it opens.
    setTop((kit::ScreenHeight() - kScheduleOpenHeight) / 2);
    mClosedByButton = 0;
    mHourlySetAtOpen = gHourlyAlarmSet;
    mHourlyTimeAtOpen = gLastHourlyTime;
    mOpenedOn = kit::Format(kit::Now(), "dd mmm yyyy");
    ApplyEditorReach();
}

void FrmSchedule::onResized() {
    kit::Form::onResized();
    ApplyEditorReach();
}

void FrmSchedule::ApplyEditorReach() {
    const bool open = Height() >= kScheduleCollapsedBelow;
    ocxAlarm.setEnabled(open);
    ocxCalendar.setEnabled(open);
}

void FrmSchedule::cmdOK_Click() {
    const char* key = kTimeSettingKey;
    eRegistration::DeleteRegistryKey(key);
    eRegistration::SetRegistryValue(key, "Day_Mode", std::to_string(gDayMode));
    eRegistration::SetRegistryValue(key, "AM/PM_Mode", std::to_string(gAmPmMode));
    eRegistration::SetRegistryValue(key, "DispColor", std::to_string(gDispColor));
    for (int i = 0; i < gAlarmCount; ++i)
        eRegistration::SetRegistryValue(key, AlarmValueName(i), AlarmListValue(gAlarms[i]));
    eRegistration::SetRegistryValue(key, "AlarmNum", std::to_string(gAlarmCount));
    gSavedAlarmCount = gAlarmCount;
    gSavedAlarms.assign(gAlarms.begin(), gAlarms.begin() + gAlarmCount);
    eSchedule::BuildAlarmQueue();
    mClosedByButton = 1;
    frmSchedule.Unload();
}

void FrmSchedule::RestoreAlarmList() {
    gAlarmCount = gSavedAlarmCount;
    gAlarms = gSavedAlarms;
    if (gAlarmCount > 0) gAlarms.resize(gAlarmCount);
    // Thrown-away edits of the hourly alarm must not move its slot: it keeps its rhythm.
    gHourlyAlarmSet = mHourlySetAtOpen;
    gLastHourlyTime = mHourlyTimeAtOpen;
    const kit::DateTime now = kit::Now();
    if (gHourlyAlarmSet && mOpenedOn != kit::Format(now, "dd mmm yyyy"))
        gLastHourlyTime = alarm_times::SlotAfterDateChange(gLastHourlyTime, now);
    // A discarded hourly alarm must not keep the hourly slot taken until the next start.
    if (!alarm_editor::AnyHourly(gAlarms, gAlarmCount)) gHourlyAlarmSet = false;
    eSchedule::BuildAlarmQueue();
}

void FrmSchedule::cmdCancel_Click() {
    RestoreAlarmList();
    mClosedByButton = 1;
    frmSchedule.Unload();
}

void FrmSchedule::cmdHelp_Click() {
    shell::OpenHelp(0);
}

void FrmSchedule::Form_Unload(int&) {
    if (mClosedByButton == 0) {
        gDayMode = gSavedDayMode;
        gAmPmMode = gSavedAmPmMode;
        RestoreAlarmList();
    }
    const kit::DateTime now = kit::Now();
    frmTivlo().TrayDispDateTime(kit::DateText(now), kit::TimeText(now));
    frmTivlo().mnuSchedule.Enabled = true;
}
