// Shared between the event queue and the binding registry.
#pragma once

#include "toolkit/event.h"

int event_bindings_start();

// Runs the handlers of the five keys of an event, most specific first.
void event_run_handlers(int event, ObjectNumber window, ObjectNumber object, int type);
