// Threads for blocking work handed off by the user-interface thread. A thread stays while jobs
// keep coming and ends after a spell of idleness, so a burst of jobs does not pay a thread each
// and an idle program holds none. A job never waits behind a busy thread: it goes to an idle
// one, or else another thread starts. Each thread's wake-up event ends with it, so once every
// thread has ended the pool holds no handle.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

namespace kit::win32 {

class WorkerPool {
public:
    // whenAllGone runs on the last thread as it ends (all idle for idleLimitMs, or the pool
    // destroyed), outside the pool's lock.
    explicit WorkerPool(DWORD idleLimitMs, std::function<void()> whenAllGone = {});
    // Idle threads end at once; busy ones when their job returns.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // False when no thread could be started for the job (it is then dropped).
    bool submit(std::function<void()> job);
    int threads() const;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace kit::win32
