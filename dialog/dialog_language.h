// The dialog definition language: its elements, their kind codes and roles, the flag
// names each element accepts and the event attributes each one allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Kind codes: they select the flag table and the control to create.
constexpr std::uint8_t ELEMENT_WINDOW = 1;
constexpr std::uint8_t ELEMENT_BUTTON = 3;
constexpr std::uint8_t ELEMENT_CHECKBOX = 4;
constexpr std::uint8_t ELEMENT_IMAGE = 5;
constexpr std::uint8_t ELEMENT_OPTION = 6;
constexpr std::uint8_t ELEMENT_LISTVIEW = 7;
constexpr std::uint8_t ELEMENT_LISTICON = 8;
constexpr std::uint8_t ELEMENT_TREE = 9;
constexpr std::uint8_t ELEMENT_CONTAINER = 10;
constexpr std::uint8_t ELEMENT_COMBOBOX = 11;
constexpr std::uint8_t ELEMENT_TEXT = 12;
constexpr std::uint8_t ELEMENT_STRING = 13;
constexpr std::uint8_t ELEMENT_PANEL = 14;
constexpr std::uint8_t ELEMENT_TAB = 15;
constexpr std::uint8_t ELEMENT_SCROLLAREA = 16;
constexpr std::uint8_t ELEMENT_FRAME = 17;
constexpr std::uint8_t ELEMENT_EDITOR = 20;
constexpr std::uint8_t ELEMENT_SCINTILLA = 21;
constexpr std::uint8_t ELEMENT_SCROLLBAR = 22;
constexpr std::uint8_t ELEMENT_PROGRESSBAR = 23;
constexpr std::uint8_t ELEMENT_EXPLORERLIST = 24;
constexpr std::uint8_t ELEMENT_EXPLORERTREE = 25;
constexpr std::uint8_t ELEMENT_EXPLORERCOMBO = 26;
constexpr std::uint8_t ELEMENT_SPLITTER = 27;
constexpr std::uint8_t ELEMENT_SHORTCUT = 28;
constexpr std::uint8_t ELEMENT_BUTTONIMAGE = 29;
constexpr std::uint8_t ELEMENT_TRACKBAR = 30;
constexpr std::uint8_t ELEMENT_CANVAS = 31;
constexpr std::uint8_t ELEMENT_CALENDAR = 32;
constexpr std::uint8_t ELEMENT_DATE = 33;
constexpr std::uint8_t ELEMENT_SPIN = 34;
constexpr std::uint8_t ELEMENT_WEB = 35;
constexpr std::uint8_t ELEMENT_HYPERLINK = 36;
constexpr std::uint8_t ELEMENT_IPADDRESS = 37;
constexpr std::uint8_t ELEMENT_VBOX = 101;
constexpr std::uint8_t ELEMENT_HBOX = 102;
constexpr std::uint8_t ELEMENT_MULTIBOX = 103;
constexpr std::uint8_t ELEMENT_SINGLEBOX = 104;
constexpr std::uint8_t ELEMENT_GRIDBOX = 105;
constexpr std::uint8_t ELEMENT_EMPTY = 106;

// How the layout treats an element.
enum class ElementRole : std::uint8_t {
    Window,          // single child, client area
    Box,             // hbox, vbox
    Multibox,
    Grid,
    Singlebox,
    Empty,
    NaturalControl,  // asks its control for a size
    FixedControl,    // asks only for its width and height
    Listview,        // height rounded to whole items
    Container,       // container control with one child
    Panel,
    Tab,
    Scrollarea,
    Frame,
    Splitter,
    Canvas,          // a container with GK_Canvas_Container, else a natural-size control
};

// Event attribute bits (besides onevent, which every element that reads events allows).
constexpr std::uint32_t EVENT_ALLOW_LEFT_CLICK = 0x01;
constexpr std::uint32_t EVENT_ALLOW_RIGHT_CLICK = 0x02;
constexpr std::uint32_t EVENT_ALLOW_LEFT_DOUBLE_CLICK = 0x04;
constexpr std::uint32_t EVENT_ALLOW_RIGHT_DOUBLE_CLICK = 0x08;
constexpr std::uint32_t EVENT_ALLOW_CHANGE = 0x10;
constexpr std::uint32_t EVENT_ALLOW_FOCUS = 0x20;
constexpr std::uint32_t EVENT_ALLOW_LOST_FOCUS = 0x40;
constexpr std::uint32_t EVENT_ALLOW_DRAG_START = 0x80;

struct FlagName {
    const char16_t* name;   // without the leading '#'
    std::uint32_t value;
};

struct ElementInfo {
    const char16_t* name;
    std::uint8_t kind;
    ElementRole role;
    bool creates_control;         // a control (or the panel's tab control) is made for it
    bool reads_events;            // false where event attributes are ignored
    std::uint32_t allowed_events; // EVENT_ALLOW_* bits
    std::span<const FlagName> flags;  // this kind's flag table, empty for none
};

// Every element of the language, in the order of its table.
std::span<const ElementInfo> dialog_elements();

// The element of that tag name (case-insensitive), null for a name not in the language.
const ElementInfo* dialog_element_info(std::u16string_view name);

// The element of a kind code, null for an unknown code.
const ElementInfo* dialog_element_info_of_kind(std::uint8_t kind);

// Looks a flag name (without '#') up in the kind's table; false when it is not there.
bool dialog_flag_value(const ElementInfo* element, std::u16string_view name, std::uint32_t* value);

struct EventAttribute {
    const char16_t* name;
    std::int32_t type;    // event type bound; -1 for any
    std::uint32_t allow;  // EVENT_ALLOW_* bit; 0 for onevent
};

// Every event attribute, onevent first.
std::span<const EventAttribute> dialog_event_attributes();

// The event attribute of that name (case-insensitive), null for other names.
const EventAttribute* dialog_event_attribute(std::u16string_view name);
