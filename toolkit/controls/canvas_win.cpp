#include "toolkit/controls/canvas.h"

#include "images/draw.h"
#include "images/image.h"
#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/controls_internal.h"
#include "toolkit/event.h"
#include "toolkit/window.h"

#include <windowsx.h>

#include <algorithm>
#include <new>

namespace {

constexpr wchar_t CLASS_NAME[] = L"KitCanvas";
constexpr COLORREF DEFAULT_BACK = RGB(255, 255, 255);

// The canvas's own record, in the kind data.
struct Canvas {
    HBITMAP buffer;
    PixelSurface pixels;
    int natural_width;
    int natural_height;
    std::uint32_t flags;
    int mouse_x;
    int mouse_y;
    int key;
    int wheel;
    int repaints;
};

Canvas* canvas_of(ControlRecord* record)
{
    return static_cast<Canvas*>(record->kind_data);
}

std::uint32_t back_pixel(const ControlRecord* record)
{
    COLORREF back = record->back_color == CONTROL_COLOR_DEFAULT ? DEFAULT_BACK : static_cast<COLORREF>(record->back_color);
    return pixel_of_color(back);
}

// Sizes the buffer to the canvas's client area or its natural size, whichever is larger,
// within the images' limits; what it held stays where it still fits, a new part takes the
// back colour. A shrinking canvas gives the memory back.
bool size_buffer(ControlRecord* record, int width, int height)
{
    Canvas* canvas = canvas_of(record);
    width = std::clamp(std::max(width, canvas->natural_width), 1, IMAGE_MAX_SIDE);
    height = std::clamp(std::max(height, canvas->natural_height), 1, IMAGE_MAX_SIDE);
    height = static_cast<int>(std::min<std::int64_t>(height, IMAGE_MAX_PIXELS / width));
    if (canvas->buffer && width == canvas->pixels.width && height == canvas->pixels.height)
        return true;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP buffer = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!buffer || !bits)
        return false;
    PixelSurface grown{static_cast<std::uint32_t*>(bits), width, height};
    pixels_fill_rect(grown, {0, 0, width, height}, back_pixel(record));
    if (canvas->buffer) {
        pixels_blend(grown, canvas->pixels, 0, 0);
        draw_release_bitmap(canvas->buffer);
        DeleteObject(canvas->buffer);
    }
    canvas->buffer = buffer;
    canvas->pixels = grown;
    return true;
}

void paint(ControlRecord* record)
{
    Canvas* canvas = canvas_of(record);
    HWND window = control_hwnd(record);
    PAINTSTRUCT paint_info;
    HDC context = BeginPaint(window, &paint_info);
    HDC memory = CreateCompatibleDC(context);
    HGDIOBJ previous = memory ? SelectObject(memory, canvas->buffer) : nullptr;
    const RECT& area = paint_info.rcPaint;
    if (previous) {
        BitBlt(context, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, area.left,
               area.top, SRCCOPY);
        SelectObject(memory, previous);
        ++canvas->repaints;
    }
    if (memory)
        DeleteDC(memory);
    if ((canvas->flags & GK_Canvas_DrawFocus) && GetFocus() == window) {
        RECT client;
        GetClientRect(window, &client);
        DrawFocusRect(context, &client);
    }
    EndPaint(window, &paint_info);
}

void take_position(ControlRecord* record, LPARAM lparam)
{
    canvas_of(record)->mouse_x = GET_X_LPARAM(lparam);
    canvas_of(record)->mouse_y = GET_Y_LPARAM(lparam);
}

// A button went down: the canvas holds the pointer (and, if asked, keeps it inside).
void press(ControlRecord* record, LPARAM lparam, int type)
{
    HWND window = control_hwnd(record);
    take_position(record, lparam);
    if (canvas_of(record)->flags & GK_Canvas_Keyboard)
        SetFocus(window);
    SetCapture(window);
    if (canvas_of(record)->flags & GK_Canvas_ClipMouse) {
        RECT client;
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        ClipCursor(&client);
    }
    control_raise_event(record, type);
}

void release(ControlRecord* record, WPARAM wparam, LPARAM lparam, int type)
{
    take_position(record, lparam);
    if (!(wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == control_hwnd(record))
        ReleaseCapture();
    control_raise_event(record, type);
}

void wheel(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    POINT at = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    ScreenToClient(control_hwnd(record), &at);
    canvas_of(record)->mouse_x = at.x;
    canvas_of(record)->mouse_y = at.y;
    canvas_of(record)->wheel = GET_WHEEL_DELTA_WPARAM(wparam);
    control_raise_event(record, EVENTTYPE_CANVAS_WHEEL);
}

// Keys reach the canvas only with GK_Canvas_Keyboard; false leaves the message alone.
bool key(ControlRecord* record, unsigned message, WPARAM wparam)
{
    if (!(canvas_of(record)->flags & GK_Canvas_Keyboard))
        return false;
    canvas_of(record)->key = static_cast<int>(wparam);
    int type = message == WM_KEYDOWN ? EVENTTYPE_CANVAS_KEY_DOWN
               : message == WM_KEYUP ? EVENTTYPE_CANVAS_KEY_UP
                                     : EVENTTYPE_CANVAS_CHARACTER;
    control_raise_event(record, type);
    return true;
}

// Children's notifications reach the window as if the children were placed on it.
std::intptr_t forward_to_window(ControlRecord* record, unsigned message, WPARAM wparam, LPARAM lparam)
{
    std::intptr_t result = 0;
    if (window_translate_message(record->handle, message, wparam, lparam, &result))
        return result;
    return CONTROL_NOT_HANDLED;
}

std::intptr_t input_message(ControlRecord* record, unsigned message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_LBUTTONDOWN: press(record, lparam, EVENTTYPE_CANVAS_LEFT_DOWN); return 0;
    case WM_RBUTTONDOWN: press(record, lparam, EVENTTYPE_CANVAS_RIGHT_DOWN); return 0;
    case WM_LBUTTONDBLCLK: press(record, lparam, EVENTTYPE_CANVAS_LEFT_DOUBLE_CLICK); return 0;
    case WM_RBUTTONDBLCLK: press(record, lparam, EVENTTYPE_CANVAS_RIGHT_DOUBLE_CLICK); return 0;
    case WM_LBUTTONUP: release(record, wparam, lparam, EVENTTYPE_CANVAS_LEFT_UP); return 0;
    case WM_RBUTTONUP: release(record, wparam, lparam, EVENTTYPE_CANVAS_RIGHT_UP); return 0;
    case WM_MOUSEMOVE:
        take_position(record, lparam);
        control_raise_event(record, EVENTTYPE_CANVAS_MOVE);
        return 0;
    case WM_MOUSEWHEEL: wheel(record, wparam, lparam); return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: return key(record, message, wparam) ? 0 : CONTROL_NOT_HANDLED;
    }
    return CONTROL_NOT_HANDLED;
}

std::intptr_t canvas_message(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    Canvas* canvas = canvas_of(record);
    if (!canvas)
        return CONTROL_NOT_HANDLED;
    switch (message) {
    case WM_PAINT: paint(record); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: size_buffer(record, LOWORD(lparam), HIWORD(lparam)); return CONTROL_NOT_HANDLED;
    case WM_CAPTURECHANGED: ClipCursor(nullptr); return 0;
    case WM_GETDLGCODE: return (canvas->flags & GK_Canvas_Keyboard) ? DLGC_WANTALLKEYS : CONTROL_NOT_HANDLED;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (canvas->flags & GK_Canvas_DrawFocus)
            InvalidateRect(control_hwnd(record), nullptr, FALSE);
        return CONTROL_NOT_HANDLED;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: return forward_to_window(record, message, wparam, lparam);
    }
    return input_message(record, message, wparam, lparam);
}

std::intptr_t canvas_get_attribute(ControlRecord* record, int attribute)
{
    const Canvas* canvas = canvas_of(record);
    switch (attribute) {
    case CANVAS_MOUSE_X: return canvas->mouse_x;
    case CANVAS_MOUSE_Y: return canvas->mouse_y;
    case CANVAS_KEY: return canvas->key;
    case CANVAS_WHEEL: return canvas->wheel;
    case CANVAS_WIDTH: return canvas->natural_width;
    case CANVAS_HEIGHT: return canvas->natural_height;
    case CANVAS_REPAINTS: return canvas->repaints;
    default: return 0;
    }
}

int canvas_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    Canvas* canvas = canvas_of(record);
    int size = static_cast<int>(std::clamp<std::intptr_t>(value, 0, IMAGE_MAX_SIDE));
    if (attribute == CANVAS_WIDTH)
        canvas->natural_width = size;
    else if (attribute == CANVAS_HEIGHT)
        canvas->natural_height = size;
    else
        return 0;
    RECT client = {};
    GetClientRect(control_hwnd(record), &client);
    return size_buffer(record, client.right, client.bottom) ? 1 : 0;
}

int canvas_set_color(ControlRecord* record, int which, std::int32_t color)
{
    if (which != CONTROL_COLOR_BACK)
        return 0;
    record->back_color = color;
    return 1;
}

std::int32_t canvas_get_color(ControlRecord* record, int which)
{
    return which == CONTROL_COLOR_BACK ? record->back_color : CONTROL_COLOR_DEFAULT;
}

int canvas_natural_size(ControlRecord* record, int* width, int* height)
{
    *width = canvas_of(record)->natural_width;
    *height = canvas_of(record)->natural_height;
    return *width > 0 || *height > 0;
}

int canvas_open_item(ControlRecord* record, int)
{
    return (canvas_of(record)->flags & GK_Canvas_Container) ? container_push(record->handle) : 0;
}

void canvas_destroy(ControlRecord* record)
{
    Canvas* canvas = canvas_of(record);
    if (canvas && canvas->buffer) {
        draw_release_bitmap(canvas->buffer);
        DeleteObject(canvas->buffer);
    }
    delete canvas;
    record->kind_data = nullptr;
}

const ControlOps CANVAS_OPS = {
    .kind = CONTROL_KIND_CANVAS,
    .window_message = canvas_message,
    .destroy = canvas_destroy,
    .open_item = canvas_open_item,
    .get_attribute = canvas_get_attribute,
    .set_attribute = canvas_set_attribute,
    .set_color = canvas_set_color,
    .get_color = canvas_get_color,
    .natural_size = canvas_natural_size,
};

void show_drawing(void* window)
{
    InvalidateRect(static_cast<HWND>(window), nullptr, FALSE);
    UpdateWindow(static_cast<HWND>(window));
}

}  // namespace

ObjectNumber canvas_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    auto* canvas = new (std::nothrow) Canvas{};
    if (!canvas || !kit_register_class(CLASS_NAME, DefWindowProcW, true, CS_DBLCLKS)) {
        delete canvas;
        return 0;
    }
    canvas->flags = flags;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | ((flags & GK_Canvas_Border) ? WS_BORDER : 0) |
                  ((flags & GK_Canvas_Keyboard) ? WS_TABSTOP : 0);
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"KitCanvas", u"", 0, style, x, y, width, height, &CANVAS_OPS,
                                              &record);
    if (!made) {
        delete canvas;
        return 0;
    }
    record->kind_data = canvas;
    RECT client;
    GetClientRect(control_hwnd(record), &client);
    if (!size_buffer(record, client.right, client.bottom)) {
        control_free(number == GK_ANY ? made : number);
        return 0;
    }
    return made;
}

int draw_begin_canvas(ObjectNumber canvas)
{
    ControlRecord* record = control_record(canvas);
    if (!record || record->ops != &CANVAS_OPS || !canvas_of(record)) {
        draw_end();
        return 0;
    }
    return draw_begin_surface(canvas_of(record)->pixels, canvas_of(record)->buffer, show_drawing, record->handle);
}
