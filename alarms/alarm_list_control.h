// The alarm list of the schedule dialog: one row per alarm of the working list with a band
// behind it that tells the alarm's state today, and the buttons that start every change of
// the list. It reaches the editor, the calendar and the dialog only through the dialog.
#pragma once
#include <cstdint>
#include <string>

#include "alarms/alarm_records.h"
#include "kit/controls.h"
#include "kit/listview.h"

class OcxAlarmList : public kit::UserControl {
public:
    explicit OcxAlarmList(kit::Container* parent);

    // The editor hands its alarm over (Cancel False) or only ends the add or edit (True).
    void AddAlarmItem(bool& Cancel);
    void EditAlarmItem(bool& Cancel);

    void lstAlarmList_Click();
    void lstAlarmList_ItemClick(int item);
    void lstAlarmList_LostFocus();
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdRemove_Click();
    void cmdRemoveAll_Click();
    // Rebuilds the table from the working list.
    void RefreshAlarmList();

    kit::TextBox txtDumb{this};
    kit::Frame fmeAlarm{this, "Alarm Schedule &List"};
    kit::CommandButton cmdAdd{&fmeAlarm, "&Add"};
    kit::ListView lstAlarmList{&fmeAlarm};
    kit::CommandButton cmdEdit{&fmeAlarm, "&Edit"};
    kit::CommandButton cmdRemove{&fmeAlarm, "&Remove"};
    kit::CommandButton cmdRemoveAll{&fmeAlarm, "Re&move All"};
    kit::PictureBox picBar{this, 1, 1};

    // The row last selected by a click, counted from 1; 0 before the first.
    int16_t mSelectedAlarm = 0;
    // The row being filled.
    int mListItem = 0;

protected:
    void UserControl_Initialize() override;

private:
    void PaintListBackground(kit::ListView& list, int32_t& dueColor, int32_t& plainColor,
                             int32_t& passedColor);
    // The editor's alarm, read through its get members.
    void ReadEditor(AlarmRecord& a);
    bool Collapsed() const;
};
