#include <algorithm>
#include <random>

#include "alarms/alarm_records.h"
#include "program_fixture.h"

namespace {

class AlarmQueueTest : public ProgramTest {
protected:
    void SetAlarms(std::vector<AlarmRecord> alarms) {
        gAlarms = std::move(alarms);
        gAlarmCount = static_cast<int16_t>(gAlarms.size());
    }
    static AlarmRecord Alarm(const std::string& mode, const std::string& date, const std::string& time,
                             int16_t week = 0, const std::string& last = "") {
        AlarmRecord a;
        a.Hint = "h";
        a.Mode = mode;
        a.Date = date;
        a.Time = time;
        a.Action = "Do nothing";
        a.Snooze = "1";
        a.Week = week;
        a.LastDate = last;
        return a;
    }
    std::vector<int> Queued() {
        std::vector<int> out;
        for (int i = 0; i < gAlarmQueueCount; ++i) {
            EXPECT_TRUE(gAlarmQueue[i].Active);
            out.push_back(gAlarmQueue[i].AlarmIndex);
        }
        return out;
    }
    std::vector<int> QueuedOn(kit::DateTime day) {
        world.backend.setNow(day);
        eSchedule::BuildAlarmQueue();
        return Queued();
    }
};

TEST_F(AlarmQueueTest, DayBasedModesQueueOnTheirDaysOnly) {
    SetAlarms({
        Alarm(kModeOnce, "Dec 07 , 2026", "10:00:00"),                // 0
        Alarm(kModeOnce, "08 Dec 2026", "10:00:01"),                  // 1
        Alarm(kModeDaily, "Jan 01 , 2020", "10:00:02"),               // 2
        Alarm(kModeWeekly, "Jan 01 , 2020", "10:00:03", 65),          // 3: Sun and Sat
        Alarm(kModeMonthly, "31 Jan 2026", "10:00:04"),               // 4
        Alarm(kModeYearly, "Feb 29 , 2028", "10:00:05"),              // 5
        Alarm(kModeDaily, "Jan 01 , 2020", "10:00:06", 0, "07 Dec 2026"),  // 6: fired today
        Alarm("every day", "Jan 01 , 2020", "10:00:07"),              // 7: modes compare exactly
    });
    EXPECT_EQ(QueuedOn({2026, 12, 7, 23, 0, 0}), (std::vector<int>{0, 2}));  // Monday, time passed
    EXPECT_EQ(QueuedOn({2026, 12, 8, 8, 0, 0}), (std::vector<int>{1, 2, 6}));
    EXPECT_EQ(QueuedOn({2026, 12, 12, 8, 0, 0}), (std::vector<int>{2, 3, 6}));  // Saturday
    EXPECT_EQ(QueuedOn({2026, 12, 13, 8, 0, 0}), (std::vector<int>{2, 3, 6}));  // Sunday
    EXPECT_EQ(QueuedOn({2026, 11, 30, 8, 0, 0}), (std::vector<int>{2, 6}));
    EXPECT_EQ(QueuedOn({2026, 12, 31, 8, 0, 0}), (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(QueuedOn({2027, 2, 28, 8, 0, 0}), (std::vector<int>{2, 3, 6}));  // Sunday, no 29th
    EXPECT_EQ(QueuedOn({2028, 2, 29, 8, 0, 0}), (std::vector<int>{2, 5, 6}));

    // A fired alarm is skipped whatever its mode.
    for (auto& a : gAlarms) a.LastDate = "Feb 29 , 2028";
    EXPECT_TRUE(QueuedOn({2028, 2, 29, 8, 0, 0}).empty());
    SetAlarms({});
    EXPECT_TRUE(QueuedOn({2028, 2, 29, 8, 0, 0}).empty());
}

// The same day and month of another year tells a date from a yearly date and a fired-today
// check from a fired-on-this-day-once check.
TEST_F(AlarmQueueTest, AnotherYearOnTheSameDayAndMonth) {
    SetAlarms({
        Alarm(kModeOnce, "Dec 07 , 2026", "10:00:00"),                      // 0
        Alarm(kModeYearly, "Dec 07 , 2026", "10:00:01"),                    // 1
        Alarm(kModeYearly, "07 Dec 2026", "10:00:02", 0, "07 Dec 2026"),    // 2: fired a year ago
        Alarm(kModeDaily, "", "10:00:03", 0, "07 Dec 2026"),                // 3
        Alarm(kModeMonthly, "07 Jan 2026", "10:00:04", 0, "Dec 07 , 2026"),  // 4
        Alarm(kModeOnce, "Dec 07 , 2027", "10:00:05", 0, "07 Dec 2026"),    // 5
    });
    EXPECT_EQ(QueuedOn({2026, 12, 7, 8, 0, 0}), (std::vector<int>{0, 1}));
    EXPECT_EQ(QueuedOn({2027, 12, 7, 8, 0, 0}), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(QueuedOn({2025, 12, 7, 8, 0, 0}), (std::vector<int>{1, 2, 3, 4}));
    // A yearly alarm keeps to its month: the 7th of other months is not its day.
    EXPECT_EQ(QueuedOn({2027, 1, 7, 8, 0, 0}), (std::vector<int>{3, 4}));
    EXPECT_EQ(QueuedOn({2027, 11, 7, 8, 0, 0}), (std::vector<int>{3, 4}));
    // And every year again, not only once after it was entered.
    EXPECT_EQ(QueuedOn({2030, 12, 7, 8, 0, 0}), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(AlarmQueueTest, HourlySlotStartsAnHourLaterAndKeepsItsRhythm) {
    SetAlarms({Alarm(kModeHourly, "Dec 07 , 2026", "09:00:00"), Alarm(kModeDaily, "", "23:50:00")});
    world.backend.setNow({2026, 12, 7, 23, 40, 12});
    eSchedule::BuildAlarmQueue();
    EXPECT_TRUE(gHourlyAlarmSet);
    EXPECT_EQ(gLastHourlyTime, "00:40:12");
    EXPECT_EQ(gAlarms[0].Time, "00:40:12");
    ASSERT_EQ(gAlarmQueueCount, 2);
    EXPECT_EQ(gAlarmQueue[0].NextTime, "00:40:12");

    // The dispatcher moved the slot; a rebuild keeps it, and a second hourly alarm shares it.
    gLastHourlyTime = "02:40:12";
    gAlarms.push_back(Alarm(kModeHourly, "", "05:00:00"));
    gAlarmCount = 3;
    world.backend.setNow({2026, 12, 8, 1, 50, 0});
    eSchedule::BuildAlarmQueue();
    EXPECT_EQ(gAlarms[0].Time, "02:40:12");
    EXPECT_EQ(gAlarms[2].Time, "02:40:12");
    EXPECT_EQ(Queued(), (std::vector<int>{0, 2, 1}));
}

// The queue order must be exactly what a plain exchange sort on the texts gives, ties included.
TEST_F(AlarmQueueTest, SortMatchesThePlainExchangeSort) {
    EXPECT_LT(std::string("01:00:00 pm"), std::string("11:00:00 am"));  // texts, not times
    auto check = [&](const std::vector<std::string>& times, const std::string& what) {
        std::vector<AlarmRecord> alarms;
        for (const auto& t : times) alarms.push_back(Alarm(kModeDaily, "", t));
        SetAlarms(alarms);
        eSchedule::BuildAlarmQueue();
        const int n = static_cast<int>(times.size());
        std::vector<int> expected(n);
        for (int i = 0; i < n; ++i) expected[i] = i;
        for (int a = 0; a < n - 1; ++a)
            for (int b = a + 1; b < n; ++b)
                if (times[expected[a]] > times[expected[b]]) std::swap(expected[a], expected[b]);
        ASSERT_EQ(Queued(), expected) << what;
    };
    std::mt19937 rng(7);
    for (int round = 0; round < 120; ++round) {
        // Few distinct texts for many ties, some sharing their first eight characters.
        const int n = 1 + int(rng() % (round < 60 ? 60 : 300));
        const unsigned hours = 1 + rng() % (round % 3 ? 4 : 40);
        std::vector<std::string> times;
        for (int i = 0; i < n; ++i) {
            char t[16];
            std::snprintf(t, sizeof t, "%02u:%02u:00%s", unsigned(rng() % hours), unsigned(rng() % 3),
                          rng() % 2 ? " pm" : "");
            times.push_back(t);
        }
        check(times, "round " + std::to_string(round));
        std::sort(times.begin(), times.end());
        check(times, "ascending " + std::to_string(round));
        std::reverse(times.begin(), times.end());
        check(times, "descending " + std::to_string(round));
    }
    check(std::vector<std::string>(300, "07:00:00"), "all equal");
    std::vector<std::string> alternating;
    for (int i = 0; i < 300; ++i) alternating.push_back(i % 2 ? "1" : i % 3 ? "3" : "2");
    check(alternating, "alternating");
    check({"b", "b", "a", "", "b", "a"}, "short texts");

    // The array grows but never shrinks; only the count says what is queued.
    SetAlarms({Alarm(kModeDaily, "", "1")});
    eSchedule::BuildAlarmQueue();
    EXPECT_EQ(gAlarmQueueCount, 1);
    EXPECT_GE(gAlarmQueue.size(), 2u);
}

TEST_F(AlarmQueueTest, TextFormRoundTripsAndRejectsShortValues) {
    AlarmRecord a = Alarm(kModeWeekly, "Dec 07 , 2026", "07:30:00 am", 62, "01 Dec 2026");
    a.Music = "C:\\Music\\wake.mp3";
    a.Action = "Lock keyboard and mouse";
    a.Snooze = "15";
    const std::string text = AlarmListValue(a);
    EXPECT_EQ(text, "h/Every week/Dec 07 , 2026/07:30:00 am/C:\\Music\\wake.mp3/Lock keyboard and mouse/15/62/01 Dec 2026");
    AlarmRecord b = ParseAlarmListValue(text);
    EXPECT_EQ(AlarmListValue(b), text);
    EXPECT_EQ(b.Week, 62);
    EXPECT_EQ(ParseAlarmListValue("a/b/c/d/e/f/g/x/i").Week, 0);
    EXPECT_EQ(ParseAlarmListValue("a/b/c/d/e/f/g/2.5/i").Week, 2);
    EXPECT_EQ(ParseAlarmListValue("a/b/c/d/e/f/g/8/i/j/k").LastDate, "i");
    EXPECT_THROW(ParseAlarmListValue("a/b/c/d/e/f/g/8"), kit::RuntimeError);
    EXPECT_THROW(ParseAlarmListValue(std::string(254, ' ')), kit::RuntimeError);
    EXPECT_THROW(ParseAlarmListValue("a/b/c/d/e/f/g/99999/i"), kit::RuntimeError);
    EXPECT_EQ(AlarmValueName(0), "AlarmList1");
    EXPECT_EQ(AlarmValueName(11), "AlarmList12");
}

}  // namespace
