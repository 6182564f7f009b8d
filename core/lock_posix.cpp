// The host build's locks, so that the platform-neutral toolkit runs and is tested there.
#ifndef _WIN32

#include "core/lock.h"

#include <pthread.h>
#include <sched.h>

static_assert(sizeof(pthread_mutex_t) <= sizeof(Lock::storage));

static pthread_mutex_t* mutex(Lock* lock)
{
    return reinterpret_cast<pthread_mutex_t*>(lock->storage);
}

void lock_init(Lock* lock) { pthread_mutex_init(mutex(lock), nullptr); }
void lock_destroy(Lock* lock) { pthread_mutex_destroy(mutex(lock)); }
void lock_enter(Lock* lock) { pthread_mutex_lock(mutex(lock)); }
void lock_leave(Lock* lock) { pthread_mutex_unlock(mutex(lock)); }

void run_once_interlocked(volatile std::int32_t* state, RunOnceFn init)
{
    std::int32_t expected = 0;
    if (__atomic_compare_exchange_n(state, &expected, 1, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE)) {
        init();
        __atomic_store_n(state, 2, __ATOMIC_RELEASE);
        return;
    }
    while (__atomic_load_n(state, __ATOMIC_ACQUIRE) != 2)
        sched_yield();
}

void run_once(RunOnceGuard* guard, RunOnceFn init)
{
    run_once_interlocked(&guard->state, init);
}

#endif
