#include "grabber/queues.h"

#include <unordered_map>
#include <vector>

#include "grabber/grab_state.h"
#include "kit/controls.h"
#include "kit/url.h"

namespace grabber {
namespace {

// Maps each queued address's key to its index. It follows its queue: entries added behind
// its back are taken in, and a queue emptied behind its back starts it afresh.
class QueueIndex {
public:
    int find(const std::vector<std::string>& urls, int32_t count, const std::string& key) {
        sync(urls, count);
        auto it = map_.find(key);
        return it == map_.end() ? -1 : it->second;
    }
    void added(const std::string& key, int index) {
        map_.emplace(key, index);
        covered_ = index + 1;
    }
    void reset() {
        map_.clear();
        covered_ = 0;
    }

private:
    void sync(const std::vector<std::string>& urls, int32_t count) {
        const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(urls.size()));
        if (n < covered_) reset();
        for (; covered_ < n; ++covered_) map_.emplace(QueueKey(urls[covered_]), covered_);
    }
    std::unordered_map<std::string, int> map_;
    int32_t covered_ = 0;
};

QueueIndex g_pageIndex, g_priorityIndex, g_pictureIndex;

void Append(std::vector<std::string>& urls, std::vector<std::string>* texts, int32_t& count,
            const std::string& url, const std::string& text) {
    urls.resize(count + 1);
    urls[count] = url;
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
    std::size_t cut = 0;
    for (const char* scheme : {"http://", "https://"}) {
        const std::size_t at = url.rfind(scheme);
        if (at != std::string::npos && at > 0 && at > cut) cut = at;
    }
    if (cut > 0) url.erase(0, cut);
    const std::size_t ftp = url.rfind("ftp://");
    if (ftp != std::string::npos && ftp > 0) url.erase(0, ftp);
    return url;
}

void AddPageLink(const std::string& url, const std::string& text) {
    const std::string key = QueueKey(url);
    const int at = g_pageIndex.find(gPageQueueURLs, gPageQueueCount, key);
    if (at >= 0) {
        MergeText(gPageQueueTexts[at], text);
        return;
    }
    if (gPageQueueCount < 0) gPageQueueCount = 0;
    Append(gPageQueueURLs, &gPageQueueTexts, gPageQueueCount, url, Bounded(text));
    g_pageIndex.added(key, gPageQueueCount - 1);
}

void AddPriorityPage(const std::string& url, const std::string& text) {
    const std::string key = QueueKey(url);
    if (g_priorityIndex.find(gPriorityPageURLs, gPriorityPageCount, key) >= 0) return;
    if (gPriorityPageCount < 0) gPriorityPageCount = 0;
    Append(gPriorityPageURLs, &gPriorityPageTexts, gPriorityPageCount, url, Bounded(text));
    g_priorityIndex.added(key, gPriorityPageCount - 1);
}

void AddResourceURL(std::string url) {
    url = CutRedirectLink(std::move(url));
    // Events run before the test, never between the test and the append, so a page parsed
    // meanwhile cannot queue the same address twice.
    kit::DoEvents();
    const std::string key = QueueKey(url);
    if (g_pictureIndex.find(gPictureQueue, gPictureQueueCount, key) >= 0) return;
    if (gPictureQueueCount < 0) gPictureQueueCount = 0;
    Append(gPictureQueue, nullptr, gPictureQueueCount, url, {});
    g_pictureIndex.added(key, gPictureQueueCount - 1);
}

void ResetQueueIndexes() {
    g_pageIndex.reset();
    g_priorityIndex.reset();
    g_pictureIndex.reset();
}

}  // namespace grabber
