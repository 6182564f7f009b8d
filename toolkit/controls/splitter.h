// Splitters (kind 29): two existing controls side by side (vertical) or one above the other,
// with a separator between them that the user drags. The state is the first part's length;
// attributes 1 and 2 are the parts' minimum lengths (the first wins when both cannot be met),
// 3 and 4 the controls in the parts (setting one replaces that control).
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_SPLITTER = 29;

constexpr std::uint32_t GK_Splitter_Vertical = 0x1;
constexpr std::uint32_t GK_Splitter_Separator = 0x2;
constexpr std::uint32_t GK_Splitter_FirstFixed = 0x4;
constexpr std::uint32_t GK_Splitter_SecondFixed = 0x8;

constexpr int SPLITTER_FIRST_MINIMUM = 1;
constexpr int SPLITTER_SECOND_MINIMUM = 2;
constexpr int SPLITTER_FIRST_CONTROL = 3;
constexpr int SPLITTER_SECOND_CONTROL = 4;

// The separator's thickness with and without GK_Splitter_Separator.
constexpr int SPLITTER_WIDE_SEPARATOR = 7;
constexpr int SPLITTER_NARROW_SEPARATOR = 4;

// Makes the splitter the parent of both controls and gives each half the room. Returns the
// number for GK_ANY, else the platform handle; 0 on failure (also for unknown controls).
ObjectNumber splitter_create(ObjectNumber number, int x, int y, int width, int height, ObjectNumber first,
                             ObjectNumber second, std::uint32_t flags);
