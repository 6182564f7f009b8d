#include "dialog/dialog_layout_host_win.h"

#include "dialog/dialog_scale.h"
#include "toolkit/control.h"
#include "toolkit/scale.h"
#include "toolkit/window.h"

#include <windows.h>

#include <string>

namespace {

bool has_control(const DialogElement* element)
{
    return element->control != -1 && control_exists(element->control);
}

void required_size(void*, const DialogElement* element, int* width, int* height)
{
    if (has_control(element))
        control_required_size(element->control, width, height);
}

void place(void*, const DialogElement* element, int x, int y, int width, int height)
{
    if (has_control(element))
        control_resize(element->control, x, y, width, height);
}

int item_height(void*, const DialogElement* element)
{
    if (!has_control(element) || control_kind(element->control) != CONTROL_KIND_LISTVIEW)
        return 0;
    auto list = static_cast<HWND>(control_os_handle(element->control));
    LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    return height == LB_ERR ? 0 : static_cast<int>(height);
}

// The height of the caption text in the control's font.
int caption_height(void*, const DialogElement* element)
{
    if (!has_control(element))
        return 0;
    auto window = static_cast<HWND>(control_os_handle(element->control));
    HDC context = GetDC(window);
    if (!context)
        return 0;
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(context, font) : nullptr;
    std::u16string text = control_get_text(element->control);
    SIZE extent = {};
    GetTextExtentPoint32W(context, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
                          &extent);
    if (previous)
        SelectObject(context, previous);
    ReleaseDC(window, context);
    return static_cast<int>(extent.cy);
}

int get_attribute(void*, const DialogElement* element, int attribute)
{
    return has_control(element) ? static_cast<int>(control_get_attribute(element->control, attribute)) : 0;
}

void set_attribute(void*, const DialogElement* element, int attribute, int value)
{
    if (has_control(element))
        control_set_attribute(element->control, attribute, value);
}

void set_window_bounds(void*, const DialogElement* window, int min_width, int min_height, int max_width,
                       int max_height)
{
    ObjectNumber number = static_cast<const ContainerElement*>(window)->window;
    if (number != -1)
        window_set_bounds(number, min_width, min_height, max_width, max_height);
}

}  // namespace

LayoutHost dialog_layout_host(int dpi)
{
    LayoutHost host;
    host.required_size = required_size;
    host.place = place;
    host.item_height = item_height;
    host.caption_height = caption_height;
    host.get_attribute = get_attribute;
    host.set_attribute = set_attribute;
    host.set_window_bounds = set_window_bounds;
    host.edge_height = scale_metric(SM_CYEDGE, dpi);
    host.border_width = scale_metric(SM_CXBORDER, dpi);
    dialog_scale_measures(&host, dpi);
    return host;
}
