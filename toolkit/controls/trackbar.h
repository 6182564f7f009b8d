// Track bars (kind 17): the platform's slider. The state is the value, counted from the
// minimum at the left or, for a vertical bar, at the bottom; attributes 1 and 2 are the
// range's ends, never below 0, and the value stays when an end changes. Moving the thumb
// raises EVENT_GADGET type 0.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_TRACKBAR = 17;

constexpr std::uint32_t GK_TrackBar_Ticks = 0x1;
constexpr std::uint32_t GK_TrackBar_Vertical = 0x2;

constexpr int TRACKBAR_MINIMUM = 1;
constexpr int TRACKBAR_MAXIMUM = 2;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. A negative end
// counts as 0; the value starts at 0.
ObjectNumber trackbar_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                             std::uint32_t flags);
