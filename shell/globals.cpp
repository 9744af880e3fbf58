#include "shell/globals.h"

#include "alarms/alarm_records.h"
#include "alarms/schedule_state.h"
#include "grabber/grab_state.h"
#include "grabber/resource_state.h"
#include "kit/controls.h"
#include "shell/tray.h"
#include "viewer/sized_preview.h"

void ResetGlobals() {
    gDownloadGIF = gDownloadJPG = gDownloadJPEG = gDownloadBMP = gDownloadPNG = false;
    gLimitImageSize = gLimitImageFileSize = false;
    gImageWidth = gImageHeight = gImageFileSizeKB = 0;
    gDispWindowAfterGrabbing = false;
    gDownloadFileName.clear();
    gDownloadFolder.clear();
    gListedFolder.clear();
    gDayMode = gAmPmMode = 0;
    gDispColor = 0;
    gCardBack = 0;
    gTrayRedraw = false;
    gWinVersion = 0;
    gToday.clear();
    gStopGrabbing = gGrabOffline = gResourceFormOpen = false;
    eTray::gTrayIcons[0] = eTray::gTrayIcons[1] = platform::NotifyIconData{};
    eTray::gIconDC = eTray::gIconBitmap = eTray::gIconOldBitmap = 0;
    ResetAlarmState();
    ResetGrabState();
    ResetResourceState();
    ResetViewerState();
    ResetScheduleState();
    kit::ResetAllForms();
    kit::ClearProcessEndActions();
}
