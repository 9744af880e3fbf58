// The asynchronous read on Windows: WinINet on pooled worker threads, results posted to a
// message-only window and delivered by the message loop. Redirects are followed here, hop by
// hop, so each one is reported and the limits hold, a redirect's own body included. A cancel
// drops whatever the read had posted and closes its handle off the user-interface thread.
//
// WinINet can block a worker beyond the limits: while it reads the status line and headers only
// its per-receive timeout applies, and under Wine closing a request first reads what the peer
// still sends. So the reader keeps the slow-peer rule itself too: a timer of its window fails a
// read whose window ran out with too few bytes, as a cancel does, and the worker that is still
// blocked ends whenever WinINet lets it.
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
    bool openSession();
    void deliver(Event* e);
    void closeLater(void* request);
    void watch(ReadPace::Clock::time_point due);
    void checkPace();

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
    bool watching_ = false;  // the pace timer is set, for watchDue_
    ReadPace::Clock::time_point watchDue_;
    WorkerPool workers_;
};

}  // namespace kit::win32
