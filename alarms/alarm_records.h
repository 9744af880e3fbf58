// Alarms, their stored text form, and today's alarm queue.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct AlarmRecord {
    std::string Hint;
    std::string Date;
    std::string Time;
    std::string Music;
    std::string Action;
    std::string Snooze;
    std::string Mode;
    int16_t Week = 0;
    std::string LastDate;
};

struct AlarmQueueItem {
    bool Active = false;
    int16_t AlarmIndex = 0;
    std::string NextTime;
};

inline const char* const kModeOnce = "Once";
inline const char* const kModeHourly = "Every hour after running computer";
inline const char* const kModeDaily = "Every day";
inline const char* const kModeWeekly = "Every week";
inline const char* const kModeMonthly = "Every month";
inline const char* const kModeYearly = "Every year";

inline const char* const kActionNothing = "Do nothing";
inline const char* const kActionShutdown = "Shut down computer";
inline const char* const kActionLock = "Lock keyboard and mouse";

inline const char* const kTimeSettingKey = "Software\\Tivlo\\TimeSetting";

inline std::vector<AlarmRecord> gAlarms;
inline int16_t gAlarmCount = 0;
inline std::vector<AlarmRecord> gSavedAlarms;
inline int16_t gSavedAlarmCount = 0;

inline std::vector<AlarmQueueItem> gAlarmQueue;
inline int16_t gAlarmQueueCount = 0;
// The day the queue was built for, as "dd mmm yyyy".
inline std::string gAlarmQueueDate;
inline bool gHourlyAlarmSet = false;
inline std::string gLastHourlyTime;

inline int16_t gFiredIndex = 0;
inline int16_t gHintCount = 0;
inline std::vector<std::string> gHints;

// The nine fields joined by "/": Hint, Mode, Date, Time, Music, Action, Snooze, Week, LastDate.
std::string AlarmListValue(const AlarmRecord& a);
// Splits a stored value; fewer than nine fields is a run-time error.
AlarmRecord ParseAlarmListValue(const std::string& text);
// "AlarmList" followed by the alarm's number counted from 1.
std::string AlarmValueName(int index);

// Reads "AlarmNum" and the alarm values into both lists; builds today's queue when there are
// alarms.
void LoadAlarms();

namespace eSchedule {
void BuildAlarmQueue();
}

void ResetAlarmState();
