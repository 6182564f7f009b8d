// Posts a million events with handlers bound on all five keys, taking each from the
// queue as the event loop does, and counts heap allocations in the steady state.
#include "toolkit/event.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

// Every heap allocation of the process passes through here (glibc lets the program
// interpose malloc), so the benchmark can prove that posting allocates nothing.
extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* block, std::size_t size);
static std::size_t g_allocations = 0;
extern "C" void* malloc(std::size_t size)
{
    ++g_allocations;
    return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size)
{
    ++g_allocations;
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* block, std::size_t size)
{
    ++g_allocations;
    return __libc_realloc(block, size);
}

namespace {

constexpr int EVENTS = 1000000;
constexpr ObjectNumber WINDOW = 1;
constexpr int CONTROLS = 8;

volatile long g_handled = 0;
void handler() { g_handled = g_handled + event_type() + 1; }

double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The reference: the same five handler calls made directly, with the same event
// fields read, so the ratio shows what queueing and key lookup add.
double run_direct()
{
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < EVENTS; ++i) {
        for (int key = 0; key < 5; ++key)
            handler();
    }
    return seconds_since(start);
}

double run_posted(bool pop_each)
{
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < EVENTS; ++i) {
        event_post(EVENT_GADGET, i % CONTROLS, WINDOW, EVENTTYPE_CHANGE);
        if (pop_each)
            event_pop();
    }
    while (event_pop()) {
    }
    return seconds_since(start);
}

}  // namespace

int main()
{
    event_start();
    for (ObjectNumber control = 0; control < CONTROLS; ++control) {
        event_bind(EVENT_GADGET, handler, WINDOW, control, EVENTTYPE_CHANGE);
        event_bind(EVENT_GADGET, handler, WINDOW, control, -1);
        event_bind(EVENT_GADGET, handler, -1, control, EVENTTYPE_CHANGE);
    }
    event_bind(EVENT_GADGET, handler, WINDOW, -1, -1);
    event_bind(EVENT_GADGET, handler, -1, -1, -1);

    run_posted(true);  // warm-up: the pool's chunk and every code path
    double direct = run_direct();
    std::size_t before = g_allocations;
    double popped = run_posted(true);
    std::size_t popped_allocations = g_allocations - before;
    before = g_allocations;
    double queued = run_posted(false);
    std::size_t queued_allocations = g_allocations - before;

    std::printf("%-44s %14s %12s %12s\n", "case (1,000,000 events, 5 keys bound)", "events/s", "ratio", "heap allocs");
    std::printf("%-44s %14.0f %12s %12s\n", "direct handler calls (reference)", EVENTS / direct, "1.00", "-");
    std::printf("%-44s %14.0f %12.2f %12zu\n", "post + pop each (the event loop)", EVENTS / popped, direct / popped,
                popped_allocations);
    std::printf("%-44s %14.0f %12.2f %12zu\n", "post all, then drain (queue of 1,000,000)", EVENTS / queued,
                direct / queued, queued_allocations);
    std::printf("ratio: speed relative to calling the same handlers directly (higher is better)\n");
    return popped_allocations == 0 ? 0 : 1;
}
