#include "alarms/alarm_editor_control.h"

#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_records.h"
#include "alarms/schedule_form.h"
#include "alarms/schedule_layout.h"
#include "alarms/schedule_state.h"
#include "kit/convert.h"
#include "kit/datetime.h"
#include "shell/globals.h"
#include "shell/registration.h"
#include "shell/system.h"

namespace L = schedule_layout;
namespace R = alarm_editor;

namespace {

void Place(kit::Control& c, const L::Box& b) { c.Move(b.left, b.top, b.width, b.height); }
const char* const kCaption = "Tivlo 2.3";
const char* const kDefaultHint = "Have a rest please";
const char* const kWeekCaption[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

}  // namespace

OcxAlarm::OcxAlarm(kit::Container* parent)
    : kit::UserControl(parent),
      chkWeek(
          &picAlarmSchedule,
          [n = 0](kit::Container* c) mutable {
              return std::make_unique<kit::CheckBox>(c, kWeekCaption[n++]);
          },
          7),
      optTimeFormat(
          &fmeTimeFormat,
          [n = 0](kit::Container* c) mutable {
              return std::make_unique<kit::OptionButton>(
                  c, n++ == 0 ? "12 hours (AM/PM)" : "24 hours");
          },
          2),
      optDateFormat(
          &fmeDateFormat,
          [n = 0](kit::Container* c) mutable {
              return std::make_unique<kit::OptionButton>(c, n++ == 0 ? "mm,dd,yyyy" : "dd,mm,yyyy");
          },
          2),
      cmdOK(
          &picAlarmSchedule,
          [this, n = 0](kit::Container*) mutable {
              return std::make_unique<kit::CommandButton>(&page(n++), "&OK");
          },
          3),
      cmdCancel(
          &picAlarmSchedule,
          [this, n = 0](kit::Container*) mutable {
              return std::make_unique<kit::CommandButton>(&page(n++), "&Cancel");
          },
          2) {
    Place(tabAlarm, L::kTabs);
    tabAlarm.AddTab("Sched&ule");
    tabAlarm.AddTab("Action&s");
    tabAlarm.AddTab("&Date/Time Format");
    for (kit::PictureBox* p : {&picAlarmSchedule, &picAlarmAction, &picAlarmDateTime}) {
        p->setScaleMode(kit::kScaleTwips);
        p->Move(tabAlarm.ClientLeft(), tabAlarm.ClientTop(), tabAlarm.ClientWidth(),
                tabAlarm.ClientHeight());
    }
    picAlarmAction.setVisible(false);
    picAlarmDateTime.setVisible(false);

    Place(lblAlarmMode, L::kModeLabel);
    Place(cmbAlarmMode, L::kMode);
    Place(lblDateTime, L::kDateTimeLabel);
    Place(lblDate, L::kDateLabel);
    Place(txtDate, L::kDate);
    Place(lblTime, L::kTimeLabel);
    Place(txtTime, L::kTime);
    Place(lblWeek, L::kWeekLabel);
    for (int i = 0; i < 7; ++i)
        chkWeek(i).Move(L::kWeekLeft + i * L::kWeekStep, L::kWeekTop, L::kWeekWidth,
                        L::kWeekHeight);
    txtDate.setLocked(true);
    txtTime.setLocked(true);

    Place(lblAlarmHint, L::kHintLabel);
    Place(txtAlarmHint, L::kHint);
    txtAlarmHint.setMaxLength(20);
    Place(lblAlarmMusic, L::kMusicLabel);
    Place(txtAlarmMusic, L::kMusic);
    txtAlarmMusic.setLocked(true);
    Place(cmdMusicPath, L::kMusicPath);
    Place(cmdPlay, L::kPlay);
    Place(cmdStop, L::kStop);
    Place(sldProgress, L::kProgress);
    Place(lblVolume, L::kVolumeLabel);
    Place(sldVolume, L::kVolume);
    Place(lblAction, L::kActionLabel);
    Place(cmbAlarmAction, L::kAction);
    Place(lblSnooze, L::kSnoozeLabel);
    Place(txtSnoozeTime, L::kSnooze);
    Place(vslSnoozeTime, L::kSnoozeSpin);
    vslSnoozeTime.setMin(1);
    vslSnoozeTime.setMax(30);
    vslSnoozeTime.setIncrement(1);
    Place(lblMinutes, L::kMinutesLabel);

    Place(lblDispColor, L::kColorLabel);
    Place(cmbDispColor, L::kColor);
    Place(fmeTimeFormat, L::kTimeFrame);
    Place(fmeDateFormat, L::kDateFrame);
    Place(optTimeFormat(0), L::kOptionFirst);
    Place(optTimeFormat(1), L::kOptionSecond);
    Place(optDateFormat(0), L::kOptionFirst);
    Place(optDateFormat(1), L::kOptionSecond);

    for (int i = 0; i < 3; ++i) Place(cmdOK(i), L::kOk);
    for (int i = 0; i < 2; ++i) Place(cmdCancel(i), L::kCancel);
    Place(txtDumb, L::kDumb);

    tabAlarm.Click = [this] { tabAlarm_Click(); };
    // While EditAlarm shows an alarm's mode, the weekday mask it holds must survive until the
    // boxes show it; EditAlarm applies the mode itself afterwards.
    cmbAlarmMode.Click = [this] {
        if (!showingAlarm_) cmbAlarmMode_Click();
    };
    chkWeek.Click = [this](int i) { chkWeek_Click(i); };
    cmbAlarmAction.Click = [this] { cmbAlarmAction_Click(); };
    txtSnoozeTime.Change = [this] { txtSnoozeTime_Change(); };
    txtSnoozeTime.DblClick = [this] { selectAll(txtSnoozeTime); };
    vslSnoozeTime.Change = [this] { vslSnoozeTime_Change(); };
    txtAlarmHint.Change = [this] { txtAlarmHint_Change(); };
    txtAlarmHint.DblClick = [this] { selectAll(txtAlarmHint); };
    cmdOK.Click = [this](int i) { cmdOK_Click(i); };
    cmdCancel.Click = [this](int i) { cmdCancel_Click(i); };
    optTimeFormat.Click = [this](int i) { optTimeFormat_Click(i); };
    optDateFormat.Click = [this](int i) { optDateFormat_Click(i); };
    optTimeFormat.GotFocus = [this](int i) { optTimeFormat_GotFocus(i); };
    optDateFormat.GotFocus = [this](int i) { optDateFormat_GotFocus(i); };
    cmbDispColor.Click = [this] { cmbDispColor_Click(); };
    cmdMusicPath.Click = [this] { cmdMusicPath_Click(); };
    cmdPlay.Click = [this] { cmdPlay_Click(); };
    cmdStop.Click = [this] { cmdStop_Click(); };
    sldVolume.Change = [this] { sldVolume_Change(); };
    mciMedia.StatusUpdate = [this] { mciMedia_StatusUpdate(); };
}

kit::PictureBox& OcxAlarm::page(int index) {
    return index == 0 ? picAlarmSchedule : index == 1 ? picAlarmAction : picAlarmDateTime;
}

void OcxAlarm::UserControl_Initialize() {
    optDateFormat(gDayMode == 1 ? 0 : 1).setValue(true);
    optTimeFormat(gAmPmMode == 1 ? 0 : 1).setValue(true);
    mReady = true;
    gSavedDayMode = gDayMode;
    gSavedAmPmMode = gAmPmMode;

    for (const char* m : R::kModes) cmbAlarmMode.AddItem(m);
    cmbAlarmMode.setListIndex(0);
    mMode = cmbAlarmMode.Text();

    const kit::DateTime now = kit::Now();
    mDate = kit::Format(now, R::DatePattern(gDayMode));
    txtDate.setText(mDate);
    mTime = kit::Format(now, R::TimePattern(gAmPmMode));
    txtTime.setText(mTime);

    mWeek = 0;
    for (const char* a : R::kActions) cmbAlarmAction.AddItem(a);
    cmbAlarmAction.setListIndex(0);
    mAction = cmbAlarmAction.Text();
    txtSnoozeTime.setText("10");
    mSnooze = 10;
    mHint = txtAlarmHint.Text();
    mMusic = txtAlarmMusic.Text();

    SetUpMusic();

    for (const auto& c : R::kDispColors) cmbDispColor.AddItem(c.name);
    // Known before the list shows the colour, so showing it writes nothing.
    mLastDispColor = gDispColor;
    cmbDispColor.setListIndex(R::DispColorIndex(gDispColor));
}

void OcxAlarm::tabAlarm_Click() {
    picAlarmSchedule.setVisible(false);
    picAlarmAction.setVisible(false);
    picAlarmDateTime.setVisible(false);
    const std::string caption = tabAlarm.Caption();
    if (caption == "Sched&ule") picAlarmSchedule.setVisible(true);
    if (caption == "Action&s") picAlarmAction.setVisible(true);
    if (caption == "&Date/Time Format") picAlarmDateTime.setVisible(true);
}

void OcxAlarm::setAlarmWeek(const std::string& v) { mWeek = R::WeekOf(v); }

void OcxAlarm::setAlarmSnooze(const std::string& v) { mSnooze = R::SnoozeOf(v); }

void OcxAlarm::AlarmSetting() {
    cmbAlarmMode.setListIndex(0);
    mMode = cmbAlarmMode.Text();
    const kit::DateTime now = kit::Now();
    mDate = kit::Format(now, R::DatePattern(gDayMode));
    txtDate.setText(mDate);
    txtDate.setEnabled(true);
    mTime = kit::Format(now, R::TimePattern(gAmPmMode));
    txtTime.setText(mTime);
    txtTime.setEnabled(true);
    for (int i = 0; i < 7; ++i) {
        chkWeek(i).setValue(kit::kChecked);
        chkWeek(i).setEnabled(false);
    }
    mWeek = 0;  // the ticks above do not count until the mode is weekly
    OcxCalendar& calendar = frmSchedule().ocxCalendar;
    calendar.EnableCalendarDate();
    calendar.EnableCalendarTime();
    cmbAlarmAction.setListIndex(0);
    mAction = cmbAlarmAction.Text();
    txtSnoozeTime.setText("10");
    mSnooze = 10;
    txtSnoozeTime.setEnabled(false);
    vslSnoozeTime.setEnabled(false);
    txtAlarmHint.setText(kDefaultHint);
    mHint = txtAlarmHint.Text();
    txtAlarmMusic.setText("");
    mMusic = txtAlarmMusic.Text();
}

void OcxAlarm::cmbAlarmMode_Click() {
    txtDate.setText(mDate);
    txtTime.setText(mTime);
    mWeek = 0;
    const std::string mode = cmbAlarmMode.Text();
    OcxCalendar& calendar = frmSchedule().ocxCalendar;
    auto weekBoxes = [this](bool on) {
        for (int i = 0; i < 7; ++i) chkWeek(i).setEnabled(on);
    };
    auto dateOff = [&calendar] {
        if (gCalendarDateEnabled) calendar.DisableCalendarDate();
    };
    if (mode != kModeHourly && mode != kModeDaily && mode != kModeWeekly) {
        // "Once", "Every month", and any other text as "Every year".
        txtDate.setEnabled(true);
        txtTime.setEnabled(true);
        weekBoxes(false);
        calendar.EnableCalendarDate();
        calendar.EnableCalendarTime();
    } else if (mode == kModeHourly) {
        txtDate.setEnabled(false);
        txtTime.setEnabled(false);
        weekBoxes(false);
        dateOff();
        calendar.DisableCalendarTime();
    } else {
        txtDate.setEnabled(false);
        txtTime.setEnabled(true);
        weekBoxes(mode == kModeWeekly);
        dateOff();
        calendar.EnableCalendarTime();
        if (mode == kModeWeekly) chkWeek_Click(0);
    }
    txtDate.setText(R::ShownDate(mDate, mode, gDayMode));
    mMode = mode;
}

void OcxAlarm::chkWeek_Click(int) {
    bool ticked[7];
    for (int i = 0; i < 7; ++i) ticked[i] = chkWeek(i).Value() == kit::kChecked;
    mWeek = R::WeekMaskOf(ticked);
}

void OcxAlarm::cmbAlarmAction_Click() {
    mAction = cmbAlarmAction.Text();
    const bool lock = mAction == R::kActionLock;
    txtSnoozeTime.setEnabled(lock);
    vslSnoozeTime.setEnabled(lock);
}

void OcxAlarm::txtSnoozeTime_Change() {
    if (mBusy) return;
    const std::string corrected = R::CorrectSnoozeText(txtSnoozeTime.Text());
    if (corrected != txtSnoozeTime.Text()) {
        mBusy = true;
        txtSnoozeTime.setText(corrected);
        mBusy = false;
    }
    const std::string text = txtSnoozeTime.Text();
    mBusy = true;
    vslSnoozeTime.setValue(kit::CLng(text));
    mBusy = false;
    mSnooze = kit::CIntOf(kit::CDbl(text));
}

void OcxAlarm::vslSnoozeTime_Change() {
    if (mBusy) return;
    mBusy = true;
    txtSnoozeTime.setText(std::to_string(vslSnoozeTime.Value()));
    mSnooze = static_cast<int16_t>(vslSnoozeTime.Value());
    mBusy = false;
    txtDumb.SetFocus();
}

void OcxAlarm::txtAlarmHint_Change() { mHint = txtAlarmHint.Text(); }

void OcxAlarm::selectAll(kit::TextBox& box) {
    box.setSelStart(0);
    box.setSelLength(static_cast<int>(box.Text().size()));
}

namespace {
// Shows an entry of a drop-down list by its text; none for a text the list does not hold.
void Show(kit::ComboBox& box, const std::string& text) {
    int index = -1;
    for (int i = 0; i < box.ListCount(); ++i)
        if (box.List(i) == text) index = i;
    box.setListIndex(index);
}
}  // namespace

void OcxAlarm::EditAlarm() {
    showingAlarm_ = true;
    Show(cmbAlarmMode, mMode);
    showingAlarm_ = false;
    txtDate.setText(mDate);
    txtTime.setText(mTime);
    if (mMode == kModeWeekly) {
        int16_t days[7];
        eSystem::DecodeWeekMask(days, mWeek);
        for (int i = 0; i < 7; ++i)
            chkWeek(i).setValue(days[i] == 1 ? kit::kChecked : kit::kUnchecked);
    }
    Show(cmbAlarmAction, mAction);
    txtSnoozeTime.setText(std::to_string(mSnooze));
    txtAlarmHint.setText(mHint);
    txtAlarmMusic.setText(mMusic);
    cmbAlarmMode_Click();
    cmbAlarmAction_Click();
}

void OcxAlarm::lowerDialog() {
    // The editor goes out of sight, and its Stop button with it: so does the music.
    cmdStop_Click();
    FrmSchedule& dialog = frmSchedule();
    dialog.setHeight(dialog.Height() - gAlarmEditHeight);
}

void OcxAlarm::cmdOK_Click(int index) {
    OcxAlarmList& list = frmSchedule().ocxAlarmList;
    if (index == 2) {
        lowerDialog();
        bool cancel = true;
        list.EditAlarmItem(cancel);
        return;
    }
    R::OkInput in;
    in.hourlySlotTaken = gHourlyAlarmSet;
    in.adding = gAddingAlarm;
    in.modeShown = cmbAlarmMode.Text();
    in.hintBox = txtAlarmHint.Text();
    in.alarm.Hint = mHint;
    in.alarm.Mode = mMode;
    in.alarm.Date = mDate;
    in.alarm.Time = mTime;
    in.alarm.Music = mMusic;
    in.alarm.Action = mAction;
    in.alarm.Snooze = getAlarmSnooze();
    in.alarm.Week = mWeek;
    in.now = kit::Now();
    if (const auto refusal = R::RefusalOf(in)) {
        MsgBox(*refusal, kit::kMbIconExclamation, kCaption);
        return;
    }
    bool cancel = false;
    if (gAddingAlarm)
        list.AddAlarmItem(cancel);
    else
        list.EditAlarmItem(cancel);
    lowerDialog();
    frmSchedule().cmdOK.setEnabled(true);
}

void OcxAlarm::cmdCancel_Click(int) {
    OcxAlarmList& list = frmSchedule().ocxAlarmList;
    bool cancel = true;
    if (gAddingAlarm)
        list.AddAlarmItem(cancel);
    else
        list.EditAlarmItem(cancel);
    lowerDialog();
}

void OcxAlarm::optTimeFormat_Click(int) {
    if (!mReady) return;
    const bool twelve = optTimeFormat(0).Value();
    gAmPmMode = twelve ? 1 : 2;
    OcxAlarm& self = frmSchedule().ocxAlarm;
    self.setAlarmTime(R::ReformatTime(self.getAlarmTime(), gAmPmMode));
    eRegistration::SetRegistryValue(kTimeSettingKey, "AM/PM_Mode", std::to_string(gAmPmMode));
    gTrayRedraw = true;
    // The calendar re-shows its time in the new format on the date being edited, which stays.
    frmSchedule().ocxCalendar.ShowDateOf(self.getAlarmDate());
    cmbAlarmMode_Click();
}

void OcxAlarm::optDateFormat_Click(int) {
    if (!mReady) return;
    const bool monthFirst = optDateFormat(0).Value();
    gDayMode = monthFirst ? 1 : 2;
    OcxAlarm& self = frmSchedule().ocxAlarm;
    self.setAlarmDate(R::ReformatDate(self.getAlarmDate(), gDayMode));
    eRegistration::SetRegistryValue(kTimeSettingKey, "Day_Mode", std::to_string(gDayMode));
    gTrayRedraw = true;
    cmbAlarmMode_Click();
}

void OcxAlarm::optTimeFormat_GotFocus(int index) {
    if (optTimeFormat(index).Value()) optTimeFormat_Click(index);
}

void OcxAlarm::optDateFormat_GotFocus(int index) {
    if (optDateFormat(index).Value()) optDateFormat_Click(index);
}

void OcxAlarm::cmbDispColor_Click() {
    const int i = cmbDispColor.ListIndex();
    if (i >= 0 && i < 8) gDispColor = R::kDispColors[i].value;
    if (gDispColor == mLastDispColor) return;
    mLastDispColor = gDispColor;
    eRegistration::SetRegistryValue(kTimeSettingKey, "DispColor", std::to_string(gDispColor));
    gTrayRedraw = true;
}
