// Scroll areas (kind 16): a window with scroll bars over an inner window that may be larger
// and is scrolled by the bars, the keys (Page Up and Down, Home, End, arrows) and the mouse
// wheel. Creating one makes the inner window the current container; the creator closes it
// with container_close_list.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_SCROLLAREA = 16;

constexpr std::uint32_t GK_ScrollArea_Flat = 0x1;
constexpr std::uint32_t GK_ScrollArea_Raised = 0x2;
constexpr std::uint32_t GK_ScrollArea_Single = 0x4;
constexpr std::uint32_t GK_ScrollArea_BorderLess = 0x8;
constexpr std::uint32_t GK_ScrollArea_Center = 0x10;

// Attributes of control_get_attribute and control_set_attribute.
constexpr int SCROLLAREA_INNER_WIDTH = 1;
constexpr int SCROLLAREA_INNER_HEIGHT = 2;
constexpr int SCROLLAREA_X = 3;
constexpr int SCROLLAREA_Y = 4;
constexpr int SCROLLAREA_STEP = 5;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. `step` is the
// number of pixels a line (an arrow key, a wheel notch) scrolls.
ObjectNumber scrollarea_create(ObjectNumber number, int x, int y, int width, int height, int inner_width,
                               int inner_height, int step, std::uint32_t flags);
