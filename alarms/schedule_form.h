// The schedule dialog "Alarm Schedule Setting": the alarm list, the alarm editor and the
// calendar, with Save, Exit and Help. It edits the working alarm list directly; Save keeps the
// edits, Exit and the close box throw them away.
#pragma once
#include <cstdint>
#include <string>

#include "alarms/alarm_editor_control.h"
#include "alarms/alarm_list_control.h"
#include "alarms/calendar_control.h"
#include "kit/controls.h"

class FrmSchedule : public kit::Form {
public:
    FrmSchedule();

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();

    // Declared in this order: the controls are made, and initialised, in it.
    kit::TextBox txtDumb{this};
    OcxAlarmList ocxAlarmList{this};
    kit::CommandButton cmdOK{this, "Sa&ve"};
    kit::CommandButton cmdCancel{this, "E&xit"};
    kit::CommandButton cmdHelp{this, "&Help"};
    OcxAlarm ocxAlarm{this};
    OcxCalendar ocxCalendar{this};

    int16_t mClosedByButton = 0;

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void onResized() override;

private:
    // Copies the saved list and the hourly slot as the dialog found them back and rebuilds
    // today's queue.
    void RestoreAlarmList();
    // Collapsed, the editor and the calendar lie below the window: they must not take the
    // focus or an access key there.
    void ApplyEditorReach();

    // The hourly slot when the dialog opened, and the day.
    bool mHourlySetAtOpen = false;
    std::string mHourlyTimeAtOpen, mOpenedOn;
};

inline kit::FormInstance<FrmSchedule> frmSchedule;
