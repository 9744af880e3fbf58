#include "alarms/alarm_records.h"

#include <algorithm>

#include "kit/controls.h"
#include "kit/convert.h"
#include "kit/datetime.h"
#include "kit/runtime.h"
#include "shell/registration.h"
#include "shell/system.h"

std::string AlarmListValue(const AlarmRecord& a) {
    return a.Hint + "/" + a.Mode + "/" + a.Date + "/" + a.Time + "/" + a.Music + "/" + a.Action +
           "/" + a.Snooze + "/" + std::to_string(a.Week) + "/" + a.LastDate;
}

AlarmRecord ParseAlarmListValue(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = text.find('/', start);
        pieces.push_back(text.substr(start, slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    if (pieces.size() < 9) throw kit::RuntimeError(kit::kErrSubscript, "alarm value has too few fields");
    AlarmRecord a;
    a.Hint = pieces[0];
    a.Mode = pieces[1];
    a.Date = pieces[2];
    a.Time = pieces[3];
    a.Music = pieces[4];
    a.Action = pieces[5];
    a.Snooze = pieces[6];
    a.Week = kit::CIntOf(kit::Val(pieces[7]));
    a.LastDate = pieces[8];
    return a;
}

std::string AlarmValueName(int index) { return "AlarmList" + std::to_string(index + 1); }

void LoadAlarms() {
    gAlarmCount = kit::CInt(eRegistration::GetRegistryValue(kTimeSettingKey, "AlarmNum"));
    gSavedAlarmCount = gAlarmCount;
    if (gAlarmCount < 1) {
        gSavedAlarms = gAlarms;
        return;
    }
    gAlarms.assign(gAlarmCount, AlarmRecord{});
    for (int i = 0; i < gAlarmCount; ++i)
        gAlarms[i] = ParseAlarmListValue(eRegistration::GetRegistryValue(kTimeSettingKey, AlarmValueName(i)));
    eSchedule::BuildAlarmQueue();
    gSavedAlarms = gAlarms;
}

namespace {

// A stored date read as a calendar day and formatted again; "" when it does not read.
std::string Reformat(const std::string& dateText, const char* pattern) {
    auto d = kit::ParseDate(dateText);
    return d ? kit::Format(*d, pattern) : std::string();
}

void Enqueue(int16_t index, const std::string& nextTime) {
    if (gAlarmQueueCount >= static_cast<int16_t>(gAlarmQueue.size())) gAlarmQueue.emplace_back();
    gAlarmQueue[gAlarmQueueCount] = AlarmQueueItem{true, index, nextTime};
    ++gAlarmQueueCount;
}

// Exchange sort on NextTime as text, with the same exchanges (and so the same order of equal
// times) as the plain double loop, made cheap:
// - each entry is one integer key: the rank of its text, its position at the start of the
//   pass, and its queue index. Within a pass the held entry always comes from an earlier
//   position, so "held key > key" is exactly "held text > text", and a mask selects without
//   a branch (about half the comparisons exchange);
// - a pass never looks back at a position once it has moved on, so the next passes can follow
//   one step behind it; four passes run interleaved to overlap their dependency chains.
constexpr std::uint64_t kPositionBits = 0xFFFFull << 16;

inline void Exchange(std::uint64_t& held, std::uint64_t& slot, std::uint64_t position) {
    const std::uint64_t k = slot;
    const std::uint64_t mask = 0 - static_cast<std::uint64_t>(held > k);
    const std::uint64_t low = (k & mask) | (held & ~mask);
    slot = ((held ^ k ^ low) & ~kPositionBits) | position << 16;
    held = low;
}

void SortQueue() {
    const int n = gAlarmQueueCount;
    if (n < 2) return;
    std::vector<const std::string*> distinct(n);
    for (int i = 0; i < n; ++i) distinct[i] = &gAlarmQueue[i].NextTime;
    auto less = [](const std::string* a, const std::string* b) { return *a < *b; };
    std::sort(distinct.begin(), distinct.end(), less);
    std::vector<std::uint64_t> key(n);
    for (int i = 0; i < n; ++i) {
        const std::uint64_t rank =
            std::lower_bound(distinct.begin(), distinct.end(), &gAlarmQueue[i].NextTime, less) - distinct.begin();
        key[i] = rank << 32 | static_cast<std::uint64_t>(i) << 16 | static_cast<std::uint64_t>(i);
    }

    constexpr int kLanes = 4;
    int a = 0;
    for (; a + kLanes <= n - 1; a += kLanes) {
        std::uint64_t held[kLanes] = {};
        // Pass a + k handles position p - k at step p.
        for (int p = a; p < n + kLanes - 1; ++p) {
#pragma GCC unroll 4
            for (int k = 0; k < kLanes; ++k) {
                const int position = p - k;
                if (position < a + k || position >= n) continue;
                if (position == a + k) held[k] = key[position];
                else Exchange(held[k], key[position], static_cast<std::uint64_t>(position));
            }
        }
        for (int k = 0; k < kLanes; ++k) key[a + k] = held[k];
    }
    for (; a < n - 1; ++a) {
        std::uint64_t held = key[a];
        for (int b = a + 1; b < n; ++b) Exchange(held, key[b], static_cast<std::uint64_t>(b));
        key[a] = held;
    }

    std::vector<AlarmQueueItem> sorted(n);
    for (int i = 0; i < n; ++i) sorted[i] = std::move(gAlarmQueue[key[i] & 0xFFFF]);
    std::move(sorted.begin(), sorted.end(), gAlarmQueue.begin());
}

}  // namespace

namespace eSchedule {

void BuildAlarmQueue() {
    gAlarmQueueCount = 0;
    const kit::DateTime now = kit::Now();
    const std::string today = kit::Format(now, "dd mmm yyyy");
    const std::string todayDay = kit::Format(now, "dd");
    const std::string todayDayMonth = kit::Format(now, "dd mmm");
    const int weekday = kit::Weekday(now);

    for (int i = 0; i < gAlarmCount; ++i) {
        AlarmRecord& a = gAlarms[i];
        if (!a.LastDate.empty() && Reformat(a.LastDate, "dd mmm yyyy") == today) continue;
        const int16_t index = static_cast<int16_t>(i);
        if (a.Mode == kModeOnce) {
            if (Reformat(a.Date, "dd mmm yyyy") == today) Enqueue(index, a.Time);
        } else if (a.Mode == kModeHourly) {
            std::string next;
            if (gHourlyAlarmSet) {
                next = gLastHourlyTime;
            } else {
                gHourlyAlarmSet = true;
                int h = now.hour + 1;
                if (h == 24) h = 0;
                std::string clock = kit::Format(now, "hh:mm:ss");
                next = (h < 10 ? "0" : "") + std::to_string(h) + clock.substr(clock.size() - 6);
            }
            Enqueue(index, next);
            a.Time = next;
            gLastHourlyTime = next;
        } else if (a.Mode == kModeDaily) {
            Enqueue(index, a.Time);
        } else if (a.Mode == kModeWeekly) {
            int16_t days[7];
            eSystem::DecodeWeekMask(days, a.Week);
            if (days[weekday] == 1) Enqueue(index, a.Time);
        } else if (a.Mode == kModeMonthly) {
            if (Reformat(a.Date, "dd") == todayDay) Enqueue(index, a.Time);
        } else if (a.Mode == kModeYearly) {
            if (Reformat(a.Date, "dd mmm") == todayDayMonth) Enqueue(index, a.Time);
        }
    }
    SortQueue();
}

}  // namespace eSchedule

void ResetAlarmState() {
    gAlarms.clear();
    gAlarmCount = 0;
    gSavedAlarms.clear();
    gSavedAlarmCount = 0;
    gAlarmQueue.clear();
    gAlarmQueueCount = 0;
    gHourlyAlarmSet = false;
    gLastHourlyTime.clear();
    gFiredIndex = 0;
    gHintCount = 0;
    gHints.clear();
}
