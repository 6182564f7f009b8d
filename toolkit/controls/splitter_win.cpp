#include "toolkit/controls/splitter.h"

#include "toolkit/controls/controls_internal.h"
#include "toolkit/controls/splitter_logic.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"

#include <new>

namespace {

constexpr wchar_t CLASS_NAME[] = L"KitSplitter";
constexpr LONG_PTR DATA_READY = 1;
constexpr int GRIP_FROM = 2;  // the grip lies 2 to 5 pixels past the first part
constexpr int GRIP_TO = 5;

struct SplitterData {
    HWND first;
    HWND second;
    SplitterShare share;
    int separator;  // at 96 dots per inch
    int grab;
};

struct SplitterCursors {
    HCURSOR across;  // IDC_SIZEWE, for a vertical splitter
    HCURSOR down;    // IDC_SIZENS
};

SplitterCursors g_cursors = {};

// The separator's thickness for the resolution of the splitter's window.
int separator_of(const SplitterData* data)
{
    return scale_pixels(data->separator, scale_window_dpi(data->first));
}

SplitterData* data_of(const ControlRecord* record)
{
    return static_cast<SplitterData*>(record->kind_data);
}

bool vertical(const SplitterData* data)
{
    return (data->share.flags & GK_Splitter_Vertical) != 0;
}

// A window's rectangle in the splitter's client coordinates; empty for a part that is gone.
RECT rect_in(HWND splitter, HWND window)
{
    RECT rect = {};
    if (!window)
        return rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, splitter, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int available_length(HWND splitter, const SplitterData* data)
{
    RECT client = {};
    GetClientRect(splitter, &client);
    return (vertical(data) ? client.right : client.bottom) - separator_of(data);
}

// Moves a part's control; a toolkit control goes through control_resize.
void place(HWND window, int x, int y, int width, int height)
{
    if (!window)
        return;
    ObjectNumber number = GetWindowLongPtrW(window, GWLP_ID);
    ControlRecord* record = control_record(number);
    if (record && record->handle == window)
        control_resize(number, x, y, width, height);
    else
        MoveWindow(window, x, y, width, height, TRUE);
}

void lay_out(HWND splitter, SplitterData* data, int given_second, SplitterCause cause)
{
    RECT first = rect_in(splitter, data->first);
    RECT second = rect_in(splitter, data->second);
    bool across = vertical(data);
    int first_now = across ? first.right - first.left : first.bottom - first.top;
    int second_now = across ? second.right - separator_of(data) - first.right
                            : second.bottom - separator_of(data) - first.bottom;
    SplitterLengths lengths =
        splitter_lengths(data->share, available_length(splitter, data), given_second, first_now, second_now, cause);
    RECT client = {};
    GetClientRect(splitter, &client);
    int offset = lengths.first + separator_of(data);
    if (across) {
        place(data->first, 0, 0, lengths.first, client.bottom);
        place(data->second, offset, 0, lengths.second, client.bottom);
    } else {
        place(data->first, 0, 0, client.right, lengths.first);
        place(data->second, 0, offset, client.right, lengths.second);
    }
    InvalidateRect(splitter, nullptr, TRUE);
}

void redraw_parts(const SplitterData* data)
{
    for (HWND part : {data->first, data->second}) {
        if (part)
            RedrawWindow(part, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
    }
}

// The distance of the point past the first part's far edge, when it lies within the
// separator's thickness of that edge.
bool hit_test(HWND splitter, const SplitterData* data, POINT point, int* hit)
{
    if (!data->first)
        return false;
    RECT first = rect_in(splitter, data->first);
    int distance = vertical(data) ? point.x - first.right : point.y - first.bottom;
    if (distance <= -separator_of(data) || distance >= separator_of(data))
        return false;
    *hit = distance;
    return true;
}

POINT point_of(LPARAM lparam)
{
    return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

LRESULT on_size(HWND splitter, ControlRecord* record, SplitterData* data)
{
    lay_out(splitter, data, 0, SplitterCause::Resize);
    redraw_parts(data);
    control_raise_event(record, EVENTTYPE_LEFT_CLICK);
    return 0;
}

LRESULT on_mouse_move(HWND splitter, ControlRecord* record, SplitterData* data, LPARAM lparam)
{
    if (GetCapture() != splitter)
        return 0;
    POINT point = point_of(lparam);
    splitter_drag(&data->share, available_length(splitter, data), data->grab, vertical(data) ? point.x : point.y);
    lay_out(splitter, data, 0, SplitterCause::Drag);
    redraw_parts(data);
    control_raise_event(record, EVENTTYPE_LEFT_CLICK);
    return 0;
}

LRESULT on_button_down(HWND splitter, SplitterData* data, LPARAM lparam)
{
    if (hit_test(splitter, data, point_of(lparam), &data->grab))
        SetCapture(splitter);
    return 0;
}

LRESULT on_set_cursor(HWND splitter, const SplitterData* data)
{
    POINT point = {};
    GetCursorPos(&point);
    ScreenToClient(splitter, &point);
    int hit = 0;
    if (!hit_test(splitter, data, point, &hit))
        return 0;
    SetCursor(vertical(data) ? g_cursors.across : g_cursors.down);
    return 1;
}

// Toolbars and buttons that draw over the background (check boxes, options, group boxes)
// keep it; every other visible child is left out of the fill.
bool keeps_background(HWND child)
{
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, L"ToolbarWindow32") == 0)
        return true;
    return lstrcmpiW(name, L"Button") == 0 && (GetWindowLongPtrW(child, GWL_STYLE) & 7) != 0;
}

LRESULT on_erase(HWND splitter, HDC context)
{
    for (HWND child = GetWindow(splitter, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child) || keeps_background(child))
            continue;
        RECT rect = rect_in(splitter, child);
        ExcludeClipRect(context, rect.left, rect.top, rect.right, rect.bottom);
    }
    RECT client = {};
    GetClientRect(splitter, &client);
    FillRect(context, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return 1;
}

LRESULT on_paint(HWND splitter, const SplitterData* data)
{
    PAINTSTRUCT paint;
    HDC context = BeginPaint(splitter, &paint);
    RECT grip = rect_in(splitter, data->first);
    int dpi = scale_window_dpi(splitter);
    if (vertical(data)) {
        grip.left = grip.right + scale_pixels(GRIP_FROM, dpi);
        grip.right += scale_pixels(GRIP_TO, dpi);
    } else {
        grip.top = grip.bottom + scale_pixels(GRIP_FROM, dpi);
        grip.bottom += scale_pixels(GRIP_TO, dpi);
    }
    DrawFrameControl(context, &grip, DFC_BUTTON, DFCS_BUTTONPUSH);
    EndPaint(splitter, &paint);
    return 0;
}

bool handle(HWND splitter, UINT message, LPARAM lparam, LRESULT* result)
{
    ControlRecord* record = kit_record_of(splitter);
    SplitterData* data = record ? data_of(record) : nullptr;
    if (!data)
        return false;
    switch (message) {
    case WM_SIZE:
        if (lparam == 0)
            return false;
        [[fallthrough]];
    case WM_SIZING: *result = on_size(splitter, record, data); return true;
    case WM_PAINT:
        if (!(data->share.flags & GK_Splitter_Separator))
            return false;
        *result = on_paint(splitter, data);
        return true;
    case WM_SETCURSOR: *result = on_set_cursor(splitter, data); return true;
    case WM_LBUTTONDOWN: *result = on_button_down(splitter, data, lparam); return true;
    case WM_MOUSEMOVE: *result = on_mouse_move(splitter, record, data, lparam); return true;
    case WM_LBUTTONUP:
        // The release point is the drag's last position: a pointer move reported only with
        // the release is not lost.
        on_mouse_move(splitter, record, data, lparam);
        ReleaseCapture();
        return false;
    }
    return false;
}

// A part whose window is destroyed is forgotten at once: its handle may soon name another
// window, which the splitter must never move.
void forget_part(HWND splitter, HWND child)
{
    ControlRecord* record = kit_record_of(splitter);
    SplitterData* data = record ? data_of(record) : nullptr;
    if (!data)
        return;
    if (data->first == child)
        data->first = nullptr;
    if (data->second == child)
        data->second = nullptr;
}

LRESULT CALLBACK splitter_procedure(HWND splitter, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (GetWindowLongPtrW(splitter, 0) != DATA_READY)
        return kit_default(splitter, message, wparam, lparam);
    if (message == WM_PARENTNOTIFY && LOWORD(wparam) == WM_DESTROY)
        forget_part(splitter, reinterpret_cast<HWND>(lparam));
    if (message == WM_ERASEBKGND)
        return on_erase(splitter, reinterpret_cast<HDC>(wparam));
    if (handle(splitter, message, lparam, &result))
        return result;
    return kit_default(splitter, message, wparam, lparam);
}

int splitter_get_state(ControlRecord* record)
{
    auto splitter = static_cast<HWND>(record->handle);
    SplitterData* data = data_of(record);
    RECT first = rect_in(splitter, data->first);
    return vertical(data) ? first.right : first.bottom;
}

int splitter_set_state(ControlRecord* record, int position)
{
    auto splitter = static_cast<HWND>(record->handle);
    SplitterData* data = data_of(record);
    int second = splitter_state(&data->share, available_length(splitter, data), position);
    if (second > 0)
        lay_out(splitter, data, second, SplitterCause::State);
    return 1;
}

ObjectNumber number_of(HWND window)
{
    return IsWindow(window) ? GetWindowLongPtrW(window, GWLP_ID) : 0;
}

std::intptr_t splitter_get_attribute(ControlRecord* record, int attribute)
{
    const SplitterData* data = data_of(record);
    switch (attribute) {
    case SPLITTER_FIRST_MINIMUM: return data->share.first_minimum;
    case SPLITTER_SECOND_MINIMUM: return data->share.second_minimum;
    case SPLITTER_FIRST_CONTROL: return number_of(data->first);
    case SPLITTER_SECOND_CONTROL: return number_of(data->second);
    }
    return 0;
}

// The old control goes back to the splitter's own parent; the new one moves in.
int replace_control(ControlRecord* record, int attribute, ObjectNumber control)
{
    auto splitter = static_cast<HWND>(record->handle);
    SplitterData* data = data_of(record);
    auto window = static_cast<HWND>(control_os_handle(control));
    if (!window)
        return 0;
    HWND& slot = attribute == SPLITTER_FIRST_CONTROL ? data->first : data->second;
    if (slot && slot != window) {
        SetParent(slot, GetParent(splitter));
        RedrawWindow(slot, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
    }
    slot = window;
    SetParent(window, splitter);
    lay_out(splitter, data, 0, SplitterCause::State);
    if (attribute == SPLITTER_FIRST_CONTROL)
        InvalidateRect(splitter, nullptr, TRUE);
    redraw_parts(data);
    return 1;
}

int splitter_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    SplitterData* data = data_of(record);
    switch (attribute) {
    case SPLITTER_FIRST_MINIMUM: data->share.first_minimum = splitter_minimum_valid(value); return 1;
    case SPLITTER_SECOND_MINIMUM: data->share.second_minimum = splitter_minimum_valid(value); return 1;
    case SPLITTER_FIRST_CONTROL:
    case SPLITTER_SECOND_CONTROL: return replace_control(record, attribute, value);
    }
    return 0;
}

void splitter_destroy(ControlRecord* record)
{
    delete data_of(record);
    record->kind_data = nullptr;
}

const ControlOps SPLITTER_OPS = {
    .kind = CONTROL_KIND_SPLITTER,
    .destroy = splitter_destroy,
    .get_state = splitter_get_state,
    .set_state = splitter_set_state,
    .get_attribute = splitter_get_attribute,
    .set_attribute = splitter_set_attribute,
};

bool register_class()
{
    if (!g_cursors.across) {
        g_cursors.across = LoadCursorW(nullptr, IDC_SIZEWE);
        g_cursors.down = LoadCursorW(nullptr, IDC_SIZENS);
    }
    return kit_register_class(CLASS_NAME, splitter_procedure, false);
}

}  // namespace

ObjectNumber splitter_create(ObjectNumber number, int x, int y, int width, int height, ObjectNumber first,
                             ObjectNumber second, std::uint32_t flags)
{
    auto first_window = static_cast<HWND>(control_os_handle(first));
    auto second_window = static_cast<HWND>(control_os_handle(second));
    if (!first_window || !second_window || first_window == second_window || !register_class())
        return 0;
    int separator = (flags & GK_Splitter_Separator) ? SPLITTER_WIDE_SEPARATOR : SPLITTER_NARROW_SEPARATOR;
    auto* data = new (std::nothrow) SplitterData{first_window, second_window, {2.0, flags, 0, 0}, separator, 0};
    ControlRecord* record = nullptr;
    ObjectNumber made = data ? control_create_window(number, u"KitSplitter", u"", 0, WS_CHILD | WS_VISIBLE, x, y, width,
                                                     height, &SPLITTER_OPS, &record)
                             : 0;
    if (!made) {
        delete data;
        return 0;
    }
    auto splitter = static_cast<HWND>(record->handle);
    record->kind_data = data;
    SetParent(second_window, splitter);
    SetParent(first_window, splitter);
    SetWindowLongPtrW(splitter, 0, DATA_READY);
    lay_out(splitter, data, 0, SplitterCause::Drag);
    redraw_parts(data);
    return made;
}
