// Containers (kind 11): plain child windows that new controls go into, with an optional
// border and back colour. Creating one makes it the current container; the creator closes
// it with container_close_list. Every resize raises EVENT_GADGET with types 0 and 6, even
// while events are muted, so that whoever lays out its content hears of the new size.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_CONTAINER = 11;

constexpr std::uint32_t GK_Container_BorderLess = 0x0;
constexpr std::uint32_t GK_Container_Flat = 0x1;
constexpr std::uint32_t GK_Container_Raised = 0x2;
constexpr std::uint32_t GK_Container_Single = 0x4;
constexpr std::uint32_t GK_Container_Double = 0x8;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber container_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);
