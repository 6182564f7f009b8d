// The layout operations of each element class and the host calls they share; the
// class tables in dialog_element.cpp point at them.
#pragma once

#include "dialog/layout.h"

// Host calls with their fallbacks.
void layout_host_required_size(const LayoutHost* host, const DialogElement* element, int* width, int* height);
void layout_host_place(const LayoutHost* host, const DialogElement* element, int x, int y, int width, int height);
int layout_host_get_attribute(const LayoutHost* host, const DialogElement* element, int attribute);
void layout_host_set_attribute(const LayoutHost* host, const DialogElement* element, int attribute, int value);

// The common request rule: folded gives 0 by 0; otherwise the class's natural size,
// with 0 in a dimension whose attribute is -1.
void layout_common_request(DialogElement* element, const LayoutHost* host, int* width, int* height);

// Raises a size to the element's width and height attributes.
void layout_raise_to_attributes(const DialogElement* element, std::int64_t* width, std::int64_t* height);

// Sizes from the attributes alone (empty and fixed-size controls; the base rule).
void layout_attribute_size(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_place_control(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_allocate_nothing(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);

// Controls with a natural size, and the list with whole items.
void layout_natural_request(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_natural_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_listview_request(DialogElement* element, const LayoutHost* host, int* width, int* height);

void layout_box_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_box_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_multibox_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_multibox_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_panel_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_panel_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);

void layout_grid_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_grid_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);

void layout_singlebox_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_singlebox_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_window_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_window_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_container_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_container_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_frame_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_frame_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_tab_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_scrollarea_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_scrollarea_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);
void layout_canvas_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
void layout_canvas_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height);

void layout_splitter_natural(DialogElement* element, const LayoutHost* host, int* width, int* height);
