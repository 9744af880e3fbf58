#include "kit/win32/worker_pool.h"

#include <algorithm>
#include <vector>

namespace kit::win32 {

namespace {

// Spin a little before sleeping on the lock; the high bit makes Windows XP allocate the lock's
// event at once instead of failing under low memory later.
constexpr DWORD kLockSpin = 0x80000000u | 1000u;

struct Worker {
    HANDLE wake = nullptr;  // auto-reset: set when a job is handed over or the pool closes
    std::function<void()> job;
};

}  // namespace

struct WorkerPool::Shared {
    CRITICAL_SECTION lock;
    std::vector<Worker*> idle;  // the most recently idle last
    DWORD idleLimitMs = 0;
    std::function<void()> whenAllGone;
    int threads = 0;
    bool closing = false;

    Shared() { InitializeCriticalSectionAndSpinCount(&lock, kLockSpin); }
    ~Shared() { DeleteCriticalSection(&lock); }

    struct Start {
        std::shared_ptr<Shared> pool;
        std::function<void()> job;
    };

    static DWORD WINAPI Work(void* param) {
        std::unique_ptr<Start> start(static_cast<Start*>(param));
        std::shared_ptr<Shared> self = std::move(start->pool);
        Worker me;
        me.job = std::move(start->job);
        start.reset();
        me.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        self->run(me);
        if (me.wake) CloseHandle(me.wake);
        return 0;
    }

    // Runs the job it was started with, then whatever is handed over while it waits.
    void run(Worker& me) {
        for (;;) {
            me.job();
            me.job = nullptr;  // whatever it holds goes before the wait
            EnterCriticalSection(&lock);
            if (closing || !me.wake) break;
            idle.push_back(&me);
            LeaveCriticalSection(&lock);
            WaitForSingleObject(me.wake, idleLimitMs);
            EnterCriticalSection(&lock);
            // A job handed over after the wait timed out is still this thread's.
            if (!me.job) {
                idle.erase(std::remove(idle.begin(), idle.end(), &me), idle.end());
                break;
            }
            LeaveCriticalSection(&lock);
        }
        const bool last = --threads == 0;
        std::function<void()> hook = last ? whenAllGone : nullptr;
        LeaveCriticalSection(&lock);
        if (hook) hook();
    }
};

WorkerPool::WorkerPool(DWORD idleLimitMs, std::function<void()> whenAllGone)
    : shared_(std::make_shared<Shared>()) {
    shared_->idleLimitMs = idleLimitMs;
    shared_->whenAllGone = std::move(whenAllGone);
}

WorkerPool::~WorkerPool() {
    Shared& s = *shared_;
    EnterCriticalSection(&s.lock);
    s.closing = true;
    for (Worker* w : s.idle) SetEvent(w->wake);
    LeaveCriticalSection(&s.lock);
}

bool WorkerPool::submit(std::function<void()> job) {
    Shared& s = *shared_;
    EnterCriticalSection(&s.lock);
    if (!s.idle.empty()) {
        Worker* w = s.idle.back();
        s.idle.pop_back();
        w->job = std::move(job);
        SetEvent(w->wake);
        LeaveCriticalSection(&s.lock);
        return true;
    }
    ++s.threads;
    LeaveCriticalSection(&s.lock);
    auto* start = new Shared::Start{shared_, std::move(job)};
    const HANDLE thread = CreateThread(nullptr, 0, Shared::Work, start, 0, nullptr);
    if (!thread) {
        delete start;
        EnterCriticalSection(&s.lock);
        --s.threads;
        LeaveCriticalSection(&s.lock);
        return false;
    }
    CloseHandle(thread);
    return true;
}

int WorkerPool::threads() const {
    EnterCriticalSection(&shared_->lock);
    const int n = shared_->threads;
    LeaveCriticalSection(&shared_->lock);
    return n;
}

}  // namespace kit::win32
