// A plain mutual-exclusion lock and a run-once guard, the only threading primitives
// the toolkit needs.
#pragma once

#include <cstdint>

struct Lock {
    alignas(8) unsigned char storage[64];
};

void lock_init(Lock* lock);
void lock_destroy(Lock* lock);
void lock_enter(Lock* lock);
void lock_leave(Lock* lock);

class LockGuard {
public:
    explicit LockGuard(Lock* lock) : lock_(lock) { if (lock_) lock_enter(lock_); }
    ~LockGuard() { if (lock_) lock_leave(lock_); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    Lock* lock_;
};

// Runs init exactly once per guard, however many threads call at once; latecomers
// wait until the first caller has finished. A zeroed guard is ready for use.
struct RunOnceGuard {
    void* platform;          // the system's own run-once record, where it has one
    volatile std::int32_t state;  // 0 not started, 1 running, 2 done
};
using RunOnceFn = void (*)();
void run_once(RunOnceGuard* guard, RunOnceFn init);

// The interlocked-word version that run_once falls back to; public so it can be tested.
void run_once_interlocked(volatile std::int32_t* state, RunOnceFn init);
