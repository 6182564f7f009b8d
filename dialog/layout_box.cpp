// Layout of the list-holding elements: hbox and vbox (children in a row or a column),
// multibox (all children on one rectangle) and panel (one tab page each).
#include "dialog/layout_internal.h"

#include <algorithm>

namespace {

bool is_horizontal(const DialogElement* element)
{
    return element->kind == ELEMENT_HBOX;
}

// Length of each placed child, from the stored requests, the length L the box is given
// and the number n of children that are not folded.
void box_lengths(const BoxElement* box, std::int64_t length, std::int64_t shown, std::int64_t* lengths,
                 std::int64_t* start)
{
    *start = 0;
    std::int64_t total = box->total;
    if (box->expand == EXPAND_EQUAL) {
        std::int64_t each = (length - (shown - 1) * box->spacing) / shown;
        std::fill(lengths, lengths + box->child_count, each);
        return;
    }
    // Too little room: every child shrinks in proportion, whatever the expand mode.
    if (length > 0 && length < total) {
        for (int i = 0; i < box->child_count; ++i)
            lengths[i] = box->lengths[i] * length / total;
        return;
    }
    for (int i = 0; i < box->child_count; ++i)
        lengths[i] = box->lengths[i];
    std::int64_t free = length - total;
    if (box->expand == EXPAND_YES) {
        for (int i = 0; i < box->child_count; ++i)
            lengths[i] += free / shown;
    } else if (box->expand == EXPAND_ITEM) {
        if (box->expand_item >= 0 && box->expand_item < box->child_count)
            lengths[box->expand_item] += free;
    } else if (box->align == ALIGN_CENTER) {
        *start = free / 2;
    } else if (box->align == ALIGN_END) {
        *start = free;
    }
}

}

void layout_box_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* box = static_cast<BoxElement*>(element);
    bool horizontal = is_horizontal(box);
    std::int64_t length = 0;
    std::int64_t breadth = 0;
    std::int64_t longest = 0;
    box->hidden = 0;
    for (int i = 0; i < box->child_count; ++i) {
        DialogElement* child = box->children[i];
        int child_width = 0;
        int child_height = 0;
        layout_request_size(child, host, &child_width, &child_height);
        int child_length = horizontal ? child_width : child_height;
        length += child_length;
        breadth = std::max<std::int64_t>(breadth, horizontal ? child_height : child_width);
        box->lengths[i] = child_length;
        longest = std::max<std::int64_t>(longest, child_length);
        if (child->folded)
            ++box->hidden;
    }
    std::int64_t shown = box->child_count - box->hidden;
    if (box->expand == EXPAND_EQUAL)
        length = longest * shown;
    if (shown >= 1)
        length += (shown - 1) * box->spacing;
    box->total = layout_clamp(length);
    std::int64_t w = horizontal ? box->total : breadth;
    std::int64_t h = horizontal ? breadth : box->total;
    layout_raise_to_attributes(box, &w, &h);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

void layout_box_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    auto* box = static_cast<BoxElement*>(element);
    bool horizontal = is_horizontal(box);
    std::int64_t shown = box->child_count - box->hidden;
    if (shown <= 0)
        return;
    std::int64_t lengths[BOX_CAPACITY];
    std::int64_t start = 0;
    box_lengths(box, horizontal ? width : height, shown, lengths, &start);
    std::int64_t position = (horizontal ? x : y) + start;
    for (int i = 0; i < box->child_count; ++i) {
        DialogElement* child = box->children[i];
        if (child->folded)
            continue;
        int at = layout_clamp(position);
        int length = layout_clamp(lengths[i]);
        if (horizontal)
            layout_allocate(child, host, at, y, length, height);
        else
            layout_allocate(child, host, x, at, width, length);
        position += lengths[i] + box->spacing;
    }
}

void layout_multibox_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* box = static_cast<BoxElement*>(element);
    std::int64_t w = 0;
    std::int64_t h = 0;
    for (int i = 0; i < box->child_count; ++i) {
        int child_width = 0;
        int child_height = 0;
        layout_request_size(box->children[i], host, &child_width, &child_height);
        w = std::max<std::int64_t>(w, child_width);
        h = std::max<std::int64_t>(h, child_height);
    }
    layout_raise_to_attributes(box, &w, &h);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

void layout_multibox_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    auto* box = static_cast<BoxElement*>(element);
    for (int i = 0; i < box->child_count; ++i)
        layout_allocate(box->children[i], host, x, y, width, height);
}

namespace {

// Room of the panel's frame around a page, besides the tab strip.
constexpr int PANEL_FRAME_WIDTH = 4;
constexpr int PANEL_FRAME_HEIGHT = 2;

}

void layout_panel_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* panel = static_cast<BoxElement*>(element);
    std::int64_t w = 0;
    std::int64_t h = 0;
    for (int i = 0; i < panel->child_count; ++i) {
        int tab_width = 0;
        int tab_height = 0;
        layout_request_size(panel->children[i], host, &tab_width, &tab_height);
        w = std::max<std::int64_t>(w, tab_width);
        h = std::max<std::int64_t>(h, tab_height);
    }
    w += PANEL_FRAME_WIDTH;
    h += layout_host_get_attribute(host, panel, LAYOUT_PANEL_TAB_HEIGHT) + PANEL_FRAME_HEIGHT;
    layout_raise_to_attributes(panel, &w, &h);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

void layout_panel_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    auto* panel = static_cast<BoxElement*>(element);
    layout_host_place(host, panel, x, y, width, height);
    int page_width = layout_host_get_attribute(host, panel, LAYOUT_PANEL_PAGE_WIDTH);
    int page_height = layout_host_get_attribute(host, panel, LAYOUT_PANEL_PAGE_HEIGHT);
    for (int i = 0; i < panel->child_count; ++i)
        layout_allocate(panel->children[i], host, 0, 0, page_width, page_height);
}
