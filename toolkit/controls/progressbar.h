// Progress bars (kind 14): the platform's progress bar. The state is the position, or -1 for
// an indeterminate bar whose marquee runs; attributes 1 and 2 are the range's ends. Colour 1
// is the bar, 2 the background (-1 the platform's own), read back as given. A progress bar
// raises no events.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_PROGRESSBAR = 14;

constexpr std::uint32_t GK_ProgressBar_Smooth = 0x1;
constexpr std::uint32_t GK_ProgressBar_Vertical = 0x4;

constexpr int PROGRESSBAR_MINIMUM = 1;
constexpr int PROGRESSBAR_MAXIMUM = 2;

// The state of an indeterminate bar.
constexpr int PROGRESSBAR_MARQUEE = -1;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber progressbar_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                                std::uint32_t flags);
