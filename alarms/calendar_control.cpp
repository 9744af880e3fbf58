#include "alarms/calendar_control.h"

#include "alarms/calendar_rules.h"
#include "alarms/schedule_form.h"
#include "alarms/schedule_layout.h"
#include "alarms/schedule_state.h"
#include "kit/datetime.h"
#include "shell/globals.h"

namespace L = schedule_layout;
namespace C = calendar_rules;

namespace {

void Place(kit::Control& c, const L::Box& b) { c.Move(b.left, b.top, b.width, b.height); }

const char* const kMonthName[12] = {"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};
constexpr int kDays = 31;

std::string TwoDigits(int v) {
    return {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
}

}  // namespace

OcxCalendar::OcxCalendar(kit::Container* parent)
    : kit::UserControl(parent),
      lblDay(
          &picDay,
          [n = 0](kit::Container* c) mutable {
              return std::make_unique<kit::Label>(c, std::to_string(++n));
          },
          kDays),
      txtTime(
          &fmeDateTime, [](kit::Container* c) { return std::make_unique<kit::TextBox>(c); }, 3,
          [this](int i, kit::TextBox& box) { box.Change = [this, i] { txtTime_Change(i); }; }),
      txtSep(
          &fmeDateTime, [](kit::Container* c) { return std::make_unique<kit::TextBox>(c); }, 3) {
    Place(fmeDateTime, L::kCalendarFrame);
    Place(cmbMonth, L::kMonth);
    Place(cmbYear, L::kYear);
    Place(picDay, L::kDayBox);
    picDay.setScaleMode(kit::kScalePixels);
    lblWeek.movePx(L::kWeekHeading.left, L::kWeekHeading.top, L::kWeekHeading.width,
                   L::kWeekHeading.height);
    lblWeek.setFontName("Times New Roman");
    // Sized to its text: a wider face standing in for this one (as under Wine) must not wrap
    // "Sat" onto a second line.
    lblWeek.setAutoSize(true);
    for (int i = 0; i < kDays; ++i) {
        kit::Label& day = lblDay(i);
        day.setAlignment(kit::kAlignCenter);
        const C::Place p = C::DayPlace(1, i);
        day.movePx(p.left, p.top, L::kDayWidth, L::kDayHeight);
    }
    Place(txtTime(0), L::kHour);
    Place(txtSep(0), L::kSepHourMinute);
    Place(txtTime(1), L::kMinute);
    Place(txtSep(1), L::kSepMinuteSecond);
    Place(txtTime(2), L::kSecond);
    Place(txtSep(2), L::kAmPm);
    Place(vslTime, L::kSpin);
    for (int i = 0; i < 3; ++i) txtTime(i).setMaxLength(2);
    txtSep(0).setText(":");
    txtSep(1).setText(":");
    for (int i = 0; i < 3; ++i) txtSep(i).setLocked(true);
    // The spin's upper arrow raises the field: the top of its range is the larger value.
    vslTime.setMin(C::kSpinTop);
    vslTime.setMax(C::kSpinBottom);
    vslTime.setSmallChange(1);
    vslTime.setLargeChange(1);
    Place(txtDumb, L::kDumb);

    cmbMonth.Click = [this] { cmbMonth_Click(); };
    cmbYear.Click = [this] { cmbYear_Click(); };
    lblDay.Click = [this](int i) { lblDay_Click(i); };
    txtTime.Click = [this](int i) { txtTime_Click(i); };
    txtTime.GotFocus = [this](int i) { txtTime_GotFocus(i); };
    txtSep.Click = [this](int i) { txtSep_Click(i); };
    vslTime.Change = [this] { vslTime_Change(); };
}

void OcxCalendar::UserControl_Initialize() {
    for (const char* m : kMonthName) cmbMonth.AddItem(m);
    for (int y = C::kFirstYear; y <= C::kLastYear; ++y) cmbYear.AddItem(std::to_string(y));
    gCalendarDateEnabled = false;
    CalendarSetting();
    mInitialized = true;
}

int OcxCalendar::ListedYear() const { return C::kFirstYear + std::max(cmbYear.ListIndex(), 0); }

void OcxCalendar::CalendarSetting() {
    ShowDay(kit::Now());
    ShowCurrentTime();
}

void OcxCalendar::ShowDateOf(const std::string& dateText) {
    const auto date = kit::ParseDate(dateText);
    ShowDay(date ? *date : kit::Now());
    ShowCurrentTime();
}

void OcxCalendar::ShowDay(const kit::DateTime& day) {
    // The lists and the day label raise their events as for the user; while the program shows
    // a day they choose nothing.
    mShowingDay = true;
    // A date outside the listed years shows the nearest one.
    cmbYear.setListIndex(C::ListedYear(day.year) - C::kFirstYear);
    cmbMonth.setListIndex(day.month - 1);
    mDay = day.day;
    ShowMonth(day.month, ListedYear());
    lblDay_Click(mDay - 1);
    mShowingDay = false;
}

void OcxCalendar::EnableCalendarDate() {
    if (gCalendarDateEnabled) return;
    gCalendarDateEnabled = true;
    cmbYear.setEnabled(true);
    cmbMonth.setEnabled(true);
    for (int i = 0; i < kDays; ++i) lblDay(i).setEnabled(true);
}

void OcxCalendar::DisableCalendarDate() {
    if (!gCalendarDateEnabled) return;
    gCalendarDateEnabled = false;
    cmbYear.setEnabled(false);
    cmbMonth.setEnabled(false);
    for (int i = 0; i < kDays; ++i) lblDay(i).setEnabled(false);
}

void OcxCalendar::timeControlsEnabled(bool on) {
    for (int i = 0; i < 3; ++i) {
        txtTime(i).setEnabled(on);
        txtSep(i).setEnabled(on);
    }
    vslTime.setEnabled(on);
}

void OcxCalendar::EnableCalendarTime() { timeControlsEnabled(true); }

void OcxCalendar::DisableCalendarTime() { timeControlsEnabled(false); }

void OcxCalendar::cmbMonth_Click() {
    if (!mInitialized) return;
    ShowMonth(ListedMonth(), ListedYear());
    lblDay_Click(mDay - 1);
}

void OcxCalendar::cmbYear_Click() { cmbMonth_Click(); }

void OcxCalendar::ShowMonth(int month, int year) {
    picDay.setEnabled(false);
    const int length = kit::DaysInMonth(year, month);
    for (int i = 27; i < kDays; ++i) lblDay(i).setVisible(false);
    for (int i = 27; i < length; ++i) lblDay(i).setVisible(true);
    kit::DateTime first;
    first.year = year;
    first.month = month;
    first.day = 1;
    const int w = kit::Weekday(first) + 1;
    for (int i = 0; i < kDays; ++i) {
        const C::Place p = C::DayPlace(w, i);
        lblDay(i).movePx(p.left, p.top, L::kDayWidth, L::kDayHeight);
    }
    if (mDay > length) mDay = length;
    picDay.setEnabled(true);
}

void OcxCalendar::lblDay_Click(int index) {
    for (int i = 0; i < kDays; ++i) lblDay(i).setBorderStyle(0);
    lblDay(index).setBorderStyle(1);
    mDay = index + 1;
    if (!mInitialized || mShowingDay) return;
    PushDate();
    txtDumb.SetFocus();
}

void OcxCalendar::PushDate() {
    OcxAlarm& editor = frmSchedule().ocxAlarm;
    editor.setAlarmDate(C::DateText(ListedYear(), ListedMonth(), mDay, gDayMode));
    editor.cmbAlarmMode_Click();
}

void OcxCalendar::setSpin(int value) {
    mUpdatingTime = true;
    vslTime.setValue(value);
    mUpdatingTime = false;
}

void OcxCalendar::ShowCurrentTime() {
    const kit::DateTime now = kit::Now();
    std::string t;
    if (gAmPmMode == 1) {
        t = kit::Format(now, "hh mm ss am/pm");
        txtSep(2).setVisible(true);
        txtSep(2).setText(kit::Format(now, "am/pm"));
    } else {
        t = kit::Format(now, "hh mm ss");
        txtSep(2).setVisible(false);
        txtSep(2).setText("");
    }
    mUpdatingTime = true;
    txtTime(0).setText(t.substr(0, 2));
    txtTime(1).setText(t.substr(3, 2));
    txtTime(2).setText(t.substr(6, 2));
    if (mTimeField == 0) vslTime.setValue(C::FieldValue(txtTime(0).Text()) + 1);
    mUpdatingTime = false;
}

void OcxCalendar::txtTime_Click(int index) {
    setSpin(C::FieldValue(txtTime(index).Text()) + 1);
    txtTime(index).setSelStart(0);
    txtTime(index).setSelLength(static_cast<int>(txtTime(index).Text().size()));
    mTimeField = index;
}

// The spin drives the field the user is in, also when the keyboard brought the focus there.
void OcxCalendar::txtTime_GotFocus(int index) { txtTime_Click(index); }

void OcxCalendar::txtTime_Change(int index) {
    if (mUpdatingTime) return;
    kit::TextBox& field = txtTime(index);
    const std::string corrected = C::CorrectField(field.Text(), index, gAmPmMode);
    if (corrected != field.Text()) {
        mUpdatingTime = true;
        field.setText(corrected);
        mUpdatingTime = false;
        field.setSelStart(0);
        field.setSelLength(static_cast<int>(corrected.size()));
    }
    setSpin(C::FieldValue(field.Text()) + 1);
    PushTime();
}

void OcxCalendar::vslTime_Change() {
    if (mUpdatingTime) return;
    const int v = C::WrapSpin(vslTime.Value(), mTimeField, gAmPmMode);
    if (v != vslTime.Value()) setSpin(v);
    kit::TextBox& field = txtTime(mTimeField);
    mUpdatingTime = true;
    field.setText(TwoDigits(v - 1));
    mUpdatingTime = false;
    field.setSelStart(0);
    field.setSelLength(2);
    field.SetFocus();
    PushTime();
}

void OcxCalendar::txtSep_Click(int index) {
    if (index != 2) return;
    txtSep(2).setText(C::ToggledAmPm(txtSep(2).Text()));
    PushTime();
    txtSep(2).setSelStart(0);
    txtSep(2).setSelLength(2);
}

void OcxCalendar::PushTime() {
    OcxAlarm& editor = frmSchedule().ocxAlarm;
    editor.setAlarmTime(C::TimeText(txtTime(0).Text(), txtTime(1).Text(), txtTime(2).Text(),
                                    txtSep(2).Text(), gAmPmMode));
    editor.cmbAlarmMode_Click();
}
