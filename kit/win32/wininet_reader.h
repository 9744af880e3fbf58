// The asynchronous read on Windows: WinINet on pooled worker threads, results posted to a
// message-only window and delivered by the message loop. Redirects are followed here, hop by
// hop, so each one is reported and the limits hold; a cancel closes the read's handle so a
// blocked read returns at once, and whatever it had posted is dropped.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "kit/async_read.h"
#include "kit/win32/worker_pool.h"

namespace kit::win32 {

class WinInetReader : public AsyncReader {
public:
    WinInetReader();
    ~WinInetReader() override;

    ReadHandle beginRead(const std::string& address, const std::string& name,
                         AsyncReadSink* sink) override;
    void cancelRead(ReadHandle read) override;
    void setLimits(const ReadLimits& limits) override { limits_ = limits; }

    struct State;
    struct Event;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void deliver(Event* e);

    struct Live {
        std::string name;
        AsyncReadSink* sink = nullptr;
        std::shared_ptr<State> state;
    };
    HWND window_ = nullptr;
    void* session_ = nullptr;  // HINTERNET
    ReadLimits limits_;
    std::map<ReadHandle, Live> live_;
    ReadHandle next_ = 1;
    WorkerPool workers_;
};

}  // namespace kit::win32
