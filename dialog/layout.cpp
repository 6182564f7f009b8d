#include "dialog/layout.h"

#include "dialog/layout_internal.h"

#include <algorithm>

int layout_clamp(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, -LAYOUT_LIMIT, LAYOUT_LIMIT));
}

void layout_host_required_size(const LayoutHost* host, const DialogElement* element, int* width, int* height)
{
    int w = 0;
    int h = 0;
    if (host->required_size)
        host->required_size(host->context, element, &w, &h);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

void layout_host_place(const LayoutHost* host, const DialogElement* element, int x, int y, int width, int height)
{
    if (host->place)
        host->place(host->context, element, x, y, width, height);
}

int layout_host_get_attribute(const LayoutHost* host, const DialogElement* element, int attribute)
{
    return host->get_attribute ? layout_clamp(host->get_attribute(host->context, element, attribute)) : 0;
}

void layout_host_set_attribute(const LayoutHost* host, const DialogElement* element, int attribute, int value)
{
    if (host->set_attribute)
        host->set_attribute(host->context, element, attribute, value);
}

void layout_raise_to_attributes(const DialogElement* element, std::int64_t* width, std::int64_t* height)
{
    *width = std::max<std::int64_t>(*width, element->width);
    *height = std::max<std::int64_t>(*height, element->height);
}

void layout_common_request(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    if (element->folded) {
        *width = 0;
        *height = 0;
        return;
    }
    element->cls->natural_size(element, host, width, height);
    if (element->width == -1)
        *width = 0;
    if (element->height == -1)
        *height = 0;
}

void layout_request_size(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    int w = 0;
    int h = 0;
    element->cls->request_size(element, host, &w, &h);
    *width = layout_clamp(w);
    *height = layout_clamp(h);
}

void layout_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    element->cls->allocate(element, host, layout_clamp(x), layout_clamp(y), layout_clamp(width),
                           layout_clamp(height));
}

void layout_window(ContainerElement* window, const LayoutHost* host, int* width, int* height, int* requested_width_out,
                   int* requested_height_out)
{
    int requested_width = 0;
    int requested_height = 0;
    layout_request_size(window, host, &requested_width, &requested_height);
    if (requested_width_out && requested_height_out) {
        *requested_width_out = requested_width;
        *requested_height_out = requested_height;
    }
    *width = std::max(layout_clamp(*width), requested_width);
    *height = std::max(layout_clamp(*height), requested_height);
    layout_allocate(window, host, 0, 0, *width, *height);
}

void layout_splitter_part(SplitterElement* splitter, const LayoutHost* host, int part, int width, int height)
{
    if (part < 0 || part >= splitter->child_count || !splitter->children[part])
        return;
    layout_allocate(splitter->children[part], host, 0, 0, width, height);
}
