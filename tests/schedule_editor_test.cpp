// The alarm editor and the calendar driven as a user drives them: the OK checks, the display
// settings, the day grid, the time fields and their spin, the road from the picker to a firing,
// the hidden editor, and stored alarms the dialog cannot read.
#include "alarms/alarm_popup.h"
#include "alarms/schedule_state.h"
#include "schedule_fixture.h"
#include "shell/globals.h"

namespace {

class ScheduleEditorTest : public ScheduleTest {
protected:
    // Opens the editor on a new alarm.
    void Add() { Press(List().cmdAdd); }
    void PressOk(int page = 0) { Press(Editor().cmdOK(page)); }
    std::string Field(int i) { return Calendar().txtTime(i).Text(); }
    void TypeField(int i, const std::string& text) {
        Press(Calendar().txtTime(i));
        TypeOver(Calendar().txtTime(i), text);
    }
    std::string LastMessage() { return Messages().empty() ? "" : Messages().back(); }
};

TEST_F(ScheduleEditorTest, OkRefusesInOrderWithTheEditorsMessages) {
    StartWith({});
    Open();
    Add();
    Choose(Editor().cmbAlarmMode, "Every week");
    // The boxes count as they stand: all seven after a new alarm.
    EXPECT_EQ(Editor().getAlarmWeek(), 127);
    for (int i = 0; i < 7; ++i) Press(Editor().chkWeek(i));
    EXPECT_EQ(Editor().getAlarmWeek(), 0);
    ChooseTab(1);
    TypeOver(Editor().txtAlarmHint, "x");
    world.backend.pressKey(kit::kKeyBack);
    ASSERT_EQ(Editor().getAlarmHint(), "");
    PressOk(1);
    EXPECT_EQ(LastMessage(), "Enter applicable days of the week please !");
    ASSERT_EQ(world.backend.msgBoxCalls().size(), 1u);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].flags, 48);
    EXPECT_EQ(world.backend.msgBoxCalls()[0].caption, "Tivlo 2.3");
    EXPECT_EQ(world.backend.msgBoxCalls()[0].owner, Editor().hWnd());
    EXPECT_TRUE(Expanded());

    ChooseTab(0);
    Press(Editor().chkWeek(1));
    PressOk(0);
    EXPECT_EQ(LastMessage(), "Enter alarm hint please !");
    ChooseTab(1);
    TypeOver(Editor().txtAlarmHint, "Tea/Milk");
    PressOk(1);
    EXPECT_EQ(LastMessage(), "The alarm hint may not contain / !");
    TypeOver(Editor().txtAlarmHint, "Tea");

    // "Once" on yesterday, then today at this very second (the picker shows the current time).
    ChooseTab(0);
    Choose(Editor().cmbAlarmMode, "Once");
    Press(Calendar().lblDay(5));
    EXPECT_EQ(Editor().getAlarmDate(), "Dec 06 , 2026");
    PressOk(0);
    EXPECT_EQ(LastMessage(), "Once alarm day is out of date !");
    Press(Calendar().lblDay(6));
    PressOk(0);
    EXPECT_EQ(LastMessage(), "Once alarm time is out of date !");
    EXPECT_EQ(gAlarmCount, 0);
    EXPECT_FALSE(Dialog().cmdOK.Enabled());

    // A second later is accepted.
    TypeField(2, "31");
    PressOk(0);
    EXPECT_EQ(Messages().size(), 5u);
    ASSERT_EQ(gAlarmCount, 1);
    EXPECT_EQ(gAlarms[0].Time, "09:41:31 am");
    EXPECT_EQ(gAlarms[0].Week, 0);
    EXPECT_FALSE(Expanded());
    EXPECT_TRUE(Dialog().cmdOK.Enabled());
}

TEST_F(ScheduleEditorTest, TheHourlySlotRefusesASecondAddButNotAnEdit) {
    StartWith({});
    Open();
    Add();
    Choose(Editor().cmbAlarmMode, "Every hour after running computer");
    PressOk();
    ASSERT_EQ(gAlarmCount, 1);
    ASSERT_TRUE(gHourlyAlarmSet);

    Add();
    Choose(Editor().cmbAlarmMode, "Every hour after running computer");
    PressOk();
    EXPECT_EQ(LastMessage(), "Every hour after running computer mode has been set !");
    Press(Editor().cmdCancel(0));
    EXPECT_EQ(gAlarmCount, 1);

    PressRow(1);
    Press(List().cmdEdit);
    ASSERT_TRUE(Expanded());
    PressOk();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_FALSE(Expanded());

    // Edited into a daily alarm, the slot is free again for a new hourly one.
    PressRow(1);
    Press(List().cmdEdit);
    Choose(Editor().cmbAlarmMode, "Every day");
    PressOk();
    EXPECT_EQ(gAlarms[0].Mode, "Every day");
    EXPECT_FALSE(gHourlyAlarmSet);
    Add();
    Choose(Editor().cmbAlarmMode, "Every hour after running computer");
    PressOk();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(gAlarmCount, 2);
}

TEST_F(ScheduleEditorTest, DisplaySettingsAreStoredAtOnceAndReformatTheAlarm) {
    world.backend.setNow({2026, 12, 7, 14, 5, 0});
    StartWith({}, "2", "1");
    Open();
    Add();
    EXPECT_EQ(Editor().getAlarmTime(), "14:05:00");
    EXPECT_FALSE(Calendar().txtSep(2).Visible());
    ChooseTab(2);
    EXPECT_TRUE(Editor().picAlarmDateTime.Visible());
    EXPECT_FALSE(Editor().picAlarmSchedule.Visible());
    Press(Editor().optTimeFormat(0));
    EXPECT_EQ(Editor().getAlarmTime(), "02:05:00 pm");
    EXPECT_EQ(Editor().txtTime.Text(), "02:05:00 pm");
    EXPECT_EQ(Reg("AM/PM_Mode"), "1");
    EXPECT_TRUE(Calendar().txtSep(2).Visible());
    EXPECT_EQ(Calendar().txtSep(2).Text(), "pm");
    EXPECT_EQ(Field(0), "02");

    Press(Editor().optDateFormat(1));
    EXPECT_EQ(Editor().getAlarmDate(), "07 Dec 2026");
    EXPECT_EQ(Reg("Day_Mode"), "2");
    EXPECT_TRUE(gTrayRedraw);

    // The colour in use writes nothing; another is stored at once.
    world.registry.put(kKey, "DispColor", "marker");
    Choose(Editor().cmbDispColor, "Black");
    EXPECT_EQ(Reg("DispColor"), "marker");
    Choose(Editor().cmbDispColor, "Cyan");
    EXPECT_EQ(gDispColor, 0xFFFF00);
    EXPECT_EQ(Reg("DispColor"), "16776960");

    // OK on this page closes the editor and adds nothing.
    PressOk(2);
    EXPECT_FALSE(Expanded());
    EXPECT_EQ(gAlarmCount, 0);
    EXPECT_TRUE(List().cmdAdd.Enabled());
}

TEST_F(ScheduleEditorTest, TheClockFormatAndTheFocusNeverMoveTheEditedDate) {
    StartWith({Stored("Trip", "Once", "Mar 24 , 2027", "08:00:00 am")});
    Open();
    PressRow(1);
    Press(List().cmdEdit);
    ChooseTab(2);
    Press(Editor().optTimeFormat(1));
    EXPECT_EQ(Editor().getAlarmDate(), "Mar 24 , 2027");
    EXPECT_EQ(Editor().getAlarmTime(), "08:00:00");
    // The calendar shows the date being edited.
    EXPECT_EQ(Calendar().cmbYear.Text(), "2027");
    EXPECT_EQ(Calendar().cmbMonth.Text(), "March");
    EXPECT_EQ(Calendar().lblDay(23).BorderStyle(), 1);
    EXPECT_EQ(Calendar().lblDay(6).BorderStyle(), 0);
    // The focus coming back onto the chosen option changes nothing either.
    world.backend.focus(Editor().cmdOK(2).hWnd());
    world.backend.focus(Editor().optTimeFormat(1).hWnd());
    EXPECT_EQ(Editor().getAlarmDate(), "Mar 24 , 2027");
    ChooseTab(0);
    PressOk(0);
    EXPECT_EQ(LastMessage(), "");
    ASSERT_EQ(gAlarmCount, 1);
    EXPECT_EQ(gAlarms[0].Date, "Mar 24 , 2027");
    EXPECT_EQ(gAlarms[0].Time, "08:00:00");
}

TEST_F(ScheduleEditorTest, MonthlyAndYearlyAlarmsShowPartOfTheirDateButKeepItWhole) {
    StartWith({});
    Open();
    Add();
    Choose(Editor().cmbAlarmMode, "Every month");
    EXPECT_EQ(Editor().txtDate.Text(), "07");
    Choose(Editor().cmbAlarmMode, "Every year");
    EXPECT_EQ(Editor().txtDate.Text(), "Dec 07");
    Choose(Editor().cmbAlarmMode, "Every day");
    EXPECT_FALSE(Editor().txtDate.Enabled());
    EXPECT_FALSE(Calendar().cmbMonth.Enabled());
    EXPECT_TRUE(Calendar().txtTime(0).Enabled());
    Choose(Editor().cmbAlarmMode, "Every hour after running computer");
    EXPECT_FALSE(Calendar().txtTime(0).Enabled());
    Choose(Editor().cmbAlarmMode, "Every year");
    EXPECT_TRUE(Calendar().cmbMonth.Enabled());
    PressOk();
    ASSERT_EQ(gAlarmCount, 1);
    EXPECT_EQ(gAlarms[0].Date, "Dec 07 , 2026");
}

TEST_F(ScheduleEditorTest, TheDayGridFollowsTheMonthAndClampsTheDay) {
    StartWith({});
    Open();
    Add();
    OcxCalendar& cal = Calendar();
    Press(cal.lblDay(30));
    EXPECT_EQ(Editor().getAlarmDate(), "Dec 31 , 2026");
    EXPECT_EQ(cal.lblDay(30).BorderStyle(), 1);
    Choose(cal.cmbMonth, "November");
    EXPECT_EQ(cal.mDay, 30);
    EXPECT_EQ(Editor().getAlarmDate(), "Nov 30 , 2026");
    EXPECT_EQ(cal.lblDay(29).BorderStyle(), 1);
    EXPECT_EQ(cal.lblDay(30).BorderStyle(), 0);
    EXPECT_FALSE(cal.lblDay(30).Visible());

    // August 2026 starts on a Saturday.
    Choose(cal.cmbMonth, "August");
    EXPECT_EQ(cal.lblDay(0).leftPx(), 154);
    EXPECT_EQ(cal.lblDay(0).topPx(), 20);
    EXPECT_EQ(cal.lblDay(30).leftPx(), 29);
    EXPECT_EQ(cal.lblDay(30).topPx(), 120);
    EXPECT_TRUE(cal.lblDay(30).Visible());
    // November 2026 starts on a Sunday.
    Choose(cal.cmbMonth, "November");
    EXPECT_EQ(cal.lblDay(0).leftPx(), 4);
    EXPECT_EQ(cal.lblDay(0).topPx(), 20);
    // The weekday heading is one line above the first row, as wide as its text in whatever
    // face draws it, so that no day name wraps under the others.
    int w = 0, h = 0;
    cal.lblWeek.textSizePx(w, h);
    EXPECT_EQ(cal.lblWeek.widthPx(), w);
    EXPECT_EQ(cal.lblWeek.heightPx(), h);
    EXPECT_EQ(cal.lblWeek.leftPx(), 4);
    EXPECT_LE(cal.lblWeek.topPx() + h, cal.lblDay(0).topPx());

    Choose(cal.cmbMonth, "February");
    EXPECT_FALSE(cal.lblDay(28).Visible());
    Choose(cal.cmbYear, "2028");
    EXPECT_TRUE(cal.lblDay(28).Visible());
    EXPECT_FALSE(cal.lblDay(29).Visible());
    Press(cal.lblDay(28));
    EXPECT_EQ(Editor().getAlarmDate(), "Feb 29 , 2028");
    EXPECT_EQ(cal.cmbYear.ListCount(), 100);
    EXPECT_EQ(cal.cmbYear.List(99), "2099");
}

TEST_F(ScheduleEditorTest, AClockOutsideTheListedYearsShowsTheNearestYear) {
    world.backend.setNow({2105, 3, 1, 9, 0, 0});
    StartWith({});
    Open();
    Add();
    EXPECT_EQ(Calendar().cmbYear.Text(), "2099");
    EXPECT_EQ(Calendar().cmbMonth.Text(), "March");
    EXPECT_TRUE(Expanded());
    Press(Editor().cmdCancel(0));
    Press(Dialog().cmdCancel);

    world.backend.setNow({1999, 12, 31, 9, 0, 0});
    Open();
    Add();
    EXPECT_EQ(Calendar().cmbYear.Text(), "2000");
}

TEST_F(ScheduleEditorTest, TimeFieldsCorrectTypingAndTheSpinWraps) {
    StartWith({});
    Open();
    Add();
    TypeField(1, "7a");
    EXPECT_EQ(Field(1), "00");
    EXPECT_EQ(Editor().getAlarmTime(), "09:00:30 am");
    TypeField(1, "75");
    EXPECT_EQ(Field(1), "00");
    TypeField(1, "59");
    EXPECT_EQ(Calendar().vslTime.Value(), 60);
    SpinUp();
    EXPECT_EQ(Field(1), "00");
    SpinDown();
    EXPECT_EQ(Field(1), "59");
    SpinUp();
    EXPECT_EQ(Field(1), "00");
    EXPECT_EQ(Editor().getAlarmTime(), "09:00:30 am");

    TypeField(0, "12");
    EXPECT_EQ(Field(0), "12");
    TypeField(0, "13");
    EXPECT_EQ(Field(0), "00");
    TypeField(0, "12");
    SpinUp();
    EXPECT_EQ(Field(0), "00");
    SpinDown();
    EXPECT_EQ(Field(0), "12");

    // The am/pm box turns over on a click.
    Press(Calendar().txtSep(2));
    EXPECT_EQ(Calendar().txtSep(2).Text(), "pm");
    EXPECT_EQ(Editor().getAlarmTime(), "12:00:30 pm");
}

TEST_F(ScheduleEditorTest, Hour00FromThePickerFiresAtItsTime) {
    StartWith({});
    Open();
    Add();
    ChooseTab(1);
    TypeOver(Editor().txtAlarmHint, "Lunch");
    TypeField(0, "00");
    Press(Calendar().txtSep(2));  // pm: 00 pm is the hour after noon begins
    ASSERT_EQ(Editor().getAlarmTime(), "00:41:30 pm");
    PressOk(1);
    ASSERT_EQ(LastMessage(), "");
    Press(Dialog().cmdOK);
    ASSERT_EQ(gAlarmQueueCount, 1);
    EXPECT_EQ(Reg("AlarmList1"), "Lunch/Once/Dec 07 , 2026/00:41:30 pm//Do nothing/10/0/");

    world.backend.advance(1000ull * (3 * 3600 - 60));  // 12:40:30: not yet
    EXPECT_FALSE(frmAlarm.Loaded() && frmAlarm().Visible());
    world.backend.advance(1000ull * 62);
    ASSERT_TRUE(frmAlarm.Loaded() && frmAlarm().Visible());
    EXPECT_EQ(gHints[0], "Lunch");
}

TEST_F(ScheduleEditorTest, TheCollapsedDialogKeepsTheEditorOutOfReach) {
    StartWith({Stored("Tea", "Every day", "", "04:00:00 pm")});
    FrmSchedule& d = Open();
    const double height = d.Height();
    // Alt+C is the editor's Cancel, Alt+O its OK: below the window they must do nothing.
    world.backend.focus(d.cmdHelp.hWnd());
    world.backend.pressKey('C', kAltMask);
    world.backend.pressKey('O', kAltMask);
    EXPECT_EQ(d.Height(), height);
    EXPECT_EQ(gAlarmCount, 1);
    EXPECT_TRUE(Messages().empty());
    // Tab runs through the visible controls only.
    for (int i = 0; i < 20; ++i) {
        world.backend.pressKey(kit::kKeyTab);
        kit::Control* c = d.ActiveControl();
        ASSERT_NE(c, nullptr);
        for (kit::Control* in = c; in; in = in->container()->asControl())
            EXPECT_TRUE(in != &Editor() && in != &Calendar()) << i;
    }
    EXPECT_EQ(gAlarmCount, 1);
    EXPECT_EQ(d.Height(), height);
    // Open again, the editor takes its keys.
    Add();
    world.backend.pressKey('C', kAltMask);
    EXPECT_FALSE(Expanded());
}

TEST_F(ScheduleEditorTest, LockMinutesMirrorTheUpDownAndStayInRange) {
    StartWith({});
    Open();
    Add();
    ChooseTab(1);
    EXPECT_FALSE(Editor().txtSnoozeTime.Enabled());
    Choose(Editor().cmbAlarmAction, "Lock keyboard and mouse");
    ASSERT_TRUE(Editor().txtSnoozeTime.Enabled());
    struct {
        const char* typed;
        const char* shown;
        int value;
    } cases[] = {{"abc", "1", 1}, {"45", "30", 30}, {"0", "1", 1}, {"12", "12", 12}};
    for (const auto& c : cases) {
        TypeOver(Editor().txtSnoozeTime, c.typed);
        EXPECT_EQ(Editor().txtSnoozeTime.Text(), c.shown) << c.typed;
        EXPECT_EQ(Editor().vslSnoozeTime.Value(), c.value) << c.typed;
        EXPECT_EQ(Editor().getAlarmSnooze(), std::to_string(c.value)) << c.typed;
    }
    Editor().vslSnoozeTime.setValue(13);
    EXPECT_EQ(Editor().txtSnoozeTime.Text(), "13");
    EXPECT_EQ(Editor().getAlarmSnooze(), "13");
}

TEST_F(ScheduleEditorTest, StoredAlarmsThatDoNotReadAreShownAndLoadedSafely) {
    StartWith(
        {Stored("Bad date", "Once", "someday", "noon", "Lock keyboard and mouse", "x"),
         Stored("Bad snooze", "Every day", "", "07:00:00 am", "Lock keyboard and mouse", "99"),
         Stored("Bad week", "Every week", "", "07:00:00 am", "Do nothing", "0", 0x140),
         Stored("Bad year", "Every year", "Feb 30 , 2026", "25:61:00", "Do nothing", "-4")});
    Open();
    ASSERT_EQ(List().lstAlarmList.RowCount(), 4);
    EXPECT_EQ(List().lstAlarmList.Cell(1, 2), "");
    EXPECT_EQ(List().lstAlarmList.Cell(1, 3), "");
    EXPECT_EQ(List().lstAlarmList.Cell(3, 2), "Sat");
    const char* snooze[] = {"10", "30", "1", "1"};
    for (int row = 1; row <= 4; ++row) {
        PressRow(row);
        EXPECT_EQ(Editor().getAlarmSnooze(), snooze[row - 1]) << row;
    }
    Press(List().cmdEdit);
    EXPECT_TRUE(Expanded());
    Press(Editor().cmdCancel(0));
    PressRow(1);
    Press(List().cmdEdit);
    PressOk();
    EXPECT_EQ(LastMessage(), "Once alarm day is out of date !");
}

}  // namespace
