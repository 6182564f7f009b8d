#include "toolkit/controls/explorerlist.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/explorer_folder_win.h"
#include "toolkit/event.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <unordered_set>

namespace {

// The list's own record: what it shows and the thread that watches it. The list view is
// virtual: it asks for each visible row's text and icon, so a large folder fills at once.
struct ExplorerList {
    std::u16string folder;
    std::vector<std::u16string> patterns;
    std::uint32_t flags;
    std::vector<ExplorerEntry> rows;
    ExplorerEntry up;  // the ".." row
    bool parent_row;
    ExplorerOrder order;
    ExplorerWatcher* watcher;
    // The read under way: its scan, the entries read so far, its number (a slice posted for an
    // earlier read is dropped), and whether the rows shown are still those of another folder.
    ExplorerScan scan;
    std::vector<ExplorerEntry> read;
    WPARAM reading;
    bool other_rows;
    bool readable;
    // A refresh that came while the folder was being read waits for that read to end: under a
    // steady stream of changes each read still finishes and shows every row.
    bool read_under_way;
    bool refresh_waiting;
};

// A folder is read this many entries at a time, the rest posted to the list's own window.
constexpr std::size_t SLICE = 2000;
constexpr UINT READ_ON = WM_APP + 0x3E1;

constexpr int COLUMN_COUNT = 4;
const wchar_t* const COLUMN_TITLES[COLUMN_COUNT] = {L"Name", L"Size", L"Type", L"Date changed"};
constexpr int COLUMN_WIDTHS[COLUMN_COUNT] = {200, 80, 130, 130};

extern const ControlOps EXPLORERLIST_OPS;

ExplorerList* list_of(const ControlRecord* record)
{
    return static_cast<ExplorerList*>(record->kind_data);
}

int row_count(const ExplorerList* list)
{
    return static_cast<int>(list->rows.size()) + (list->parent_row ? 1 : 0);
}

const ExplorerEntry* entry_at(const ExplorerList* list, int index)
{
    if (list->parent_row && index == 0)
        return &list->up;
    std::size_t at = static_cast<std::size_t>(index - (list->parent_row ? 1 : 0));
    return index >= 0 && at < list->rows.size() ? &list->rows[at] : nullptr;
}

std::vector<std::u16string> selected_names(const ControlRecord* record)
{
    std::vector<std::u16string> names;
    int index = -1;
    while ((index = static_cast<int>(control_send(record, LVM_GETNEXTITEM, index, LVNI_SELECTED))) >= 0) {
        if (const ExplorerEntry* entry = entry_at(list_of(record), index))
            names.push_back(entry->name);
    }
    return names;
}

void select_row(const ControlRecord* record, int index, bool selected, UINT extra = 0)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | extra;
    item.state = selected ? LVIS_SELECTED | extra : 0;
    control_send(record, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// Puts the rows on show, filtered and ordered, the rows of the names given selected; the top
// row stays where it was.
void present_rows(ControlRecord* record, const std::vector<std::u16string>& keep)
{
    MutedScope muted;
    ExplorerList* list = list_of(record);
    explorer_choose_rows(&list->rows, list->patterns, list->flags, list->order);
    list->parent_row = list->readable && explorer_shows_parent_row(list->folder, list->flags);
    select_row(record, -1, false, LVIS_FOCUSED);
    control_send(record, LVM_SETITEMCOUNT, static_cast<WPARAM>(row_count(list)), LVSICF_NOSCROLL);
    std::unordered_set<std::u16string> wanted(keep.begin(), keep.end());
    for (int index = 0; !wanted.empty() && index < row_count(list); ++index) {
        if (wanted.erase(entry_at(list, index)->name))
            select_row(record, index, true);
    }
    InvalidateRect(control_hwnd(record), nullptr, FALSE);
}

bool show_rows(ControlRecord* record, bool new_folder);

// Reads the next slice; once the folder is read its rows are shown, with the names selected
// until then still selected. A folder newly shown shows its first slice at once (nothing
// selected); a folder read again keeps its rows until it is read.
void read_slice(ControlRecord* record)
{
    ExplorerList* list = list_of(record);
    bool more = explorer_scan_more(&list->scan, SLICE, &list->read);
    if (more && !list->other_rows) {
        PostMessageW(control_hwnd(record), READ_ON, list->reading, 0);
        return;
    }
    std::vector<std::u16string> keep = list->other_rows ? std::vector<std::u16string>{} : selected_names(record);
    list->rows = more ? list->read : std::move(list->read);
    if (!more)
        list->read.clear();
    list->other_rows = false;
    present_rows(record, keep);
    if (more) {
        PostMessageW(control_hwnd(record), READ_ON, list->reading, 0);
        return;
    }
    list->read_under_way = false;
    if (list->refresh_waiting)
        show_rows(record, false);
}

// Reads the list's folder again, or a folder newly shown (see read_slice). A folder that
// cannot be read shows no rows; returns false then.
bool show_rows(ControlRecord* record, bool new_folder)
{
    ExplorerList* list = list_of(record);
    explorer_scan_close(&list->scan);
    ++list->reading;
    list->read.clear();
    list->other_rows = new_folder;
    list->read_under_way = true;
    list->refresh_waiting = false;
    list->readable = explorer_scan_open(list->folder, &list->scan, &list->read);
    read_slice(record);
    return list->readable;
}

// Shows another folder, which the watcher then watches when it can be read.
int open_folder(ControlRecord* record, const std::u16string& folder, std::vector<std::u16string> patterns)
{
    ExplorerList* list = list_of(record);
    list->folder = explorer_resolve_folder(folder, list->flags);
    list->patterns = std::move(patterns);
    if (!(list->flags & GK_Explorer_AutoSort))
        list->order = ExplorerOrder{EXPLORER_BY_NAME, false};
    control_send(record, LVM_ENSUREVISIBLE, 0, FALSE);
    bool readable = show_rows(record, true);
    if (readable && !list->watcher)
        list->watcher = explorer_watch_start(static_cast<ObjectNumber>(GetWindowLongPtrW(control_hwnd(record), GWLP_ID)),
                                             true);
    std::vector<std::u16string> watched;
    if (readable)
        watched.push_back(list->folder);
    explorer_watch_set(list->watcher, std::move(watched));
    return readable ? 1 : 0;
}

// The user opens a row (a folder, or ".." for the folder above) or goes up; both raise change.
void open_row(ControlRecord* record, int index)
{
    ExplorerList* list = list_of(record);
    const ExplorerEntry* entry = entry_at(list, index);
    if (!entry || !entry->folder || (list->flags & GK_Explorer_NoDirectoryChange))
        return;
    std::u16string target = entry == &list->up ? explorer_parent(list->folder) : list->folder + entry->name + u'\\';
    open_folder(record, target, list->patterns);
    control_raise_event(record, EVENTTYPE_CHANGE);
}

void go_up(ControlRecord* record)
{
    ExplorerList* list = list_of(record);
    if ((list->flags & GK_Explorer_NoDirectoryChange) || explorer_parent(list->folder).empty())
        return;
    open_folder(record, explorer_parent(list->folder), list->patterns);
    control_raise_event(record, EVENTTYPE_CHANGE);
}

std::u16string date_text(std::uint64_t changed)
{
    FILETIME file_time = {static_cast<DWORD>(changed), static_cast<DWORD>(changed >> 32)};
    SYSTEMTIME universal, local;
    if (!changed || !FileTimeToSystemTime(&file_time, &universal)
        || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    wchar_t date[64] = {}, time[32] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, time, 32);
    return std::u16string(reinterpret_cast<const char16_t*>(date)) + u' ' + reinterpret_cast<const char16_t*>(time);
}

std::u16string cell_text(const ExplorerList* list, const ExplorerEntry& entry, int column)
{
    if (&entry == &list->up)
        return column == 0 ? entry.name : std::u16string();
    switch (column) {
    case 0: return entry.name;
    case 1: return entry.folder ? std::u16string() : explorer_size_text(entry.size);
    case 2: return entry.type;
    default: return date_text(entry.changed);
    }
}

void fill_display(ControlRecord* record, NMLVDISPINFOW* display)
{
    LVITEMW& item = display->item;
    const ExplorerEntry* entry = entry_at(list_of(record), item.iItem);
    if (!entry)
        return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::u16string text = cell_text(list_of(record), *entry, item.iSubItem);
        std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::copy_n(text.data(), length, reinterpret_cast<char16_t*>(item.pszText));
        item.pszText[length] = L'\0';
    }
    if (item.mask & LVIF_IMAGE)
        item.iImage = entry->icon;
}

void sort_by(ControlRecord* record, int column)
{
    ExplorerList* list = list_of(record);
    if (list->flags & GK_Explorer_NoSort)
        return;
    auto chosen = static_cast<ExplorerColumn>(std::clamp(column, 0, COLUMN_COUNT - 1));
    list->order = ExplorerOrder{chosen, list->order.column == chosen && !list->order.descending};
    present_rows(record, selected_names(record));
}

bool selection_changed(const NMLISTVIEW* change)
{
    return (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED);
}

std::intptr_t explorerlist_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY)
        return CONTROL_NOT_HANDLED;
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    switch (header->code) {
    case LVN_GETDISPINFOW: fill_display(record, reinterpret_cast<NMLVDISPINFOW*>(lparam)); return 0;
    case NM_CLICK: control_raise_event(record, EVENTTYPE_LEFT_CLICK); break;
    case NM_RCLICK: control_raise_event(record, EVENTTYPE_RIGHT_CLICK); break;
    case NM_RDBLCLK: control_raise_event(record, EVENTTYPE_RIGHT_DOUBLE_CLICK); break;
    case NM_DBLCLK:
        if (control_raise_event(record, EVENTTYPE_LEFT_DOUBLE_CLICK))
            open_row(record, reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem);
        break;
    case LVN_ITEMCHANGED:
        if (selection_changed(reinterpret_cast<const NMLISTVIEW*>(lparam)))
            control_raise_event(record, EVENTTYPE_CHANGE);
        break;
    case LVN_ODSTATECHANGED: control_raise_event(record, EVENTTYPE_CHANGE); break;
    case LVN_BEGINDRAG: control_raise_event(record, EVENTTYPE_DRAG_START); break;
    case LVN_COLUMNCLICK: sort_by(record, reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem); break;
    default: break;
    }
    return CONTROL_NOT_HANDLED;
}

// Return opens the focused row, Backspace goes up; a posted slice of the current read is read.
std::intptr_t explorerlist_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                          std::intptr_t)
{
    if (message == READ_ON) {
        if (wparam == list_of(record)->reading)
            read_slice(record);
        return 0;
    }
    if (message == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS;
    if (message != WM_KEYDOWN || (wparam != VK_RETURN && wparam != VK_BACK))
        return CONTROL_NOT_HANDLED;
    if (wparam == VK_BACK)
        go_up(record);
    else
        open_row(record, static_cast<int>(control_send(record, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
    return 0;
}

void explorerlist_destroy(ControlRecord* record)
{
    ExplorerList* list = list_of(record);
    explorer_watch_stop(list->watcher);
    explorer_scan_close(&list->scan);
    delete list;
    record->kind_data = nullptr;
}

std::u16string explorerlist_get_text(ControlRecord* record)
{
    return list_of(record)->folder;
}

int explorerlist_set_text(ControlRecord* record, const char16_t* text)
{
    ExplorerPath path = explorer_split_path(text);
    return open_folder(record, path.folder, std::move(path.patterns));
}

int explorerlist_count_items(ControlRecord* record)
{
    return row_count(list_of(record));
}

std::u16string explorerlist_get_item_text(ControlRecord* record, int index)
{
    const ExplorerEntry* entry = entry_at(list_of(record), index);
    return entry ? entry->name : std::u16string();
}

int explorerlist_get_item_state(ControlRecord* record, int index)
{
    if (!entry_at(list_of(record), index))
        return 0;
    return control_send(record, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) ? 1 : 0;
}

int explorerlist_set_item_state(ControlRecord* record, int index, int state)
{
    if (!entry_at(list_of(record), index))
        return 0;
    select_row(record, index, state != 0);
    return 1;
}

int explorerlist_get_state(ControlRecord* record)
{
    return static_cast<int>(control_send(record, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int explorerlist_set_state(ControlRecord* record, int value)
{
    select_row(record, -1, false);
    if (entry_at(list_of(record), value)) {
        select_row(record, value, true, LVIS_FOCUSED);
        control_send(record, LVM_ENSUREVISIBLE, static_cast<WPARAM>(value), FALSE);
    }
    return 1;
}

const ControlOps EXPLORERLIST_OPS = {
    .kind = CONTROL_KIND_EXPLORERLIST,
    .notify = explorerlist_notify,
    .window_message = explorerlist_window_message,
    .destroy = explorerlist_destroy,
    .get_state = explorerlist_get_state,
    .set_state = explorerlist_set_state,
    .get_text = explorerlist_get_text,
    .set_text = explorerlist_set_text,
    .count_items = explorerlist_count_items,
    .get_item_state = explorerlist_get_item_state,
    .set_item_state = explorerlist_set_item_state,
    .get_item_text = explorerlist_get_item_text,
};

// A watcher's refresh: the list of the event's object, if it is still one and still shows
// that folder, reads it again.
void on_refresh()
{
    ControlRecord* record = control_record(event_control());
    const auto* folder = static_cast<const std::u16string*>(event_data());
    if (!record || record->ops != &EXPLORERLIST_OPS || !folder || *folder != list_of(record)->folder)
        return;
    if (list_of(record)->read_under_way)
        list_of(record)->refresh_waiting = true;
    else
        show_rows(record, false);
}

void add_columns(HWND window)
{
    for (int column = 0; column < COLUMN_COUNT; ++column) {
        LVCOLUMNW description = {};
        description.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        description.fmt = column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        description.cx = COLUMN_WIDTHS[column];
        description.pszText = const_cast<wchar_t*>(COLUMN_TITLES[column]);
        SendMessageW(window, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&description));
    }
}

DWORD list_style(std::uint32_t flags)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHAREIMAGELISTS;
    if (!(flags & GK_Explorer_MultiSelect))
        style |= LVS_SINGLESEL;
    if (flags & GK_Explorer_AlwaysShowSelection)
        style |= LVS_SHOWSELALWAYS;
    if (flags & GK_Explorer_NoSort)
        style |= LVS_NOSORTHEADER;
    return style;
}

DWORD list_extended_style(std::uint32_t flags)
{
    DWORD extended = 0;
    if (flags & GK_Explorer_GridLines)
        extended |= LVS_EX_GRIDLINES;
    if (flags & GK_Explorer_HeaderDragDrop)
        extended |= LVS_EX_HEADERDRAGDROP;
    if (flags & GK_Explorer_FullRowSelect)
        extended |= LVS_EX_FULLROWSELECT;
    return extended;
}

}  // namespace

ObjectNumber explorerlist_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* path,
                                 std::uint32_t flags)
{
    ControlRecord* record = nullptr;
    DWORD edge = (flags & GK_Explorer_BorderLess) ? 0 : WS_EX_CLIENTEDGE;
    ObjectNumber made = control_create_window(number, u"SysListView32", u"", edge, list_style(flags), x, y, width,
                                              height, &EXPLORERLIST_OPS, &record);
    if (!made)
        return 0;
    HWND window = control_hwnd(record);
    SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, list_extended_style(flags));
    SendMessageW(window, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(explorer_small_icons()));
    add_columns(window);
    auto* list = new ExplorerList{};
    list->flags = flags;
    list->scan.search = INVALID_HANDLE_VALUE;
    list->up = ExplorerEntry{u"..", {}, 0, 0, true, explorer_folder_icon()};
    record->kind_data = list;
    event_unbind(EVENT_EXPLORER_REFRESH, on_refresh, -1, -1, -1);
    event_bind(EVENT_EXPLORER_REFRESH, on_refresh, -1, -1, -1);
    MutedScope muted;
    explorerlist_set_text(record, path ? path : u"");
    return made;
}
