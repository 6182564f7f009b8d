// Shared between the event queue and the binding registry.
#pragma once

#include "toolkit/event.h"

int event_bindings_start();

// The registry's key text of a binding ("event:window:object:type", decimal); returns
// its length. The buffer must hold EVENT_KEY_CAPACITY characters.
constexpr std::size_t EVENT_KEY_CAPACITY = 96;
std::size_t event_key_text(char* buffer, int event, ObjectNumber window, ObjectNumber object, int type);

// Runs the handlers of the five keys of an event, most specific first.
void event_run_handlers(int event, ObjectNumber window, ObjectNumber object, int type);
