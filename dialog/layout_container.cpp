// Layout of the single-child elements (window, singlebox, container, frame, tab,
// scrollarea, container canvas) and of the splitter.
#include "dialog/layout_internal.h"

#include "toolkit/controls/plain_container.h"
#include "toolkit/controls/splitter.h"
#include "toolkit/geometry.h"

#include <algorithm>

namespace {

struct Rect {
    std::int64_t x, y, width, height;
};

// Narrows one dimension of the child's rectangle to its request when the container
// does not stretch it (or stretches it only up to a limit), then aligns it.
void fit_dimension(std::int64_t* position, std::int64_t* size, int requested, bool expand, int limit, int align)
{
    if (*size <= requested)
        return;
    std::int64_t old_size = *size;
    if (!expand)
        *size = requested;
    else if (limit > 0 && limit < *size)
        *size = std::max(limit, requested);
    if (align == ALIGN_MIDDLE)
        *position += (old_size - *size) / 2;
    else if (align == ALIGN_BOTTOM)
        *position += old_size - *size;
}

// The child's rectangle inside the given one: margins, expand limits and alignment.
Rect place_child(const ContainerElement* container, Rect area)
{
    area.x += container->margin_left;
    area.y += container->margin_top;
    area.width -= std::int64_t{container->margin_left} + container->margin_right;
    area.height -= std::int64_t{container->margin_top} + container->margin_bottom;
    fit_dimension(&area.x, &area.width, container->child_width, container->expand_horizontal,
                  container->expand_width, container->align_horizontal);
    fit_dimension(&area.y, &area.height, container->child_height, container->expand_vertical,
                  container->expand_height, container->align_vertical);
    return area;
}

void allocate_child(ContainerElement* container, const LayoutHost* host, const Rect& area)
{
    if (container->child)
        layout_allocate(container->child, host, layout_clamp(area.x), layout_clamp(area.y),
                        layout_clamp(area.width), layout_clamp(area.height));
}

// Requests the child's size and stores it; 0 by 0 without a child.
void request_child(ContainerElement* container, const LayoutHost* host)
{
    container->child_width = 0;
    container->child_height = 0;
    if (container->child)
        layout_request_size(container->child, host, &container->child_width, &container->child_height);
}

void finish_size(const DialogElement* element, std::int64_t w, std::int64_t h, int* width, int* height)
{
    layout_raise_to_attributes(element, &w, &h);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

std::int64_t margins_across(const ContainerElement* container)
{
    return std::int64_t{container->margin_left} + container->margin_right;
}

std::int64_t margins_down(const ContainerElement* container)
{
    return std::int64_t{container->margin_top} + container->margin_bottom;
}

}

void layout_singlebox_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* box = static_cast<ContainerElement*>(element);
    request_child(box, host);
    finish_size(box, margins_across(box) + box->child_width, margins_down(box) + box->child_height, width, height);
}

void layout_singlebox_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    auto* box = static_cast<ContainerElement*>(element);
    allocate_child(box, host, place_child(box, {x, y, width, height}));
}

namespace {

// A window bound for the request: "auto" follows the request, a number is taken as is.
int window_bound(std::int16_t bound, int requested)
{
    if (bound == BOUND_NOT_GIVEN)
        return UNCHANGED;
    return bound == BOUND_AUTO ? requested : bound;
}

}

void layout_window_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* window = static_cast<ContainerElement*>(element);
    request_child(window, host);
    finish_size(window, margins_across(window) + window->child_width, margins_down(window) + window->child_height,
                width, height);
    if (window->min_width == BOUND_NOT_GIVEN && window->min_height == BOUND_NOT_GIVEN &&
        window->max_width == BOUND_NOT_GIVEN && window->max_height == BOUND_NOT_GIVEN)
        return;
    // A numeric minimum also raises the request.
    if (window->min_width >= 0)
        *width = std::max<int>(*width, window->min_width);
    if (window->min_height >= 0)
        *height = std::max<int>(*height, window->min_height);
    if (host->set_window_bounds)
        host->set_window_bounds(host->context, window, window_bound(window->min_width, *width),
                                window_bound(window->min_height, *height), window_bound(window->max_width, *width),
                                window_bound(window->max_height, *height));
}

void layout_window_allocate(DialogElement* element, const LayoutHost* host, int, int, int width, int height)
{
    // The child covers the client area, but never less than it asked for: a window
    // smaller than its content clips it.
    auto* window = static_cast<ContainerElement*>(element);
    Rect area{window->margin_left, window->margin_top, std::int64_t{width} - margins_across(window),
              std::int64_t{height} - margins_down(window)};
    area.width = std::max<std::int64_t>(area.width, window->child_width);
    area.height = std::max<std::int64_t>(area.height, window->child_height);
    allocate_child(window, host, area);
}

namespace {

// A flat container has a 2-pixel border; any other border style twice the system border.
void container_border(const DialogElement* container, const LayoutHost* host, int* width, int* height)
{
    if (container->flags & GK_Container_Flat)
        *width = *height = host->flat_border;
    else if (container->flags != 0)
        *width = *height = layout_clamp(2 * std::int64_t{host->border_width});
    else
        *width = *height = 0;
}

}

void layout_container_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* container = static_cast<ContainerElement*>(element);
    int border_width = 0;
    int border_height = 0;
    container_border(container, host, &border_width, &border_height);
    request_child(container, host);
    finish_size(container, margins_across(container) + border_width + container->child_width,
                margins_down(container) + border_height + container->child_height, width, height);
}

void layout_container_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    // The child is placed in the container control's own coordinates, inside its border.
    auto* container = static_cast<ContainerElement*>(element);
    layout_host_place(host, container, x, y, width, height);
    int border_width = 0;
    int border_height = 0;
    container_border(container, host, &border_width, &border_height);
    Rect inner{border_width / 2, border_height / 2, std::int64_t{width} - border_width,
               std::int64_t{height} - border_height};
    allocate_child(container, host, place_child(container, inner));
}

void layout_frame_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* frame = static_cast<ContainerElement*>(element);
    int caption = host->caption_height ? layout_clamp(host->caption_height(host->context, frame)) : 0;
    frame->caption_height = std::max(caption, host->frame_min_caption);
    request_child(frame, host);
    std::int64_t inset = host->frame_inset;
    finish_size(frame, margins_across(frame) + 2 * inset + frame->child_width,
                margins_down(frame) + inset + frame->child_height + frame->caption_height, width, height);
}

void layout_frame_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    // A frame control holds no children: its child sits beside it in the same parent.
    auto* frame = static_cast<ContainerElement*>(element);
    layout_host_place(host, frame, x, y, width, height);
    std::int64_t inset = host->frame_inset;
    Rect inner{x + inset, std::int64_t{y} + frame->caption_height, width - 2 * inset,
               height - inset - frame->caption_height};
    allocate_child(frame, host, place_child(frame, inner));
}

void layout_tab_allocate(DialogElement* element, const LayoutHost* host, int, int, int width, int height)
{
    // A tab's child lives on the tab's page, whose origin is the page's corner.
    auto* tab = static_cast<ContainerElement*>(element);
    allocate_child(tab, host, place_child(tab, {0, 0, width, height}));
}

void layout_scrollarea_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* area = static_cast<ContainerElement*>(element);
    request_child(area, host);
    std::int64_t w = area->width;
    std::int64_t h = area->height;
    if (area->scrolling == SCROLL_VERTICAL)
        w = std::max<std::int64_t>(margins_across(area) + area->child_width + host->scrollbar_room, area->width);
    else if (area->scrolling == SCROLL_HORIZONTAL)
        h = std::max<std::int64_t>(margins_down(area) + area->child_height + host->scrollbar_room, area->height);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

void layout_scrollarea_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    auto* area = static_cast<ContainerElement*>(element);
    layout_host_place(host, area, x, y, width, height);
    std::int64_t inner_width = std::max<std::int64_t>(area->child_width + margins_across(area), area->inner_width);
    std::int64_t inner_height = std::max<std::int64_t>(area->child_height + margins_down(area), area->inner_height);
    if (area->scrolling == SCROLL_VERTICAL)
        inner_width = std::int64_t{width} - host->scrollbar_room;
    else if (area->scrolling == SCROLL_HORIZONTAL)
        inner_height = std::int64_t{height} - host->scrollbar_room;
    Rect child = place_child(area, {0, 0, inner_width, inner_height});
    if (area->inner_width == -1)
        layout_host_set_attribute(host, area, LAYOUT_SCROLLAREA_INNER_WIDTH,
                                  layout_clamp(margins_across(area) + child.width));
    if (area->inner_height == -1)
        layout_host_set_attribute(host, area, LAYOUT_SCROLLAREA_INNER_HEIGHT,
                                  layout_clamp(margins_down(area) + child.height));
    allocate_child(area, host, child);
}

void layout_canvas_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    auto* canvas = static_cast<ContainerElement*>(element);
    if (!canvas->child) {
        int required_width = 0;
        int required_height = 0;
        layout_host_required_size(host, canvas, &required_width, &required_height);
        finish_size(canvas, required_width, required_height, width, height);
        return;
    }
    request_child(canvas, host);
    finish_size(canvas, margins_across(canvas) + canvas->child_width, margins_down(canvas) + canvas->child_height,
                width, height);
}

void layout_canvas_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    auto* canvas = static_cast<ContainerElement*>(element);
    layout_host_place(host, canvas, x, y, width, height);
    allocate_child(canvas, host, place_child(canvas, {0, 0, width, height}));
}

void layout_splitter_natural(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    // The children are laid out by their part containers; the splitter only asks for
    // room for both and keeps minimums that follow the children's requests.
    auto* splitter = static_cast<SplitterElement*>(element);
    const int minimums[SPLITTER_CHILDREN] = {splitter->first_minimum, splitter->second_minimum};
    const int attributes[SPLITTER_CHILDREN] = {LAYOUT_SPLITTER_FIRST_MINIMUM, LAYOUT_SPLITTER_SECOND_MINIMUM};
    for (int i = 0; i < SPLITTER_CHILDREN; ++i) {
        splitter->child_widths[i] = 0;
        splitter->child_heights[i] = 0;
        if (!splitter->children[i])
            continue;
        layout_request_size(splitter->children[i], host, &splitter->child_widths[i], &splitter->child_heights[i]);
        if (minimums[i] == SPLITTER_MIN_FOLLOW)
            layout_host_set_attribute(host, splitter, attributes[i],
                                      splitter->vertical ? splitter->child_widths[i] : splitter->child_heights[i]);
    }
    std::int64_t bar = (splitter->flags & GK_Splitter_Separator) ? host->splitter_separator_bar : host->splitter_bar;
    std::int64_t w = 0;
    std::int64_t h = 0;
    if (splitter->vertical) {
        w = std::int64_t{splitter->child_widths[0]} + splitter->child_widths[1] + bar;
        h = std::max(splitter->child_heights[0], splitter->child_heights[1]);
    } else {
        w = std::max(splitter->child_widths[0], splitter->child_widths[1]);
        h = std::int64_t{splitter->child_heights[0]} + splitter->child_heights[1] + bar;
    }
    finish_size(splitter, w, h, width, height);
}
