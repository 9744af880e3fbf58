// The schedule dialog's rules on their own: row texts and bands, the editor's checks and
// corrections, the calendar's layout and the time fields.
#include <gtest/gtest.h>

#include <limits>

#include "alarms/alarm_editor_rules.h"
#include "alarms/alarm_list_rows.h"
#include "alarms/calendar_rules.h"

namespace {

AlarmRecord Alarm(const std::string& mode, const std::string& date, const std::string& time,
                  int16_t week = 0) {
    AlarmRecord a;
    a.Hint = "Tea";
    a.Mode = mode;
    a.Date = date;
    a.Time = time;
    a.Action = "Do nothing";
    a.Snooze = "10";
    a.Week = week;
    return a;
}

TEST(AlarmListRows, DateAndTimeColumnsFollowTheDisplaySettings) {
    struct Case {
        AlarmRecord alarm;
        int16_t dayMode, amPmMode;
        const char* date;
        const char* time;
    } cases[] = {
        // Entered with month first and the 12-hour clock, shown after a switch to day first.
        {Alarm("Once", "Mar 05 , 2008", "02:05:00 pm"), 2, 2, "05 Mar 2008", "14:05:00"},
        {Alarm("Once", "Mar 05 , 2008", "02:05:00 pm"), 1, 1, "Mar 05 2008", "02:05:00 pm"},
        {Alarm("Once", "05 Mar 2008", "14:05:00"), 1, 1, "Mar 05 2008", "02:05:00 pm"},
        {Alarm("Every year", "Mar 05 , 2008", "07:00:00"), 2, 2, "05 Mar", "07:00:00"},
        {Alarm("Every year", "05 Mar 2008", "07:00:00"), 1, 2, "Mar 05", "07:00:00"},
        {Alarm("Every month", "Mar 05 , 2008", "07:00:00"), 2, 2, "05", "07:00:00"},
        {Alarm("Every day", "Mar 05 , 2008", "07:00:00"), 1, 1, "", "07:00:00 am"},
        {Alarm("Every hour after running computer", "Mar 05 , 2008", "13:40:12"), 1, 1, "",
         "01:40:12 pm"},
        // The picker's hour 00 on the 12-hour clock is midnight or noon.
        {Alarm("Every day", "", "00:05:00 am"), 1, 2, "", "00:05:00"},
        {Alarm("Every day", "", "00:05:00 pm"), 1, 1, "", "12:05:00 pm"},
        // Weekly: the day list replaces the date.
        {Alarm("Every week", "Mar 05 , 2008", "07:00:00", 2 | 8 | 32), 1, 2, "Mon,Wed,Fri",
         "07:00:00"},
        {Alarm("Every week", "", "07:00:00", 32), 1, 2, "Fri", "07:00:00"},
        {Alarm("Every week", "", "07:00:00", 127), 1, 2, "Sun,Mon,Tue,Wed,Thu,Fri,Sat",
         "07:00:00"},
        // Unknown modes and texts that do not read leave the columns empty.
        {Alarm("Sometimes", "Mar 05 , 2008", "07:00:00"), 1, 2, "", ""},
        {Alarm("Once", "Smarch 40 , 2008", "7 o'clock"), 1, 2, "", ""},
        {Alarm("Every week", "", "07:00:00", 128), 1, 2, "", "07:00:00"},
    };
    for (const Case& c : cases) {
        const auto row = alarm_rows::AlarmRow(c.alarm, c.dayMode, c.amPmMode);
        EXPECT_EQ(row[2], c.date) << c.alarm.Mode << " " << c.alarm.Date << " " << c.dayMode;
        EXPECT_EQ(row[3], c.time) << c.alarm.Mode << " " << c.alarm.Time << " " << c.amPmMode;
        EXPECT_EQ(row[0], "Tea");
        EXPECT_EQ(row[1], c.alarm.Mode);
    }
}

TEST(AlarmListRows, MusicAndSnoozeColumns) {
    AlarmRecord a = Alarm("Every day", "", "07:00:00");
    EXPECT_EQ(alarm_rows::AlarmRow(a, 1, 2)[4], "");
    a.Music = "C:\\My Music\\wake up.mp3";
    EXPECT_EQ(alarm_rows::AlarmRow(a, 1, 2)[4], "wake up.mp3");
    a.Music = "ring.wav";
    EXPECT_EQ(alarm_rows::AlarmRow(a, 1, 2)[4], "ring.wav");
    EXPECT_EQ(alarm_rows::AlarmRow(a, 1, 2)[6], "");
    a.Action = "Shut down computer";
    EXPECT_EQ(alarm_rows::AlarmRow(a, 1, 2)[6], "");
    a.Action = "Lock keyboard and mouse";
    a.Snooze = "25";
    EXPECT_EQ(alarm_rows::AlarmRow(a, 1, 2)[5], "Lock keyboard and mouse");
    EXPECT_EQ(alarm_rows::AlarmRow(a, 1, 2)[6], "25");
}

TEST(AlarmListRows, BandsTellDueFromPassedAlarms) {
    const kit::DateTime now{2026, 12, 7, 11, 0, 0};
    std::vector<AlarmRecord> alarms = {
        Alarm("Once", "Dec 06 , 2026", "23:00:00"),     // 0 yesterday, later hour: passed
        Alarm("Once", "07 Dec 2026", "10:00:00"),       // 1 today, past, still queued: due
        Alarm("Once", "Dec 07 , 2026", "10:30:00"),     // 2 today, fired (not queued): passed
        Alarm("Once", "Dec 08 , 2026", "01:00:00"),     // 3 tomorrow: plain
        Alarm("Once", "Dec 07 , 2026", "01:00:00 pm"),  // 4 1 pm at 11 am: not passed
        Alarm("Once", "Dec 07 , 2026", "11:00:00"),     // 5 this very second: not passed
        Alarm("Every day", "", "07:00:00"),             // 6 fired today: plain
        Alarm("Once", "Dec 07 , 2026", "xx"),           // 7 time does not read: plain
    };
    std::vector<AlarmQueueItem> queue = {{true, 1, "10:00:00"}, {false, 4, "01:00:00 pm"},
                                         {true, 4, "01:00:00 pm"}, {true, 99, "junk"}};
    auto states = alarm_rows::BandStates(alarms, 8, queue, 3, now, 5.5);
    ASSERT_EQ(states.size(), 8u);  // more alarms than visible rows: one band each
    EXPECT_EQ(states, (std::vector<int16_t>{2, 1, 2, 0, 1, 0, 0, 0}));

    // At 1 pm an 11 am alarm of today has passed; the 1 pm one is due once more.
    alarms[4].Time = "11:00:00 am";
    queue.clear();
    states = alarm_rows::BandStates(alarms, 8, queue, 0, {2026, 12, 7, 13, 0, 0}, 2);
    EXPECT_EQ(states[4], alarm_rows::kRowPassed);

    // Fewer alarms than rows: the whole visible rows plus one, the rest plain.
    states = alarm_rows::BandStates(alarms, 2, queue, 0, now, 9.7);
    EXPECT_EQ(states.size(), 10u);
    EXPECT_EQ(states[2], alarm_rows::kRowPlain);
    EXPECT_EQ(alarm_rows::BandStates({}, 0, {}, 0, now, 0).size(), 1u);
    // No usable row height must not make a band count out of infinity.
    EXPECT_EQ(alarm_rows::BandStates({}, 0, {}, 0, now, std::numeric_limits<double>::infinity()).size(), 1u);

    EXPECT_EQ(alarm_rows::BandColor(alarm_rows::kRowDue), 255u);
    EXPECT_EQ(alarm_rows::BandColor(alarm_rows::kRowPassed), 8355711u);
    EXPECT_EQ(alarm_rows::BandColor(alarm_rows::kRowPlain), 11842740u);
}

alarm_editor::OkInput Ok(const std::string& mode, const std::string& date,
                         const std::string& time) {
    alarm_editor::OkInput in;
    in.modeShown = mode;
    in.hintBox = "Have a rest please";
    in.alarm = Alarm(mode, date, time);
    in.alarm.Hint = in.hintBox;
    in.now = {2026, 12, 7, 11, 0, 0};
    return in;
}

TEST(AlarmEditorRules, OkChecksInOrder) {
    using namespace alarm_editor;
    auto in = Ok("Every hour after running computer", "Dec 07 , 2026", "11:00:00 am");
    in.hourlySlotTaken = true;
    in.adding = true;
    in.hintBox.clear();
    EXPECT_EQ(RefusalOf(in), kMsgHourlySet);  // first, though the hint is empty too
    in.adding = false;                        // an edit may take the slot
    EXPECT_EQ(RefusalOf(in), kMsgNoHint);

    in = Ok("Every week", "", "07:00:00");
    in.hintBox.clear();
    EXPECT_EQ(RefusalOf(in), kMsgNoWeekdays);
    in.alarm.Week = 4;
    EXPECT_EQ(RefusalOf(in), kMsgNoHint);
    in.hintBox = "   ";  // blanks are a hint
    in.alarm.Hint = in.hintBox;
    EXPECT_EQ(RefusalOf(in), std::nullopt);
    in.hintBox = in.alarm.Hint = "Tea/Milk";
    EXPECT_EQ(RefusalOf(in), kMsgSlashInHint);

    struct Once {
        const char* date;
        const char* time;
        std::optional<std::string> refusal;
    } once[] = {
        {"Dec 06 , 2026", "23:00:00", kMsgDayPassed},  // yesterday, however late
        {"06 Dec 2026", "11:59:59 pm", kMsgDayPassed},
        {"Dec 07 , 2026", "11:00:00", kMsgTimePassed},  // this second
        {"Dec 07 , 2026", "11:00:00 am", kMsgTimePassed},
        {"Dec 07 , 2026", "10:59:59", kMsgTimePassed},
        {"Dec 07 , 2026", "11:00:01", std::nullopt},
        {"Dec 07 , 2026", "01:00:00 pm", std::nullopt},
        {"07 Dec 2026", "13:00:00", std::nullopt},
        {"Dec 08 , 2026", "00:00:00", std::nullopt},
        {"Dec 07 , 2026", "00:05:00 pm", std::nullopt},  // the picker's 00 pm is noon
        {"Dec 07 , 2026", "00:05:00 am", kMsgTimePassed},
        {"Dec 07 , 2026", "noon", kMsgTimePassed},  // texts that do not read never lie ahead
        {"tomorrow", "13:00:00", kMsgDayPassed},
    };
    for (const Once& c : once) {
        auto o = Ok("Once", c.date, c.time);
        EXPECT_EQ(RefusalOf(o), c.refusal) << c.date << " " << c.time;
    }
    // Other modes do not look at the date.
    EXPECT_EQ(RefusalOf(Ok("Every day", "Dec 06 , 2020", "01:00:00")), std::nullopt);
}

TEST(AlarmEditorRules, AnAlarmThatWouldOutgrowTheRegistryValueIsRefused) {
    using namespace alarm_editor;
    auto in = Ok("Every day", "Dec 07 , 2026", "07:00:00 am");
    AlarmRecord probe = in.alarm;
    const std::size_t base = AlarmListValue(probe).size();
    // Room left for the last date a firing writes: 254 bytes in all.
    in.alarm.Music = std::string(kMaxAlarmBytes - kLastDateBytes - base, 'm');
    EXPECT_EQ(RefusalOf(in), std::nullopt);
    in.alarm.Music += "m";
    EXPECT_EQ(RefusalOf(in), kMsgTooLong);
    // A last date still held by the record does not count twice.
    in.alarm.Music.pop_back();
    in.alarm.LastDate = "07 Dec 2026";
    EXPECT_EQ(RefusalOf(in), std::nullopt);
}

TEST(AlarmEditorRules, LockMinutesAndStoredNumbers) {
    using namespace alarm_editor;
    struct {
        const char* typed;
        const char* shown;
    } snooze[] = {{"abc", "1"}, {"", "1"},   {"45", "30"},  {"1e3", "30"}, {"30.5", "30"},
                  {"0", "1"},   {"-3", "1"}, {"0.5", "1"},  {"12", "12"},  {"1", "1"},
                  {"30", "30"}, {"2.5", "2.5"}};
    for (auto& c : snooze) EXPECT_EQ(CorrectSnoozeText(c.typed), c.shown) << c.typed;

    struct {
        const char* stored;
        int16_t snooze;
    } stored[] = {{"7", 7}, {"abc", 10}, {"", 10}, {"0", 1}, {"-4", 1}, {"99", 30}, {"1e9", 30},
                  {"2.5", 2}};
    for (auto& c : stored) EXPECT_EQ(SnoozeOf(c.stored), c.snooze) << c.stored;
    EXPECT_EQ(WeekOf("42"), 42);
    EXPECT_EQ(WeekOf("x"), 0);
    EXPECT_EQ(WeekOf("99999"), 32767);
}

TEST(AlarmEditorRules, ClockAndDateFormatSwitches) {
    using namespace alarm_editor;
    EXPECT_EQ(ReformatTime("14:05:00", 1), "02:05:00 pm");
    EXPECT_EQ(ReformatTime("02:05:00 pm", 2), "14:05:00");
    EXPECT_EQ(ReformatTime("00:05:00 am", 2), "00:05:00");
    EXPECT_EQ(ReformatTime("00:05:00 pm", 1), "12:05:00 pm");
    EXPECT_EQ(ReformatTime("garbage", 1), "garbage");
    EXPECT_EQ(ReformatDate("Mar 05 , 2008", 2), "05 Mar 2008");
    EXPECT_EQ(ReformatDate("05 Mar 2008", 1), "Mar 05 , 2008");
    EXPECT_EQ(ShownDate("Dec 07 , 2026", "Every month", 1), "07");
    EXPECT_EQ(ShownDate("Dec 07 , 2026", "Every year", 1), "Dec 07");
    EXPECT_EQ(ShownDate("Dec 07 , 2026", "Every year", 2), "07 Dec");
    EXPECT_EQ(ShownDate("Dec 07 , 2026", "Every week", 2), "Dec 07 , 2026");
    EXPECT_EQ(ShownDate("??", "Every month", 2), "??");

    const bool days[7] = {false, true, false, true, false, true, false};
    EXPECT_EQ(WeekMaskOf(days), 42);
    EXPECT_EQ(DispColorIndex(0xFF0000), 5);  // blue
    EXPECT_EQ(DispColorIndex(0x123456), -1);
}

TEST(CalendarRules, DayGrid) {
    using calendar_rules::DayPlace;
    // A month starting on a Sunday, and one starting on a Saturday.
    EXPECT_EQ(DayPlace(1, 0).left, 4);
    EXPECT_EQ(DayPlace(1, 0).top, 20);
    EXPECT_EQ(DayPlace(1, 6).left, 154);
    EXPECT_EQ(DayPlace(1, 7).top, 40);
    EXPECT_EQ(DayPlace(7, 0).left, 154);
    EXPECT_EQ(DayPlace(7, 0).top, 20);
    EXPECT_EQ(DayPlace(7, 30).top, 120);  // day 31 in the sixth row
    EXPECT_EQ(DayPlace(7, 30).left, 29);
    EXPECT_EQ(calendar_rules::ListedYear(1999), 2000);
    EXPECT_EQ(calendar_rules::ListedYear(2100), 2099);
    EXPECT_EQ(calendar_rules::ListedYear(2042), 2042);
    EXPECT_EQ(calendar_rules::DateText(2026, 3, 5, 1), "Mar 05 , 2026");
    EXPECT_EQ(calendar_rules::DateText(2026, 3, 5, 2), "05 Mar 2026");
}

TEST(CalendarRules, TimeFieldsCorrectThemselvesAndTheSpinWraps) {
    using namespace calendar_rules;
    struct {
        const char* typed;
        int field;
        int16_t amPm;
        const char* result;
    } typed[] = {{"7a", kMinute, 2, "00"}, {"75", kMinute, 2, "00"}, {"59", kSecond, 1, "59"},
                 {"60", kSecond, 1, "00"}, {"", kHour, 1, "00"},     {"12", kHour, 1, "12"},
                 {"13", kHour, 1, "00"},   {"13", kHour, 2, "13"},   {"23", kHour, 2, "23"},
                 {"24", kHour, 2, "00"},   {"-1", kHour, 2, "00"},   {"7", kMinute, 2, "7"}};
    for (auto& c : typed) EXPECT_EQ(CorrectField(c.typed, c.field, c.amPm), c.result) << c.typed;

    struct {
        int value, field;
        int16_t amPm;
        int wrapped;
    } spin[] = {{0, kMinute, 1, 60},  {61, kMinute, 1, 1}, {60, kMinute, 1, 60},
                {0, kSecond, 2, 60},  {61, kSecond, 2, 1}, {0, kHour, 2, 24},
                {25, kHour, 2, 1},    {24, kHour, 2, 24},  {0, kHour, 1, 13},
                {14, kHour, 1, 1},    {13, kHour, 1, 13},  {40, kHour, 2, 1}};
    for (auto& c : spin) EXPECT_EQ(WrapSpin(c.value, c.field, c.amPm), c.wrapped) << c.value;

    EXPECT_EQ(TimeText("00", "05", "09", "pm", 1), "00:05:09 pm");
    EXPECT_EQ(TimeText("14", "05", "09", "", 2), "14:05:09");
    EXPECT_EQ(ToggledAmPm("pm"), "am");
    EXPECT_EQ(ToggledAmPm("am"), "pm");
    EXPECT_EQ(ToggledAmPm(""), "pm");
}

}  // namespace
