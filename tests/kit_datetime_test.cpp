#include "kit/datetime.h"

#include <gtest/gtest.h>

namespace {

kit::DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    kit::DateTime t;
    t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
    return t;
}

kit::DateTime TimeOnly(int h, int mi, int s) {
    kit::DateTime t;
    t.hour = h, t.minute = mi, t.second = s;
    return t;
}

TEST(KitDateTime, Calendar) {
    EXPECT_TRUE(kit::IsValidDate(2024, 2, 29));
    EXPECT_FALSE(kit::IsValidDate(2026, 2, 29));
    EXPECT_FALSE(kit::IsValidDate(1900, 2, 29));
    EXPECT_TRUE(kit::IsValidDate(2000, 2, 29));
    EXPECT_FALSE(kit::IsValidDate(2026, 13, 1));
    EXPECT_FALSE(kit::IsValidDate(2026, 4, 31));
    EXPECT_EQ(kit::Weekday(At(2026, 12, 7)), 1);  // Monday
    EXPECT_EQ(kit::Weekday(At(1970, 1, 1)), 4);
    EXPECT_EQ(kit::Weekday(At(1899, 12, 30)), 6);
    EXPECT_EQ(kit::Weekday(At(1753, 1, 1)), 1);
    EXPECT_EQ(kit::AddDays(At(2024, 2, 28, 5, 6, 7), 1), At(2024, 2, 29, 5, 6, 7));
    EXPECT_EQ(kit::AddDays(At(2026, 1, 1), -1), At(2025, 12, 31));
    EXPECT_EQ(kit::AddSeconds(At(2026, 12, 31, 23, 59, 59), 1), At(2027, 1, 1));
    EXPECT_EQ(kit::AddSeconds(At(1970, 1, 1), -1), At(1969, 12, 31, 23, 59, 59));
    EXPECT_EQ(kit::ToSerialSeconds(At(1970, 1, 2, 0, 0, 1)), 86401);
    EXPECT_EQ(kit::ToSerialSeconds(At(2000, 1, 1)), 946684800);
    for (auto d : {At(1753, 1, 1), At(1899, 12, 30, 1, 2, 3), At(2038, 1, 19, 3, 14, 8),
                   At(9999, 12, 31, 23, 59, 59)})
        EXPECT_EQ(kit::FromSerialSeconds(kit::ToSerialSeconds(d)), d);
}

TEST(KitDateTime, FormatPatterns) {
    const auto d = At(2026, 12, 7, 21, 41, 5);  // a Monday
    const std::pair<const char*, const char*> cases[] = {
        {"dd mmm yyyy", "07 Dec 2026"},
        {"mmm dd , yyyy", "Dec 07 , 2026"},
        {"mmm dd yyyy", "Dec 07 2026"},
        {"dd mmm yyyy,dddd", "07 Dec 2026,Monday"},
        {"mmm dd,yyyy,dddd", "Dec 07,2026,Monday"},
        {"hh:mm:ss", "21:41:05"},
        {"hh:mm:ss am/pm", "09:41:05 pm"},
        {"hh mm ss", "21 41 05"},
        {"hh mm ss am/pm", "09 41 05 pm"},
        {"hh", "21"},
        {"dd", "07"},
        {"mm", "12"},
        {"yyyy", "2026"},
        {"mmm dd", "Dec 07"},
        {"dd mmm", "07 Dec"},
        {"am/pm", "pm"},
        {"dddd", "Monday"},
        {"dd/mm/yyyy hh:mm", "07/12/2026 21:41"},
    };
    for (const auto& [pattern, want] : cases) EXPECT_EQ(kit::Format(d, pattern), want) << pattern;

    EXPECT_EQ(kit::Format(TimeOnly(0, 5, 0), "hh:mm:ss am/pm"), "12:05:00 am");
    EXPECT_EQ(kit::Format(TimeOnly(12, 5, 0), "hh:mm:ss am/pm"), "12:05:00 pm");
    EXPECT_EQ(kit::Format(TimeOnly(11, 59, 59), "hh:mm:ss am/pm"), "11:59:59 am");
    EXPECT_EQ(kit::Format(TimeOnly(0, 5, 0), "hh:mm:ss"), "00:05:00");
    EXPECT_EQ(kit::Format(At(2026, 1, 4), "mmm dd,yyyy,dddd"), "Jan 04,2026,Sunday");
    EXPECT_EQ(kit::DateText(At(2026, 3, 9, 8, 7, 6)), "03/09/2026");
    EXPECT_EQ(kit::TimeText(At(2026, 3, 9, 8, 7, 6)), "08:07:06");
}

TEST(KitDateTime, ParseDateRoundTrips) {
    const auto want = At(2026, 12, 7);
    for (const char* pattern : {"dd mmm yyyy", "mmm dd , yyyy", "mmm dd yyyy"})
        EXPECT_EQ(kit::ParseDate(kit::Format(At(2026, 12, 7, 9, 8, 7), pattern)), want) << pattern;
    EXPECT_EQ(kit::ParseDate(kit::DateText(want)), want);
    for (const char* text : {"Dec 7, 2026", "Dec 07 2026", "dEC 07 , 2026", "7 dec 2026",
                             "  07 Dec 2026  ", "12/7/2026", "12/07/2026", "12 / 07 / 2026"})
        EXPECT_EQ(kit::ParseDate(text), want) << text;
    EXPECT_EQ(kit::ParseDate("Feb 29 , 2024"), At(2024, 2, 29));
    for (const char* bad : {"", "  ", "31 Feb 2026", "Foo 01 , 2026", "Dec 32 , 2026",
                            "13/01/2026", "Dec 07 , 26", "Dec 07 , 2026 x", "December 07 2026",
                            "07 Dec", "12/07", "Dec 123 2026"})
        EXPECT_EQ(kit::ParseDate(bad), std::nullopt) << bad;
}

TEST(KitDateTime, ParseTimeTwelveAndTwentyFourHour) {
    EXPECT_EQ(kit::ParseTime("21:41:00"), TimeOnly(21, 41, 0));
    EXPECT_EQ(kit::ParseTime("9:05:07"), TimeOnly(9, 5, 7));
    EXPECT_EQ(kit::ParseTime("09:05"), TimeOnly(9, 5, 0));
    EXPECT_EQ(kit::ParseTime("00:00:00"), TimeOnly(0, 0, 0));
    EXPECT_EQ(kit::ParseTime("12:05:00 am"), TimeOnly(0, 5, 0));
    EXPECT_EQ(kit::ParseTime("12:05:00 PM"), TimeOnly(12, 5, 0));
    EXPECT_EQ(kit::ParseTime("01:00:00 pm"), TimeOnly(13, 0, 0));
    EXPECT_EQ(kit::ParseTime("11:30 Am"), TimeOnly(11, 30, 0));
    EXPECT_EQ(kit::ParseTime("09:41:00  pm"), TimeOnly(21, 41, 0));
    // Hour 00 with am/pm, as the time picker makes it, is twelve o'clock.
    EXPECT_EQ(kit::ParseTime("00:05:00 am"), TimeOnly(0, 5, 0));
    EXPECT_EQ(kit::ParseTime("00:05:00 pm"), TimeOnly(12, 5, 0));
    for (int h = 0; h < 24; ++h) {
        const auto t = TimeOnly(h, 7, 9);
        EXPECT_EQ(kit::ParseTime(kit::Format(t, "hh:mm:ss am/pm")), t) << h;
        EXPECT_EQ(kit::ParseTime(kit::TimeText(t)), t) << h;
    }
    for (const char* bad : {"", "24:00:00", "12:60:00", "12:00:60", "13:00 pm",
                            "12", "12:", "12:00:", "12:00 xm", "12:00:00 pmx", "ab:cd"})
        EXPECT_EQ(kit::ParseTime(bad), std::nullopt) << bad;
}

}  // namespace

namespace {

// Runs of digits far too long for a day, a month, a year or a time field read as nothing,
// and reading them must not overflow (the sanitizer build aborts on that).
TEST(KitDateTime, OverlongDigitRunsAreNoDateOrTime) {
    const std::string run = "123456789012345";
    for (const std::string& text : {run + " Dec 2026", "Dec " + run + " , 2026", "07 Dec " + run,
                                     "Dec 07 , " + run, run + "/07/2026", "12/" + run + "/2026",
                                     "07 Dec 2026" + run, std::string(400, '9') + " Dec 2026"})
        EXPECT_EQ(kit::ParseDate(text), std::nullopt) << text;
    for (const std::string& text : {run + ":00:00", "10:" + run, "10:00:" + run, run + ":00 pm"})
        EXPECT_EQ(kit::ParseTime(text), std::nullopt) << text;
    // Leading zeros within the field's width still count.
    EXPECT_EQ(kit::ParseDate("07 Dec 2026"), At(2026, 12, 7));
    EXPECT_EQ(kit::ParseDate("007 Dec 2026"), std::nullopt);
}

}  // namespace
