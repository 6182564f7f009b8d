// The two-pass box layout: requests run bottom-up (each element reports the size it
// needs), then the allocation runs top-down (each element divides the rectangle it is
// given among its children and places its control). The arithmetic is pure; whatever
// touches a control goes through the host's callbacks.
#pragma once

#include "dialog/dialog_element.h"

#include <cstdint>

// Every size and position the layout computes is held within this bound, so that sums
// over a hundred children and dozens of levels cannot overflow; real dialogs stay far
// below it.
constexpr int LAYOUT_LIMIT = 1 << 24;

// Attributes of controls that the layout reads or sets.
constexpr int LAYOUT_PANEL_PAGE_WIDTH = 1;
constexpr int LAYOUT_PANEL_PAGE_HEIGHT = 2;
constexpr int LAYOUT_PANEL_TAB_HEIGHT = 3;
constexpr int LAYOUT_SCROLLAREA_INNER_WIDTH = 1;
constexpr int LAYOUT_SCROLLAREA_INNER_HEIGHT = 2;
constexpr int LAYOUT_SPLITTER_FIRST_MINIMUM = 1;
constexpr int LAYOUT_SPLITTER_SECOND_MINIMUM = 2;

// The layout's built-in sizes at 96 dots per inch; a host carries them scaled.
constexpr int LAYOUT_SCROLLBAR_SIZE = 22;       // the scroll bar room a one-way scrollarea keeps
constexpr int LAYOUT_TEXT_NUDGE = 2;            // labels sit this much lower than their row
constexpr int LAYOUT_FRAME_INSET = 4;           // a frame's left, right and bottom inset
constexpr int LAYOUT_FRAME_MIN_CAPTION = 10;    // a frame's least caption height
constexpr int LAYOUT_FLAT_BORDER = 2;           // a flat container's border
constexpr int LAYOUT_SPLITTER_BAR = 4;
constexpr int LAYOUT_SPLITTER_SEPARATOR_BAR = 7;

// What the layout needs of the controls and windows. The callbacks receive the element;
// each is called for every element of its kind, whether or not a control exists yet
// (element->control is -1 then). A null callback falls back to: sizes 0, no action.
struct LayoutHost {
    void* context = nullptr;
    // The control's natural size from its content and font.
    void (*required_size)(void* context, const DialogElement* element, int* width, int* height) = nullptr;
    // Moves and sizes the control.
    void (*place)(void* context, const DialogElement* element, int x, int y, int width, int height) = nullptr;
    // The item height of a list control.
    int (*item_height)(void* context, const DialogElement* element) = nullptr;
    // The height of a frame's caption text in its font.
    int (*caption_height)(void* context, const DialogElement* element) = nullptr;
    // Reads or sets a numbered attribute of the control (LAYOUT_* above).
    int (*get_attribute)(void* context, const DialogElement* element, int attribute) = nullptr;
    void (*set_attribute)(void* context, const DialogElement* element, int attribute, int value) = nullptr;
    // Sets the window's minimum and maximum inner size; UNCHANGED for a bound not set.
    void (*set_window_bounds)(void* context, const DialogElement* window, int min_width, int min_height,
                              int max_width, int max_height) = nullptr;
    int edge_height = 2;   // the 3-D edge height of the system
    int border_width = 1;  // the border width of the system
    int text_nudge = LAYOUT_TEXT_NUDGE;
    int frame_inset = LAYOUT_FRAME_INSET;
    int frame_min_caption = LAYOUT_FRAME_MIN_CAPTION;
    int scrollbar_room = LAYOUT_SCROLLBAR_SIZE;
    int flat_border = LAYOUT_FLAT_BORDER;
    int splitter_bar = LAYOUT_SPLITTER_BAR;
    int splitter_separator_bar = LAYOUT_SPLITTER_SEPARATOR_BAR;
};

// The request pass from an element down: what it asks for.
void layout_request_size(DialogElement* element, const LayoutHost* host, int* width, int* height);

// The allocation pass from an element down; uses what the last request pass stored.
void layout_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);

// Both passes on a window: requests, then the allocation of (0, 0, max(width, request),
// max(height, request)). The size used is returned in the out parameters, and the request
// in the last two when they are given.
void layout_window(ContainerElement* window, const LayoutHost* host, int* width, int* height,
                   int* requested_width = nullptr, int* requested_height = nullptr);

// Lays out the child of a splitter part (0 first, 1 second) in a part of that size.
void layout_splitter_part(SplitterElement* splitter, const LayoutHost* host, int part, int width, int height);

// Brings a computed value into the layout's range.
int layout_clamp(std::int64_t value);
