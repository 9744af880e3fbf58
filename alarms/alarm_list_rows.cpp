#include "alarms/alarm_list_rows.h"

#include <cmath>

#include "shell/system.h"

namespace alarm_rows {

const char* const kColumnTitle[kColumnCount] = {"Hint",  "Mode",   "Date",  "Time",
                                                "Music", "Action", "Snooze"};
const double kColumnWidthDivisor[kColumnCount] = {6, 7, 7, 7, 7, 7, 9.5};

namespace {

const char* const kDayAbbrev[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kActionLock = "Lock keyboard and mouse";

std::string FormatDate(const std::string& text, const char* pattern) {
    const auto d = kit::ParseDate(text);
    return d ? kit::Format(*d, pattern) : std::string();
}

}  // namespace

std::string WeekdayList(int16_t mask) {
    int16_t days[7];
    eSystem::DecodeWeekMask(days, mask);
    std::string list;
    for (int i = 0; i < 7; ++i) {
        if (days[i] != 1) continue;
        if (!list.empty()) list += ',';
        list += kDayAbbrev[i];
    }
    return list;
}

std::string MusicFileName(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

RowTexts AlarmRow(const AlarmRecord& a, int16_t dayMode, int16_t amPmMode) {
    RowTexts row;
    row[0] = a.Hint;
    row[1] = a.Mode;
    const bool known = a.Mode == kModeOnce || a.Mode == kModeHourly || a.Mode == kModeDaily ||
                       a.Mode == kModeWeekly || a.Mode == kModeMonthly || a.Mode == kModeYearly;
    if (a.Mode == kModeOnce)
        row[2] = FormatDate(a.Date, dayMode == 1 ? "mmm dd yyyy" : "dd mmm yyyy");
    else if (a.Mode == kModeMonthly)
        row[2] = FormatDate(a.Date, "dd");
    else if (a.Mode == kModeYearly)
        row[2] = FormatDate(a.Date, dayMode == 1 ? "mmm dd" : "dd mmm");
    if (known) {
        if (const auto t = kit::ParseTime(a.Time))
            row[3] = kit::Format(*t, amPmMode == 1 ? "hh:mm:ss am/pm" : "hh:mm:ss");
    }
    if (!a.Music.empty()) row[4] = MusicFileName(a.Music);
    row[5] = a.Action;
    if (a.Action == kActionLock) row[6] = a.Snooze;
    if (a.Week != 0) row[2] = WeekdayList(a.Week);
    return row;
}

kit::Color BandColor(int16_t state) {
    switch (state) {
        case kRowDue: return kDueColor;
        case kRowPassed: return kPassedColor;
        default: return kPlainColor;
    }
}

bool OncePassed(const AlarmRecord& a, const kit::DateTime& now) {
    if (a.Mode != kModeOnce) return false;
    const auto day = kit::ParseDate(a.Date);
    if (!day) return false;
    const auto ymd = [](const kit::DateTime& d) { return (d.year * 100 + d.month) * 100 + d.day; };
    if (ymd(*day) != ymd(now)) return ymd(*day) < ymd(now);
    const auto t = kit::ParseTime(a.Time);
    if (!t) return false;
    return t->hour * 3600 + t->minute * 60 + t->second <
           now.hour * 3600 + now.minute * 60 + now.second;
}

std::vector<int16_t> BandStates(const std::vector<AlarmRecord>& alarms, int alarmCount,
                                const std::vector<AlarmQueueItem>& queue, int queueCount,
                                const kit::DateTime& now, double visibleRows) {
    if (!(visibleRows >= 0) || visibleRows > 1e6) visibleRows = 0;  // no usable row height
    const int count = std::min<int>(alarmCount, static_cast<int>(alarms.size()));
    const int bands = count > visibleRows ? count : static_cast<int>(std::floor(visibleRows)) + 1;
    std::vector<int16_t> state(bands, kRowPlain);
    for (int i = 0; i < count; ++i)
        if (OncePassed(alarms[i], now)) state[i] = kRowPassed;
    const int entries = std::min<int>(queueCount, static_cast<int>(queue.size()));
    for (int q = 0; q < entries; ++q) {
        const AlarmQueueItem& item = queue[q];
        if (item.Active && item.AlarmIndex >= 0 && item.AlarmIndex < bands)
            state[item.AlarmIndex] = kRowDue;
    }
    return state;
}

}  // namespace alarm_rows
