// Layout of leaves: `empty`, controls of a fixed size, controls with a natural size
// and the list whose height is rounded to whole items.
#include "dialog/layout_internal.h"

#include "toolkit/text.h"

#include <algorithm>

void layout_attribute_size(DialogElement* element, const LayoutHost*, int* width, int* height)
{
    *width = element->width;
    *height = element->height;
}

void layout_place_control(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    layout_host_place(host, element, x, y, width, height);
}

void layout_allocate_nothing(DialogElement*, const LayoutHost*, int, int, int, int)
{
}

void layout_natural_request(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    int required_width = 0;
    int required_height = 0;
    layout_host_required_size(host, element, &required_width, &required_height);
    *width = std::max(required_width, element->width);
    *height = std::max(required_height, element->height);
}

void layout_natural_allocate(DialogElement* element, const LayoutHost* host, int x, int y, int width, int height)
{
    bool label = element->kind == ELEMENT_TEXT || element->kind == ELEMENT_HYPERLINK;
    // Labels sit a little lower than the row they are in, so that their text lines up
    // with the text inside neighbouring fields and buttons.
    if (label && !(element->flags & GK_Text_Border)) {
        int required_width = 0;
        int required_height = 0;
        layout_host_required_size(host, element, &required_width, &required_height);
        int nudge = host->text_nudge;
        if (std::max(element->height, required_height) <= std::int64_t{height} - nudge) {
            layout_host_place(host, element, x, layout_clamp(std::int64_t{y} + nudge), width, height - nudge);
            return;
        }
    }
    layout_host_place(host, element, x, y, width, height);
}

void layout_listview_request(DialogElement* element, const LayoutHost* host, int* width, int* height)
{
    std::int64_t list_height = element->height;
    int item = host->item_height ? layout_clamp(host->item_height(host->context, element)) : 0;
    if (item > 0) {
        std::int64_t edge = 2 * std::int64_t{host->edge_height};
        std::int64_t items = (list_height - edge) / item;
        if (items * item + edge < list_height)
            list_height = (items + 1) * item + edge;
    }
    *width = element->width;
    *height = layout_clamp(list_height);
}
