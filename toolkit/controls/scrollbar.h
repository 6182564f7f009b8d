// Scroll bars (kind 15): a platform scroll bar standing alone. The state is its position;
// attributes 1 and 2 are the range's ends and 3 the page length. The user's scrolling
// (arrows, trough, thumb, keys) moves the position and raises EVENT_GADGET type 0.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_SCROLLBAR = 15;

constexpr std::uint32_t GK_ScrollBar_Vertical = 0x1;

// Attributes of control_get_attribute and control_set_attribute; others read 0.
constexpr int SCROLLBAR_MINIMUM = 1;
constexpr int SCROLLBAR_MAXIMUM = 2;
constexpr int SCROLLBAR_PAGE = 3;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. A maximum below the
// minimum, or more than INT_MAX above it, is cut to fit; a negative page counts as 0.
ObjectNumber scrollbar_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                              int page, std::uint32_t flags);
