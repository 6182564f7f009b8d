// Listviews (kind 6): list boxes of text items with optional item data. A selection change
// raises type 0, a double click type 2, a right-button release type 1, and dragging a
// pressed item EVENTTYPE_DRAG_START.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr std::uint32_t GK_ListView_ClickSelect = 8;
constexpr std::uint32_t GK_ListView_MultiSelect = 0x800;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber listview_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);
