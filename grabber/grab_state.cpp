#include "grabber/grab_state.h"

#include "grabber/queues.h"

void ResetGrabState() {
    gPageQueueURLs.clear();
    gPageQueueTexts.clear();
    gPageQueueCount = gPageQueueNext = 0;
    gPriorityPageURLs.clear();
    gPriorityPageTexts.clear();
    gPriorityPageCount = gPriorityPageNext = 0;
    gPictureQueue.clear();
    gPictureQueueCount = gPictureQueueNext = 0;
    gFileCounterGIF = gFileCounterJPG = gFileCounterBMP = gFileCounterPNG = 0;
    gDownloadsInFlight = 0;
    gSavedPictureCount = 0;
    gGrabbing = false;
    gSearchKeyword.clear();
    gSearchURL.clear();
    grabber::ResetQueueIndexes();
}
