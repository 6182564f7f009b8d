#include "core/lock.h"

#include <windows.h>

static_assert(sizeof(CRITICAL_SECTION) <= sizeof(Lock::storage));
static_assert(sizeof(INIT_ONCE) == sizeof(void*));

static CRITICAL_SECTION* critical_section(Lock* lock)
{
    return reinterpret_cast<CRITICAL_SECTION*>(lock->storage);
}

void lock_init(Lock* lock) { InitializeCriticalSection(critical_section(lock)); }
void lock_destroy(Lock* lock) { DeleteCriticalSection(critical_section(lock)); }
void lock_enter(Lock* lock) { EnterCriticalSection(critical_section(lock)); }
void lock_leave(Lock* lock) { LeaveCriticalSection(critical_section(lock)); }

void run_once_interlocked(volatile std::int32_t* state, RunOnceFn init)
{
    if (InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(state), 1, 0) == 0) {
        init();
        InterlockedExchange(reinterpret_cast<volatile LONG*>(state), 2);
        return;
    }
    while (InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(state), 2, 2) != 2)
        Sleep(0);
}

namespace {

using InitOnceExecuteOnceFn = BOOL(WINAPI*)(PINIT_ONCE, PINIT_ONCE_FN, PVOID, LPVOID*);

BOOL CALLBACK run_once_callback(PINIT_ONCE, PVOID parameter, PVOID*)
{
    reinterpret_cast<RunOnceFn>(parameter)();
    return TRUE;
}

// Older systems lack the run-once facility, so it is looked up rather than linked.
InitOnceExecuteOnceFn find_init_once()
{
    HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
    if (!kernel)
        return nullptr;
    return reinterpret_cast<InitOnceExecuteOnceFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "InitOnceExecuteOnce")));
}

}  // namespace

void run_once(RunOnceGuard* guard, RunOnceFn init)
{
    static const InitOnceExecuteOnceFn init_once = find_init_once();
    if (init_once) {
        init_once(reinterpret_cast<PINIT_ONCE>(&guard->platform), run_once_callback,
                  reinterpret_cast<PVOID>(init), nullptr);
        return;
    }
    run_once_interlocked(&guard->state, init);
}
