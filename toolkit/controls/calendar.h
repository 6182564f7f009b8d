// Calendars (kind 46): the platform's month calendar. The state is a DateValue: what the
// program set, or the day the user picked at midnight; attributes DATE_MINIMUM and
// DATE_MAXIMUM as for the date field. Picking another day by real input raises
// EVENTTYPE_CHANGE. Its natural size is the platform's minimum size.
#pragma once

#include "core/object.h"
#include "toolkit/controls/date.h"

#include <cstdint>

constexpr int CONTROL_KIND_CALENDAR = 46;

constexpr std::uint32_t GK_Calendar_Borderless = 0x800000;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. It starts on today.
ObjectNumber calendar_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);
