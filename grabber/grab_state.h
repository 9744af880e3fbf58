// The queues, counters and flags of a grab task and its runs, shared by the crawl loop, the
// page parser and the picture check.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Page queue: addresses with the link text found with each; the next index to start.
inline std::vector<std::string> gPageQueueURLs, gPageQueueTexts;
inline int32_t gPageQueueCount = 0, gPageQueueNext = 0;
// Priority pages (folders of addresses that gave no picture), served before the pages.
inline std::vector<std::string> gPriorityPageURLs, gPriorityPageTexts;
inline int32_t gPriorityPageCount = 0, gPriorityPageNext = 0;
// Picture addresses.
inline std::vector<std::string> gPictureQueue;
inline int32_t gPictureQueueCount = 0, gPictureQueueNext = 0;

// Next number tried for a saved file of each type; a new task restarts them.
inline int32_t gFileCounterGIF = 0, gFileCounterJPG = 0, gFileCounterBMP = 0, gFileCounterPNG = 0;

// Downloads counted as started and not yet answered by DownloadComplete; never below 0.
inline int16_t gDownloadsInFlight = 0;
// Pictures saved since the process started; a run ends once it reaches kMaxSavedPictures.
inline int16_t gSavedPictureCount = 0;
constexpr int kMaxSavedPictures = 10000;
// The crawl loop is running.
inline bool gGrabbing = false;

// The lower-cased search keyword, and the search address built from the last valid one.
inline std::string gSearchKeyword;
inline std::string gSearchURL;

// Back to the state of a fresh process (tests).
void ResetGrabState();
