// The calendar and time picker of the schedule dialog: a month grid with month and year lists,
// and a three-field time box with a spin and, on the 12-hour clock, an am/pm box. Every pick
// goes at once into the alarm editor through the dialog.
#pragma once
#include <string>

#include "kit/controls.h"

class OcxCalendar : public kit::UserControl {
public:
    explicit OcxCalendar(kit::Container* parent);

    // Shows today and the current time. Showing picks nothing: only the user's picks go into
    // the editor.
    void CalendarSetting();
    // Shows the day of a date text (today when it reads as none) and the current time in the
    // clock format in use.
    void ShowDateOf(const std::string& dateText);
    void EnableCalendarDate();
    void DisableCalendarDate();
    void EnableCalendarTime();
    void DisableCalendarTime();

    void cmbMonth_Click();
    void cmbYear_Click();
    void lblDay_Click(int index);
    void txtTime_Click(int index);
    void txtTime_GotFocus(int index);
    void txtTime_Change(int index);
    void vslTime_Change();
    void txtSep_Click(int index);

    kit::Frame fmeDateTime{this, "Cale&ndar"};
    kit::ComboBox cmbMonth{&fmeDateTime};
    kit::ComboBox cmbYear{&fmeDateTime};
    kit::PictureBox picDay{&fmeDateTime, 1, 1};
    kit::Label lblWeek{&picDay, "Sun Mon Tue Wed  Thu Fri  Sat "};
    kit::ControlArray<kit::Label> lblDay;
    kit::ControlArray<kit::TextBox> txtTime;
    kit::ControlArray<kit::TextBox> txtSep;
    kit::ScrollBar vslTime{&fmeDateTime, true};
    kit::TextBox txtDumb{this};

    int mDay = 1;
    int mTimeField = 0;
    bool mInitialized = false;
    bool mUpdatingTime = false;
    bool mShowingDay = false;

protected:
    void UserControl_Initialize() override;

private:
    void ShowDay(const kit::DateTime& day);
    void ShowMonth(int month, int year);
    void ShowCurrentTime();
    void PushDate();
    void PushTime();
    int ListedMonth() const { return cmbMonth.ListIndex() + 1; }
    int ListedYear() const;
    void setSpin(int value);
    void timeControlsEnabled(bool on);
};
