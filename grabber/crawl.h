// The crawl loop of a grab run and the start of a new grab task.
#pragma once
#include <string>

namespace eResource {

// Runs a whole grab run inside the tick of frmTivlo.tmrGrabbing: starts downloads from the
// queues, at most kMaxDownloadsInFlight at once, until the run is stopped, the picture limit
// is reached or every queue is served.
void GrabPictures();

}  // namespace eResource

namespace grabber {

constexpr int kMaxDownloadsInFlight = 5;
// After this many pages started, every waiting picture is served before the next page.
constexpr int kPagesPerBatch = 20;

// A new task: counters and queues emptied, the page queue seeded with startURL. The grab
// window exposes it as its own InitGrabTask.
void InitGrabTask(const std::string& startURL);

}  // namespace grabber
