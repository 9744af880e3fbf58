// What the grab window shares with the settings editor, the crawl and the viewer: the view of
// the download folder and the grab inputs of this run of the program.
#pragma once
#include <cstdint>
#include <string>

// The download folder's view: files listed, the page shown (1-based, 0 without files), the
// picture the viewer shows, and whether the viewer is open. Counts are 32-bit: a folder may
// hold more pictures than 16 bits count.
inline std::int32_t gThumbFileCount = 0;
inline std::int32_t gThumbPage = 0;
inline std::int32_t gCurrentPicture = 0;
inline bool gPreviewOpen = false;

// At least one picture type is ticked in the settings editor.
inline bool gPictureTypesChosen = false;
// The website typed into the grab window; never stored.
inline std::string gWebsiteURL;
// A task was started in this run of the program, and the website it last started from.
inline bool gTaskStarted = false;
inline std::string gLastStartURL;

// Back to the state of a fresh process (tests).
void ResetResourceState();
