#include "toolkit/controls/listicon.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/check_images.h"
#include "toolkit/controls/item_images_win.h"
#include "toolkit/controls/list_logic.h"
#include "toolkit/event.h"

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <new>

namespace {

// kind_state of a list whose check boxes have three states.
constexpr std::intptr_t THREE_STATE = 1;
constexpr std::size_t FIRST_BUFFER = 256;
constexpr int TITLE_CAPACITY = 4096;
constexpr int LIST_THIRD_IMAGE = 2;  // state image 3 is the list's image 2
constexpr CheckFlags LIST_CHECKS = {LISTICON_CHECKED, LISTICON_INBETWEEN};

ControlRecord* listicon_record(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    return record && record->ops->kind == CONTROL_KIND_LISTICON ? record : nullptr;
}

int row_count(const ControlRecord* record)
{
    return static_cast<int>(control_send(record, LVM_GETITEMCOUNT));
}

bool is_row(const ControlRecord* record, int row)
{
    return row >= 0 && row < row_count(record);
}

int column_count(const ControlRecord* record)
{
    auto header = reinterpret_cast<HWND>(control_send(record, LVM_GETHEADER));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

// The platform copies at most the buffer less one character: a text that filled it may
// be longer, so the buffer grows until it did not.
std::u16string read_cell(const ControlRecord* record, int row, int column)
{
    std::u16string text(FIRST_BUFFER, u'\0');
    for (;;) {
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<wchar_t*>(text.data());
        item.cchTextMax = static_cast<int>(text.size());
        auto copied = static_cast<std::size_t>(
            control_send(record, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < text.size()) {
            text.resize(copied);
            return text;
        }
        text.assign(text.size() * 2, u'\0');
    }
}

bool write_cell(const ControlRecord* record, int row, int column, const char16_t* text)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    return control_send(record, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

// Cells past the first, from the second cell of the row text on.
void write_more_cells(const ControlRecord* record, int row, std::u16string_view text)
{
    std::vector<std::u16string_view> cells = list_split_cells(text);
    std::u16string cell;
    for (std::size_t column = 1; column < cells.size(); ++column) {
        cell.assign(cells[column]);
        write_cell(record, row, static_cast<int>(column), cell.c_str());
    }
}

// The kind data holds the row images.
int image_index(const ControlRecord* record, std::intptr_t image)
{
    return item_images_index(static_cast<ItemImages*>(record->kind_data), image, control_hwnd(record),
                             LVM_SETIMAGELIST, LVSIL_SMALL);
}

// Adding sends its messages straight to the platform's procedure: rows come by the thousand.
int listicon_add_item(ControlRecord* record, int position, const char16_t* text, std::intptr_t image, std::intptr_t)
{
    auto count = static_cast<int>(control_call_previous(record, LVM_GETITEMCOUNT, 0, 0));
    if (position < -1)
        return 0;
    std::u16string_view row(text);
    std::size_t first_end = row.find(LIST_CELL_SEPARATOR);
    std::u16string first(row.substr(0, first_end));
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = position == -1 || position > count ? count : position;
    item.pszText = reinterpret_cast<wchar_t*>(first.data());
    item.iImage = image_index(record, image);
    auto index = static_cast<int>(control_call_previous(record, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        return 0;
    if (first_end != std::u16string_view::npos)
        write_more_cells(record, index, row);
    return 1;
}

int listicon_remove_item(ControlRecord* record, int index)
{
    return is_row(record, index) && control_send(record, LVM_DELETEITEM, index) ? 1 : 0;
}

int listicon_clear_items(ControlRecord* record)
{
    control_send(record, LVM_DELETEALLITEMS);
    return 1;
}

int listicon_count_items(ControlRecord* record)
{
    return row_count(record);
}

std::u16string listicon_get_item_text(ControlRecord* record, int index)
{
    if (!is_row(record, index))
        return {};
    std::u16string row = read_cell(record, index, 0);
    for (int column = 1, columns = column_count(record); column < columns; ++column) {
        row += LIST_CELL_SEPARATOR;
        row += read_cell(record, index, column);
    }
    return row;
}

int listicon_set_item_text(ControlRecord* record, int index, const char16_t* text)
{
    if (!is_row(record, index))
        return 0;
    std::u16string_view row(text);
    std::u16string first(row.substr(0, row.find(LIST_CELL_SEPARATOR)));
    write_cell(record, index, 0, first.c_str());
    write_more_cells(record, index, row);
    return 1;
}

int listicon_set_item_image(ControlRecord* record, int index, std::intptr_t image)
{
    if (!is_row(record, index))
        return 0;
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image_index(record, image);
    return control_send(record, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

int check_image_of(const ControlRecord* record, int row)
{
    return check_image_of_bits(static_cast<UINT>(control_send(record, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK)));
}

void set_check_image(const ControlRecord* record, int row, int image)
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = check_image_bits(image);
    control_send(record, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int listicon_get_item_state(ControlRecord* record, int index)
{
    if (!is_row(record, index))
        return 0;
    int state = control_send(record, LVM_GETITEMSTATE, index, LVIS_SELECTED) ? LISTICON_SELECTED : 0;
    return state | check_state_of_image(check_image_of(record, index), LIST_CHECKS);
}

void select_row(const ControlRecord* record, int row, bool selected)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | (selected ? LVIS_FOCUSED : 0);
    item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    control_send(record, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The in-between state needs the third state; without it, it checks.
int listicon_set_item_state(ControlRecord* record, int index, int state)
{
    if (!is_row(record, index))
        return 0;
    select_row(record, index, state & LISTICON_SELECTED);
    int image = check_image_of_state(check_image_of(record, index), state, LIST_CHECKS,
                                     record->kind_state == THREE_STATE);
    if (image != CHECK_IMAGE_NONE)
        set_check_image(record, index, image);
    return 1;
}

int listicon_get_state(ControlRecord* record)
{
    return static_cast<int>(control_send(record, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Selects only the row and shows it; -1 clears the selection, any other row outside the
// list changes nothing.
int listicon_set_state(ControlRecord* record, int value)
{
    if (value != -1 && !is_row(record, value))
        return 0;
    select_row(record, -1, false);
    if (value != -1) {
        select_row(record, value, true);
        control_send(record, LVM_ENSUREVISIBLE, value, FALSE);
    }
    return 1;
}

std::u16string listicon_get_text(ControlRecord* record)
{
    return listicon_get_item_text(record, listicon_get_state(record));
}

std::intptr_t listicon_get_item_data(ControlRecord* record, int index)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return is_row(record, index) && control_send(record, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam
                                                                                                       : 0;
}

int listicon_set_item_data(ControlRecord* record, int index, std::intptr_t data)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    return is_row(record, index) && control_send(record, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

bool changes_selection_or_check(const NMLISTVIEW* change)
{
    return (change->uChanged & LVIF_STATE) &&
           ((change->uNewState ^ change->uOldState) & (LVIS_SELECTED | LVIS_STATEIMAGEMASK));
}

std::intptr_t listicon_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY)
        return CONTROL_NOT_HANDLED;
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    switch (header->code) {
    case NM_CLICK: control_raise_event(record, EVENTTYPE_LEFT_CLICK); break;
    case NM_RCLICK: control_raise_event(record, EVENTTYPE_RIGHT_CLICK); break;
    case NM_DBLCLK: control_raise_event(record, EVENTTYPE_LEFT_DOUBLE_CLICK); break;
    case NM_RDBLCLK: control_raise_event(record, EVENTTYPE_RIGHT_DOUBLE_CLICK); break;
    case LVN_BEGINDRAG: control_raise_event(record, EVENTTYPE_DRAG_START); break;
    case LVN_ITEMCHANGED:
        if (changes_selection_or_check(reinterpret_cast<const NMLISTVIEW*>(lparam)))
            control_raise_event(record, EVENTTYPE_CHANGE);
        break;
    }
    return CONTROL_NOT_HANDLED;
}

// The platform toggles only two states: with three, the list moves a row's check box
// itself, on a click on it or Space on the focused row, and the change raises its event.
void cycle_check(ControlRecord* record, int row)
{
    if (is_row(record, row))
        set_check_image(record, row, check_image_next(check_image_of(record, row), true));
}

// The change's handlers, and the focus leaving another control, may free the list: each step
// runs only while it is still there.
void press_check_box(ControlRecord* record, int row)
{
    ControlLife life = control_life(record);
    cycle_check(record, row);
    if (!control_alive(life))
        return;
    SetFocus(control_hwnd(record));
    if (control_alive(life))
        control_raise_event(record, EVENTTYPE_LEFT_CLICK);
}

int check_box_hit(ControlRecord* record, LPARAM lparam)
{
    LVHITTESTINFO hit = {};
    hit.pt = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    int row = static_cast<int>(control_send(record, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEMSTATEICON) ? row : -1;
}

// The list view would destroy its image list with itself; the kind data owns it.
std::intptr_t listicon_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                      std::intptr_t lparam)
{
    if (message == WM_DESTROY)
        control_call_previous(record, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    if (record->kind_state != THREE_STATE)
        return CONTROL_NOT_HANDLED;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int row = check_box_hit(record, lparam);
        if (!is_row(record, row))
            break;
        press_check_box(record, row);
        return 0;
    }
    case WM_KEYDOWN:
        if (wparam == VK_SPACE) {
            LRESULT focused = control_send(record, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
            cycle_check(record, static_cast<int>(focused));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wparam == u' ')
            return 0;
        break;
    }
    return CONTROL_NOT_HANDLED;
}

void listicon_destroy(ControlRecord* record)
{
    delete static_cast<ItemImages*>(record->kind_data);
    record->kind_data = nullptr;
}

const ControlOps LISTICON_OPS = {
    .kind = CONTROL_KIND_LISTICON,
    .notify = listicon_notify,
    .window_message = listicon_window_message,
    .destroy = listicon_destroy,
    .get_state = listicon_get_state,
    .set_state = listicon_set_state,
    .get_text = listicon_get_text,
    .add_item_ex = listicon_add_item,
    .remove_item = listicon_remove_item,
    .clear_items = listicon_clear_items,
    .count_items = listicon_count_items,
    .get_item_state = listicon_get_item_state,
    .set_item_state = listicon_set_item_state,
    .get_item_text = listicon_get_item_text,
    .set_item_text = listicon_set_item_text,
    .set_item_data = listicon_set_item_data,
    .get_item_data = listicon_get_item_data,
    .set_item_image = listicon_set_item_image,
};

DWORD extended_style(std::uint32_t flags)
{
    DWORD style = 0;
    if (flags & (GK_ListIcon_CheckBoxes | GK_ListIcon_ThreeState))
        style |= LVS_EX_CHECKBOXES;
    if (flags & GK_ListIcon_GridLines)
        style |= LVS_EX_GRIDLINES;
    if (flags & GK_ListIcon_FullRowSelect)
        style |= LVS_EX_FULLROWSELECT;
    if (flags & GK_ListIcon_HeaderDragDrop)
        style |= LVS_EX_HEADERDRAGDROP;
    return style;
}

}  // namespace

ObjectNumber listicon_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* title,
                             int first_width, std::uint32_t flags)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | LVS_REPORT
                  | ((flags & GK_ListIcon_MultiSelect) ? 0 : LVS_SINGLESEL)
                  | ((flags & GK_ListIcon_AlwaysShowSelection) ? LVS_SHOWSELALWAYS : 0);
    ControlRecord* record = nullptr;
    auto* images = new (std::nothrow) ItemImages;
    ObjectNumber made = images ? control_create_window(number, u"SysListView32", u"", WS_EX_CLIENTEDGE, style, x, y,
                                                       width, height, &LISTICON_OPS, &record)
                               : 0;
    if (!made) {
        delete images;
        return 0;
    }
    record->kind_data = images;
    control_send(record, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(extended_style(flags)));
    if (flags & GK_ListIcon_ThreeState) {
        record->kind_state = THREE_STATE;
        auto states = reinterpret_cast<HIMAGELIST>(control_send(record, LVM_GETIMAGELIST, LVSIL_STATE));
        check_images_add_third(states, LIST_THIRD_IMAGE);
    }
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(title ? title : u""));
    column.cx = first_width;
    control_send(record, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return made;
}

int listicon_add_column(ObjectNumber control, int position, const char16_t* title, int width)
{
    ControlRecord* record = listicon_record(control);
    if (!record || position < -1)
        return 0;
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(title ? title : u""));
    column.cx = width;
    int count = column_count(record);
    column.iSubItem = position == -1 || position > count ? count : position;
    return control_send(record, LVM_INSERTCOLUMNW, column.iSubItem, reinterpret_cast<LPARAM>(&column)) >= 0 ? 1 : 0;
}

int listicon_remove_column(ObjectNumber control, int column)
{
    ControlRecord* record = listicon_record(control);
    if (!record || column < 0 || column >= column_count(record))
        return 0;
    return control_send(record, LVM_DELETECOLUMN, column) ? 1 : 0;
}

int listicon_count_columns(ObjectNumber control)
{
    ControlRecord* record = listicon_record(control);
    return record ? column_count(record) : 0;
}

std::u16string listicon_column_title(ObjectNumber control, int column)
{
    ControlRecord* record = listicon_record(control);
    if (!record || column < 0 || column >= column_count(record))
        return {};
    std::u16string title(TITLE_CAPACITY, u'\0');
    LVCOLUMNW item = {};
    item.mask = LVCF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(title.data());
    item.cchTextMax = TITLE_CAPACITY;
    control_send(record, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&item));
    title.resize(std::char_traits<char16_t>::length(title.c_str()));
    return title;
}

int listicon_set_column_title(ObjectNumber control, int column, const char16_t* title)
{
    ControlRecord* record = listicon_record(control);
    if (!record || column < 0 || column >= column_count(record))
        return 0;
    LVCOLUMNW item = {};
    item.mask = LVCF_TEXT;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(title ? title : u""));
    return control_send(record, LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

int listicon_column_width(ObjectNumber control, int column)
{
    ControlRecord* record = listicon_record(control);
    if (!record || column < 0 || column >= column_count(record))
        return 0;
    return static_cast<int>(control_send(record, LVM_GETCOLUMNWIDTH, column));
}

int listicon_set_column_width(ObjectNumber control, int column, int width)
{
    ControlRecord* record = listicon_record(control);
    if (!record || column < 0 || column >= column_count(record))
        return 0;
    return control_send(record, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) ? 1 : 0;
}

std::u16string listicon_cell_text(ObjectNumber control, int row, int column)
{
    ControlRecord* record = listicon_record(control);
    if (!record || !is_row(record, row) || column < 0 || column >= column_count(record))
        return {};
    return read_cell(record, row, column);
}

int listicon_set_cell_text(ObjectNumber control, int row, int column, const char16_t* text)
{
    ControlRecord* record = listicon_record(control);
    if (!record || !is_row(record, row) || column < 0 || column >= column_count(record))
        return 0;
    MutedScope muted;
    return write_cell(record, row, column, text ? text : u"") ? 1 : 0;
}
