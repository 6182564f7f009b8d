// The value syntax of dialog definition attributes: numbers, flag lists, margins and
// the expand and align keywords.
#pragma once

#include "dialog/dialog_element.h"
#include "dialog/dialog_message.h"
#include "dialog/runtime_registry.h"

#include <cstdint>
#include <string_view>

// Flag names of this length or longer end the reading of a flags value.
constexpr std::size_t DIALOG_FLAG_NAME_LIMIT = 128;

// The number rule: the registry's value when the text names an entry, else the leading
// decimal integer; always within the 32-bit range (registry values saturate).
std::int64_t dialog_number(std::u16string_view text, const RuntimeRegistry* registry);

// ORs the flags named in the text ("#name|#name", blanks allowed around names) into
// *flags, from the element's table or else the registry. An unknown name stores a
// message (with the tag as written) and the reading goes on.
void dialog_read_flags(std::u16string_view text, const ElementInfo* info, std::u16string_view tag,
                       const RuntimeRegistry* registry, std::uint32_t* flags, DialogMessage* message);

// Margins of a single-child element: a plain number for all sides, or TOP:, BOTTOM:,
// LEFT:, RIGHT:, VERTICAL:, HORIZONTAL: parts (missing sides 0, the last two override).
void dialog_read_margin(std::u16string_view text, ContainerElement* container);

// A box or grid expand keyword: "yes", "no", "equal" or "item:" with a 1-based number.
// Any other text leaves *mode and *item as they are.
void dialog_read_expand(std::u16string_view text, int* mode, int* item);

// A single child's expand keyword ("yes", "no", "horizontal", "vertical").
void dialog_read_child_expand(std::u16string_view text, ContainerElement* container);

// A single child's align text: TOP, BOTTOM, LEFT, RIGHT and CENTER anywhere in it.
void dialog_read_child_align(std::u16string_view text, ContainerElement* container);

// A box's align keyword: "center", "bottom" or "right", anything else the start.
int dialog_read_box_align(std::u16string_view text);
