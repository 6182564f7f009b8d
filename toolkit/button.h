// Push buttons (kind 1): a click raises EVENT_GADGET with type 0; a toggle button keeps its
// pressed state as the control's state.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr std::uint32_t GK_Button_Default = 1;
constexpr std::uint32_t GK_Button_Left = 0x100;
constexpr std::uint32_t GK_Button_Right = 0x200;
constexpr std::uint32_t GK_Button_MultiLine = 0x2000;
constexpr std::uint32_t GK_Button_Toggle = 0x1003;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber button_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                           std::uint32_t flags);
