// The hidden posting window: the one way for other threads to raise events. The event
// is posted on the thread that runs the event loop, even while events are muted.
#pragma once

#include "toolkit/event.h"

// Registers the window class and message and creates the hidden window; the thread
// that calls it must be the one that pumps messages. Returns 0 on failure.
int event_window_start();
void event_window_end();

// Callable from any thread. Returns 0 when the event could not be handed over; the
// data then stays the caller's.
int event_post_from_thread(int event, ObjectNumber object, ObjectNumber window, int type, void* data,
                           EventDataRelease release);
