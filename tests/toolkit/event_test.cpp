#include "toolkit/event.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> g_calls;

void record(const char* name)
{
    g_calls.push_back(std::string(name) + "@" + std::to_string(event_control()) + "/" + std::to_string(event_type()));
}

void handler_a() { record("a"); }
void handler_b() { record("b"); }
void handler_c() { record("c"); }
void handler_d() { record("d"); }
void handler_e() { record("e"); }

class EventTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(event_start(), 1);
        while (event_pop()) {
        }
        g_calls.clear();
    }
    void TearDown() override
    {
        for (ObjectNumber window : {ObjectNumber(-1), ObjectNumber(1), ObjectNumber(2), ObjectNumber(3)})
            event_unbind_all_of_window(window);
        while (event_pop()) {
        }
        ASSERT_EQ(event_binding_count(), 0u);
    }
};

TEST_F(EventTest, BindingsAreFoundByTheirWholeKey)
{
    // Keys whose numbers would run together without a boundary between them.
    event_bind_item(EVENT_MENU, handler_a, 1, 23);
    event_bind_item(EVENT_MENU, handler_b, 12, 3);
    event_post(EVENT_MENU, 23, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a@23/0"}));
    g_calls.clear();
    event_post(EVENT_MENU, 3, 12, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"b@3/0"}));
    g_calls.clear();
    // Dynamic window numbers that differ only above their low 32 bits.
    const ObjectNumber window = ObjectNumber(0x7fff12345678);
    const ObjectNumber twin = ObjectNumber(0x7ffe12345678);
    event_bind_window(EVENT_GADGET, handler_c, window);
    event_post(EVENT_GADGET, 4, twin, 768);
    EXPECT_TRUE(g_calls.empty());
    event_post(EVENT_GADGET, 4, window, 768);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"c@4/768"}));
    for (ObjectNumber bound : {ObjectNumber(12), window})
        event_unbind_all_of_window(bound);
}

TEST_F(EventTest, FiveKeysRunMostSpecificFirstAndOthersNot)
{
    event_bind(EVENT_GADGET, handler_e, -1, 5, 768);
    event_bind(EVENT_GADGET, handler_d, -1, -1, -1);
    event_bind(EVENT_GADGET, handler_c, 1, -1, -1);
    event_bind(EVENT_GADGET, handler_b, 1, 5, -1);
    event_bind(EVENT_GADGET, handler_a, 1, 5, 768);
    event_bind(EVENT_GADGET, handler_a, 2, 5, 768);  // another window
    event_bind(EVENT_MENU, handler_a, 1, 5, 768);    // another event
    event_post(EVENT_GADGET, 5, 1, 768);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a@5/768", "b@5/768", "c@5/768", "d@5/768", "e@5/768"}));
    g_calls.clear();
    event_post(EVENT_GADGET, 5, 3, 768);  // the object key runs in every window
    EXPECT_EQ(g_calls, (std::vector<std::string>{"d@5/768", "e@5/768"}));
    event_unbind(EVENT_MENU, handler_a, 1, 5, 768);
}

TEST_F(EventTest, ItemBindingRunsOnceThenTheWindowBinding)
{
    event_bind_item(EVENT_MENU, handler_a, 1, 2);
    event_bind_window(EVENT_MENU, handler_b, 1);
    event_post(EVENT_MENU, 2, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a@2/0", "b@2/0"}));
    g_calls.clear();
    event_post(EVENT_MENU, 3, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"b@3/0"}));
}

TEST_F(EventTest, NewestBindingFirstAndDoubleBindingRunsTwice)
{
    event_bind_window(EVENT_TIMER, handler_a, 1);
    event_bind_window(EVENT_TIMER, handler_b, 1);
    event_bind_window(EVENT_TIMER, handler_a, 1);
    event_post(EVENT_TIMER, 0, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a@0/0", "b@0/0", "a@0/0"}));
    EXPECT_EQ(event_unbind_window(EVENT_TIMER, handler_a, 1), 1);
    g_calls.clear();
    event_post(EVENT_TIMER, 0, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"b@0/0", "a@0/0"}));
}

TEST_F(EventTest, UnbindNeedsTheExactKey)
{
    event_bind(EVENT_GADGET, handler_a, 1, 4, -1);
    EXPECT_EQ(event_unbind(EVENT_GADGET, handler_a, 1, 4, 0), 0);
    EXPECT_EQ(event_unbind(EVENT_GADGET, handler_b, 1, 4, -1), 0);
    EXPECT_EQ(event_unbind(EVENT_GADGET, handler_a, 1, 4, -1), 1);
    EXPECT_EQ(event_unbind(EVENT_GADGET, handler_a, 1, 4, -1), 0);
    EXPECT_EQ(event_binding_count(), 0u);
}

TEST_F(EventTest, MutedPostsRaiseNothingUnlessFlagged)
{
    event_bind_window(EVENT_GADGET, handler_a, 1);
    events_mute();
    events_mute();
    event_post(EVENT_GADGET, 4, 1, 768);
    events_unmute();
    event_post(EVENT_GADGET, 4, 1, 768);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(event_queue_length(), 0u);
    event_post(EVENT_GADGET, 4, 1, 768, nullptr, nullptr, EVENT_FLAG_UNMUTED);
    EXPECT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(event_queue_length(), 1u);
    events_unmute();
}

TEST_F(EventTest, MutedScopeMutesUntilItEnds)
{
    event_bind_window(EVENT_GADGET, handler_a, 1);
    {
        MutedScope outer;
        {
            MutedScope inner;
            event_post(EVENT_GADGET, 4, 1, 768);
        }
        event_post(EVENT_GADGET, 5, 1, 768);
        EXPECT_TRUE(g_calls.empty());
    }
    event_post(EVENT_GADGET, 6, 1, 768);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a@6/768"}));
    EXPECT_EQ(event_queue_length(), 1u);
}

TEST_F(EventTest, RepeatedPostsCoalesceButHandlersRunEachTime)
{
    event_bind_window(EVENT_GADGET, handler_a, 1);
    event_post(EVENT_GADGET, 4, 1, 768);
    event_post(EVENT_GADGET, 4, 1, 768);
    EXPECT_EQ(event_queue_length(), 1u);
    EXPECT_EQ(g_calls.size(), 2u);
    event_post(EVENT_GADGET, 4, 1, 1024);
    event_post(EVENT_GADGET, 4, 1, 768);  // not the last one: a new entry
    EXPECT_EQ(event_queue_length(), 3u);
    event_post(0x10000, 4, 1, 0);
    event_post(0x10000, 4, 1, 0);  // high event numbers never merge
    EXPECT_EQ(event_queue_length(), 5u);
}

TEST_F(EventTest, PopTakesEventsInOrderAndKeepsLastWindowWhenEmpty)
{
    event_post(EVENT_MENU, 9, 2, 0);
    event_post(EVENT_CLOSE_WINDOW, 2, 2, 0);
    EXPECT_EQ(event_pop(), EVENT_MENU);
    EXPECT_EQ(event_item(), 9);
    EXPECT_EQ(event_control(), 9);  // the synonym
    EXPECT_EQ(event_window(), 2);
    EXPECT_EQ(event_type(), 0);
    EXPECT_EQ(event_pop(), EVENT_CLOSE_WINDOW);
    EXPECT_EQ(event_pop(), 0);
    EXPECT_EQ(event_number(), 0);
    EXPECT_EQ(event_type(), -1);
    EXPECT_EQ(event_window(), 2);
}

TEST_F(EventTest, UnqueueRemovesEveryMatchAndKeepsTheRestInOrder)
{
    event_post(EVENT_SIZE_WINDOW, 0, 1, 0);
    event_post(EVENT_GADGET, 5, 1, 768);
    event_post(EVENT_SIZE_WINDOW, 0, 2, 0);
    event_post(EVENT_GADGET, 6, 1, 768);
    event_post(EVENT_SIZE_WINDOW, 0, 1, 0);
    event_unqueue(EVENT_SIZE_WINDOW, -1, 1, -1);
    event_unqueue(EVENT_GADGET, 5, -1, -1);
    ASSERT_EQ(event_queue_length(), 2u);
    EXPECT_EQ(event_pop(), EVENT_SIZE_WINDOW);
    EXPECT_EQ(event_window(), 2);
    EXPECT_EQ(event_pop(), EVENT_GADGET);
    EXPECT_EQ(event_control(), 6);
    // The tail moved correctly: a new post after unqueueing the last entry still queues.
    event_post(EVENT_MENU, 1, 1, 0);
    event_unqueue(-1, -1, -1, -1);
    event_post(EVENT_MENU, 1, 1, 0);
    EXPECT_EQ(event_pop(), EVENT_MENU);
}

int g_releases = 0;
void release_counter(void* data)
{
    ++g_releases;
    delete static_cast<int*>(data);
}

int g_seen_data = 0;
void read_data() { g_seen_data = *static_cast<int*>(event_data()); }

TEST_F(EventTest, DataIsReleasedExactlyOnceWhateverHappensToTheEvent)
{
    g_releases = 0;
    event_bind_window(EVENT_GADGET, read_data, 1);
    event_post(EVENT_GADGET, 1, 1, 0, new int(41), release_counter, 0);
    EXPECT_EQ(g_seen_data, 41);
    event_post(EVENT_GADGET, 1, 1, 0, new int(42), release_counter, 0);  // coalesced: released now
    EXPECT_EQ(g_seen_data, 42);
    EXPECT_EQ(g_releases, 1);
    events_mute();
    event_post(EVENT_GADGET, 2, 1, 0, new int(43), release_counter, 0);  // dropped
    events_unmute();
    EXPECT_EQ(g_releases, 2);
    event_post(EVENT_GADGET, 3, 1, 0, new int(44), release_counter, 0);
    event_unqueue(EVENT_GADGET, 3, 1, -1);
    EXPECT_EQ(g_releases, 3);
    EXPECT_EQ(event_pop(), EVENT_GADGET);
    EXPECT_EQ(*static_cast<int*>(event_data()), 41);
    EXPECT_EQ(g_releases, 3);
    event_pop();
    EXPECT_EQ(g_releases, 4);
}

TEST_F(EventTest, DeferredEventsRunTheirHandlersWhenTaken)
{
    event_bind_window(EVENT_TIMER, handler_a, 1);
    event_post(EVENT_TIMER, 8, 1, 0, nullptr, nullptr, EVENT_FLAG_DEFERRED);
    event_post(EVENT_TIMER, 8, 1, 0, nullptr, nullptr, EVENT_FLAG_DEFERRED);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(event_queue_length(), 2u);
    EXPECT_EQ(event_pop(), EVENT_TIMER);
    EXPECT_EQ(g_calls.size(), 1u);
}

void unbind_self()
{
    record("self");
    event_unbind_window(EVENT_GADGET, unbind_self, 1);
}

void unbind_next()
{
    record("first");
    event_unbind_window(EVENT_GADGET, handler_b, 1);
}

TEST_F(EventTest, HandlerThatUnbindsItselfFinishesAndIsNotCalledAgain)
{
    event_bind_window(EVENT_GADGET, unbind_self, 1);
    event_post(EVENT_GADGET, 1, 1, 0);
    event_post(EVENT_GADGET, 1, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"self@1/0"}));
    EXPECT_EQ(event_binding_count(), 0u);
}

TEST_F(EventTest, HandlerUnboundEarlierInTheSameWalkIsSkipped)
{
    event_bind_window(EVENT_GADGET, handler_b, 1);
    event_bind_window(EVENT_GADGET, unbind_next, 1);
    event_post(EVENT_GADGET, 1, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"first@1/0"}));
    event_unbind_window(EVENT_GADGET, unbind_next, 1);
}

int g_depth = 0;
void reenter()
{
    record("outer");
    if (g_depth++ < 3)
        event_post(EVENT_GADGET, event_control() + 1, 1, 0);
    // The nested post restored the current event: this handler still sees its own.
    record("after");
}

void close_window_from_handler()
{
    record("closer");
    event_unbind_all_of_window(1);
}

TEST_F(EventTest, HandlersMayPostReentrantlyAndSeeTheirOwnEvent)
{
    g_depth = 0;
    event_bind_window(EVENT_GADGET, reenter, 1);
    event_post(EVENT_GADGET, 1, 1, 0);
    ASSERT_EQ(g_calls.size(), 8u);
    EXPECT_EQ(g_calls.front(), "outer@1/0");
    EXPECT_EQ(g_calls.back(), "after@1/0");
    EXPECT_EQ(g_calls[4], "after@4/0");
}

TEST_F(EventTest, ClosingAWindowInsideItsOwnHandlerIsSafe)
{
    event_bind_window(EVENT_GADGET, handler_a, 1);
    event_bind_window(EVENT_GADGET, close_window_from_handler, 1);
    event_bind(EVENT_GADGET, handler_b, 1, 1, 0);
    event_post(EVENT_GADGET, 1, 1, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"b@1/0", "closer@1/0"}));
    EXPECT_EQ(event_binding_count(), 0u);
}

}  // namespace

// With the switch on, two threads posting while a third takes events lose no event and
// corrupt nothing: every event is queued and taken exactly once.
TEST(EventLocking, PostsFromTwoThreadsAreAllQueuedOnce)
{
    ASSERT_EQ(event_start(), 1);
    while (event_pop()) {
    }
    event_set_locking(1);
    constexpr int PER_THREAD = 20000;
    auto post_many = [](ObjectNumber window) {
        for (int i = 0; i < PER_THREAD; ++i)
            event_post(EVENT_GADGET, i, window, 0);
    };
    std::thread first(post_many, 1);
    std::thread second(post_many, 2);
    int taken = 0;
    while (taken < PER_THREAD)
        taken += event_pop() == EVENT_GADGET;
    first.join();
    second.join();
    while (event_pop() == EVENT_GADGET)
        ++taken;
    event_set_locking(0);
    EXPECT_EQ(taken, 2 * PER_THREAD);
    EXPECT_EQ(event_queue_length(), 0u);
}

// Without a posting hook, a post on another thread while the switch is on only queues the
// event; its handler runs on the taking thread when the event is popped.
TEST(EventLocking, APostFromAnotherThreadRunsItsHandlersOnlyWhenTaken)
{
    ASSERT_EQ(event_start(), 1);
    while (event_pop()) {
    }
    static std::thread::id ran_on;
    auto handler = [] { ran_on = std::this_thread::get_id(); };
    event_bind(EVENT_GADGET, handler, 9, 5, -1);
    event_set_locking(1);
    std::thread([] { event_post(EVENT_GADGET, 5, 9, 0); }).join();
    EXPECT_EQ(ran_on, std::thread::id());
    EXPECT_EQ(event_pop(), EVENT_GADGET);
    event_set_locking(0);
    EXPECT_EQ(ran_on, std::this_thread::get_id());
    EXPECT_EQ(event_control(), 5);
    event_unbind(EVENT_GADGET, handler, 9, 5, -1);
}
