#include "alarms/alarm_editor_rules.h"

#include <algorithm>
#include <cmath>

#include "kit/convert.h"

namespace alarm_editor {

const char* const kModes[6] = {kModeOnce,   kModeHourly,  kModeDaily,
                               kModeWeekly, kModeMonthly, kModeYearly};
const char* const kActions[3] = {kActionNothing, "Shut down computer", kActionLock};
const NamedColor kDispColors[8] = {
    {"White", 0xFFFFFF}, {"Black", 0x000000}, {"Red", 0x0000FF},     {"Yellow", 0x00FFFF},
    {"Green", 0x00FF00}, {"Blue", 0xFF0000},  {"Magenta", 0xFF00FF}, {"Cyan", 0xFFFF00},
};

int DispColorIndex(int32_t value) {
    for (int i = 0; i < 8; ++i)
        if (kDispColors[i].value == value) return i;
    return -1;
}

const char* DatePattern(int16_t dayMode) { return dayMode == 1 ? "mmm dd , yyyy" : "dd mmm yyyy"; }

const char* TimePattern(int16_t amPmMode) { return amPmMode == 1 ? "hh:mm:ss am/pm" : "hh:mm:ss"; }

std::string ReformatDate(const std::string& date, int16_t dayMode) {
    const auto d = kit::ParseDate(date);
    return d ? kit::Format(*d, DatePattern(dayMode)) : date;
}

std::string ReformatTime(const std::string& time, int16_t amPmMode) {
    const auto t = kit::ParseTime(time);
    return t ? kit::Format(*t, TimePattern(amPmMode)) : time;
}

std::string ShownDate(const std::string& date, const std::string& mode, int16_t dayMode) {
    const bool yearly = mode != kModeOnce && mode != kModeHourly && mode != kModeDaily &&
                        mode != kModeWeekly && mode != kModeMonthly;
    if (mode != kModeMonthly && !yearly) return date;
    const auto d = kit::ParseDate(date);
    if (!d) return date;
    if (mode == kModeMonthly) return kit::Format(*d, "dd");
    return kit::Format(*d, dayMode == 1 ? "mmm dd" : "dd mmm");
}

int16_t WeekMaskOf(const bool ticked[7]) {
    int16_t mask = 0;
    for (int i = 0; i < 7; ++i)
        if (ticked[i]) mask = static_cast<int16_t>(mask | (1 << i));
    return mask;
}

std::string CorrectSnoozeText(const std::string& text) {
    if (!kit::IsNumeric(text)) return "1";
    const double v = kit::CDbl(text);
    if (v > 30) return "30";
    // The up-down stops at 1 and the pop-up's lock needs a positive countdown.
    if (v < 1) return "1";
    return text;
}

int16_t SnoozeOf(const std::string& text) {
    if (!kit::IsNumeric(text)) return 10;
    const double v = kit::RoundHalfEven(kit::CDbl(text));
    return static_cast<int16_t>(std::clamp(v, 1.0, 30.0));
}

int16_t WeekOf(const std::string& text) {
    if (!kit::IsNumeric(text)) return 0;
    const double v = kit::RoundHalfEven(kit::CDbl(text));
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

namespace {

int DayNumber(const kit::DateTime& d) { return (d.year * 100 + d.month) * 100 + d.day; }
int SecondOfDay(const kit::DateTime& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

}  // namespace

std::optional<std::string> RefusalOf(const OkInput& in) {
    if (in.hourlySlotTaken && in.modeShown == kModeHourly && in.adding) return kMsgHourlySet;
    if (in.modeShown == kModeWeekly && in.alarm.Week == 0) return kMsgNoWeekdays;
    if (in.hintBox.empty()) return kMsgNoHint;
    // "/" separates the stored fields and has no escape.
    if (in.hintBox.find('/') != std::string::npos || in.alarm.Hint.find('/') != std::string::npos)
        return kMsgSlashInHint;
    if (in.modeShown == kModeOnce) {
        // A date that does not read cannot lie ahead: it is refused like a past one.
        const auto day = kit::ParseDate(in.alarm.Date);
        if (!day || DayNumber(*day) < DayNumber(in.now)) return kMsgDayPassed;
        if (DayNumber(*day) == DayNumber(in.now)) {
            const auto t = kit::ParseTime(in.alarm.Time);
            if (!t || SecondOfDay(*t) <= SecondOfDay(in.now)) return kMsgTimePassed;
        }
    }
    AlarmRecord stored = in.alarm;
    stored.LastDate.clear();
    if (AlarmListValue(stored).size() + kLastDateBytes > kMaxAlarmBytes) return kMsgTooLong;
    return std::nullopt;
}

bool AnyHourly(const std::vector<AlarmRecord>& alarms, int count) {
    const int n = std::min<int>(count, static_cast<int>(alarms.size()));
    return std::any_of(alarms.begin(), alarms.begin() + std::max(n, 0),
                       [](const AlarmRecord& a) { return a.Mode == kModeHourly; });
}

}  // namespace alarm_editor
