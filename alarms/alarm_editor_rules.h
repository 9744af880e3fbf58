// The alarm editor's rules as plain functions: the lists it offers, the texts it shows, the
// lock minutes' corrections and the checks that OK makes before it hands an alarm over.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "alarms/alarm_records.h"
#include "kit/datetime.h"

namespace alarm_editor {

extern const char* const kModes[6];    // in the order of the mode list
extern const char* const kActions[3];  // in the order of the action list
inline const char* const kActionNothing = "Do nothing";
inline const char* const kActionLock = "Lock keyboard and mouse";

struct NamedColor {
    const char* name;
    int32_t value;  // 0x00BBGGRR
};
extern const NamedColor kDispColors[8];
// The list index of a colour value, -1 when no name has it.
int DispColorIndex(int32_t value);

// Date and time patterns of the display settings.
const char* DatePattern(int16_t dayMode);   // 1: "mmm dd , yyyy", else "dd mmm yyyy"
const char* TimePattern(int16_t amPmMode);  // 1: "hh:mm:ss am/pm", else "hh:mm:ss"
// A stored date or time written again with the pattern; a text that does not read stays.
std::string ReformatDate(const std::string& date, int16_t dayMode);
std::string ReformatTime(const std::string& time, int16_t amPmMode);
// What the date box shows for a mode: the day for a monthly alarm, day and month for a yearly
// one, the whole date otherwise.
std::string ShownDate(const std::string& date, const std::string& mode, int16_t dayMode);

// The weekday mask of the ticked boxes, Sunday first.
int16_t WeekMaskOf(const bool ticked[7]);

// Typed lock minutes: not a number gives "1", above 30 gives "30", below 1 gives "1";
// anything else stays as typed.
std::string CorrectSnoozeText(const std::string& text);
// A stored lock duration as the editor keeps it: 1 to 30, 10 when it is no number.
int16_t SnoozeOf(const std::string& text);
// A stored weekday mask; 0 when it is no number.
int16_t WeekOf(const std::string& text);

// Longest alarm text form the registry reader returns, and what a firing adds (the last date).
constexpr std::size_t kMaxAlarmBytes = 254;
constexpr std::size_t kLastDateBytes = 11;

inline const char* const kMsgHourlySet = "Every hour after running computer mode has been set !";
inline const char* const kMsgNoWeekdays = "Enter applicable days of the week please !";
inline const char* const kMsgNoHint = "Enter alarm hint please !";
inline const char* const kMsgSlashInHint = "The alarm hint may not contain / !";
inline const char* const kMsgDayPassed = "Once alarm day is out of date !";
inline const char* const kMsgTimePassed = "Once alarm time is out of date !";
inline const char* const kMsgTooLong = "The alarm is too long to be stored !";

// What OK looks at.
struct OkInput {
    bool hourlySlotTaken = false;  // gHourlyAlarmSet
    bool adding = false;           // gAddingAlarm
    std::string modeShown;         // the mode list's text
    std::string hintBox;           // the hint box's text
    AlarmRecord alarm;             // the alarm as the get members return it
    kit::DateTime now;
};
// The message of the first check that fails, in the editor's order; nullopt when all pass.
std::optional<std::string> RefusalOf(const OkInput& in);

// Some alarm among the first count of the list is hourly.
bool AnyHourly(const std::vector<AlarmRecord>& alarms, int count);

}  // namespace alarm_editor
