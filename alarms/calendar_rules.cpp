#include "alarms/calendar_rules.h"

#include <algorithm>

#include "kit/datetime.h"

namespace calendar_rules {

int ListedYear(int year) { return std::clamp(year, kFirstYear, kLastYear); }

Place DayPlace(int firstWeekday, int index) {
    const int cell = firstWeekday + index - 1;
    return {cell % 7 * kColumnWidth + kGridLeft, cell / 7 * kRowHeight + kGridTop};
}

std::string DateText(int year, int month, int day, int16_t dayMode) {
    kit::DateTime d;
    d.year = year;
    d.month = month;
    d.day = day;
    return kit::Format(d, dayMode == 1 ? "mmm dd , yyyy" : "dd mmm yyyy");
}

int FieldValue(const std::string& text) {
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        v = std::min(v * 10 + (c - '0'), 1000000);
    }
    return v;
}

std::string CorrectField(const std::string& text, int field, int16_t amPmMode) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return "00";
    const int v = FieldValue(text);
    const int limit = field != kHour ? 60 : amPmMode == 1 ? 13 : 24;
    return v >= limit ? "00" : text;
}

int WrapSpin(int value, int field, int16_t amPmMode) {
    // The field runs 0 to top - 1; the spin shows it as 1 to top.
    const int top = field != kHour ? 60 : amPmMode == 1 ? 13 : 24;
    if (value <= 0) return top;
    if (value > top) return 1;
    return value;
}

std::string TimeText(const std::string& hour, const std::string& minute,
                     const std::string& second, const std::string& amPm, int16_t amPmMode) {
    std::string t = hour + ":" + minute + ":" + second;
    if (amPmMode == 1) t += " " + amPm;
    return t;
}

std::string ToggledAmPm(const std::string& text) { return text == "pm" ? "am" : "pm"; }

}  // namespace calendar_rules
