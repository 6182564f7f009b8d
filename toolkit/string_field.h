// One-line text fields (kind 2): raise the edit notifications as their codes
// (EVENTTYPE_CHANGE when the user changes the text) and focus events.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr std::uint32_t GK_String_UpperCase = 8;
constexpr std::uint32_t GK_String_LowerCase = 0x10;
constexpr std::uint32_t GK_String_Password = 0x20;
constexpr std::uint32_t GK_String_ReadOnly = 0x800;
constexpr std::uint32_t GK_String_Numeric = 0x2000;
constexpr std::uint32_t GK_String_BorderLess = 0x20000;
// Taken from dialog definitions and kept by no field: the platform's edit completes nothing.
constexpr std::uint32_t GK_String_AutoComplete = 0x10000000;
constexpr std::uint32_t GK_String_AutoInsert = 0x40000000;

// Attribute of control_set_attribute / control_get_attribute: the maximum text length.
constexpr int STRING_ATTRIBUTE_MAX_LENGTH = 1;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber string_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                           std::uint32_t flags);
