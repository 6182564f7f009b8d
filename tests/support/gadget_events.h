// Records the EVENT_GADGET events of a test window, for GUI tests of the toolkit's controls.
#pragma once

#ifdef _WIN32

#include "core/object.h"

#include <utility>
#include <vector>

// Every recorded EVENT_GADGET, as (control, type), in the order handlers ran.
extern std::vector<std::pair<ObjectNumber, int>> g_gadget_events;

// The handler to bind: appends the current event to g_gadget_events.
void record_gadget_event();
// How many recorded events the control raised with that type.
int count_events(ObjectNumber control, int type);

#endif
