#include "alarms/alarm_times.h"

namespace alarm_times {

namespace {
constexpr int kSecondsPerDay = 24 * 3600;
constexpr int kLateSlotSeconds = 2 * 3600;

int SecondOfDay(const kit::DateTime& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

std::string TwoDigits(int n) { return {char('0' + n / 10), char('0' + n % 10)}; }
}  // namespace

std::string TwentyFourHour(const std::string& timeText) {
    const auto t = kit::ParseTime(timeText);
    return t ? kit::Format(*t, "hh:mm:ss") : std::string();
}

bool IsDue(const AlarmQueueItem& entry, const std::string& now24) {
    if (!entry.Active) return false;
    const std::string t = TwentyFourHour(entry.NextTime);
    return !t.empty() && now24 > t;
}

std::optional<std::string> FireHourly(const std::string& nextTime, const kit::DateTime& now) {
    const std::string t = TwentyFourHour(nextTime);
    if (t.empty()) return std::nullopt;
    const std::string minutesSeconds = t.substr(2);  // ":mm:ss"
    if (t.compare(0, 2, "00") != 0) return TwoDigits((now.hour + 1) % 24) + minutesSeconds;
    const std::string nowMinutesSeconds = TwoDigits(now.minute) + ":" + TwoDigits(now.second);
    if (now.hour == 0 && nowMinutesSeconds > t.substr(3)) return "01" + minutesSeconds;
    return std::nullopt;
}

std::string SlotAfterDateChange(const std::string& slot, const kit::DateTime& now) {
    const auto t = kit::ParseTime(slot);
    if (!t) return slot;
    const int nowSecond = SecondOfDay(now);
    const int ahead = ((SecondOfDay(*t) - nowSecond) % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
    if (ahead <= kLateSlotSeconds) return slot;
    kit::DateTime moved = *t;
    moved.hour = now.hour;
    if (SecondOfDay(moved) < nowSecond) moved.hour = (now.hour + 1) % 24;
    return kit::Format(moved, "hh:mm:ss");
}

}  // namespace alarm_times
