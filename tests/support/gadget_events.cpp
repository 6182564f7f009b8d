#ifdef _WIN32

#include "tests/support/gadget_events.h"

#include "toolkit/event.h"

std::vector<std::pair<ObjectNumber, int>> g_gadget_events;

void record_gadget_event()
{
    g_gadget_events.emplace_back(event_control(), event_type());
}

int count_events(ObjectNumber control, int type)
{
    int count = 0;
    for (const auto& [object, event_type] : g_gadget_events)
        count += object == control && event_type == type ? 1 : 0;
    return count;
}

#endif
