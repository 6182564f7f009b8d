#include "toolkit/controls/combobox.h"

#include "toolkit/control.h"
#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/combo_click_win.h"
#include "toolkit/controls/item_images_win.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <new>

namespace {

constexpr UINT_PTR EDIT_SUBCLASS = 1;
constexpr std::size_t FIRST_BUFFER = 256;
constexpr int LIST_ROOM = 200;     // the dropped list's height below the field
constexpr int ARROW_PADDING = 8;   // around the text and the arrow button
constexpr int MINIMUM_WIDTH = 40;

// kind_state: the case the box folds to; kind_data: the items' images, only in a box made
// with GK_ComboBox_Image.
enum Folding : std::intptr_t { FOLD_NONE, FOLD_LOWER, FOLD_UPPER };

bool is_editable(const ControlRecord* record)
{
    return (GetWindowLongPtrW(control_hwnd(record), GWL_STYLE) & CBS_DROPDOWNLIST) == CBS_DROPDOWN;
}

HWND edit_of(const ControlRecord* record)
{
    return reinterpret_cast<HWND>(control_send(record, CBEM_GETEDITCONTROL));
}

int item_count(ControlRecord* record)
{
    LRESULT count = control_send(record, CB_GETCOUNT);
    return count > 0 ? static_cast<int>(count) : 0;
}

bool is_item(ControlRecord* record, int index)
{
    return index >= 0 && index < item_count(record);
}

// A folded copy: the platform would fold the caller's own text in place.
std::u16string folded(const ControlRecord* record, const char16_t* text)
{
    std::u16string copy(text);
    if (record->kind_state == FOLD_LOWER && !copy.empty())
        CharLowerBuffW(reinterpret_cast<wchar_t*>(copy.data()), static_cast<DWORD>(copy.size()));
    else if (record->kind_state == FOLD_UPPER && !copy.empty())
        CharUpperBuffW(reinterpret_cast<wchar_t*>(copy.data()), static_cast<DWORD>(copy.size()));
    return copy;
}

// Puts the image into the item of a box with images; a box without them shows none.
void set_image(const ControlRecord* record, std::intptr_t image, COMBOBOXEXITEMW* item)
{
    auto* images = static_cast<ItemImages*>(record->kind_data);
    if (!images)
        return;
    item->mask |= CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item->iImage = item->iSelectedImage =
        item_images_index(images, image, control_hwnd(record), CBEM_SETIMAGELIST, 0);
}

int combobox_add_item(ControlRecord* record, int position, const char16_t* text, std::intptr_t image, std::intptr_t)
{
    int count = item_count(record);
    if (position < -1)
        return 0;
    std::u16string shown = folded(record, text);
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = position == -1 || position > count ? count : position;
    item.pszText = reinterpret_cast<wchar_t*>(shown.data());
    set_image(record, image, &item);
    return control_send(record, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) >= 0 ? 1 : 0;
}

int combobox_remove_item(ControlRecord* record, int index)
{
    return is_item(record, index) && control_send(record, CBEM_DELETEITEM, index) != CB_ERR ? 1 : 0;
}

int combobox_clear_items(ControlRecord* record)
{
    control_send(record, CB_RESETCONTENT);
    return 1;
}

std::u16string combobox_get_item_text(ControlRecord* record, int index)
{
    if (!is_item(record, index))
        return {};
    std::u16string text(FIRST_BUFFER, u'\0');
    for (;;) {
        COMBOBOXEXITEMW item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = index;
        item.pszText = reinterpret_cast<wchar_t*>(text.data());
        item.cchTextMax = static_cast<int>(text.size());
        control_send(record, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        std::size_t length = std::char_traits<char16_t>::length(text.c_str());
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.assign(text.size() * 2, u'\0');
    }
}

int combobox_set_item_text(ControlRecord* record, int index, const char16_t* text)
{
    if (!is_item(record, index))
        return 0;
    std::u16string shown = folded(record, text);
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = reinterpret_cast<wchar_t*>(shown.data());
    return control_send(record, CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

int combobox_set_item_image(ControlRecord* record, int index, std::intptr_t image)
{
    if (!record->kind_data || !is_item(record, index))
        return 0;
    COMBOBOXEXITEMW item = {};
    item.iItem = index;
    set_image(record, image, &item);
    return control_send(record, CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

std::intptr_t combobox_get_item_data(ControlRecord* record, int index)
{
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_LPARAM;
    item.iItem = index;
    return is_item(record, index) && control_send(record, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))
               ? item.lParam
               : 0;
}

int combobox_set_item_data(ControlRecord* record, int index, std::intptr_t data)
{
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_LPARAM;
    item.iItem = index;
    item.lParam = data;
    return is_item(record, index) && control_send(record, CBEM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

int combobox_get_state(ControlRecord* record)
{
    LRESULT chosen = control_send(record, CB_GETCURSEL);
    return chosen == CB_ERR ? -1 : static_cast<int>(chosen);
}

// An editable box shows the chosen item's text in its edit.
void show_chosen(ControlRecord* record)
{
    if (!is_editable(record))
        return;
    std::u16string chosen = combobox_get_item_text(record, combobox_get_state(record));
    SetWindowTextW(edit_of(record), reinterpret_cast<const wchar_t*>(chosen.c_str()));
}

// Chooses the item; -1 chooses none; any other item outside the list changes nothing.
int combobox_set_state(ControlRecord* record, int value)
{
    if (value != -1 && !is_item(record, value))
        return 0;
    control_send(record, CB_SETCURSEL, static_cast<WPARAM>(value));
    show_chosen(record);
    return 1;
}

std::u16string combobox_get_text(ControlRecord* record)
{
    if (!is_editable(record))
        return combobox_get_item_text(record, combobox_get_state(record));
    HWND edit = edit_of(record);
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, u'\0');
    int length = GetWindowTextW(edit, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

// An editable box shows the (folded) text; a list box chooses the first item that shows it.
int combobox_set_text(ControlRecord* record, const char16_t* text)
{
    if (is_editable(record))
        return SetWindowTextW(edit_of(record), reinterpret_cast<const wchar_t*>(folded(record, text).c_str())) ? 1 : 0;
    for (int index = 0, count = item_count(record); index < count; ++index) {
        if (combobox_get_item_text(record, index) == text)
            return combobox_set_state(record, index);
    }
    return 0;
}

std::intptr_t combobox_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message != WM_COMMAND)
        return CONTROL_NOT_HANDLED;
    switch (HIWORD(wparam)) {
    case CBN_EDITCHANGE: control_raise_event(record, EVENTTYPE_CHANGE); break;
    // The edit of an editable box reports its own focus (edit_procedure).
    case CBN_SETFOCUS:
        if (!is_editable(record))
            control_raise_event(record, EVENTTYPE_FOCUS);
        break;
    case CBN_KILLFOCUS:
        if (!is_editable(record))
            control_raise_event(record, EVENTTYPE_LOST_FOCUS);
        break;
    }
    return 0;
}

// A choice reaches the extended box from its inner combo box, which does not pass it on:
// the box shows the chosen item's text and raises the change itself.
std::intptr_t combobox_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                      std::intptr_t lparam)
{
    if (message != WM_COMMAND || HIWORD(wparam) != CBN_SELCHANGE ||
        reinterpret_cast<HWND>(lparam) != reinterpret_cast<HWND>(control_send(record, CBEM_GETCOMBOCONTROL)))
        return CONTROL_NOT_HANDLED;
    ControlLife life = control_life(record);
    LRESULT result = control_call_previous(record, message, wparam, lparam);
    if (!control_alive(life))
        return result;
    show_chosen(record);
    control_raise_event(record, EVENTTYPE_CHANGE);
    return result;
}

// Up and Down in the edit of a closed box choose the item before or after, as in a plain
// combo box; the platform's extended box leaves them to the edit.
bool choose_by_key(ControlRecord* record, WPARAM key)
{
    if ((key != VK_UP && key != VK_DOWN) || control_send(record, CB_GETDROPPEDSTATE))
        return false;
    int chosen = combobox_get_state(record) + (key == VK_DOWN ? 1 : -1);
    if (is_item(record, chosen)) {
        control_send(record, CB_SETCURSEL, static_cast<WPARAM>(chosen));
        show_chosen(record);
        control_raise_event(record, EVENTTYPE_CHANGE);
    }
    return true;
}

// The edit of an editable box: its focus is the box's, and typed letters are folded.
LRESULT CALLBACK edit_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR number)
{
    ControlRecord* record = control_record(static_cast<ObjectNumber>(number));
    if (record && message == WM_KEYDOWN && choose_by_key(record, wparam))
        return 0;
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, edit_procedure, EDIT_SUBCLASS);
    else if (record && (message == WM_SETFOCUS || message == WM_KILLFOCUS) &&
             !control_raise_event(record, message == WM_SETFOCUS ? EVENTTYPE_FOCUS : EVENTTYPE_LOST_FOCUS))
        return 0;
    else if (record && message == WM_CHAR && record->kind_state != FOLD_NONE) {
        auto character = static_cast<wchar_t>(wparam);
        if (record->kind_state == FOLD_LOWER)
            CharLowerBuffW(&character, 1);
        else
            CharUpperBuffW(&character, 1);
        wparam = character;
    }
    return DefSubclassProc(edit, message, wparam, lparam);
}

// The widest item's text and the field's text height, with room for the arrow button.
int combobox_natural_size(ControlRecord* record, int* width, int* height)
{
    int sample_width = 0;
    int text_height = 0;
    if (!control_measure_text(record, u"Hg", false, &sample_width, &text_height))
        return 0;
    int widest = 0;
    for (int index = 0, count = item_count(record); index < count; ++index) {
        int item_width = 0;
        int item_height = 0;
        if (control_measure_text(record, combobox_get_item_text(record, index), false, &item_width, &item_height))
            widest = std::max(widest, item_width);
    }
    int icon_width = 0;
    int icon_height = 0;
    if (const auto* images = static_cast<const ItemImages*>(record->kind_data); images && images->list)
        ImageList_GetIconSize(images->list, &icon_width, &icon_height);
    int padding = scale_control_pixels(record, ARROW_PADDING);
    *width = std::max(widest + icon_width + scale_control_metric(record, SM_CXVSCROLL) + 2 * padding,
                      scale_control_pixels(record, MINIMUM_WIDTH));
    *height = std::max(text_height, icon_height) + padding;
    return 1;
}

// The window's height includes the dropped list: the field keeps its own height.
int combobox_resize(ControlRecord* record, int x, int y, int width, int height)
{
    return MoveWindow(control_hwnd(record), x, y, width, std::max(height, 0) + LIST_ROOM, TRUE) ? 1 : 0;
}

void combobox_destroy(ControlRecord* record)
{
    delete static_cast<ItemImages*>(record->kind_data);
    record->kind_data = nullptr;
}

const ControlOps COMBOBOX_OPS = {
    .kind = CONTROL_KIND_COMBOBOX,
    .notify = combobox_notify,
    .window_message = combobox_window_message,
    .destroy = combobox_destroy,
    .get_state = combobox_get_state,
    .set_state = combobox_set_state,
    .get_text = combobox_get_text,
    .set_text = combobox_set_text,
    .add_item_ex = combobox_add_item,
    .remove_item = combobox_remove_item,
    .clear_items = combobox_clear_items,
    .resize = combobox_resize,
    .count_items = item_count,
    .get_item_text = combobox_get_item_text,
    .set_item_text = combobox_set_item_text,
    .set_item_data = combobox_set_item_data,
    .get_item_data = combobox_get_item_data,
    .natural_size = combobox_natural_size,
    .set_item_image = combobox_set_item_image,
};

}  // namespace

ObjectNumber combobox_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_USEREX_CLASSES};
    InitCommonControlsEx(&classes);
    bool editable = (flags & GK_ComboBox_Editable) == GK_ComboBox_Editable;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_VSCROLL
                  | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
    ControlRecord* record = nullptr;
    ItemImages* images = nullptr;
    if ((flags & GK_ComboBox_Image) && !(images = new (std::nothrow) ItemImages))
        return 0;
    ObjectNumber made = control_create_window(number, u"ComboBoxEx32", u"", 0, style, x, y, width,
                                              std::max(height, 0) + LIST_ROOM, &COMBOBOX_OPS, &record);
    if (!made) {
        delete images;
        return 0;
    }
    record->kind_data = images;
    record->kind_state = (flags & GK_ComboBox_LowerCase) ? FOLD_LOWER
                         : (flags & GK_ComboBox_UpperCase) ? FOLD_UPPER : FOLD_NONE;
    combo_keep_clicks(control_hwnd(record));
    ObjectNumber number_made = GetWindowLongPtrW(control_hwnd(record), GWLP_ID);
    if (HWND edit = editable ? edit_of(record) : nullptr)
        SetWindowSubclass(edit, edit_procedure, EDIT_SUBCLASS, static_cast<DWORD_PTR>(number_made));
    return made;
}
