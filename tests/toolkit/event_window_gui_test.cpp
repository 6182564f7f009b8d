#include "toolkit/event_window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>
#include <vector>

namespace {

std::vector<ObjectNumber> g_objects;
std::vector<DWORD> g_threads;
int g_released = 0;

void on_posted()
{
    g_objects.push_back(event_control());
    g_threads.push_back(GetCurrentThreadId());
}

void release(void* data)
{
    ++g_released;
    delete static_cast<int*>(data);
}

// Pumps the UI thread's messages until the handler has seen `count` events.
bool pump_until(std::size_t count)
{
    DWORD deadline = GetTickCount() + 20000;
    MSG message;
    while (g_objects.size() < count && GetTickCount() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    return g_objects.size() == count;
}

TEST(EventWindowTest, AnotherThreadRaisesEventsOnTheUiThreadInOrderEvenWhenMuted)
{
    ASSERT_EQ(event_start(), 1);
    ASSERT_EQ(event_window_start(), 1);
    constexpr int COUNT = 500;
    event_bind(EVENT_GADGET, on_posted, 3, -1, -1);
    events_mute();

    std::thread poster([] {
        for (int i = 1; i <= COUNT; ++i)
            ASSERT_EQ(event_post_from_thread(EVENT_GADGET, i, 3, EVENTTYPE_CHANGE, new int(i), release), 1);
    });
    bool all_arrived = pump_until(COUNT);
    poster.join();
    events_unmute();

    ASSERT_TRUE(all_arrived);
    for (int i = 0; i < COUNT; ++i) {
        EXPECT_EQ(g_objects[i], i + 1);
        EXPECT_EQ(g_threads[i], GetCurrentThreadId());
    }
    // Every event was queued too; taking them releases their data.
    int popped = 0;
    while (event_pop())
        ++popped;
    EXPECT_EQ(popped, COUNT);
    EXPECT_EQ(g_released, COUNT);

}

// With the locking switch on, a plain event_post on a worker thread goes through the posting
// window: its handler runs on the UI thread, with the event's fields and data intact.
TEST(EventWindowTest, WithLockingAPostOnAWorkerRunsItsHandlersOnTheUiThread)
{
    ASSERT_EQ(event_start(), 1);
    ASSERT_EQ(event_window_start(), 1);
    while (event_pop()) {
    }
    g_objects.clear();
    g_threads.clear();
    static int seen_data = 0;
    static int seen_type = 0;
    event_bind(EVENT_GADGET, [] {
        on_posted();
        seen_data = *static_cast<int*>(event_data());
        seen_type = event_type();
    }, 7, 42, -1);
    event_set_locking(1);
    DWORD worker_thread = 0;
    std::thread worker([&worker_thread] {
        worker_thread = GetCurrentThreadId();
        event_post(EVENT_GADGET, 42, 7, EVENTTYPE_DRAG_START, new int(99), release, 0);
    });
    worker.join();
    EXPECT_TRUE(g_objects.empty());  // nothing ran on the worker
    bool arrived = pump_until(1);
    event_set_locking(0);

    ASSERT_TRUE(arrived);
    EXPECT_EQ(g_objects[0], 42);
    EXPECT_EQ(g_threads[0], GetCurrentThreadId());
    EXPECT_NE(g_threads[0], worker_thread);
    EXPECT_EQ(seen_data, 99);
    EXPECT_EQ(seen_type, EVENTTYPE_DRAG_START);
    EXPECT_EQ(event_pop(), EVENT_GADGET);
    EXPECT_EQ(event_window(), 7);
    EXPECT_EQ(event_control(), 42);

    event_window_end();
    EXPECT_EQ(event_post_from_thread(EVENT_GADGET, 1, 3, 0, nullptr, nullptr), 0);
}

}  // namespace
