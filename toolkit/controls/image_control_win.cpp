#include "toolkit/controls/image_control.h"

#include "images/image.h"
#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/controls_internal.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"

#include <windowsx.h>

#include <cstdlib>
#include <new>

namespace {

constexpr wchar_t CLASS_NAME[] = L"KitImage";

// The control's own record, in the kind data.
struct ImageControl {
    ObjectNumber image;
    POINT pressed_at;  // where the left button went down, in client coordinates
    bool pressing;     // the left button is held since a press on the control
    bool dragged;      // this press has raised its drag start
};

ImageControl* data_of(ControlRecord* record)
{
    return static_cast<ImageControl*>(record->kind_data);
}

void paint(ControlRecord* record)
{
    PAINTSTRUCT paint_info;
    HDC context = BeginPaint(control_hwnd(record), &paint_info);
    RECT client;
    GetClientRect(control_hwnd(record), &client);
    FillRect(context, &client, GetSysColorBrush(COLOR_BTNFACE));
    ObjectNumber image = data_of(record)->image;
    if (image)
        image_paint_sized(image, context, 0, 0, scale_control_pixels(record, image_width(image)),
                          scale_control_pixels(record, image_height(image)));
    EndPaint(control_hwnd(record), &paint_info);
}

void press(ControlRecord* record, LPARAM lparam)
{
    ImageControl* data = data_of(record);
    data->pressed_at = POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    data->pressing = true;
    data->dragged = false;
    SetCapture(control_hwnd(record));
}

void move(ControlRecord* record, LPARAM lparam)
{
    ImageControl* data = data_of(record);
    if (!data->pressing || data->dragged)
        return;
    int dx = std::abs(GET_X_LPARAM(lparam) - data->pressed_at.x);
    int dy = std::abs(GET_Y_LPARAM(lparam) - data->pressed_at.y);
    if (dx > GetSystemMetrics(SM_CXDRAG) || dy > GetSystemMetrics(SM_CYDRAG)) {
        data->dragged = true;
        control_raise_event(record, EVENTTYPE_DRAG_START);
    }
}

void release(ControlRecord* record)
{
    ImageControl* data = data_of(record);
    if (!data->pressing)
        return;
    data->pressing = false;
    ReleaseCapture();
    if (!data->dragged)
        control_raise_event(record, EVENTTYPE_LEFT_CLICK);
}

std::intptr_t image_message(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (!data_of(record))
        return CONTROL_NOT_HANDLED;
    switch (message) {
    case WM_PAINT: paint(record); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: press(record, lparam); return 0;
    case WM_MOUSEMOVE: move(record, lparam); return 0;
    case WM_LBUTTONUP: release(record); return 0;
    case WM_CAPTURECHANGED: data_of(record)->pressing = false; return 0;
    case WM_RBUTTONUP: control_raise_event(record, EVENTTYPE_RIGHT_CLICK); return 0;
    case WM_LBUTTONDBLCLK: control_raise_event(record, EVENTTYPE_LEFT_DOUBLE_CLICK); return 0;
    case WM_RBUTTONDBLCLK: control_raise_event(record, EVENTTYPE_RIGHT_DOUBLE_CLICK); return 0;
    }
    return CONTROL_NOT_HANDLED;
}

int image_get_state(ControlRecord* record)
{
    return static_cast<int>(data_of(record)->image);
}

int image_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    if (attribute != IMAGE_ATTRIBUTE_PICTURE)
        return 0;
    data_of(record)->image = value;
    InvalidateRect(control_hwnd(record), nullptr, TRUE);
    return 1;
}

int image_set_state(ControlRecord* record, int value)
{
    return image_set_attribute(record, IMAGE_ATTRIBUTE_PICTURE, value);
}

std::intptr_t image_get_attribute(ControlRecord* record, int attribute)
{
    return attribute == IMAGE_ATTRIBUTE_PICTURE ? data_of(record)->image : 0;
}

// The image's size in design pixels with the frame the border flags give the window.
int image_natural_size(ControlRecord* record, int* width, int* height)
{
    HWND window = control_hwnd(record);
    ObjectNumber image = data_of(record)->image;
    RECT outer = {0, 0, scale_control_pixels(record, image_width(image)),
                  scale_control_pixels(record, image_height(image))};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    *width = outer.right - outer.left;
    *height = outer.bottom - outer.top;
    return 1;
}

void image_destroy(ControlRecord* record)
{
    delete data_of(record);
    record->kind_data = nullptr;
}

const ControlOps IMAGE_OPS = {
    .kind = CONTROL_KIND_IMAGE,
    .window_message = image_message,
    .destroy = image_destroy,
    .get_state = image_get_state,
    .set_state = image_set_state,
    .get_attribute = image_get_attribute,
    .set_attribute = image_set_attribute,
    .natural_size = image_natural_size,
};

}  // namespace

ObjectNumber image_control_create(ObjectNumber number, int x, int y, int width, int height, ObjectNumber image,
                                  std::uint32_t flags)
{
    auto* data = new (std::nothrow) ImageControl{image, {0, 0}, false, false};
    if (!data || !kit_register_class(CLASS_NAME, DefWindowProcW, true, CS_DBLCLKS)) {
        delete data;
        return 0;
    }
    ControlRecord* record = nullptr;
    DWORD ex_style = flags & (GK_Image_Raised | GK_Image_Border);
    ObjectNumber made = control_create_window(number, u"KitImage", u"", ex_style, WS_CHILD | WS_VISIBLE, x, y, width,
                                              height, &IMAGE_OPS, &record);
    if (!made) {
        delete data;
        return 0;
    }
    record->kind_data = data;
    return made;
}
