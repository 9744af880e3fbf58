#include <gtest/gtest.h>

#include "alarms/alarm_times.h"

namespace {

kit::DateTime At(int h, int m, int s) { return kit::DateTime{2026, 12, 7, h, m, s}; }

TEST(AlarmTimes, AnEntryIsDueOnlyOnceItsTimeHasPassed) {
    struct Case {
        const char* nextTime;
        const char* now;
        bool due;
    } cases[] = {
        {"10:00:00", "10:00:00", false}, {"10:00:00", "10:00:01", true},
        {"23:59:59", "23:59:59", false},  // no time of day is later
        {"01:00:00 pm", "13:00:00", false}, {"01:00:00 pm", "13:00:01", true},
        {"01:00:00 pm", "02:00:00", false},  // read as a time, not as text
        {"00:15:00 am", "00:15:01", true},  {"00:15:00 pm", "12:15:01", true},
        {"00:15:00 pm", "00:15:01", false}, {"12:15:00 am", "00:15:01", true},
        {"", "23:00:00", false},            {"25:00:00", "23:00:00", false},
        {"1 pm", "23:00:00", false},        {"ab:cd:ef", "23:00:00", false},
    };
    for (const Case& c : cases) {
        AlarmQueueItem e{true, 0, c.nextTime};
        EXPECT_EQ(alarm_times::IsDue(e, c.now), c.due) << c.nextTime << " at " << c.now;
        e.Active = false;
        EXPECT_FALSE(alarm_times::IsDue(e, c.now));
    }
}

TEST(AlarmTimes, TheHourlySlotMovesOnAndWaitsForMidnightInHourZero) {
    using alarm_times::FireHourly;
    EXPECT_EQ(FireHourly("10:15:00", At(13, 40, 0)), "14:15:00");  // a busy computer
    EXPECT_EQ(FireHourly("23:15:00", At(23, 15, 1)), "00:15:00");
    EXPECT_EQ(FireHourly("00:20:00", At(23, 30, 0)), std::nullopt);  // tomorrow's
    EXPECT_EQ(FireHourly("00:20:00", At(0, 20, 0)), std::nullopt);
    EXPECT_EQ(FireHourly("00:20:00", At(0, 20, 1)), "01:20:00");
    EXPECT_EQ(FireHourly("garbage", At(0, 20, 1)), std::nullopt);
}

TEST(AlarmTimes, ASlotLeftBehindBySleepTakesTheCurrentHour) {
    using alarm_times::SlotAfterDateChange;
    // Asleep from 20:00 to 08:00 with the slot at 20:30.
    EXPECT_EQ(SlotAfterDateChange("20:30:00", At(8, 0, 5)), "08:30:00");
    EXPECT_EQ(SlotAfterDateChange("20:30:00", At(8, 45, 0)), "09:30:00");
    EXPECT_EQ(SlotAfterDateChange("00:20:00", At(8, 0, 0)), "08:20:00");
    EXPECT_EQ(SlotAfterDateChange("23:30:00", At(23, 45, 0)), "00:30:00");
    // Slots on time are kept: through midnight, and up to two hours ahead.
    EXPECT_EQ(SlotAfterDateChange("00:20:00", At(0, 0, 0)), "00:20:00");
    EXPECT_EQ(SlotAfterDateChange("00:40:12", At(0, 0, 1)), "00:40:12");
    EXPECT_EQ(SlotAfterDateChange("02:00:00", At(0, 0, 0)), "02:00:00");
    EXPECT_EQ(SlotAfterDateChange("08:00:05", At(8, 0, 5)), "08:00:05");
    EXPECT_EQ(SlotAfterDateChange("not a time", At(8, 0, 5)), "not a time");
}

}  // namespace
