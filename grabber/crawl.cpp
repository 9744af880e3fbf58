#include "grabber/crawl.h"

#include <array>
#include <cstdint>

#include "grabber/grab_state.h"
#include "grabber/grab_window.h"
#include "grabber/queues.h"
#include "kit/datetime.h"
#include "shell/globals.h"
#include "shell/tivlo_form.h"

namespace grabber {

void InitGrabTask(const std::string& startURL) {
    gFileCounterGIF = gFileCounterJPG = gFileCounterBMP = gFileCounterPNG = 0;
    gPictureQueue.clear();
    gPictureQueueCount = gPictureQueueNext = 0;
    gPageQueueURLs.clear();
    gPageQueueTexts.clear();
    gPriorityPageURLs.clear();
    gPriorityPageTexts.clear();
    gPriorityPageCount = gPriorityPageNext = 0;
    ResetQueueIndexes();
    gPageQueueURLs = {startURL};
    gPageQueueTexts = {""};
    gPageQueueCount = 1;
    gPageQueueNext = 0;
}

}  // namespace grabber

namespace eResource {
namespace {

const char* const kCaption = "Tivlo 2.3";

enum class Source { None, Page, Priority, Picture };

// Starts the next download of a queue; the count goes up first, as the download's events
// may already run inside the start.
void Start(Source source) {
    ++gDownloadsInFlight;
    kit::DoEvents();
    std::string address, name;
    std::int32_t* next = nullptr;
    switch (source) {
        case Source::Picture:
            next = &gPictureQueueNext;
            if (*next < gPictureQueueCount && *next < std::int32_t(gPictureQueue.size())) {
                address = gPictureQueue[*next];
                name = "RES$" + address;
            }
            break;
        case Source::Priority:
            next = &gPriorityPageNext;
            if (*next < gPriorityPageCount && *next < std::int32_t(gPriorityPageURLs.size())) {
                address = gPriorityPageURLs[*next];
                name = "HTM$" + gPriorityPageTexts[*next] + "$" + address;
            }
            break;
        case Source::Page:
            next = &gPageQueueNext;
            if (*next < gPageQueueCount && *next < std::int32_t(gPageQueueURLs.size())) {
                address = gPageQueueURLs[*next];
                name = "HTM$" + gPageQueueTexts[*next] + "$" + address;
            }
            break;
        case Source::None:
            return;
    }
    if (name.empty()) {  // the task was replaced meanwhile
        frmTivlo().ocxParseWeb_DownloadComplete();
        return;
    }
    frmTivlo().ocxParseWeb.BeginDownload(address, name);
    kit::DoEvents();
    ++*next;
}

// What the loop decides on: when an event changes none of it, there is nothing to start.
std::array<std::int64_t, 4> Snapshot() {
    return {gDownloadsInFlight, gPageQueueCount, gPriorityPageCount, gPictureQueueCount};
}

bool EveryQueueServed() {
    return gPageQueueNext == gPageQueueCount && gPriorityPageNext == gPriorityPageCount &&
           gPictureQueueNext == gPictureQueueCount;
}

void EndRun() {
    gGrabbing = false;
    FrmTivlo& main = frmTivlo();
    main.mnuGrabbing.Caption = "&Picture Grabbing";
    if (!gResourceFormOpen) {
        main.mnuGrabbing.Enabled = true;
        return;
    }
    if (grabber::GrabWindow* window = grabber::RegisteredGrabWindow())
        window->setGrabButton("&Grab Now", true);
    grabber::ShowGrabStatus("Grab process ended at " + kit::TimeText(kit::Now()));
}

}  // namespace

void GrabPictures() {
    gGrabbing = true;
    gGrabOffline = false;
    // Pages started per batch grow past what 16 bits hold in a long run.
    std::int32_t k = 0;
    ParseWeb& web = frmTivlo().ocxParseWeb;
    web.SetSearchWord(gSearchKeyword);

    for (;;) {
        bool progressed = false;
        const auto before = Snapshot();
        if (gDownloadsInFlight < grabber::kMaxDownloadsInFlight) {
            const std::int64_t pagesStarted = std::int64_t(gPriorityPageNext) + gPageQueueNext;
            Source source = Source::None;
            if (pagesStarted >= (std::int64_t(k) + 1) * grabber::kPagesPerBatch) {
                if (gPictureQueueNext >= gPictureQueueCount) {
                    ++k;
                    progressed = true;
                } else {
                    source = Source::Picture;
                }
            } else if (gPriorityPageNext < gPriorityPageCount) {
                source = Source::Priority;
            } else if (gPageQueueNext < gPageQueueCount) {
                source = Source::Page;
            } else if (gPictureQueueNext < gPictureQueueCount) {
                source = Source::Picture;
            }
            if (source != Source::None) {
                Start(source);
                progressed = true;
            }
        }

        kit::DoEvents();

        if (gStopGrabbing) {
            web.CancelAllDownload();
            if (gGrabOffline)
                frmTivlo().MsgBox("You are not on the internet !", kit::kMbIconError, kCaption);
            else
                kit::MsgBox("You stop the grabbing process !", kit::kMbIconExclamation, kCaption);
            break;
        }
        if (gSavedPictureCount >= kMaxSavedPictures) {
            web.CancelAllDownload();
            kit::MsgBox("You have download 10000 items and stop parsing !", kit::kMbIconExclamation,
                        kCaption);
            break;
        }
        if (gDownloadsInFlight == 0 && EveryQueueServed()) {
            web.CancelAllDownload();
            kit::MsgBox("All links have been parsed !", kit::kMbIconExclamation, kCaption);
            break;
        }
        // A pass that started nothing waits for the next event instead of spinning; downloads
        // that ended or pages that queued more during the pass are such events.
        if (progressed || Snapshot() != before) kit::DoEvents();
        else kit::WaitEvents();
    }
    EndRun();
}

}  // namespace eResource
