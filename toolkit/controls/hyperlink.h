// Hyperlinks (kind 48): a text in the given colour (a COLORREF, taken unchanged; the front
// colour afterwards), underlined with GK_HyperLink_Underline, with the hand pointer over
// it. A left click raises EVENT_GADGET type 0. Its natural size is that of a text.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_HYPERLINK = 48;

constexpr std::uint32_t GK_HyperLink_Underline = 0x1;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber hyperlink_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                              std::int32_t color, std::uint32_t flags);
