// Process-wide state the schedule dialog's three controls share.
#pragma once
#include <cstdint>

// The editor was opened by Add (True) or by Edit or a click in the list (False).
inline bool gAddingAlarm = false;
// Twips by which the dialog shrinks when the editor closes.
inline int16_t gAlarmEditHeight = 0;
// The calendar's date part is enabled.
inline bool gCalendarDateEnabled = false;
// The display settings when the editor was created, restored by the dialog's close box.
inline int16_t gSavedDayMode = 0;
inline int16_t gSavedAmPmMode = 0;

// The dialog's heights in twips: open with the editor, and the line below which it counts as
// collapsed.
constexpr int kScheduleOpenHeight = 8820;
constexpr int kScheduleCollapsedBelow = 6000;
constexpr int kAlarmEditHeight = 3675;

void ResetScheduleState();
