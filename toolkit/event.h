// Events: everything that happens to a window or its controls becomes one event,
// queued for the program's loop and, at the moment it is posted, handed to every
// handler bound to it.
#pragma once

#include "core/object.h"

#include <cstddef>
#include <cstdint>

constexpr int EVENT_GADGET = 13100;
constexpr int EVENT_MENU = 13101;
constexpr int EVENT_ACTIVATE_WINDOW = 13104;
constexpr int EVENT_MINIMIZE_WINDOW = 13107;
constexpr int EVENT_MAXIMIZE_WINDOW = 13108;
constexpr int EVENT_RESTORE_WINDOW = 13109;
constexpr int EVENT_TIMER = 13110;
constexpr int EVENT_RIGHT_CLICK = 13111;
constexpr int EVENT_LEFT_CLICK = 13112;
constexpr int EVENT_LEFT_DOUBLE_CLICK = 13113;
constexpr int EVENT_DEACTIVATE_WINDOW = 13114;
constexpr int EVENT_REPAINT_WINDOW = 13115;
constexpr int EVENT_CLOSE_WINDOW = 13116;
constexpr int EVENT_MOVE_WINDOW = 13117;
constexpr int EVENT_SIZE_WINDOW = 13118;

constexpr int EVENTTYPE_LEFT_CLICK = 0;
constexpr int EVENTTYPE_RIGHT_CLICK = 1;
constexpr int EVENTTYPE_LEFT_DOUBLE_CLICK = 2;
constexpr int EVENTTYPE_RIGHT_DOUBLE_CLICK = 3;
constexpr int EVENTTYPE_TAB_RESIZE = 6;
constexpr int EVENTTYPE_CHANGE = 768;
constexpr int EVENTTYPE_FOCUS = 14000;
constexpr int EVENTTYPE_LOST_FOCUS = 14001;
constexpr int EVENTTYPE_DRAG_START = 14002;

// Flags of event_post.
constexpr std::uint32_t EVENT_FLAG_UNMUTED = 1;  // post even while events are muted
constexpr std::uint32_t EVENT_FLAG_DEFERRED = 2; // run the handlers when taken from the queue

using EventHandler = void (*)();
using EventDataRelease = void (*)(void* data);

// Starts the event component: its state block, queue pool and binding registry.
// Returns 0 when memory runs out.
int event_start();

// Queues the event and runs its handlers. While muted (and without EVENT_FLAG_UNMUTED)
// nothing happens. Data that ends up in no queue entry is released once its handlers
// have run, so the caller never keeps ownership.
void event_post(int event, ObjectNumber object, ObjectNumber window, int type, void* data,
                EventDataRelease release, std::uint32_t flags);
void event_post(int event, ObjectNumber object, ObjectNumber window, int type);

// The process-wide switch (off by default): while on, posting, popping and unqueueing take
// one critical section, so that other threads may post directly. A post from a thread other
// than the one that called event_start never runs handlers or touches the current event on
// that thread: it goes to the foreign-post hook (on Windows the hidden posting window), or,
// without one, into the queue to have its handlers run when the UI thread takes it.
void event_set_locking(int on);

// Hands a post from another thread over to the UI thread; returns 0 when it could not, and
// the data then stays the caller's. Installed by the platform layer; null removes it.
using EventForeignPost = int (*)(int event, ObjectNumber object, ObjectNumber window, int type, void* data,
                                 EventDataRelease release, std::uint32_t flags);
void event_set_foreign_post(EventForeignPost hook);

// Removes every queued event that matches; -1 in the pattern matches anything.
void event_unqueue(int event, ObjectNumber object, ObjectNumber window, int type);

// Takes the next queued event into the current event and returns its number, or 0.
int event_pop();

// Muting nests: events post again once every mute has been undone.
void events_mute();
void events_unmute();

// Mutes events for its lifetime. Changes the program makes to a control run inside one,
// so that the control's own notifications of them raise nothing.
struct MutedScope {
    MutedScope() { events_mute(); }
    ~MutedScope() { events_unmute(); }
    MutedScope(const MutedScope&) = delete;
    MutedScope& operator=(const MutedScope&) = delete;
};

// The current event. event_control and event_item are synonyms the interface keeps (the
// event's object, a control or a menu item or timer; docs/architecture.md lists them).
int event_number();
ObjectNumber event_window();
ObjectNumber event_control();
ObjectNumber event_item();
int event_type();
void* event_data();

// Bindings: -1 in window, object or type means "any". Each returns 1, or 0 when the
// registry cannot store the key.
int event_bind(int event, EventHandler handler, ObjectNumber window, ObjectNumber object, int type);
int event_bind_window(int event, EventHandler handler, ObjectNumber window);
int event_bind_item(int event, EventHandler handler, ObjectNumber window, ObjectNumber item);
// EVENT_GADGET of the control, in the window the control sits in; type -1 for any. Returns 0
// for an unknown control. Windows only.
int event_bind_control(ObjectNumber control, EventHandler handler, int type = -1);

// A filter that event_wait offers every platform message before the accelerators; non-zero
// swallows the message. Null removes it. Windows only.
using EventMessageFilter = int (*)(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
void event_set_message_filter(EventMessageFilter filter);
// The installed filter, or null.
EventMessageFilter event_message_filter();
// The control kinds' own filter (the web view's), a slot apart from the program's so that
// neither replaces the other; event_wait offers a message to it first. Windows only.
void event_set_control_filter(EventMessageFilter filter);
EventMessageFilter event_control_filter();

// Return 1 when the handler was bound under exactly that key.
int event_unbind(int event, EventHandler handler, ObjectNumber window, ObjectNumber object, int type);
int event_unbind_window(int event, EventHandler handler, ObjectNumber window);

// Deletes every binding made for the window, when it closes.
void event_unbind_all_of_window(ObjectNumber window);
// Deletes every binding of the event made for the object, in any window: a control with a
// dynamic number drops its bindings when freed, so that a later control given the same
// number does not inherit them.
void event_unbind_all_of_object(int event, ObjectNumber object);

// For tests and benchmarks: how many queued events and registry entries exist.
std::size_t event_queue_length();
std::size_t event_binding_count();
