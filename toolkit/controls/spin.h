// Spin controls (kind 26): a one-line field with an up-down arrow pair beside it. The two
// platform windows move, show, enable and go together; the field carries the control, the
// arrows are its companion and carry its number in GK_ID. The arrows move a number, the
// state, within the range; what the field shows is the program's (or, with
// GK_Spin_Numeric, that number). Attributes 1 and 2 are the range's minimum and maximum.
//
// Events: EVENT_GADGET with SPIN_EVENT_UP when the arrows move the number up, SPIN_EVENT_DOWN
// when they move it down, EVENTTYPE_CHANGE when the field's text changes.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_SPIN = 26;

constexpr std::uint32_t GK_Spin_ReadOnly = 0x1;
constexpr std::uint32_t GK_Spin_Numeric = 0x2;

constexpr int SPIN_MINIMUM = 1;
constexpr int SPIN_MAXIMUM = 2;

constexpr int SPIN_EVENT_UP = 4;
constexpr int SPIN_EVENT_DOWN = 5;

// Returns the number for GK_ANY, else the field's platform handle; 0 on failure.
ObjectNumber spin_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                         std::uint32_t flags);

// The arrows' platform window, or null when the control is not a spin control.
void* spin_arrows_handle(ObjectNumber control);
