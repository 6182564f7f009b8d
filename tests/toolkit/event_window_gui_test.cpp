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

    event_window_end();
    EXPECT_EQ(event_post_from_thread(EVENT_GADGET, 1, 3, 0, nullptr, nullptr), 0);
}

}  // namespace
