#include "toolkit/control.h"

#include "toolkit/accessible_win.h"
#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/scale.h"
#include "toolkit/window.h"

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace {

constexpr wchar_t ID_PROPERTY[] = L"GK_ID";
constexpr DWORD COMMON_CONTROL_CLASSES = 0xB48;  // tab, hot key, date, extended combo, IP address

struct ControlState {
    ObjectTable* table;
    HFONT default_font;
    std::intptr_t one_shot;  // cleared after each creation (option groups)
    std::uint64_t last_stamp;
};

ControlState* g_controls = nullptr;

ObjectNumber number_of(const ControlRecord* record)
{
    return GetWindowLongPtrW(static_cast<HWND>(record->handle), GWLP_ID);
}

// Calls the kind's operation in `Slot`; a number that names no control, or a kind without
// the operation, gets the operation's zero value ("" for a text).
template <auto Slot, typename... Args>
auto call_slot(ObjectNumber control, Args... args)
{
    using Result = decltype((std::declval<const ControlOps&>().*Slot)(nullptr, args...));
    ControlRecord* record = control_record(control);
    return record && record->ops->*Slot ? (record->ops->*Slot)(record, args...) : Result{};
}

// The same for a change the program makes: it runs muted.
template <auto Slot, typename... Args>
int call_slot_muted(ObjectNumber control, Args... args)
{
    ControlRecord* record = control_record(control);
    if (!record || !(record->ops->*Slot))
        return 0;
    MutedScope muted;
    return (record->ops->*Slot)(record, args...);
}

LRESULT on_destroyed(ControlRecord* record, HWND window, WPARAM wparam, LPARAM lparam)
{
    ObjectNumber number = number_of(record);
    LRESULT result = control_call_previous(record, WM_NCDESTROY, wparam, lparam);
    if (record->ops->destroy)
        record->ops->destroy(record);
    control_forget(number, window);
    return result;
}

LRESULT handle_message(ControlRecord* record, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_GETOBJECT)
        return accessible_get_object(record, wparam, lparam);
    if (record->ops->window_message) {
        ControlLife life = control_life(record);
        LRESULT result = record->ops->window_message(record, message, wparam, lparam);
        if (result != CONTROL_NOT_HANDLED)
            return result;
        if (!control_alive(life))
            return 0;
    }
    return control_call_previous(record, message, wparam, lparam);
}

// While a control's window handles a message, the platform's code of that window may be on
// the stack: a free meanwhile parks the window (control_parking_win.cpp) instead of
// destroying it under that code.
LRESULT CALLBACK control_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    ObjectNumber number = GetWindowLongPtrW(window, GWLP_ID);
    ControlRecord* record = number == -1 ? nullptr : control_record(number);
    if (!record || record->handle != window)
        return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY)
        return on_destroyed(record, window, wparam, lparam);
    control_busy_enter(window);
    LRESULT result = handle_message(record, message, wparam, lparam);
    control_busy_leave();
    return result;
}

void destroy_one(ObjectNumber number)
{
    ControlRecord* record = control_record(number);
    if (!record)
        return;
    control_park_busy_within(record->handle);
    if (control_record(number) != record)
        return;
    DestroyWindow(control_hwnd(record));
    // A window that could not be destroyed (another thread's) gives up its record anyway.
    if (control_record(number) == record)
        object_free(g_controls->table, number);
}

// The control's rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

std::u16string control_window_text(const ControlRecord* record)
{
    HWND window = control_hwnd(record);
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    int length = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

ObjectNumber control_number_of(const ControlRecord* record)
{
    return number_of(record);
}

void control_forget(ObjectNumber number, void* handle)
{
    auto window = static_cast<HWND>(handle);
    RemovePropW(window, ID_PROPERTY);
    SetWindowLongPtrW(window, GWLP_ID, -1);
    event_unqueue(EVENT_GADGET, number, -1, -1);
    // A dynamic number may be given to a later control; bindings to fixed numbers stay.
    if (number >= OBJECT_FIXED_LIMIT)
        event_unbind_all_of_object(EVENT_GADGET, number);
    object_free(g_controls->table, number);
}

ControlRecord* control_record(ObjectNumber control)
{
    return g_controls ? static_cast<ControlRecord*>(object_get(g_controls->table, control)) : nullptr;
}

int control_start()
{
    font_share_with_drawing();
    if (g_controls)
        return 1;
    brush_start();
    auto* state = static_cast<ControlState*>(state_block_new(sizeof(ControlState), nullptr));
    if (!state)
        return 0;
    state->default_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    state->table = object_table_new(sizeof(ControlRecord), 50, destroy_one);
    if (!state->table || !container_start())
        return 0;
    INITCOMMONCONTROLSEX classes = {sizeof(classes), COMMON_CONTROL_CLASSES};
    InitCommonControlsEx(&classes);
    g_controls = state;
    return 1;
}

void control_end()
{
    control_free(-1);
}

void* control_default_font()
{
    return g_controls ? g_controls->default_font : nullptr;
}

std::intptr_t control_one_shot()
{
    return g_controls ? g_controls->one_shot : 0;
}

void control_set_one_shot(std::intptr_t value)
{
    if (g_controls)
        g_controls->one_shot = value;
}

namespace {

// True when the fixed number names a control that holds the window: taking the number
// would destroy that control, and the window with it.
bool names_a_container_of(ObjectNumber number, HWND window)
{
    ControlRecord* existing = number == GK_ANY ? nullptr : control_record(number);
    return existing && IsChild(static_cast<HWND>(existing->handle), window);
}

}  // namespace

ObjectNumber control_register(ObjectNumber number, void* handle, const ControlOps* ops, ControlRecord** record_out)
{
    auto window = static_cast<HWND>(handle);
    if (window && names_a_container_of(number, window)) {
        DestroyWindow(window);
        return 0;
    }
    auto* record = g_controls && window ? static_cast<ControlRecord*>(object_new(g_controls->table, number)) : nullptr;
    if (!record) {
        if (window)
            DestroyWindow(window);
        return 0;
    }
    ObjectNumber made = object_number_for(number, record);
    record->handle = window;
    record->ops = ops;
    record->back_color = CONTROL_COLOR_DEFAULT;
    record->front_color = CONTROL_COLOR_DEFAULT;
    record->stamp = ++g_controls->last_stamp;
    SetWindowLongPtrW(window, GWLP_ID, made);
    SetPropW(window, ID_PROPERTY, reinterpret_cast<HANDLE>(made));
    record->previous_procedure = reinterpret_cast<void*>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control_procedure)));
    void* font = scale_font(g_controls->default_font, scale_window_dpi(window), scale_system_dpi());
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    g_controls->one_shot = 0;
    if (record_out)
        *record_out = record;
    return number == GK_ANY ? made : reinterpret_cast<ObjectNumber>(window);
}

ObjectNumber control_create_window(ObjectNumber number, const char16_t* class_name, const char16_t* text,
                                   std::uint32_t ex_style, std::uint32_t style, int x, int y, int width, int height,
                                   const ControlOps* ops, ControlRecord** record_out)
{
    auto parent = static_cast<HWND>(container_current());
    if (!g_controls || !parent)
        return 0;
    HWND window = CreateWindowExW(ex_style, reinterpret_cast<const wchar_t*>(class_name),
                                  text ? reinterpret_cast<const wchar_t*>(text) : L"", style, x, y, width, height,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), GetModuleHandleW(nullptr),
                                  nullptr);
    if (!window)
        return 0;
    return control_register(number, window, ops, record_out);
}

std::intptr_t control_call_previous(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam)
{
    auto previous = reinterpret_cast<WNDPROC>(record->previous_procedure);
    HWND window = control_hwnd(record);
    return previous ? CallWindowProcW(previous, window, message, wparam, lparam)
                    : DefWindowProcW(window, message, wparam, lparam);
}

ControlLife control_life(const ControlRecord* record)
{
    return {number_of(record), record->stamp};
}

ControlRecord* control_alive(const ControlLife& life)
{
    return g_controls ? control_life_record(g_controls->table, life) : nullptr;
}

bool control_raise_event(const ControlRecord* record, int type, std::uint32_t flags)
{
    ControlLife life = control_life(record);
    ObjectNumber window = 0;
    if (window_find_number(record->handle, &window))
        event_post(EVENT_GADGET, life.number, window, type, nullptr, nullptr, flags);
    return control_alive(life) != nullptr;
}

std::intptr_t control_offer_notification(void* child, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    auto window = static_cast<HWND>(child);
    ObjectNumber number = GetWindowLongPtrW(window, GWLP_ID);
    ControlRecord* record = control_record(number);
    if (!record || !record->ops->notify)
        return CONTROL_NOT_HANDLED;
    // A companion window of a control (a spin's arrows) carries the control's number too, so
    // its notifications reach the control's kind as well. The property is read only for a
    // window that is not the control's own (reading it is slow where the platform asks its
    // server, and a list sends one notification per item).
    if (record->handle != window && reinterpret_cast<ObjectNumber>(GetPropW(window, ID_PROPERTY)) != number)
        return CONTROL_NOT_HANDLED;
    return record->ops->notify(record, message, wparam, lparam);
}

int event_bind_control(ObjectNumber control, EventHandler handler, int type)
{
    ControlRecord* record = control_record(control);
    ObjectNumber window = 0;
    if (!record || !window_find_number(record->handle, &window))
        return 0;
    return event_bind(EVENT_GADGET, handler, window, control, type);
}

int control_exists(ObjectNumber control)
{
    return g_controls && object_find(g_controls->table, control) ? 1 : 0;
}

void* control_os_handle(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    return record ? record->handle : nullptr;
}

int control_kind(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    return record ? record->ops->kind : 0;
}

int control_set_text(ObjectNumber control, const char16_t* text)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    MutedScope muted;
    const char16_t* shown = text ? text : u"";
    if (record->ops->set_text)
        return record->ops->set_text(record, shown);
    return SetWindowTextW(control_hwnd(record), reinterpret_cast<const wchar_t*>(shown)) ? 1 : 0;
}

std::u16string control_get_text(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return {};
    return record->ops->get_text ? record->ops->get_text(record) : control_window_text(record);
}

int control_set_state(ObjectNumber control, int value)
{
    return call_slot_muted<&ControlOps::set_state>(control, value);
}

int control_get_state(ObjectNumber control)
{
    return call_slot<&ControlOps::get_state>(control);
}

int control_add_item(ObjectNumber control, int position, const char16_t* text, std::intptr_t image,
                     std::intptr_t flags)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    MutedScope muted;
    const char16_t* shown = text ? text : u"";
    if (record->ops->add_item_ex)
        return record->ops->add_item_ex(record, position, shown, image, flags);
    return record->ops->add_item ? record->ops->add_item(record, position, shown) : 0;
}

int control_remove_item(ObjectNumber control, int index)
{
    return call_slot_muted<&ControlOps::remove_item>(control, index);
}

int control_clear_items(ObjectNumber control)
{
    return call_slot_muted<&ControlOps::clear_items>(control);
}

int control_count_items(ObjectNumber control)
{
    return call_slot<&ControlOps::count_items>(control);
}

int control_get_item_state(ObjectNumber control, int index)
{
    return call_slot<&ControlOps::get_item_state>(control, index);
}

int control_set_item_state(ObjectNumber control, int index, int state)
{
    return call_slot_muted<&ControlOps::set_item_state>(control, index, state);
}

std::u16string control_get_item_text(ObjectNumber control, int index)
{
    return call_slot<&ControlOps::get_item_text>(control, index);
}

int control_set_item_text(ObjectNumber control, int index, const char16_t* text)
{
    return call_slot_muted<&ControlOps::set_item_text>(control, index, text ? text : u"");
}

int control_set_item_data(ObjectNumber control, int index, std::intptr_t data)
{
    return call_slot<&ControlOps::set_item_data>(control, index, data);
}

std::intptr_t control_get_item_data(ObjectNumber control, int index)
{
    return call_slot<&ControlOps::get_item_data>(control, index);
}

int control_set_item_image(ObjectNumber control, int index, std::intptr_t image)
{
    return call_slot<&ControlOps::set_item_image>(control, index, image);
}

int control_set_color(ObjectNumber control, int which, std::int32_t color)
{
    return call_slot<&ControlOps::set_color>(control, which, color);
}

std::int32_t control_get_color(ObjectNumber control, int which)
{
    return call_slot<&ControlOps::get_color>(control, which);
}

int control_set_attribute(ObjectNumber control, int attribute, std::intptr_t value)
{
    return call_slot<&ControlOps::set_attribute>(control, attribute, value);
}

std::intptr_t control_get_attribute(ObjectNumber control, int attribute)
{
    return call_slot<&ControlOps::get_attribute>(control, attribute);
}

namespace {

int apply_font(ControlRecord* record, void* font)
{
    if (record->ops->set_font)
        return record->ops->set_font(record, font);
    SendMessageW(control_hwnd(record), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return 1;
}

}  // namespace

int control_set_font(ObjectNumber control, std::intptr_t font)
{
    if (!g_controls)
        return 0;
    auto handle = font == CONTROL_FONT_DEFAULT ? static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))
                                               : reinterpret_cast<HFONT>(font);
    if (control == -1) {
        g_controls->default_font = handle;
        return 1;
    }
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    return apply_font(record, scale_font(handle, scale_window_dpi(record->handle), scale_system_dpi()));
}

void control_rescale_font(void* window, int old_dpi, int new_dpi)
{
    auto handle = static_cast<HWND>(window);
    auto number = static_cast<ObjectNumber>(GetWindowLongPtrW(handle, GWLP_ID));
    ControlRecord* record = control_record(number);
    if (!record || record->handle != handle)
        return;
    void* font = control_get_font(number);
    if (font)
        apply_font(record, scale_font(font, new_dpi, old_dpi));
}

void* control_get_font(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return nullptr;
    if (record->ops->get_font)
        return record->ops->get_font(record);
    return reinterpret_cast<void*>(SendMessageW(control_hwnd(record), WM_GETFONT, 0, 0));
}

int control_activate(ObjectNumber control)
{
    if (control == -1) {
        SetFocus(nullptr);
        return 1;
    }
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    if (record->ops->activate)
        return record->ops->activate(record);
    SetFocus(control_hwnd(record));
    return 1;
}

int control_disable(ObjectNumber control, int disabled)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    EnableWindow(control_hwnd(record), !disabled);
    return 1;
}

int control_hide(ObjectNumber control, int hidden)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    if (record->ops->hide)
        return record->ops->hide(record, hidden);
    ShowWindow(control_hwnd(record), hidden ? SW_HIDE : SW_SHOW);
    return 1;
}

int control_x(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    return record->ops->get_x ? record->ops->get_x(record) : rect_in_parent(control_hwnd(record)).left;
}

int control_y(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    return record->ops->get_y ? record->ops->get_y(record) : rect_in_parent(control_hwnd(record)).top;
}

int control_width(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    if (record->ops->get_width)
        return record->ops->get_width(record);
    RECT rect = rect_in_parent(control_hwnd(record));
    return rect.right - rect.left;
}

int control_height(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    if (record->ops->get_height)
        return record->ops->get_height(record);
    RECT rect = rect_in_parent(control_hwnd(record));
    return rect.bottom - rect.top;
}

int control_resize(ObjectNumber control, int x, int y, int width, int height)
{
    ControlRecord* record = control_record(control);
    if (!record)
        return 0;
    x = x == UNCHANGED ? control_x(control) : x;
    y = y == UNCHANGED ? control_y(control) : y;
    width = width == UNCHANGED ? control_width(control) : width;
    height = height == UNCHANGED ? control_height(control) : height;
    HWND window = control_hwnd(record);
    bool button = record->ops->kind == CONTROL_KIND_BUTTON;
    // A resize raises resize events, whose handlers may free the control.
    ControlLife life = control_life(record);
    int done = record->ops->resize ? record->ops->resize(record, x, y, width, height)
                                   : (MoveWindow(window, x, y, width, height, TRUE) ? 1 : 0);
    if (!control_alive(life))
        return done;
    InvalidateRect(window, nullptr, TRUE);
    if (button)
        RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
    return done;
}

int control_required_size(ObjectNumber control, int* width, int* height)
{
    *width = 0;
    *height = 0;
    ControlRecord* record = control_record(control);
    if (!record || !record->ops->natural_size)
        return 0;
    return record->ops->natural_size(record, width, height);
}

int control_free(ObjectNumber control)
{
    if (!g_controls)
        return 0;
    if (control == -1) {
        object_free_all(g_controls->table);
        return 1;
    }
    if (!control_record(control))
        return 0;
    destroy_one(control);
    return 1;
}

int container_open_list(ObjectNumber control, int item)
{
    return call_slot<&ControlOps::open_item>(control, item);
}

int control_color_set(ControlRecord* record, int which, std::int32_t color)
{
    if (color < 0)
        color = CONTROL_COLOR_DEFAULT;
    if (which == CONTROL_COLOR_FRONT) {
        record->front_color = color;
    } else if (which == CONTROL_COLOR_BACK) {
        void* brush = color == CONTROL_COLOR_DEFAULT ? nullptr : brush_acquire(color);
        if (color != CONTROL_COLOR_DEFAULT && !brush)
            return 0;
        brush_release(record->back_brush);
        record->back_brush = brush;
        record->back_color = color;
    } else {
        return 0;
    }
    RedrawWindow(control_hwnd(record), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
    return 1;
}

std::int32_t control_color_get(ControlRecord* record, int which)
{
    if (which == CONTROL_COLOR_FRONT)
        return record->front_color;
    return which == CONTROL_COLOR_BACK ? record->back_color : 0;
}

std::intptr_t control_color_paint(ControlRecord* record, unsigned message, std::uintptr_t device_context)
{
    if (record->front_color == CONTROL_COLOR_DEFAULT && record->back_color == CONTROL_COLOR_DEFAULT)
        return CONTROL_NOT_HANDLED;
    auto context = reinterpret_cast<HDC>(device_context);
    if (record->front_color != CONTROL_COLOR_DEFAULT)
        SetTextColor(context, static_cast<COLORREF>(record->front_color));
    if (record->back_color != CONTROL_COLOR_DEFAULT && record->back_brush) {
        SetBkColor(context, static_cast<COLORREF>(record->back_color));
        return reinterpret_cast<std::intptr_t>(record->back_brush);
    }
    int system_color = message == WM_CTLCOLORSTATIC ? COLOR_BTNFACE : COLOR_WINDOW;
    SetBkColor(context, GetSysColor(system_color));
    return reinterpret_cast<std::intptr_t>(GetSysColorBrush(system_color));
}

void control_color_release(ControlRecord* record)
{
    brush_release(record->back_brush);
    record->back_brush = nullptr;
}
