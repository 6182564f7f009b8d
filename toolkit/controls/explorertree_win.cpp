#include "toolkit/controls/explorertree.h"

#include "services/text_case.h"
#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/explorer_folder_win.h"
#include "toolkit/event.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <deque>

namespace {

// The tree's own record: the path of every node (a node's item data indexes it) and the
// watcher of the selected folder.
struct ExplorerTree {
    std::uint32_t flags;
    std::deque<std::u16string> paths;
    ExplorerWatcher* watcher;
    HTREEITEM watched;
};

ExplorerTree* tree_of(const ControlRecord* record)
{
    return static_cast<ExplorerTree*>(record->kind_data);
}

const std::u16string* path_of(const ControlRecord* record, HTREEITEM node)
{
    TVITEMW item = {};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    if (!node || !control_send(record, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    std::size_t index = static_cast<std::size_t>(item.lParam);
    return index < tree_of(record)->paths.size() ? &tree_of(record)->paths[index] : nullptr;
}

HTREEITEM add_node(ControlRecord* record, HTREEITEM parent, const std::u16string& label, const std::u16string& path,
                   int icon, bool folder)
{
    ExplorerTree* tree = tree_of(record);
    tree->paths.push_back(path);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(label.c_str()));
    insert.item.lParam = static_cast<LPARAM>(tree->paths.size() - 1);
    insert.item.cChildren = folder ? 1 : 0;
    insert.item.iImage = icon;
    insert.item.iSelectedImage = icon;
    return reinterpret_cast<HTREEITEM>(control_send(record, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM first_child(const ControlRecord* record, HTREEITEM node)
{
    return reinterpret_cast<HTREEITEM>(
        control_send(record, TVM_GETNEXTITEM, node ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(node)));
}

HTREEITEM next_sibling(const ControlRecord* record, HTREEITEM node)
{
    return reinterpret_cast<HTREEITEM>(control_send(record, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)));
}

void set_has_children(ControlRecord* record, HTREEITEM node, bool has)
{
    TVITEMW item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    item.cChildren = has ? 1 : 0;
    control_send(record, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// Replaces the node's children with the folder's entries as the flags choose them.
void fill_children(ControlRecord* record, HTREEITEM node)
{
    MutedScope muted;
    const std::u16string* found = path_of(record, node);
    if (!found)
        return;
    std::u16string folder = *found;
    for (HTREEITEM child = first_child(record, node); child; child = first_child(record, node))
        control_send(record, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
    std::vector<ExplorerEntry> entries;
    explorer_read_folder(folder, &entries);
    std::uint32_t flags = tree_of(record)->flags;
    std::uint32_t order = (flags & GK_Explorer_AutoSort) ? 0 : GK_Explorer_NoSort;
    explorer_choose_rows(&entries, {}, (flags & GK_Explorer_NoFiles) | order, {EXPLORER_BY_NAME, false});
    for (const ExplorerEntry& entry : entries)
        add_node(record, node, entry.name, folder + entry.name + (entry.folder ? u"\\" : u""), entry.icon,
                 entry.folder);
    set_has_children(record, node, !entries.empty());
}

bool is_filled(const ControlRecord* record, HTREEITEM node)
{
    TVITEMW item = {};
    item.mask = TVIF_STATE;
    item.hItem = node;
    item.stateMask = TVIS_EXPANDEDONCE;
    control_send(record, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return first_child(record, node) != nullptr || (item.state & TVIS_EXPANDEDONCE);
}

// Watches the selected node's folder, so its entries stay current.
void watch_selection(ControlRecord* record, HTREEITEM node)
{
    ExplorerTree* tree = tree_of(record);
    explorer_watch_stop(tree->watcher);
    tree->watcher = nullptr;
    tree->watched = nullptr;
    const std::u16string* path = path_of(record, node);
    if (!path || path->empty() || path->back() != u'\\')
        return;
    tree->watched = node;
    tree->watcher = explorer_watch_start(static_cast<ObjectNumber>(GetWindowLongPtrW(control_hwnd(record), GWLP_ID)),
                                         *path);
}

std::intptr_t explorertree_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY)
        return CONTROL_NOT_HANDLED;
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    const auto* view = reinterpret_cast<const NMTREEVIEWW*>(lparam);
    switch (header->code) {
    case TVN_ITEMEXPANDINGW:
        if (view->action == TVE_EXPAND && !first_child(record, view->itemNew.hItem))
            fill_children(record, view->itemNew.hItem);
        break;
    case TVN_SELCHANGEDW:
        watch_selection(record, view->itemNew.hItem);
        control_raise_event(record, EVENTTYPE_CHANGE);
        break;
    case NM_CLICK: control_raise_event(record, EVENTTYPE_LEFT_CLICK); break;
    case NM_RCLICK: control_raise_event(record, EVENTTYPE_RIGHT_CLICK); break;
    case NM_DBLCLK: control_raise_event(record, EVENTTYPE_LEFT_DOUBLE_CLICK); break;
    case NM_RDBLCLK: control_raise_event(record, EVENTTYPE_RIGHT_DOUBLE_CLICK); break;
    case TVN_BEGINDRAGW: control_raise_event(record, EVENTTYPE_DRAG_START); break;
    default: break;
    }
    return CONTROL_NOT_HANDLED;
}

HTREEITEM selected_node(const ControlRecord* record)
{
    return reinterpret_cast<HTREEITEM>(control_send(record, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::u16string explorertree_get_text(ControlRecord* record)
{
    const std::u16string* path = path_of(record, selected_node(record));
    return path ? *path : std::u16string();
}

// Scrolls the node into view, keeping the tree's left edge (its lines and icons) in view.
void show_node(ControlRecord* record, HTREEITEM node)
{
    if (node)
        control_send(record, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    control_send(record, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
}

// The child of the node whose path the target starts with, by the ASCII case rule.
HTREEITEM child_on_the_way(ControlRecord* record, HTREEITEM node, const std::u16string& target)
{
    for (HTREEITEM child = first_child(record, node); child; child = next_sibling(record, child)) {
        const std::u16string* path = path_of(record, child);
        if (path && !path->empty() && text_starts_with_ascii(target, *path))
            return child;
    }
    return nullptr;
}

// Opens the chain of folders down to the path and selects its node; 0 when it is not there.
int explorertree_set_text(ControlRecord* record, const char16_t* text)
{
    std::u16string target = text;
    std::replace(target.begin(), target.end(), u'/', u'\\');
    if (explorer_is_folder(target) && !target.empty() && target.back() != u'\\')
        target += u'\\';
    HTREEITEM node = child_on_the_way(record, nullptr, target);
    while (node && !text_equal_ascii(*path_of(record, node), target)) {
        if (!is_filled(record, node))
            fill_children(record, node);
        control_send(record, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
        node = child_on_the_way(record, node, target);
    }
    if (!node)
        return 0;
    control_send(record, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    show_node(record, node);
    return 1;
}

// A tree made with no size (as the dialog engine makes it) shows its selection again once sized.
int explorertree_resize(ControlRecord* record, int x, int y, int width, int height)
{
    if (!MoveWindow(control_hwnd(record), x, y, width, height, TRUE))
        return 0;
    show_node(record, selected_node(record));
    return 1;
}

void explorertree_destroy(ControlRecord* record)
{
    explorer_watch_stop(tree_of(record)->watcher);
    delete tree_of(record);
    record->kind_data = nullptr;
}

const ControlOps EXPLORERTREE_OPS = {
    .kind = CONTROL_KIND_EXPLORERTREE,
    .notify = explorertree_notify,
    .destroy = explorertree_destroy,
    .get_text = explorertree_get_text,
    .set_text = explorertree_set_text,
    .resize = explorertree_resize,
};

// A watcher's refresh: the watched folder's entries are read again, the selection kept.
void on_refresh()
{
    ControlRecord* record = control_record(event_control());
    if (!record || record->ops != &EXPLORERTREE_OPS || !tree_of(record)->watched)
        return;
    std::u16string selected = explorertree_get_text(record);
    HTREEITEM watched = tree_of(record)->watched;
    bool expanded = control_send(record, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(watched), TVIS_EXPANDED) != 0;
    fill_children(record, watched);
    if (expanded)
        control_send(record, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(watched));
    MutedScope muted;
    if (explorertree_get_text(record) != selected)
        explorertree_set_text(record, selected.c_str());
}

void add_roots(ControlRecord* record)
{
    if (!(tree_of(record)->flags & GK_Explorer_NoMyDocuments)) {
        std::u16string documents = explorer_documents_folder();
        if (!documents.empty())
            add_node(record, TVI_ROOT, u"Documents", documents, explorer_folder_icon(), true);
    }
    wchar_t drives[256] = {};
    DWORD length = GetLogicalDriveStringsW(255, drives);
    for (const wchar_t* drive = drives; length && length < 255 && *drive; drive += wcslen(drive) + 1) {
        std::u16string root = reinterpret_cast<const char16_t*>(drive);
        add_node(record, TVI_ROOT, root, root, explorer_folder_icon(), true);
    }
}

DWORD tree_style(std::uint32_t flags)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (!(flags & GK_Explorer_NoLines))
        style |= TVS_HASLINES | TVS_LINESATROOT;
    if (!(flags & GK_Explorer_NoButtons))
        style |= TVS_HASBUTTONS;
    if (flags & GK_Explorer_AlwaysShowSelection)
        style |= TVS_SHOWSELALWAYS;
    return style;
}

}  // namespace

ObjectNumber explorertree_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* path,
                                 std::uint32_t flags)
{
    ControlRecord* record = nullptr;
    DWORD edge = (flags & GK_Explorer_BorderLess) ? 0 : WS_EX_CLIENTEDGE;
    ObjectNumber made = control_create_window(number, u"SysTreeView32", u"", edge, tree_style(flags), x, y, width,
                                              height, &EXPLORERTREE_OPS, &record);
    if (!made)
        return 0;
    control_send(record, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(explorer_small_icons()));
    record->kind_data = new ExplorerTree{flags, {}, nullptr, nullptr};
    event_unbind(EVENT_EXPLORER_REFRESH, on_refresh, -1, -1, -1);
    event_bind(EVENT_EXPLORER_REFRESH, on_refresh, -1, -1, -1);
    MutedScope muted;
    add_roots(record);
    if (path && *path)
        explorertree_set_text(record, path);
    return made;
}
