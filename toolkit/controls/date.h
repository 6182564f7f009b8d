// Date fields (kind 47): the platform's date picker. The state is a DateValue (-1 for none:
// a field with GK_Date_CheckBox that is unchecked); attributes DATE_MINIMUM and
// DATE_MAXIMUM are the lowest and highest date the user may pick (-1: the DateValue's own
// end). The text given at creation is the platform's display format (for example
// "yyyy-MM-dd HH:mm"). A change by real input raises EVENTTYPE_CHANGE.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_DATE = 47;

constexpr std::uint32_t GK_Date_UpDown = 0x1;
constexpr std::uint32_t GK_Date_CheckBox = 0x2;

// Attributes of the date field and the calendar: the lowest and the highest date (-1: the
// DateValue's own end).
constexpr int DATE_MINIMUM = 1;
constexpr int DATE_MAXIMUM = 2;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber date_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* format,
                         std::uint32_t flags);
