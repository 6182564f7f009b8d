#include "toolkit/scale.h"
#include "toolkit/text.h"

#include "toolkit/control_internal.h"

#include <windows.h>

#include <string_view>

namespace {

std::intptr_t text_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message != WM_CTLCOLORSTATIC)
        return CONTROL_NOT_HANDLED;
    return control_color_paint(record, message, wparam);
}

// The whole text as drawn, plus one pixel each side, or the border's edges instead.
int text_natural_size(ControlRecord* record, int* width, int* height)
{
    if (!control_measure_text(record, control_window_text(record), true, width, height))
        return 0;
    bool border = (GetWindowLongPtrW(static_cast<HWND>(record->handle), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    *width += border ? 2 * scale_control_metric(record, SM_CXEDGE) : scale_control_pixels(record, 2);
    *height += border ? 2 * scale_control_metric(record, SM_CYEDGE) : scale_control_pixels(record, 2);
    return 1;
}

const ControlOps TEXT_OPS = {
    .kind = CONTROL_KIND_TEXT,
    .notify = text_notify,
    .destroy = control_color_release,
    .set_color = control_color_set,
    .get_color = control_color_get,
    .natural_size = text_natural_size,
};

}  // namespace

ObjectNumber text_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                         std::uint32_t flags)
{
    DWORD ex_style = (flags & GK_Text_Border) ? WS_EX_CLIENTEDGE : 0;
    // A label made with an "&" in its text marks a mnemonic; any other shows every text as it
    // is, since a program may put the user's words in it later.
    bool marks = text && std::u16string_view(text).find(u'&') != std::u16string_view::npos;
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_GROUP | (marks ? 0 : SS_NOPREFIX) | (flags & (GK_Text_Center | GK_Text_Right));
    return control_create_window(number, u"Static", text, ex_style, style, x, y, width, height, &TEXT_OPS, nullptr);
}
