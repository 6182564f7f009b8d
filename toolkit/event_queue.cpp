#include "toolkit/event.h"

#include "toolkit/event_internal.h"
#include "core/lock.h"
#include "core/pool.h"

#include <thread>

namespace {

struct QueuedEvent {
    QueuedEvent* next;
    int event;
    std::uint32_t flags;
    ObjectNumber object;
    ObjectNumber window;
    int type;
    void* data;
    EventDataRelease release;
};

struct CurrentEvent {
    int event;
    ObjectNumber window;
    ObjectNumber object;
    int type;
    void* data;
    EventDataRelease release;
};

struct EventState {
    QueuedEvent* head;
    QueuedEvent* tail;
    std::size_t length;
    BlockPool* pool;
    int mute_depth;
    CurrentEvent current;
    Lock queue_lock;
    bool locking;  // the process-wide switch: the queue is shared between threads
    std::thread::id owner;  // the thread that started the component: the UI thread
    EventForeignPost foreign_post;
};

EventState* g_events = nullptr;

void release_data(void* data, EventDataRelease release)
{
    if (data && release)
        release(data);
}

// Coalescing keeps repeated identical notifications to one queue entry. Events from
// 0x10000 on are never merged, nor are deferred ones, whose handlers run at the pop.
bool coalesces(const QueuedEvent* last, int event, ObjectNumber object, ObjectNumber window, int type,
               std::uint32_t flags)
{
    return last && last->event == event && last->object == object && last->window == window && last->type == type
           && event < 0x10000 && !(flags & EVENT_FLAG_DEFERRED);
}

bool enqueue(int event, ObjectNumber object, ObjectNumber window, int type, void* data, EventDataRelease release,
             std::uint32_t flags)
{
    auto* node = static_cast<QueuedEvent*>(pool_alloc(g_events->pool));
    if (!node)
        return false;
    *node = QueuedEvent{nullptr, event, flags, object, window, type, data, release};
    if (g_events->tail)
        g_events->tail->next = node;
    else
        g_events->head = node;
    g_events->tail = node;
    ++g_events->length;
    return true;
}

void dispatch(const CurrentEvent& event)
{
    CurrentEvent saved = g_events->current;
    g_events->current = event;
    event_run_handlers(event.event, event.window, event.object, event.type);
    g_events->current = saved;
}

// Held around every change of the queue while the switch is on; a null lock does nothing.
Lock* queue_lock()
{
    return g_events->locking ? &g_events->queue_lock : nullptr;
}

bool matches(ObjectNumber pattern, ObjectNumber value)
{
    return pattern == -1 || pattern == value;
}

// A post from another thread while the switch is on: handed to the platform's posting
// hook, or else queued to run its handlers when the UI thread takes it. Either way its
// handlers and the current event stay on the UI thread.
void post_foreign(int event, ObjectNumber object, ObjectNumber window, int type, void* data,
                  EventDataRelease release, std::uint32_t flags)
{
    EventForeignPost hook = g_events->foreign_post;
    if (hook && hook(event, object, window, type, data, release, flags))
        return;
    bool queued = false;
    {
        LockGuard guard(&g_events->queue_lock);
        queued = enqueue(event, object, window, type, data, release, flags | EVENT_FLAG_DEFERRED);
    }
    if (!queued)
        release_data(data, release);
}

}  // namespace

int event_start()
{
    if (g_events)
        return 1;
    g_events = static_cast<EventState*>(state_block_new(sizeof(EventState), nullptr));
    if (!g_events)
        return 0;
    g_events->pool = pool_new(sizeof(QueuedEvent), 16, 256, 0);
    g_events->current.type = -1;
    lock_init(&g_events->queue_lock);
    g_events->owner = std::this_thread::get_id();
    return g_events->pool && event_bindings_start();
}

void event_post(int event, ObjectNumber object, ObjectNumber window, int type, void* data,
                EventDataRelease release, std::uint32_t flags)
{
    if (g_events && g_events->locking && std::this_thread::get_id() != g_events->owner) {
        post_foreign(event, object, window, type, data, release, flags);
        return;
    }
    if (!g_events || (g_events->mute_depth > 0 && !(flags & EVENT_FLAG_UNMUTED))) {
        release_data(data, release);
        return;
    }
    bool queued = false;
    {
        LockGuard guard(queue_lock());
        if (!coalesces(g_events->tail, event, object, window, type, flags))
            queued = enqueue(event, object, window, type, data, release, flags);
    }
    if (flags & EVENT_FLAG_DEFERRED) {
        if (!queued)
            release_data(data, release);
        return;
    }
    // Handlers see the data; a queued entry keeps it, otherwise it is released now.
    dispatch(CurrentEvent{event, window, object, type, data, nullptr});
    if (!queued)
        release_data(data, release);
}

void event_post(int event, ObjectNumber object, ObjectNumber window, int type)
{
    event_post(event, object, window, type, nullptr, nullptr, 0);
}

void event_unqueue(int event, ObjectNumber object, ObjectNumber window, int type)
{
    if (!g_events)
        return;
    LockGuard guard(queue_lock());
    QueuedEvent* previous = nullptr;
    QueuedEvent* node = g_events->head;
    while (node) {
        QueuedEvent* next = node->next;
        if (matches(event, node->event) && matches(object, node->object) && matches(window, node->window)
            && matches(type, node->type)) {
            if (previous)
                previous->next = next;
            else
                g_events->head = next;
            if (g_events->tail == node)
                g_events->tail = previous;
            --g_events->length;
            release_data(node->data, node->release);
            pool_release(node);
        } else {
            previous = node;
        }
        node = next;
    }
}

int event_pop()
{
    if (!g_events)
        return 0;
    CurrentEvent& current = g_events->current;
    current.event = 0;
    release_data(current.data, current.release);
    current.data = nullptr;
    current.release = nullptr;
    current.type = -1;
    std::uint32_t flags = 0;
    int taken = 0;
    {
        LockGuard guard(queue_lock());
        QueuedEvent* node = g_events->head;
        if (!node)
            return 0;
        g_events->head = node->next;
        if (!g_events->head)
            g_events->tail = nullptr;
        --g_events->length;
        current = CurrentEvent{node->event, node->window, node->object, node->type, node->data, node->release};
        taken = node->event;
        flags = node->flags;
        pool_release(node);
    }
    if (flags & EVENT_FLAG_DEFERRED)
        event_run_handlers(current.event, current.window, current.object, current.type);
    return taken;
}

void events_mute()
{
    if (g_events)
        ++g_events->mute_depth;
}

void events_unmute()
{
    if (g_events && g_events->mute_depth > 0)
        --g_events->mute_depth;
}

int event_number() { return g_events ? g_events->current.event : 0; }
ObjectNumber event_window() { return g_events ? g_events->current.window : 0; }
ObjectNumber event_control() { return g_events ? g_events->current.object : 0; }
ObjectNumber event_item() { return g_events ? g_events->current.object : 0; }
int event_type() { return g_events ? g_events->current.type : -1; }
void* event_data() { return g_events ? g_events->current.data : nullptr; }

void event_set_foreign_post(EventForeignPost hook)
{
    if (g_events)
        g_events->foreign_post = hook;
}

void event_set_locking(int on)
{
    if (g_events)
        g_events->locking = on != 0;
}

std::size_t event_queue_length()
{
    return g_events ? g_events->length : 0;
}
