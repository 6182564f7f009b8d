#include "toolkit/controls/tree.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/check_images.h"
#include "toolkit/controls/item_images_win.h"
#include "toolkit/controls/list_logic.h"
#include "toolkit/event.h"

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr std::size_t FIRST_BUFFER = 256;
constexpr int TREE_THIRD_IMAGE = 3;  // a tree's state image n is its list's image n
constexpr CheckFlags TREE_CHECKS = {TREE_CHECKED, TREE_INBETWEEN};

// The items depth first, with their levels, and the items' images; kind_state marks three
// check states.
struct TreeData {
    std::vector<HTREEITEM> items;
    std::vector<int> levels;
    ItemImages images;
};

constexpr std::intptr_t THREE_STATE = 1;

TreeData* data_of(const ControlRecord* record)
{
    return static_cast<TreeData*>(record->kind_data);
}

bool is_item(const ControlRecord* record, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < data_of(record)->items.size();
}

HTREEITEM item_at(const ControlRecord* record, int index)
{
    return is_item(record, index) ? data_of(record)->items[static_cast<std::size_t>(index)] : nullptr;
}

int index_of(const ControlRecord* record, HTREEITEM item)
{
    const std::vector<HTREEITEM>& items = data_of(record)->items;
    auto found = std::find(items.begin(), items.end(), item);
    return item && found != items.end() ? static_cast<int>(found - items.begin()) : -1;
}

// Messages the kind sends itself while adding go straight to the platform's procedure.
HTREEITEM parent_of(ControlRecord* record, HTREEITEM item)
{
    LRESULT parent = control_call_previous(record, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item));
    return reinterpret_cast<HTREEITEM>(parent);
}

// Where the item goes: under the item before it, or after that item's ancestor at its level.
void insertion_place(ControlRecord* record, std::size_t position, int level, TVINSERTSTRUCTW* insert)
{
    insert->hParent = TVI_ROOT;
    insert->hInsertAfter = TVI_FIRST;
    if (position == 0)
        return;
    HTREEITEM before = data_of(record)->items[position - 1];
    int before_level = data_of(record)->levels[position - 1];
    if (level > before_level) {
        insert->hParent = before;
        return;
    }
    for (int climb = before_level; climb > level; --climb)
        before = parent_of(record, before);
    HTREEITEM parent = level == 0 ? nullptr : parent_of(record, before);
    insert->hParent = parent ? parent : TVI_ROOT;
    // An item added at the end is its parent's last child; naming the sibling instead would
    // make the platform search the sibling list for it.
    insert->hInsertAfter = position == data_of(record)->items.size() ? TVI_LAST : before;
}

int image_index(const ControlRecord* record, std::intptr_t image)
{
    return item_images_index(&data_of(record)->images, image, control_hwnd(record), TVM_SETIMAGELIST, TVSIL_NORMAL);
}

int tree_add_item(ControlRecord* record, int position, const char16_t* text, std::intptr_t image, std::intptr_t level)
{
    TreeData* data = data_of(record);
    std::size_t count = data->items.size();
    if (position < -1)
        return 0;
    std::size_t place = position == -1 || static_cast<std::size_t>(position) > count ? count : position;
    int previous = place > 0 ? data->levels[place - 1] : -1;
    int next = place < count ? data->levels[place] : -1;
    int valid = tree_level_valid(static_cast<int>(std::clamp<std::intptr_t>(level, 0, INT32_MAX)), previous, next);
    TVINSERTSTRUCTW insert = {};
    insertion_place(record, place, valid, &insert);
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    insert.item.iImage = insert.item.iSelectedImage = image_index(record, image);
    LRESULT inserted = control_call_previous(record, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    auto item = reinterpret_cast<HTREEITEM>(inserted);
    if (!item)
        return 0;
    data->items.insert(data->items.begin() + static_cast<std::ptrdiff_t>(place), item);
    data->levels.insert(data->levels.begin() + static_cast<std::ptrdiff_t>(place), valid);
    return 1;
}

int tree_remove_item(ControlRecord* record, int index)
{
    if (!is_item(record, index))
        return 0;
    TreeData* data = data_of(record);
    auto first = static_cast<std::size_t>(index);
    std::size_t end = tree_subtree_end(data->levels, first);
    control_send(record, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(data->items[first]));
    data->items.erase(data->items.begin() + static_cast<std::ptrdiff_t>(first),
                      data->items.begin() + static_cast<std::ptrdiff_t>(end));
    data->levels.erase(data->levels.begin() + static_cast<std::ptrdiff_t>(first),
                       data->levels.begin() + static_cast<std::ptrdiff_t>(end));
    return 1;
}

int tree_clear_items(ControlRecord* record)
{
    control_send(record, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    data_of(record)->items.clear();
    data_of(record)->levels.clear();
    return 1;
}

int tree_count_items(ControlRecord* record)
{
    return static_cast<int>(data_of(record)->items.size());
}

std::u16string tree_get_item_text(ControlRecord* record, int index)
{
    HTREEITEM handle = item_at(record, index);
    if (!handle)
        return {};
    std::u16string text(FIRST_BUFFER, u'\0');
    for (;;) {
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = handle;
        item.pszText = reinterpret_cast<wchar_t*>(text.data());
        item.cchTextMax = static_cast<int>(text.size());
        control_send(record, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        std::size_t length = std::char_traits<char16_t>::length(text.c_str());
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.assign(text.size() * 2, u'\0');
    }
}

int tree_set_item_text(ControlRecord* record, int index, const char16_t* text)
{
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = item_at(record, index);
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    return item.hItem && control_send(record, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

std::intptr_t tree_get_item_data(ControlRecord* record, int index)
{
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = item_at(record, index);
    return item.hItem && control_send(record, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

int tree_set_item_data(ControlRecord* record, int index, std::intptr_t data)
{
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = item_at(record, index);
    item.lParam = data;
    return item.hItem && control_send(record, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

int tree_set_item_image(ControlRecord* record, int index, std::intptr_t image)
{
    TVITEMW item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = item_at(record, index);
    if (!item.hItem)
        return 0;
    item.iImage = item.iSelectedImage = image_index(record, image);
    return control_send(record, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

int check_image_of(const ControlRecord* record, HTREEITEM item)
{
    return check_image_of_bits(static_cast<UINT>(
        control_send(record, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK)));
}

void set_check_image(const ControlRecord* record, HTREEITEM handle, int image)
{
    TVITEMW item = {};
    item.mask = TVIF_STATE;
    item.hItem = handle;
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.state = check_image_bits(image);
    control_send(record, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool has_children(const ControlRecord* record, HTREEITEM item)
{
    return control_send(record, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)) != 0;
}

int tree_get_item_state(ControlRecord* record, int index)
{
    HTREEITEM item = item_at(record, index);
    if (!item)
        return 0;
    auto state = static_cast<UINT>(control_send(record, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                                TVIS_SELECTED | TVIS_EXPANDED));
    int result = (state & TVIS_SELECTED) ? TREE_SELECTED : 0;
    if (has_children(record, item))
        result |= (state & TVIS_EXPANDED) ? TREE_EXPANDED : TREE_COLLAPSED;
    return result | check_state_of_image(check_image_of(record, item), TREE_CHECKS);
}

// The in-between state needs the third state; without it, it checks.
int tree_set_item_state(ControlRecord* record, int index, int state)
{
    HTREEITEM item = item_at(record, index);
    if (!item)
        return 0;
    if (state & TREE_SELECTED)
        control_send(record, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    if (state & (TREE_EXPANDED | TREE_COLLAPSED))
        control_send(record, TVM_EXPAND, (state & TREE_EXPANDED) ? TVE_EXPAND : TVE_COLLAPSE,
                     reinterpret_cast<LPARAM>(item));
    int image = check_image_of_state(check_image_of(record, item), state, TREE_CHECKS,
                                     record->kind_state == THREE_STATE);
    if (image != CHECK_IMAGE_NONE)
        set_check_image(record, item, image);
    return 1;
}

int tree_get_state(ControlRecord* record)
{
    return index_of(record, reinterpret_cast<HTREEITEM>(control_send(record, TVM_GETNEXTITEM, TVGN_CARET)));
}

// Selects the item; -1 selects none; any other item outside the tree changes nothing.
int tree_set_state(ControlRecord* record, int value)
{
    if (value != -1 && !is_item(record, value))
        return 0;
    control_send(record, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item_at(record, value)));
    return 1;
}

std::u16string tree_get_text(ControlRecord* record)
{
    return tree_get_item_text(record, tree_get_state(record));
}

HTREEITEM check_box_hit(const ControlRecord* record, POINT point)
{
    TVHITTESTINFO hit = {};
    hit.pt = point;
    auto item = reinterpret_cast<HTREEITEM>(control_send(record, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & TVHT_ONITEMSTATEICON) ? item : nullptr;
}

// A click on a check box of a two-state tree: the platform has toggled it.
void on_click(ControlRecord* record)
{
    if (!control_raise_event(record, EVENTTYPE_LEFT_CLICK))
        return;
    POINT point = {};
    GetCursorPos(&point);
    ScreenToClient(control_hwnd(record), &point);
    if (check_box_hit(record, point))
        control_raise_event(record, EVENTTYPE_CHANGE);
}

std::intptr_t tree_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY)
        return CONTROL_NOT_HANDLED;
    switch (reinterpret_cast<const NMHDR*>(lparam)->code) {
    case NM_CLICK: on_click(record); break;
    case NM_RCLICK: control_raise_event(record, EVENTTYPE_RIGHT_CLICK); break;
    case NM_DBLCLK: control_raise_event(record, EVENTTYPE_LEFT_DOUBLE_CLICK); break;
    case NM_RDBLCLK: control_raise_event(record, EVENTTYPE_RIGHT_DOUBLE_CLICK); break;
    case TVN_BEGINDRAGW: control_raise_event(record, EVENTTYPE_DRAG_START); break;
    case TVN_SELCHANGEDW: control_raise_event(record, EVENTTYPE_CHANGE); break;
    }
    return CONTROL_NOT_HANDLED;
}

// The platform toggles only two states: with three, the tree moves the check box itself.
// Returns whether the tree outlived the change's handlers.
bool cycle_check(ControlRecord* record, HTREEITEM item)
{
    set_check_image(record, item, check_image_next(check_image_of(record, item), true));
    return control_raise_event(record, EVENTTYPE_CHANGE);
}

// A press on a check box cycles it, then focuses the tree and raises the click, each only
// while the tree is still there (a handler, or the focus leaving another control, may free it).
void press_check_box(ControlRecord* record, HTREEITEM item)
{
    if (!cycle_check(record, item))
        return;
    ControlLife life = control_life(record);
    SetFocus(control_hwnd(record));
    if (control_alive(life))
        control_raise_event(record, EVENTTYPE_LEFT_CLICK);
}

std::intptr_t tree_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    if (record->kind_state != THREE_STATE)
        return CONTROL_NOT_HANDLED;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        HTREEITEM item = check_box_hit(record, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        if (!item)
            break;
        press_check_box(record, item);
        return 0;
    }
    case WM_KEYDOWN: {
        if (wparam != VK_SPACE)
            break;
        auto item = reinterpret_cast<HTREEITEM>(control_send(record, TVM_GETNEXTITEM, TVGN_CARET));
        if (item)
            cycle_check(record, item);
        return 0;
    }
    case WM_CHAR:
        if (wparam == u' ')
            return 0;
        break;
    }
    return CONTROL_NOT_HANDLED;
}

void tree_destroy(ControlRecord* record)
{
    delete data_of(record);
    record->kind_data = nullptr;
}

const ControlOps TREE_OPS = {
    .kind = CONTROL_KIND_TREE,
    .notify = tree_notify,
    .window_message = tree_window_message,
    .destroy = tree_destroy,
    .get_state = tree_get_state,
    .set_state = tree_set_state,
    .get_text = tree_get_text,
    .add_item_ex = tree_add_item,
    .remove_item = tree_remove_item,
    .clear_items = tree_clear_items,
    .count_items = tree_count_items,
    .get_item_state = tree_get_item_state,
    .set_item_state = tree_set_item_state,
    .get_item_text = tree_get_item_text,
    .set_item_text = tree_set_item_text,
    .set_item_data = tree_set_item_data,
    .get_item_data = tree_get_item_data,
    .set_item_image = tree_set_item_image,
};

DWORD tree_style(std::uint32_t flags)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | TVS_LINESATROOT;
    if (!(flags & GK_Tree_NoButtons))
        style |= TVS_HASBUTTONS;
    if (!(flags & GK_Tree_NoLines))
        style |= TVS_HASLINES;
    if (flags & GK_Tree_AlwaysShowSelection)
        style |= TVS_SHOWSELALWAYS;
    if (flags & (GK_Tree_CheckBoxes | GK_Tree_ThreeState))
        style |= TVS_CHECKBOXES;
    return style;
}

}  // namespace

ObjectNumber tree_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    auto* data = new (std::nothrow) TreeData;
    ControlRecord* record = nullptr;
    ObjectNumber made = data ? control_create_window(number, u"SysTreeView32", u"", WS_EX_CLIENTEDGE, tree_style(flags),
                                                     x, y, width, height, &TREE_OPS, &record)
                             : 0;
    if (!made) {
        delete data;
        return 0;
    }
    record->kind_data = data;
    if (flags & GK_Tree_ThreeState) {
        record->kind_state = THREE_STATE;
        check_images_add_third(reinterpret_cast<HIMAGELIST>(control_send(record, TVM_GETIMAGELIST, TVSIL_STATE)),
                               TREE_THIRD_IMAGE);
    }
    return made;
}

int tree_item_level(ObjectNumber control, int index)
{
    ControlRecord* record = control_record(control);
    if (!record || record->ops->kind != CONTROL_KIND_TREE || !is_item(record, index))
        return -1;
    return data_of(record)->levels[static_cast<std::size_t>(index)];
}
