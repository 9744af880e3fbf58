#include "kit/datetime.h"

#include <string_view>

namespace kit {

const char* const kMonthShort[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kWeekdayName[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

namespace {

constexpr long long kSecondsPerDay = 86400;

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Days since 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    long long era = FloorDiv(y, 400);
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, DateTime& out) {
    z += 719468;
    long long era = FloorDiv(z, 146097);
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (m <= 2));
    out.month = m;
    out.day = d;
}

void Append2(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + (v / 10) % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

void Append4(std::string& out, int v) {
    if (v < 0) {
        out.push_back('-');
        v = -v;
    }
    if (v > 9999) {
        out += std::to_string(v);
        return;
    }
    Append2(out, v / 100);
    Append2(out, v % 100);
}

// How many times c repeats from i, up to max.
size_t RunOf(std::string_view s, size_t i, char c, size_t max) {
    size_t n = 0;
    while (n < max && i + n < s.size() && s[i + n] == c) ++n;
    return n;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A tiny cursor over the text being parsed.
struct Reader {
    std::string_view s;
    size_t i = 0;

    void SkipBlanks() {
        while (i < s.size() && IsBlank(s[i])) ++i;
    }
    bool AtEnd() const { return i >= s.size(); }
    bool Take(char c) {
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    // minDigits..maxDigits decimal digits; false when there are fewer or more. Digits past
    // maxDigits are counted, not added up: a long run must not overflow.
    bool Number(size_t minDigits, size_t maxDigits, int& out) {
        size_t start = i;
        int v = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i)
            if (i - start < maxDigits) v = v * 10 + (s[i] - '0');
        size_t n = i - start;
        if (n < minDigits || n > maxDigits) return false;
        out = v;
        return true;
    }
    // An English three-letter month, any case; 1..12 or 0.
    int Month() {
        size_t start = i;
        while (i < s.size() && IsLetter(s[i])) ++i;
        if (i - start != 3) return 0;
        for (int m = 0; m < 12; ++m) {
            const char* name = kMonthShort[m];
            if (Lower(s[start]) == Lower(name[0]) && Lower(s[start + 1]) == name[1] &&
                Lower(s[start + 2]) == name[2])
                return m + 1;
        }
        return 0;
    }
};

std::optional<DateTime> MakeDate(int y, int m, int d) {
    if (!IsValidDate(y, m, d)) return std::nullopt;
    DateTime r;
    r.year = y;
    r.month = m;
    r.day = d;
    return r;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))) return 29;
    return kDays[month - 1];
}

int Weekday(const DateTime& d) {
    // 1970-01-01 was a Thursday.
    long long w = (DaysFromCivil(d.year, d.month, d.day) + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

DateTime AddDays(const DateTime& d, int days) {
    DateTime r = d;
    CivilFromDays(DaysFromCivil(d.year, d.month, d.day) + days, r);
    return r;
}

DateTime AddSeconds(const DateTime& d, long long seconds) {
    return FromSerialSeconds(ToSerialSeconds(d) + seconds);
}

long long ToSerialSeconds(const DateTime& d) {
    return DaysFromCivil(d.year, d.month, d.day) * kSecondsPerDay + d.hour * 3600LL +
           d.minute * 60LL + d.second;
}

DateTime FromSerialSeconds(long long s) {
    DateTime r;
    long long days = FloorDiv(s, kSecondsPerDay);
    long long rest = s - days * kSecondsPerDay;
    CivilFromDays(days, r);
    r.hour = static_cast<int>(rest / 3600);
    r.minute = static_cast<int>(rest / 60 % 60);
    r.second = static_cast<int>(rest % 60);
    return r;
}

std::string Format(const DateTime& d, const std::string& pattern) {
    const std::string_view p = pattern;
    const bool twelveHour = p.find("am/pm") != std::string_view::npos;
    std::string out;
    out.reserve(p.size() + 16);
    bool afterHour = false;  // the closest previous token was hh
    size_t i = 0;
    while (i < p.size()) {
        // Dispatch on the first letter; this runs for every alarm on every rebuild.
        const char c = p[i];
        size_t run = (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 's')
                         ? RunOf(p, i, c, 4)
                         : 0;
        bool hour = false;
        if (c == 'd' && run == 4) {
            out += kWeekdayName[Weekday(d)];
        } else if (c == 'd' && run >= 2) {
            run = 2;
            Append2(out, d.day);
        } else if (c == 'm' && run >= 3) {
            run = 3;
            out += (d.month >= 1 && d.month <= 12) ? kMonthShort[d.month - 1] : "???";
        } else if (c == 'm' && run == 2) {
            Append2(out, afterHour ? d.minute : d.month);
        } else if (c == 'y' && run == 4) {
            Append4(out, d.year);
        } else if (c == 'h' && run >= 2) {
            run = 2;
            int h = d.hour;
            if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
            Append2(out, h);
            hour = true;
        } else if (c == 's' && run >= 2) {
            run = 2;
            Append2(out, d.second);
        } else if (c == 'a' && p.compare(i, 5, "am/pm") == 0) {
            run = 5;
            out += d.hour < 12 ? "am" : "pm";
        } else {
            out.push_back(c);
            ++i;
            continue;  // literal characters do not change what mm means
        }
        i += run;
        afterHour = hour;
    }
    return out;
}

std::string DateText(const DateTime& d) { return Format(d, "mm/dd/yyyy"); }

std::string TimeText(const DateTime& d) { return Format(d, "hh:mm:ss"); }

std::optional<DateTime> ParseDate(const std::string& text) {
    Reader r{text};
    r.SkipBlanks();
    if (r.AtEnd()) return std::nullopt;
    int y = 0, m = 0, d = 0;
    if (IsLetter(r.s[r.i])) {
        // mmm dd , yyyy
        m = r.Month();
        r.SkipBlanks();
        if (m == 0 || !r.Number(1, 2, d)) return std::nullopt;
        r.SkipBlanks();
        r.Take(',');
        r.SkipBlanks();
    } else {
        int first = 0;
        if (!r.Number(1, 2, first)) return std::nullopt;
        r.SkipBlanks();
        if (r.Take('/')) {
            // mm/dd/yyyy
            m = first;
            r.SkipBlanks();
            if (!r.Number(1, 2, d)) return std::nullopt;
            r.SkipBlanks();
            if (!r.Take('/')) return std::nullopt;
            r.SkipBlanks();
        } else {
            // dd mmm yyyy
            d = first;
            m = r.Month();
            if (m == 0) return std::nullopt;
            r.SkipBlanks();
            r.Take(',');
            r.SkipBlanks();
        }
    }
    if (!r.Number(4, 4, y)) return std::nullopt;
    r.SkipBlanks();
    if (!r.AtEnd()) return std::nullopt;
    return MakeDate(y, m, d);
}

std::optional<DateTime> ParseTime(const std::string& text) {
    Reader r{text};
    r.SkipBlanks();
    int h = 0, m = 0, s = 0;
    if (!r.Number(1, 2, h) || !r.Take(':') || !r.Number(1, 2, m)) return std::nullopt;
    if (r.Take(':') && !r.Number(1, 2, s)) return std::nullopt;
    r.SkipBlanks();
    int half = 0;  // 1 = am, 2 = pm
    if (r.s.size() - r.i >= 2 && Lower(r.s[r.i + 1]) == 'm') {
        char c = Lower(r.s[r.i]);
        if (c == 'a') half = 1;
        if (c == 'p') half = 2;
        if (half != 0) r.i += 2;
    }
    r.SkipBlanks();
    if (!r.AtEnd() || m > 59 || s > 59) return std::nullopt;
    if (half != 0) {
        // The time picker's hour field runs 00 to 12, so "00" stands for twelve as well.
        if (h > 12) return std::nullopt;
        h = h % 12 + (half == 2 ? 12 : 0);
    } else if (h > 23) {
        return std::nullopt;
    }
    DateTime t;
    t.hour = h;
    t.minute = m;
    t.second = s;
    return t;
}

}  // namespace kit
