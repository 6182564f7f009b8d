// Option buttons (kind 5): of a group of options at most one is selected. A group needs no
// object of its own: an option starts a new group exactly when the control made before it
// was not an option. A click selects through the platform and raises EVENT_GADGET with
// type 0; the state is 1 when selected, else 0.
#pragma once

#include "core/object.h"

constexpr int CONTROL_KIND_OPTION = 5;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber option_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text);
