// The three queue adders. Duplicates are found by the address as it will be requested
// (fragment dropped, dot segments removed, an empty path read as "/", "//" read as "/"),
// through an index instead of a scan; the stored address stays as it was found.
#pragma once
#include <string>

namespace grabber {

// The longest merged link text of a page; a text that would make it longer is not appended.
constexpr std::size_t kMaxLinkText = 4096;

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
