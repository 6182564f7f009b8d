#include "toolkit/button.h"

#include "toolkit/control_internal.h"
#include "toolkit/scale.h"

#include <windows.h>

namespace {

constexpr int MIN_HEIGHT = 24;
constexpr int TEXT_PADDING = 10;

int button_get_state(ControlRecord* record)
{
    return static_cast<int>(SendMessageW(static_cast<HWND>(record->handle), BM_GETCHECK, 0, 0) & 1);
}

int button_set_state(ControlRecord* record, int value)
{
    SendMessageW(static_cast<HWND>(record->handle), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    return 1;
}

// The text's one-line extent with padding and the edges, never lower than MIN_HEIGHT.
int button_natural_size(ControlRecord* record, int* width, int* height)
{
    if (!control_measure_text(record, control_window_text(record), false, width, height))
        return 0;
    *width += scale_control_pixels(record, TEXT_PADDING) + 2 * scale_control_metric(record, SM_CXEDGE);
    *height += 2 * scale_control_metric(record, SM_CYEDGE);
    if (*height < scale_control_pixels(record, MIN_HEIGHT))
        *height = scale_control_pixels(record, MIN_HEIGHT);
    return 1;
}

const ControlOps BUTTON_OPS = {
    .kind = CONTROL_KIND_BUTTON,
    .get_state = button_get_state,
    .set_state = button_set_state,
    .natural_size = button_natural_size,
};

}  // namespace

ObjectNumber button_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                           std::uint32_t flags)
{
    constexpr std::uint32_t KIND_FLAGS =
        GK_Button_Default | GK_Button_Left | GK_Button_Right | GK_Button_MultiLine | GK_Button_Toggle;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | (flags & KIND_FLAGS);
    return control_create_window(number, u"Button", text, 0, style, x, y, width, height, &BUTTON_OPS, nullptr);
}
