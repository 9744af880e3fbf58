// The alarm dispatcher's rules on time texts: when a queue entry is due, where the hourly slot
// moves when it fires, and where it goes after the computer slept through a change of date.
#pragma once
#include <optional>
#include <string>

#include "alarms/alarm_records.h"
#include "kit/datetime.h"

namespace alarm_times {

// A stored time text (24-hour, or 12-hour with am/pm) as 24-hour "hh:mm:ss"; "" when it reads
// as no time of day.
std::string TwentyFourHour(const std::string& timeText);

// The entry is active and now (24-hour "hh:mm:ss") is later, as text, than its time. An entry
// whose time reads as no time of day is never due.
bool IsDue(const AlarmQueueItem& entry, const std::string& now24);

// A due hourly entry fires: its next time, one hour on, keeping the slot's minutes and seconds.
// A slot in hour 00 is due only within hour 00 (late in the evening it is tomorrow's); nullopt
// when it does not fire.
std::optional<std::string> FireHourly(const std::string& nextTime, const kit::DateTime& now);

// At a change of date: a slot whose time of day next comes more than two hours after now was
// left behind while the computer slept; it takes the current hour with its own minutes and
// seconds, or the next hour when that has passed. A slot on time is kept.
std::string SlotAfterDateChange(const std::string& slot, const kit::DateTime& now);

}  // namespace alarm_times
