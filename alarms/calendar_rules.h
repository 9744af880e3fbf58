// The calendar and time picker's rules as plain functions: where the day labels go, which
// year the list can show, the texts it pushes into the editor and the time fields' corrections.
#pragma once
#include <cstdint>
#include <string>

namespace calendar_rules {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;
// The nearest year of the year list.
int ListedYear(int year);

// Pixels of the day grid inside its picture box.
constexpr int kColumnWidth = 25, kRowHeight = 20, kGridLeft = 4, kGridTop = 20;
struct Place {
    int left, top;
};
// Where the label of day index + 1 goes in a month whose first day is weekday firstWeekday
// (1 = Sunday to 7 = Saturday).
Place DayPlace(int firstWeekday, int index);

// The picked day as the editor stores it: "mmm dd , yyyy" for day mode 1, else "dd mmm yyyy".
std::string DateText(int year, int month, int day, int16_t dayMode);

// The time fields: 0 hour, 1 minute, 2 second.
enum Field { kHour = 0, kMinute = 1, kSecond = 2 };
// A field's text after typing: "00" for an empty text, one that holds a non-digit, or a value
// out of the field's range (hour 00 to 12 on the 12-hour clock, 00 to 23 on the 24-hour one);
// otherwise the text as typed.
std::string CorrectField(const std::string& text, int field, int16_t amPmMode);
// The field's number (0 when the text holds none).
int FieldValue(const std::string& text);

// The spin's value is the field's value + 1. Past either end it wraps to the other.
int WrapSpin(int value, int field, int16_t amPmMode);
// The spin's range, chosen so that its upper arrow raises the field: from kSpinTop at the top
// down to kSpinBottom.
constexpr int kSpinTop = 61, kSpinBottom = 0;

// The time the picker pushes: "hh:mm:ss", followed on the 12-hour clock by a blank and am/pm.
std::string TimeText(const std::string& hour, const std::string& minute,
                     const std::string& second, const std::string& amPm, int16_t amPmMode);
// A click on the am/pm box: "am" after "pm", "pm" after anything else.
std::string ToggledAmPm(const std::string& text);

}  // namespace calendar_rules
