// Check boxes (kind 4): two states that the platform toggles by itself, or three states,
// where a click toggles between checked and unchecked and only the program sets the
// indeterminate one. A click raises EVENT_GADGET with type 0.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_CHECKBOX = 4;

constexpr std::uint32_t GK_CheckBox_Right = 0x200;
constexpr std::uint32_t GK_CheckBox_Center = 0x300;
constexpr std::uint32_t GK_CheckBox_ThreeState = 0x5;

// The states control_get_state reads and control_set_state takes (any other non-zero value
// checks; -1 on a two-state box checks too).
constexpr int CHECKBOX_UNCHECKED = 0;
constexpr int CHECKBOX_CHECKED = 1;
constexpr int CHECKBOX_INDETERMINATE = -1;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber checkbox_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                             std::uint32_t flags);
