// Where the schedule dialog and its three controls place their parts: twips in the container
// (pixels inside the calendar's day box), one row per control.
#pragma once

namespace schedule_layout {

struct Box {
    int left, top, width, height;
};

// The dialog (client area when collapsed 8880 x 4695).
constexpr int kClientWidth = 8880, kClientHeight = 4695;
constexpr Box kAlarmList{-90, 0, 8895, 4695};
constexpr Box kSave{5520, 4200, 900, 255};
constexpr Box kExit{6480, 4200, 900, 255};
constexpr Box kHelp{7440, 4200, 900, 255};
constexpr Box kEditor{0, 4695, 5535, 3660};
constexpr Box kCalendar{5520, 4680, 3375, 3615};
// Out of sight: it only takes the focus.
constexpr Box kDumb{9600, 1200, 300, 285};

// The alarm list: the frame, then the list and the buttons inside the frame.
constexpr Box kFrame{240, 120, 8520, 4455};
constexpr Box kList{240, 360, 8055, 3615};
constexpr Box kAdd{240, 4080, 855, 255};
constexpr Box kEdit{1140, 4080, 855, 255};
constexpr Box kRemove{2040, 4080, 855, 255};
constexpr Box kRemoveAll{2940, 4080, 1215, 255};
constexpr Box kListDumb{9600, 1200, 300, 285};
constexpr int kBarLeft = 360, kBarTop = 5280;

// The editor: the tab strip, then each page's controls inside its page.
constexpr Box kTabs{120, 120, 5205, 3450};
// "Sched&ule"
constexpr Box kModeLabel{120, 180, 1095, 195};
constexpr Box kMode{1320, 120, 3600, 315};
constexpr Box kDateTimeLabel{120, 600, 2535, 195};
constexpr Box kDateLabel{240, 930, 495, 195};
constexpr Box kDate{840, 870, 1650, 285};
constexpr Box kTimeLabel{2640, 930, 495, 195};
constexpr Box kTime{3240, 870, 1650, 285};
constexpr Box kWeekLabel{120, 1380, 2535, 195};
constexpr int kWeekLeft = 240, kWeekTop = 1650, kWeekStep = 675, kWeekWidth = 660,
              kWeekHeight = 255;
constexpr Box kOk{2520, 2580, 1125, 345};
constexpr Box kCancel{3780, 2580, 1125, 345};
// "Action&s"
constexpr Box kHintLabel{120, 180, 1095, 195};
constexpr Box kHint{1320, 120, 3600, 285};
constexpr Box kMusicLabel{120, 570, 1095, 195};
constexpr Box kMusic{1320, 510, 3180, 285};
constexpr Box kMusicPath{4560, 510, 360, 285};
constexpr Box kPlay{120, 870, 555, 285};
constexpr Box kStop{720, 870, 555, 285};
constexpr Box kProgress{1320, 900, 3375, 255};
constexpr Box kVolumeLabel{120, 1290, 1095, 195};
constexpr Box kVolume{1320, 1260, 3375, 255};
constexpr Box kActionLabel{120, 1770, 1695, 195};
constexpr Box kAction{1800, 1710, 3120, 315};
constexpr Box kSnoozeLabel{120, 2190, 1095, 195};
constexpr Box kSnooze{1320, 2130, 495, 285};
constexpr Box kSnoozeSpin{1815, 2130, 240, 285};
constexpr Box kMinutesLabel{2160, 2190, 735, 195};
// "&Date/Time Format"
constexpr Box kColorLabel{120, 180, 1095, 195};
constexpr Box kColor{1320, 120, 1815, 315};
constexpr Box kTimeFrame{120, 630, 2400, 975};
constexpr Box kDateFrame{2640, 630, 2295, 975};
constexpr Box kOptionFirst{150, 270, 2100, 255};
constexpr Box kOptionSecond{150, 600, 2100, 255};

// The calendar (its day box measures in pixels).
constexpr Box kCalendarFrame{0, 0, 3375, 3615};
constexpr Box kMonth{150, 270, 1575, 315};
constexpr Box kYear{1815, 270, 1395, 315};
constexpr Box kDayBox{240, 690, 2730, 2205};
constexpr Box kWeekHeading{4, 2, 176, 16};      // pixels, in the day box; sized to its text
constexpr int kDayWidth = 23, kDayHeight = 17;  // pixels
constexpr int kTimeTop = 3030, kTimeHeight = 285;
constexpr Box kHour{600, kTimeTop, 315, kTimeHeight};
constexpr Box kSepHourMinute{915, kTimeTop, 120, kTimeHeight};
constexpr Box kMinute{1035, kTimeTop, 315, kTimeHeight};
constexpr Box kSepMinuteSecond{1350, kTimeTop, 120, kTimeHeight};
constexpr Box kSecond{1470, kTimeTop, 315, kTimeHeight};
constexpr Box kAmPm{1785, kTimeTop, 345, kTimeHeight};
constexpr Box kSpin{2160, kTimeTop - 15, 255, kTimeHeight + 30};

}  // namespace schedule_layout
