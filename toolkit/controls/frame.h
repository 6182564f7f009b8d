// Frames (kind 7): a group box with its caption, or, with a flag, a bare static frame that
// draws only its border. A frame is not a container: the controls it marks are siblings
// placed over it.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_FRAME = 7;

constexpr std::uint32_t GK_Frame_Double = 0x1;
constexpr std::uint32_t GK_Frame_Single = 0x2;
constexpr std::uint32_t GK_Frame_Flat = 0x3;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber frame_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                          std::uint32_t flags);
