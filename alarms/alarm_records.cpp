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

// Whether a stored date reads as a calendar day with today's "dd" (and "mmm", and "yyyy").
// Both are valid dates, on which those formats are one-to-one, so comparing the numbers answers
// as comparing the formatted texts would, without formatting every alarm's date.
enum class Fields { Day, DayMonth, Date };

bool FallsOn(const std::string& dateText, const kit::DateTime& today, Fields fields) {
    const auto d = kit::ParseDate(dateText);
    return d && d->day == today.day && (fields == Fields::Day || d->month == today.month) &&
           (fields != Fields::Date || d->year == today.year);
}

void Enqueue(int16_t index, const std::string& nextTime) {
    if (gAlarmQueueCount >= static_cast<int16_t>(gAlarmQueue.size())) gAlarmQueue.emplace_back();
    gAlarmQueue[gAlarmQueueCount] = AlarmQueueItem{true, index, nextTime};
    ++gAlarmQueueCount;
}

// The first eight bytes of a text as a big-endian number: when two heads differ they order the
// texts as std::string does, so most comparisons need not touch the strings.
std::uint64_t Head(const std::string& text) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i)
        head = head << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return head;
}

// Orders the queue exactly as the plain exchange sort on NextTime as text
//     for a < b: if (NextTime[a] > NextTime[b]) swap entries a and b
// does, equal times included (that order decides which alarm fires first), in O(n log n):
// - a pass carries its running minimum along: the entries at the strict running minima of
//   a..n-1 each move to the next such place, the last one to a. So an entry with text T only
//   ever moves past entries <= T, and the order of the entries with text T is what the sort
//   gives on the entries <= T alone;
// - there T is the largest text, so an entry with text T moves only when it starts a pass: to
//   the next smaller entry, past the entries with text T just after it. Every pass uses up one
//   smaller entry, so the entries with text T behave as a queue: each joins at the back where
//   it stands, and each smaller entry, in the original order, sends the front to the back.
void SortQueue() {
    const int n = gAlarmQueueCount;
    if (n < 2) return;
    std::vector<std::uint64_t> head(n);
    for (int i = 0; i < n; ++i) head[i] = Head(gAlarmQueue[i].NextTime);
    auto less = [&](int a, int b) {
        return head[a] != head[b] ? head[a] < head[b] : gAlarmQueue[a].NextTime < gAlarmQueue[b].NextTime;
    };
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), less);  // equal texts stay in their queue order

    std::vector<int> placed(n + 1);  // Fenwick tree over the positions of smaller texts
    std::vector<int> ring;
    for (int first = 0, end; first < n; first = end) {
        end = first + 1;
        while (end < n && !less(order[first], order[end])) ++end;
        int used = 0;  // smaller entries passed so far
        auto turn = [&](int upTo) {
            if (!ring.empty())
                std::rotate(ring.begin(), ring.begin() + (upTo - used) % ring.size(), ring.end());
            used = upTo;
        };
        ring.clear();
        for (int k = first; k < end; ++k) {
            int smallerBefore = 0;
            for (int i = order[k]; i > 0; i -= i & -i) smallerBefore += placed[i];
            turn(smallerBefore);
            ring.push_back(order[k]);
        }
        turn(first);  // all smaller entries
        for (int k = first; k < end; ++k) {
            order[k] = ring[k - first];
            for (int i = order[k] + 1; i <= n; i += i & -i) ++placed[i];
        }
    }

    std::vector<AlarmQueueItem> sorted(n);
    for (int i = 0; i < n; ++i) sorted[i] = std::move(gAlarmQueue[order[i]]);
    std::move(sorted.begin(), sorted.end(), gAlarmQueue.begin());
}

}  // namespace

namespace eSchedule {

void BuildAlarmQueue() {
    gAlarmQueueCount = 0;
    const kit::DateTime now = kit::Now();
    gAlarmQueueDate = kit::Format(now, "dd mmm yyyy");
    const int weekday = kit::Weekday(now);

    for (int i = 0; i < gAlarmCount; ++i) {
        AlarmRecord& a = gAlarms[i];
        if (!a.LastDate.empty() && FallsOn(a.LastDate, now, Fields::Date)) continue;
        const int16_t index = static_cast<int16_t>(i);
        if (a.Mode == kModeOnce) {
            if (FallsOn(a.Date, now, Fields::Date)) Enqueue(index, a.Time);
        } else if (a.Mode == kModeHourly) {
            std::string next;
            if (gHourlyAlarmSet) {
                next = gLastHourlyTime;
            } else {
                gHourlyAlarmSet = true;
                kit::DateTime slot = now;
                slot.hour = now.hour == 23 ? 0 : now.hour + 1;
                next = kit::Format(slot, "hh:mm:ss");
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
            if (FallsOn(a.Date, now, Fields::Day)) Enqueue(index, a.Time);
        } else if (a.Mode == kModeYearly) {
            if (FallsOn(a.Date, now, Fields::DayMonth)) Enqueue(index, a.Time);
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
    gAlarmQueueDate.clear();
    gHourlyAlarmSet = false;
    gLastHourlyTime.clear();
    gFiredIndex = 0;
    gHintCount = 0;
    gHints.clear();
}
