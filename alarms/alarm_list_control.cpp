#include "alarms/alarm_list_control.h"

#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_list_rows.h"
#include "alarms/alarm_records.h"
#include "alarms/schedule_form.h"
#include "alarms/schedule_layout.h"
#include "alarms/schedule_state.h"
#include "shell/globals.h"

namespace L = schedule_layout;

namespace {
void Place(kit::Control& c, const L::Box& b) { c.Move(b.left, b.top, b.width, b.height); }
const char* const kCaption = "Tivlo 2.3";
}  // namespace

OcxAlarmList::OcxAlarmList(kit::Container* parent) : kit::UserControl(parent) {
    Place(txtDumb, L::kListDumb);
    Place(fmeAlarm, L::kFrame);
    Place(lstAlarmList, L::kList);
    Place(cmdAdd, L::kAdd);
    Place(cmdEdit, L::kEdit);
    Place(cmdRemove, L::kRemove);
    Place(cmdRemoveAll, L::kRemoveAll);
    picBar.Move(L::kBarLeft, L::kBarTop);
    picBar.setVisible(false);
    cmdEdit.setEnabled(false);
    cmdRemove.setEnabled(false);

    lstAlarmList.Click = [this] { lstAlarmList_Click(); };
    lstAlarmList.ItemClick = [this](int item) { lstAlarmList_ItemClick(item); };
    lstAlarmList.LostFocus = [this] { lstAlarmList_LostFocus(); };
    cmdAdd.Click = [this] { cmdAdd_Click(); };
    cmdEdit.Click = [this] { cmdEdit_Click(); };
    cmdRemove.Click = [this] { cmdRemove_Click(); };
    cmdRemoveAll.Click = [this] { cmdRemoveAll_Click(); };
}

bool OcxAlarmList::Collapsed() const { return frmSchedule().Height() < kScheduleCollapsedBelow; }

void OcxAlarmList::UserControl_Initialize() {
    const double w = lstAlarmList.Width();
    for (int c = 0; c < alarm_rows::kColumnCount; ++c)
        lstAlarmList.AddColumn(alarm_rows::kColumnTitle[c], w / alarm_rows::kColumnWidthDivisor[c]);
    RefreshAlarmList();
}

void OcxAlarmList::RefreshAlarmList() {
    lstAlarmList.Clear();
    int32_t due = alarm_rows::kDueColor, plain = alarm_rows::kPlainColor,
            passed = alarm_rows::kPassedColor;
    PaintListBackground(lstAlarmList, due, plain, passed);
    for (int i = 0; i < gAlarmCount; ++i) {
        const auto row = alarm_rows::AlarmRow(gAlarms[i], gDayMode, gAmPmMode);
        mListItem = lstAlarmList.AddRow(row[0]);
        for (int c = 1; c < alarm_rows::kColumnCount; ++c)
            if (!row[c].empty()) lstAlarmList.SetCell(mListItem, c, row[c]);
    }
    lstAlarmList.Refresh();
    cmdRemoveAll.setEnabled(gAlarmCount != 0);
}

void OcxAlarmList::PaintListBackground(kit::ListView& list, int32_t& dueColor, int32_t& plainColor,
                                       int32_t& passedColor) {
    list.AddRow("");
    const int h = list.RowHeight();
    list.RemoveRow(1);
    const double rows = static_cast<double>(list.Height()) / h;

    picBar.setWidth(4.0 * list.Width());
    picBar.setScaleWidth(1);
    picBar.setHeight(list.Height());
    picBar.setScaleHeight(rows);
    picBar.Cls();

    const auto states = alarm_rows::BandStates(gAlarms, gAlarmCount, gAlarmQueue, gAlarmQueueCount,
                                               kit::Now(), rows);
    for (int r = 1; r <= static_cast<int>(states.size()); ++r) {
        if (r - 1 > rows) break;  // below the picture: nothing of it would show
        const int16_t s = states[r - 1];
        const int32_t color = s == alarm_rows::kRowDue      ? dueColor
                              : s == alarm_rows::kRowPassed ? passedColor
                                                            : plainColor;
        picBar.FillBox(0, r - 1, 1, r, static_cast<kit::Color>(color));
    }
    list.setPicture(picBar.Image());
}

void OcxAlarmList::lstAlarmList_ItemClick(int) { lstAlarmList_Click(); }

void OcxAlarmList::lstAlarmList_Click() {
    const int row = lstAlarmList.SelectedRow();
    if (gAlarmCount <= 0 || row < 1 || row > gAlarmCount) return;
    mSelectedAlarm = static_cast<int16_t>(row);
    const AlarmRecord& a = gAlarms[mSelectedAlarm - 1];
    OcxAlarm& editor = frmSchedule().ocxAlarm;
    editor.setAlarmHint(a.Hint);
    editor.setAlarmMode(a.Mode);
    editor.setAlarmDate(a.Date);
    editor.setAlarmTime(a.Time);
    editor.setAlarmMusic(a.Music);
    editor.setAlarmAction(a.Action);
    editor.setAlarmSnooze(a.Snooze);
    editor.setAlarmWeek(std::to_string(a.Week));
    editor.EditAlarm();
    if (Collapsed()) {
        cmdEdit.setEnabled(true);
        cmdRemove.setEnabled(true);
    }
    gAddingAlarm = false;
}

void OcxAlarmList::lstAlarmList_LostFocus() {
    kit::Control* now = frmSchedule().ActiveControl();
    if (now == &cmdRemove) {
        cmdRemove_Click();
    } else if (now == &cmdRemoveAll) {
        cmdRemoveAll_Click();
    } else if (now == &cmdEdit) {
        cmdEdit_Click();
    } else {
        cmdAdd.setEnabled(Collapsed());
        cmdEdit.setEnabled(false);
        cmdRemove.setEnabled(false);
        if (gAlarmCount == 0) cmdRemoveAll.setEnabled(false);
    }
}

void OcxAlarmList::cmdAdd_Click() {
    gAddingAlarm = true;
    frmSchedule().setHeight(kScheduleOpenHeight);
    frmSchedule().ocxCalendar.CalendarSetting();
    frmSchedule().ocxAlarm.AlarmSetting();
    cmdAdd.setEnabled(false);
    cmdRemoveAll.setEnabled(false);
    txtDumb.SetFocus();
}

void OcxAlarmList::cmdEdit_Click() {
    cmdAdd.setEnabled(false);
    cmdEdit.setEnabled(false);
    cmdRemove.setEnabled(false);
    cmdRemoveAll.setEnabled(false);
    gAddingAlarm = false;
    frmSchedule().setHeight(kScheduleOpenHeight);
}

void OcxAlarmList::cmdRemove_Click() {
    const int index = mSelectedAlarm - 1;
    if (index < 0 || index >= gAlarmCount) return;  // no alarm of the list is selected
    if (gAlarms[index].Mode == kModeHourly) gHourlyAlarmSet = false;
    if (gAlarmCount > 1)
        for (int k = mSelectedAlarm; k <= gAlarmCount - 1; ++k) gAlarms[k - 1] = gAlarms[k];
    --gAlarmCount;
    cmdAdd.setEnabled(true);
    cmdEdit.setEnabled(false);
    cmdRemove.setEnabled(false);
    if (gAlarmCount == 0) cmdRemoveAll.setEnabled(false);
    frmSchedule().cmdOK.setEnabled(true);
    eSchedule::BuildAlarmQueue();
    RefreshAlarmList();
}

void OcxAlarmList::cmdRemoveAll_Click() {
    if (MsgBox("Do you want to continue ?", kit::kMbYesNo | kit::kMbIconExclamation, kCaption) !=
        kit::kIdYes)
        return;
    gHourlyAlarmSet = false;
    gAlarmCount = 0;
    cmdAdd.setEnabled(true);
    cmdEdit.setEnabled(false);
    cmdRemove.setEnabled(false);
    frmSchedule().cmdOK.setEnabled(true);
    eSchedule::BuildAlarmQueue();
    RefreshAlarmList();
}

void OcxAlarmList::ReadEditor(AlarmRecord& a) {
    OcxAlarm& editor = frmSchedule().ocxAlarm;
    a.Hint = editor.getAlarmHint();
    a.Mode = editor.getAlarmMode();
    a.Date = editor.getAlarmDate();
    a.Time = editor.getAlarmTime();
    a.Music = editor.getAlarmMusic();
    a.Action = editor.getAlarmAction();
    a.Snooze = editor.getAlarmSnooze();
    a.Week = editor.getAlarmWeek();
    a.LastDate.clear();  // a new or changed alarm may fire today
}

void OcxAlarmList::AddAlarmItem(bool& Cancel) {
    if (!Cancel) {
        if (static_cast<int>(gAlarms.size()) < gAlarmCount + 1) gAlarms.resize(gAlarmCount + 1);
        ReadEditor(gAlarms[gAlarmCount]);
        ++gAlarmCount;
        eSchedule::BuildAlarmQueue();
        RefreshAlarmList();
    }
    cmdAdd.setEnabled(true);
    if (gAlarmCount != 0) cmdRemoveAll.setEnabled(true);
}

void OcxAlarmList::EditAlarmItem(bool& Cancel) {
    const int index = mSelectedAlarm - 1;
    if (!Cancel && index >= 0 && index < gAlarmCount) {
        ReadEditor(gAlarms[index]);
        // An edit away from the hourly mode frees the hourly slot.
        if (!alarm_editor::AnyHourly(gAlarms, gAlarmCount)) gHourlyAlarmSet = false;
        eSchedule::BuildAlarmQueue();
        RefreshAlarmList();
    }
    cmdAdd.setEnabled(true);
    if (gAlarmCount != 0) cmdRemoveAll.setEnabled(true);
}
