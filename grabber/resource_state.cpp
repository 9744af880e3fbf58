#include "grabber/resource_state.h"

void ResetResourceState() {
    gThumbFileCount = gThumbPage = gCurrentPicture = 0;
    gPreviewOpen = false;
    gPictureTypesChosen = false;
    gWebsiteURL.clear();
    gTaskStarted = false;
    gLastStartURL.clear();
}
