// Combo boxes (kind 45): a drop-down list of text items with item data, on the platform's
// extended combo box. The state is the chosen item or -1; the text is the shown text (an
// editable box's typed text). With GK_ComboBox_Editable the user may type; with
// GK_ComboBox_LowerCase or GK_ComboBox_UpperCase what is typed and what is added is folded
// (the caller's text is never changed). Choosing an item or typing raises
// EVENTTYPE_CHANGE; getting and losing the focus raise EVENTTYPE_FOCUS and
// EVENTTYPE_LOST_FOCUS. With GK_ComboBox_Image items show the image given to
// control_add_item or control_set_item_image beside their text (see item_images_win.h);
// without it images are ignored and control_set_item_image returns 0.
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_COMBOBOX = 45;

constexpr std::uint32_t GK_ComboBox_Editable = 0x42;
constexpr std::uint32_t GK_ComboBox_UpperCase = 0x2000;
constexpr std::uint32_t GK_ComboBox_LowerCase = 0x4000;
constexpr std::uint32_t GK_ComboBox_Image = 0x10000000;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber combobox_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);
