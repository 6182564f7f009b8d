// Text labels (kind 3): a static text with optional colours; raises no events.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr std::uint32_t GK_Text_Center = 1;
constexpr std::uint32_t GK_Text_Right = 2;
constexpr std::uint32_t GK_Text_Border = 0x20000;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber text_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                         std::uint32_t flags);
