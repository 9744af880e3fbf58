// Calendar dates and times of day, and the date/time text patterns the program uses.
#pragma once
#include <optional>
#include <string>

namespace kit {

struct DateTime {
    int year = 1899, month = 12, day = 30;  // the toolkit's zero date
    int hour = 0, minute = 0, second = 0;
    bool operator==(const DateTime&) const = default;
};

bool IsValidDate(int year, int month, int day);
int DaysInMonth(int year, int month);
// 0 = Sunday ... 6 = Saturday.
int Weekday(const DateTime& d);
// Adds whole days (may be negative); the time of day is kept.
DateTime AddDays(const DateTime& d, int days);
// Adds seconds, carrying into the date.
DateTime AddSeconds(const DateTime& d, long long seconds);
// Seconds from 1 Jan 1970, for ordering and arithmetic.
long long ToSerialSeconds(const DateTime& d);
DateTime FromSerialSeconds(long long s);

extern const char* const kMonthShort[12];  // "Jan".."Dec"
extern const char* const kWeekdayName[7];  // "Sunday".."Saturday"

// Formats with one of the program's patterns: "dd mmm yyyy", "mmm dd , yyyy", "mmm dd yyyy",
// "dd mmm yyyy,dddd", "mmm dd,yyyy,dddd", "hh:mm:ss", "hh:mm:ss am/pm", "hh mm ss",
// "hh mm ss am/pm", "hh", "dd", "mm", "yyyy", "mmm dd", "dd mmm", "am/pm", "dddd", ...
// The tokens are dd, mmm, mm, yyyy, dddd, hh, ss, am/pm; mm after hh is minutes, else month.
// With am/pm in the pattern hh runs 01..12. Other characters are copied.
std::string Format(const DateTime& d, const std::string& pattern);

// The toolkit's own texts of the current date and time: "mm/dd/yyyy" and 24-hour "hh:mm:ss".
std::string DateText(const DateTime& d);
std::string TimeText(const DateTime& d);

// Reads a date text: "mmm dd , yyyy", "dd mmm yyyy" (English three-letter months, any case),
// and the toolkit's "mm/dd/yyyy" (1 or 2 digit month and day). Blanks around parts are allowed.
// Returns the date part only (time 00:00:00); nullopt when it is not a valid date.
std::optional<DateTime> ParseDate(const std::string& text);
// Reads "hh:mm:ss", "hh:mm", optionally followed by " am"/" pm" (any case), as a time of day
// (date part left at the zero date); with am/pm, hour 00 reads as 12. nullopt when it is not a
// valid time.
std::optional<DateTime> ParseTime(const std::string& text);

}  // namespace kit
