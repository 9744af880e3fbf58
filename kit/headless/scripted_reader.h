// A reader whose events a test scripts: each read's events come from a script chosen when it
// begins, one step per round of event processing; a held read waits until the test lets it go.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "kit/async_read.h"
#include "kit/headless/headless_backend.h"

namespace kit::headless {

class ScriptedReader : public AsyncReader {
public:
    struct Step {
        bool complete = false;
        int status = 0;
        std::string text;
        std::uint32_t bytesMax = 0;
        std::vector<std::uint8_t> data;
        std::string finalAddress;  // completion: empty means the address read
    };
    struct Script {
        bool refuse = false;  // beginRead fails at once
        bool hold = false;    // nothing arrives until release()
        std::vector<Step> steps;
    };
    struct Read {
        ReadHandle handle = 0;
        std::string address, name;
        bool cancelled = false, finished = false;
    };

    explicit ScriptedReader(HeadlessBackend& backend) : backend_(backend) {}

    ReadHandle beginRead(const std::string& address, const std::string& name,
                         AsyncReadSink* sink) override;
    void cancelRead(ReadHandle read) override;
    void setLimits(const ReadLimits& limits) override { limits_ = limits; }

    // Chooses each read's script; without one every read is held.
    std::function<Script(const std::string& address, const std::string& name)> scripter;
    // Lets a held read go on with its script (or with steps given now).
    void release(ReadHandle read);
    void release(ReadHandle read, std::vector<Step> steps);

    // Scripts for common answers.
    static Script Body(const std::string& body, std::uint32_t bytesMax = 0,
                       const std::string& finalAddress = {});
    static Script Failure();

    const std::vector<Read>& reads() const { return reads_; }
    // Reads begun and neither finished nor cancelled.
    int openReads() const;
    int maxOpenReads() const { return maxOpen_; }
    const ReadLimits& limits() const { return limits_; }
    void reset();

private:
    struct Live {
        AsyncReadSink* sink = nullptr;
        Script script;
        std::size_t next = 0;
    };
    void schedule(ReadHandle read);
    void step(ReadHandle read);
    Read* find(ReadHandle read);

    HeadlessBackend& backend_;
    ReadLimits limits_;
    std::vector<Read> reads_;
    std::map<ReadHandle, Live> live_;
    ReadHandle next_ = 1;
    int maxOpen_ = 0;
    std::uint64_t generation_ = 0;
};

}  // namespace kit::headless
