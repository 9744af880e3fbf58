// What the alarm list shows: the texts of an alarm's row and the colour band behind each row.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "alarms/alarm_records.h"
#include "kit/backend.h"
#include "kit/datetime.h"

namespace alarm_rows {

constexpr int kColumnCount = 7;  // the row's own text and six sub-items
using RowTexts = std::array<std::string, kColumnCount>;

// Column titles, and widths as a divisor of the list view's width.
extern const char* const kColumnTitle[kColumnCount];
extern const double kColumnWidthDivisor[kColumnCount];

// The weekdays whose bit is set, Sunday first, as "Sun,Mon,...".
std::string WeekdayList(int16_t mask);
// The file name of a music path: the part after its last backslash.
std::string MusicFileName(const std::string& path);

// The row of one alarm under the current display settings (gDayMode, gAmPmMode values).
// A date or time text that does not read leaves its column empty.
RowTexts AlarmRow(const AlarmRecord& a, int16_t dayMode, int16_t amPmMode);

// Row states: nothing special, still to fire today, or a "Once" alarm whose moment has passed.
enum RowState : int16_t { kRowPlain = 0, kRowDue = 1, kRowPassed = 2 };

constexpr kit::Color kDueColor = 255;           // red
constexpr kit::Color kPlainColor = 11842740;    // light grey, RGB(180, 180, 180)
constexpr kit::Color kPassedColor = 8355711;    // dark grey, RGB(127, 127, 127)
kit::Color BandColor(int16_t state);

// A "Once" alarm whose day is before today, or today at a time of day earlier than now.
bool OncePassed(const AlarmRecord& a, const kit::DateTime& now);

// The state of each band: as many as there are alarms when they outnumber the visible rows,
// else the whole visible rows plus one. Queue entries still active win over a passed moment.
std::vector<int16_t> BandStates(const std::vector<AlarmRecord>& alarms, int alarmCount,
                                const std::vector<AlarmQueueItem>& queue, int queueCount,
                                const kit::DateTime& now, double visibleRows);

}  // namespace alarm_rows
