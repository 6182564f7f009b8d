// Panels (kind 28): tab controls whose every tab has a page that holds controls. Creating a
// panel pushes it as the current container; adding a tab makes the new page the current
// container, so the controls created next land on that tab. A tab chosen by the user raises
// EVENTTYPE_CHANGE, a click on the tab strip PANEL_EVENTTYPE_TAB_CLICK, a resized page
// EVENTTYPE_TAB_RESIZE.
#pragma once

#include "core/object.h"

// Attributes of control_get_attribute (0 while the panel has no tab).
constexpr int PANEL_ATTRIBUTE_PAGE_WIDTH = 1;
constexpr int PANEL_ATTRIBUTE_PAGE_HEIGHT = 2;
constexpr int PANEL_ATTRIBUTE_TAB_HEIGHT = 3;

// The event type of a click on the tab strip.
constexpr int PANEL_EVENTTYPE_TAB_CLICK = 1;

// container_open_list item that pushes the panel itself.
constexpr int PANEL_ITEM_SELF = -2;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber panel_create(ObjectNumber number, int x, int y, int width, int height);

// Shows the page `step` tabs on from the shown one (wrapping around) as a user's choice would,
// raising EVENTTYPE_CHANGE. Returns 0 when the panel has fewer than two tabs.
int panel_turn_page(ObjectNumber panel, int step);
