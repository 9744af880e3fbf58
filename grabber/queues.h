// The three queue adders. Duplicates are found by the address as it will be requested
// (fragment dropped, dot segments removed, an empty path read as "/", "//" read as "/"),
// through an index instead of a scan; the stored address stays as it was found.
#pragma once
#include <string>

namespace grabber {

// The longest merged link text of a page; a text that would make it longer is not appended.
constexpr std::size_t kMaxLinkText = 4096;

// What the queues of a task may hold, counted as the bytes of their addresses and texts and a
// fixed cost per entry, and what the links of one page may add to that. An address that would
// pass either bound is passed over, so that a page of a million links cannot use up the memory.
constexpr std::size_t kMaxQueueBytes = std::size_t{128} << 20;
constexpr std::size_t kMaxPageLinkBytes = std::size_t{16} << 20;
constexpr std::size_t kQueueEntryCost = 96;  // the string objects and the index slots

class QueueBudget;

// While one lives, what the adders add counts against the bound of one page's links. A page
// parsed inside another's events counts apart.
class PageLinks {
public:
    PageLinks();
    ~PageLinks();
    PageLinks(const PageLinks&) = delete;
    PageLinks& operator=(const PageLinks&) = delete;
    // An address was passed over for a bound.
    bool passedOver() const { return passedOver_; }

private:
    friend class QueueBudget;
    PageLinks* outer_;
    std::size_t added_ = 0;
    bool passedOver_ = false;
};

void AddPageLink(const std::string& url, const std::string& text);
void AddPriorityPage(const std::string& url, const std::string& text);
// Processes pending events once, then queues url unless it is queued already. An address
// that carries a second address behind a prefix (a redirect link) is queued as the second.
void AddResourceURL(std::string url);

// The duplicate key of an address.
std::string QueueKey(const std::string& url);
// The address that AddResourceURL queues for url.
std::string CutRedirectLink(std::string url);

// Forgets the indexes (a new task, or a fresh process).
void ResetQueueIndexes();

}  // namespace grabber
