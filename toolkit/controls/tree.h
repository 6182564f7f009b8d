// Trees (kind 44): items listed depth first, each added with a level (the `flags` argument
// of control_add_item) at most one under the item before it; positions count the items in
// that order, and removing an item removes the items under it. The state is the selected
// item or -1. Item states are the sum of TREE_SELECTED, TREE_EXPANDED, TREE_CHECKED,
// TREE_COLLAPSED and TREE_INBETWEEN; with GK_Tree_ThreeState a click on an item's check
// box goes unchecked, checked, in between and back. Real input raises the list icon's
// events: left click 0, right click 1, left double click 2, right double click 3, a changed
// selection or check box EVENTTYPE_CHANGE, dragging an item EVENTTYPE_DRAG_START. Items
// show their images as the list icon's rows do.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_TREE = 44;

constexpr std::uint32_t GK_Tree_NoButtons = 0x1;
constexpr std::uint32_t GK_Tree_NoLines = 0x2;
constexpr std::uint32_t GK_Tree_AlwaysShowSelection = 0x20;
constexpr std::uint32_t GK_Tree_CheckBoxes = 0x100;
constexpr std::uint32_t GK_Tree_ThreeState = 0x10000;

constexpr int TREE_SELECTED = 1;
constexpr int TREE_EXPANDED = 2;
constexpr int TREE_CHECKED = 4;
constexpr int TREE_COLLAPSED = 8;
constexpr int TREE_INBETWEEN = 16;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber tree_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);

// The item's level (0 at the top), -1 for a control that is no tree or an item it lacks.
int tree_item_level(ObjectNumber control, int index);
