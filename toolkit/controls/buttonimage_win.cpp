#include "toolkit/controls/buttonimage.h"

#include "images/image.h"
#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/scale.h"

namespace {

// The record keeps the image's number in kind_state and the flattened bitmap the button
// shows in kind_data.
void drop_bitmap(ControlRecord* record)
{
    if (record->kind_data)
        DeleteObject(static_cast<HBITMAP>(record->kind_data));
    record->kind_data = nullptr;
}

int buttonimage_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    if (attribute != IMAGE_ATTRIBUTE_PICTURE)
        return 0;
    void* flat = image_flatten_sized(value, static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE)),
                                     scale_control_pixels(record, image_width(value)),
                                     scale_control_pixels(record, image_height(value)));
    control_send(record, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(flat));
    drop_bitmap(record);
    record->kind_data = flat;
    record->kind_state = flat ? value : 0;
    return 1;
}

// A scale change gives every control its font again; the face is then made anew when the
// picture's size in device pixels changed with it.
std::intptr_t buttonimage_message(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t)
{
    BITMAP shown = {};
    if (message != WM_SETFONT || !record->kind_data ||
        !GetObjectW(static_cast<HBITMAP>(record->kind_data), sizeof(shown), &shown))
        return CONTROL_NOT_HANDLED;
    auto image = static_cast<ObjectNumber>(record->kind_state);
    if (shown.bmWidth != scale_control_pixels(record, image_width(image)) ||
        shown.bmHeight != scale_control_pixels(record, image_height(image)))
        buttonimage_set_attribute(record, IMAGE_ATTRIBUTE_PICTURE, image);
    return CONTROL_NOT_HANDLED;
}

std::intptr_t buttonimage_get_attribute(ControlRecord* record, int attribute)
{
    return attribute == IMAGE_ATTRIBUTE_PICTURE ? record->kind_state : 0;
}

int buttonimage_get_state(ControlRecord* record)
{
    return control_send(record, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
}

int buttonimage_set_state(ControlRecord* record, int value)
{
    control_send(record, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
    return 1;
}

// The image with the border around it, from the bitmap the button shows.
int buttonimage_natural_size(ControlRecord* record, int* width, int* height)
{
    BITMAP shown = {};
    if (record->kind_data)
        GetObjectW(static_cast<HBITMAP>(record->kind_data), sizeof(shown), &shown);
    int border = scale_control_pixels(record, BUTTONIMAGE_BORDER);
    *width = shown.bmWidth + 2 * border;
    *height = shown.bmHeight + 2 * border;
    return 1;
}

const ControlOps BUTTONIMAGE_OPS = {
    .kind = CONTROL_KIND_BUTTONIMAGE,
    .window_message = buttonimage_message,
    .destroy = drop_bitmap,
    .get_state = buttonimage_get_state,
    .set_state = buttonimage_set_state,
    .get_attribute = buttonimage_get_attribute,
    .set_attribute = buttonimage_set_attribute,
    .natural_size = buttonimage_natural_size,
};

}  // namespace

ObjectNumber buttonimage_create(ObjectNumber number, int x, int y, int width, int height, ObjectNumber image,
                                std::uint32_t flags)
{
    bool toggle = (flags & GK_Button_Toggle) == GK_Button_Toggle;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_BITMAP | (toggle ? BS_AUTOCHECKBOX | BS_PUSHLIKE : BS_PUSHBUTTON);
    ControlRecord* record = nullptr;
    ObjectNumber made =
        control_create_window(number, u"Button", u"", 0, style, x, y, width, height, &BUTTONIMAGE_OPS, &record);
    if (made && image)
        buttonimage_set_attribute(record, IMAGE_ATTRIBUTE_PICTURE, image);
    return made;
}
