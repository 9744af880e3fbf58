// Process-wide settings and state shared by the program's modules.
#pragma once
#include <cstdint>
#include <string>

// Grab settings.
inline bool gDownloadGIF = false, gDownloadJPG = false, gDownloadJPEG = false,
            gDownloadBMP = false, gDownloadPNG = false;
inline bool gLimitImageSize = false, gLimitImageFileSize = false;
inline int16_t gImageWidth = 0, gImageHeight = 0, gImageFileSizeKB = 0;
inline bool gDispWindowAfterGrabbing = false;
inline std::string gDownloadFileName, gDownloadFolder, gListedFolder;

// Display settings of the tray clock.
inline int16_t gDayMode = 0;    // 1 month first, 2 day first
inline int16_t gAmPmMode = 0;   // 1 12-hour clock, 2 24-hour clock
inline int32_t gDispColor = 0;  // 0x00BBGGRR
inline int16_t gCardBack = 0;

inline bool gTrayRedraw = false;
inline int16_t gWinVersion = 0;
inline std::string gToday;

// Grab run state.
inline bool gStopGrabbing = false;
inline bool gGrabOffline = false;
inline bool gResourceFormOpen = false;

// Back to the state of a fresh process (tests).
void ResetGlobals();
