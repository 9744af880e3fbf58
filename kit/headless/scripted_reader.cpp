#include "kit/headless/scripted_reader.h"

#include "kit/url.h"

namespace kit::headless {

ReadHandle ScriptedReader::beginRead(const std::string& address, const std::string& name,
                                     AsyncReadSink* sink) {
    Script script;
    if (scripter) script = scripter(address, name);
    else script.hold = true;
    if (script.refuse || !PrepareRequest(address)) return 0;
    const ReadHandle h = next_++;
    reads_.push_back(Read{h, address, name});
    live_[h] = Live{sink, std::move(script), 0};
    maxOpen_ = std::max(maxOpen_, openReads());
    if (!live_[h].script.hold) schedule(h);
    return h;
}

void ScriptedReader::cancelRead(ReadHandle read) {
    if (Read* r = find(read); r && !r->finished) r->cancelled = true;
    live_.erase(read);
}

void ScriptedReader::release(ReadHandle read) {
    auto it = live_.find(read);
    if (it == live_.end()) return;
    it->second.script.hold = false;
    schedule(read);
}

void ScriptedReader::release(ReadHandle read, std::vector<Step> steps) {
    auto it = live_.find(read);
    if (it == live_.end()) return;
    it->second.script.steps = std::move(steps);
    it->second.next = 0;
    release(read);
}

void ScriptedReader::schedule(ReadHandle read) {
    const std::uint64_t generation = generation_;
    backend_.post([this, read, generation] {
        if (generation == generation_) step(read);
    });
}

void ScriptedReader::step(ReadHandle read) {
    auto it = live_.find(read);
    if (it == live_.end()) return;  // cancelled: its events are dropped
    Live& live = it->second;
    if (live.next >= live.script.steps.size()) return;
    Step s = live.script.steps[live.next++];
    AsyncReadSink* sink = live.sink;
    Read* r = find(read);
    const bool more = live.next < live.script.steps.size() && !s.complete;
    if (s.complete) {
        r->finished = true;
        live_.erase(it);
    }
    // The next step goes out before this one is handled, so a handler that processes events
    // meets it, as it would meet a real read's next event.
    if (more) schedule(read);
    if (!sink) return;
    if (s.complete)
        sink->onReadComplete(read, r->name, s.status, s.data, s.bytesMax,
                             s.finalAddress.empty() ? r->address : s.finalAddress);
    else
        sink->onReadProgress(read, r->name, s.status, s.text, s.bytesMax);
}

ScriptedReader::Read* ScriptedReader::find(ReadHandle read) {
    for (Read& r : reads_)
        if (r.handle == read) return &r;
    return nullptr;
}

int ScriptedReader::openReads() const {
    int n = 0;
    for (const Read& r : reads_) n += !r.cancelled && !r.finished;
    return n;
}

ScriptedReader::Script ScriptedReader::Body(const std::string& body, std::uint32_t bytesMax,
                                            const std::string& finalAddress) {
    Script s;
    Step headers;
    headers.status = kReadCacheFileAvailable;
    headers.text = "C:\\cache\\file";
    headers.bytesMax = bytesMax;
    Step done;
    done.complete = true;
    done.status = kReadDataEnd;
    done.bytesMax = bytesMax;
    done.data.assign(body.begin(), body.end());
    done.finalAddress = finalAddress;
    s.steps = {headers, done};
    return s;
}

ScriptedReader::Script ScriptedReader::Failure() {
    Script s;
    Step fail;
    fail.complete = true;
    fail.status = kReadError;
    s.steps = {fail};
    return s;
}

void ScriptedReader::reset() {
    ++generation_;
    reads_.clear();
    live_.clear();
    scripter = nullptr;
    maxOpen_ = 0;
    limits_ = ReadLimits{};
}

}  // namespace kit::headless
