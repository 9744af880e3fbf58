#include "shell/daytime.h"

#include "kit/datetime.h"

namespace daytime {
namespace {

// The two-digit number at index i, or -1.
int TwoDigits(std::string_view s, std::size_t i) {
    if (i + 2 > s.size()) return -1;
    const char a = s[i], b = s[i + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

// Offsets of the fields from the first ':' of the reply.
constexpr std::size_t kYearBack = 11, kMonthBack = 8, kDayBack = 5, kHourBack = 2;
constexpr std::size_t kMinuteAhead = 1, kSecondAhead = 4;

}  // namespace

std::optional<platform::SystemTime> ParseReply(std::string_view reply) {
    const std::size_t colon = reply.find(':');
    if (colon == std::string_view::npos || colon < kYearBack) return std::nullopt;
    const int year = TwoDigits(reply, colon - kYearBack);
    const int month = TwoDigits(reply, colon - kMonthBack);
    const int day = TwoDigits(reply, colon - kDayBack);
    const int hour = TwoDigits(reply, colon - kHourBack);
    const int minute = TwoDigits(reply, colon + kMinuteAhead);
    const int second = TwoDigits(reply, colon + kSecondAhead);
    if (year < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59 || !kit::IsValidDate(2000 + year, month, day))
        return std::nullopt;
    platform::SystemTime t;
    t.wYear = static_cast<std::uint16_t>(2000 + year);
    t.wMonth = static_cast<std::uint16_t>(month);
    t.wDayOfWeek = 0;
    t.wDay = static_cast<std::uint16_t>(day);
    t.wHour = static_cast<std::uint16_t>(hour);
    t.wMinute = static_cast<std::uint16_t>(minute);
    t.wSecond = static_cast<std::uint16_t>(second);
    t.wMilliseconds = 0;
    return t;
}

}  // namespace daytime
