// The attributes of the dialog definition language besides the event attributes: which
// elements read each one, its value syntax and default. The definition checker and the
// authors' reference are made from this table.
#pragma once

#include "dialog/dialog_language.h"

#include <cstdint>
#include <span>

// How an attribute's value is read.
enum class AttributeValue : std::uint8_t {
    Text,            // taken as written
    Keyword,         // one of the words its meaning names
    Flags,           // "#name|#name"
    Margin,          // a number, or TOP:, BOTTOM:, LEFT:, RIGHT:, VERTICAL:, HORIZONTAL: parts
    Id,              // "#GK_Any", '#' and a registry name, or a number
    Number,          // a registry name or a decimal integer
    Integer,         // a decimal integer only
    IntegerOrAuto,   // "auto" or a decimal integer
    SplitterMinimum, // "auto", "request" or a decimal integer
};

// Which elements read an attribute.
enum class AttributeScope : std::uint8_t {
    Every,
    Numbered,         // the window and every element that makes a control
    Captioned,        // the window, tabs and every element that makes a control
    Control,          // every element that makes a control
    GridChild,        // any element directly inside a gridbox
    Container,        // single-child containers (a canvas only with GK_Canvas_Container)
    ContainerInside,  // single-child containers but the window
    Kinds,            // the kinds listed in the row
};

struct AttributeInfo {
    const char16_t* name;
    AttributeValue value;
    AttributeScope scope;
    std::span<const std::uint8_t> kinds;  // for AttributeScope::Kinds
    const char16_t* default_value;        // as the reference shows it; empty when none
    const char16_t* meaning;
};

// Every row; an attribute read differently by different elements has a row for each.
std::span<const AttributeInfo> dialog_attributes();

// Whether the element reads the row's attribute. `parent` is the element holding it (null
// for a window); `container` says whether a canvas holds a child (GK_Canvas_Container).
bool dialog_attribute_applies(const AttributeInfo* row, const ElementInfo* element, const ElementInfo* parent,
                              bool container);

// The row of that attribute that the element reads, null when it reads none.
const AttributeInfo* dialog_attribute_for(std::u16string_view name, const ElementInfo* element,
                                          const ElementInfo* parent, bool container);

// True when some element reads an attribute of that name.
bool dialog_attribute_known(std::u16string_view name);
