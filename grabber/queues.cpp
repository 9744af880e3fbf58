#include "grabber/queues.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "grabber/grab_state.h"
#include "kit/controls.h"
#include "kit/url.h"

namespace grabber {
namespace {

// Finds a queued address by its key. It follows its queue: entries added behind its back are
// taken in, and a queue emptied behind its back starts it afresh. Only the keys' hashes are
// kept, in an open-addressed table, so that queueing costs no allocation of its own; a match
// is confirmed against the queued address's key.
class QueueIndex {
public:
    // The index of the first queued address whose key is key (that of url), or -1.
    int find(const std::vector<std::string>& urls, int32_t count, const std::string& url, const std::string& key) {
        sync(urls, count);
        if (slots_.empty()) return -1;
        const std::size_t h = Hash(key);
        int32_t first = -1;
        for (std::size_t i = h & mask(); slots_[i].index >= 0; i = (i + 1) & mask()) {
            const Slot& s = slots_[i];
            if (s.hash != h || (first >= 0 && s.index > first)) continue;
            const std::string& queued = urls[s.index];
            if (queued == url || QueueKey(queued) == key) first = s.index;
        }
        return first;
    }
    void added(const std::string& key, int index, std::size_t cost) {
        insert(Hash(key), index);
        covered_ = index + 1;
        bytes_ += cost;
    }
    void grew(std::size_t bytes) { bytes_ += bytes; }
    // What the queue's entries cost, as far as the index has followed it.
    std::size_t bytes() const { return bytes_; }
    void reset() {
        slots_.clear();
        used_ = 0;
        covered_ = 0;
        bytes_ = 0;
    }

private:
    struct Slot {
        std::size_t hash = 0;
        int32_t index = -1;
    };
    static std::size_t Hash(const std::string& key) { return std::hash<std::string>{}(key); }
    std::size_t mask() const { return slots_.size() - 1; }

    void insert(std::size_t h, int32_t index) {
        if ((used_ + 1) * 2 > slots_.size()) grow();
        std::size_t i = h & mask();
        while (slots_[i].index >= 0) i = (i + 1) & mask();
        slots_[i] = {h, index};
        ++used_;
    }
    void grow() {
        // The bigger table is made first: when that fails, the index stays as it was.
        std::vector<Slot> old(slots_.empty() ? 64 : slots_.size() * 2);
        old.swap(slots_);
        used_ = 0;
        for (const Slot& s : old)
            if (s.index >= 0) insert(s.hash, s.index);
    }
    void sync(const std::vector<std::string>& urls, int32_t count) {
        const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(urls.size()));
        if (n < covered_) reset();
        for (; covered_ < n; ++covered_) {
            insert(Hash(QueueKey(urls[covered_])), covered_);
            bytes_ += urls[covered_].size() + kQueueEntryCost;
        }
    }
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    int32_t covered_ = 0;
    std::size_t bytes_ = 0;
};

QueueIndex g_pageIndex, g_priorityIndex, g_pictureIndex;
PageLinks* g_page = nullptr;  // the innermost page being parsed

std::size_t Cost(const std::string& url, const std::string& text) {
    return url.size() + text.size() + kQueueEntryCost;
}

void Append(std::vector<std::string>& urls, std::vector<std::string>* texts, int32_t& count,
            std::string url, const std::string& text) {
    urls.resize(count + 1);
    urls[count] = std::move(url);
    if (texts) {
        texts->resize(count + 1);
        (*texts)[count] = text;
    }
    ++count;
}

// A text as an entry first keeps it: within the bound of a merged text.
std::string Bounded(const std::string& text) { return text.substr(0, kMaxLinkText); }

void MergeText(std::string& stored, const std::string& text) {
    if (text.empty()) return;
    if (stored.empty()) {
        stored = Bounded(text);
        return;
    }
    // Past the bound a text can neither be appended nor take the stored text's place, so it
    // changes nothing whatever it holds: no search is made, and the cost of a merge stays
    // within the bound however often an address is linked.
    if (text.size() > kMaxLinkText) return;
    const bool fits = stored.size() + text.size() <= kMaxLinkText;
    if (!fits && text.size() < stored.size()) return;
    if (text.size() <= stored.size() && stored.find(text) != std::string::npos) return;
    if (text.size() >= stored.size() && text.find(stored) != std::string::npos) {
        stored = text;
        return;
    }
    if (fits) stored += text;
}

}  // namespace

class QueueBudget {
public:
    // Whether an entry of that cost may be queued; it then counts against the page's bound.
    static bool Admit(std::size_t cost) {
        const std::size_t held = g_pageIndex.bytes() + g_priorityIndex.bytes() + g_pictureIndex.bytes();
        const bool fits = held + cost <= kMaxQueueBytes &&
                          (!g_page || g_page->added_ + cost <= kMaxPageLinkBytes);
        if (g_page) {
            if (fits) g_page->added_ += cost;
            else g_page->passedOver_ = true;
        }
        return fits;
    }
};

PageLinks::PageLinks() : outer_(g_page) { g_page = this; }
PageLinks::~PageLinks() { g_page = outer_; }

std::string QueueKey(const std::string& url) {
    // Most addresses found are already in request form but for a fragment: the key is the
    // address before it.
    std::string base = url.substr(0, url.find('#'));
    if (kit::IsRequestForm(base)) {
        const std::size_t query = base.find('?');
        const std::size_t twice = base.find("//", base.find("//") + 2);
        if (twice == std::string::npos || twice > query) return base;
    }
    auto r = kit::PrepareRequest(url);
    if (!r) return url;
    // Servers read "//" in a path as "/": links resolved against such a page would fetch the
    // site again under longer and longer paths.
    std::string key = r->url.substr(0, r->url.size() - r->target.size());
    const std::size_t query = r->target.find('?');
    for (std::size_t i = 0; i < r->target.size(); ++i) {
        if (i < query && r->target[i] == '/' && !key.empty() && key.back() == '/') continue;
        key += r->target[i];
    }
    return key;
}

std::string CutRedirectLink(std::string url) {
    // The last place after the first character where "http://", "https://" or "ftp://" begins.
    std::size_t cut = 0;
    for (std::size_t p = url.find("://"); p != std::string::npos; p = url.find("://", p + 1)) {
        for (const char* scheme : {"https", "http", "ftp"}) {
            const std::size_t n = std::char_traits<char>::length(scheme);
            if (p > n && url.compare(p - n, n, scheme) == 0 && p - n > cut) cut = p - n;
        }
    }
    if (cut > 0) url.erase(0, cut);
    return url;
}

void AddPageLink(const std::string& url, const std::string& text) {
    const std::string key = QueueKey(url);
    const int at = g_pageIndex.find(gPageQueueURLs, gPageQueueCount, url, key);
    if (at >= 0) {
        std::string& stored = gPageQueueTexts[at];
        const std::size_t before = stored.size();
        MergeText(stored, text);
        g_pageIndex.grew(stored.size() - before);
        return;
    }
    std::string bounded = Bounded(text);
    const std::size_t cost = Cost(url, bounded);
    if (!QueueBudget::Admit(cost)) return;
    if (gPageQueueCount < 0) gPageQueueCount = 0;
    Append(gPageQueueURLs, &gPageQueueTexts, gPageQueueCount, url, bounded);
    g_pageIndex.added(key, gPageQueueCount - 1, cost);
}

void AddPriorityPage(const std::string& url, const std::string& text) {
    const std::string key = QueueKey(url);
    if (g_priorityIndex.find(gPriorityPageURLs, gPriorityPageCount, url, key) >= 0) return;
    std::string bounded = Bounded(text);
    const std::size_t cost = Cost(url, bounded);
    if (!QueueBudget::Admit(cost)) return;
    if (gPriorityPageCount < 0) gPriorityPageCount = 0;
    Append(gPriorityPageURLs, &gPriorityPageTexts, gPriorityPageCount, url, bounded);
    g_priorityIndex.added(key, gPriorityPageCount - 1, cost);
}

void AddResourceURL(std::string url) {
    url = CutRedirectLink(std::move(url));
    // Events run before the test, never between the test and the append, so a page parsed
    // meanwhile cannot queue the same address twice.
    kit::DoEvents();
    const std::string key = QueueKey(url);
    if (g_pictureIndex.find(gPictureQueue, gPictureQueueCount, url, key) >= 0) return;
    const std::size_t cost = Cost(url, {});
    if (!QueueBudget::Admit(cost)) return;
    if (gPictureQueueCount < 0) gPictureQueueCount = 0;
    Append(gPictureQueue, nullptr, gPictureQueueCount, std::move(url), {});
    g_pictureIndex.added(key, gPictureQueueCount - 1, cost);
}

void ResetQueueIndexes() {
    g_pageIndex.reset();
    g_priorityIndex.reset();
    g_pictureIndex.reset();
}

}  // namespace grabber
