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
#include <unordered_map>

namespace {

// The tree's own record: the path of every node (a node's item data indexes it), the watcher
// and the folders it was last given, and the folders in the order they were last expanded.
struct ExplorerTree {
    std::uint32_t flags;
    std::deque<std::u16string> paths;
    std::vector<std::size_t> free_paths;  // slots of deleted nodes, taken again first
    ExplorerWatcher* watcher;
    std::vector<std::u16string> watching;
    std::vector<std::u16string> recent;  // the most recently expanded last
    bool busy;                           // the nodes are being changed: no sync until done
    bool resync;                         // a sync was asked for meanwhile
};

// A node about to be expanded or collapsed, counted as it will be.
struct Turning {
    HTREEITEM node;
    bool open;
};

// A watched node: an expanded (or the selected) folder that can be seen.
struct OpenNode {
    HTREEITEM node;
    std::u16string path;
};

constexpr std::size_t MOST_REMEMBERED = 4 * EXPLORER_MOST_WATCHED;

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

// A deleted node's path slot is emptied and taken again by a later node, so the store holds
// what the tree shows, however often its folders are read again.
void forget_path(ControlRecord* record, std::size_t slot)
{
    ExplorerTree* tree = tree_of(record);
    if (!tree || slot >= tree->paths.size())
        return;
    std::u16string().swap(tree->paths[slot]);
    tree->free_paths.push_back(slot);
}

bool is_folder_path(const std::u16string* path)
{
    return path && !path->empty() && path->back() == u'\\';
}

HTREEITEM add_node(ControlRecord* record, HTREEITEM parent, HTREEITEM after, const ExplorerEntry& entry,
                   const std::u16string& path)
{
    ExplorerTree* tree = tree_of(record);
    std::size_t slot = tree->paths.size();
    if (tree->free_paths.empty()) {
        tree->paths.push_back(path);
    } else {
        slot = tree->free_paths.back();
        tree->free_paths.pop_back();
        tree->paths[slot] = path;
    }
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(entry.name.c_str()));
    insert.item.lParam = static_cast<LPARAM>(slot);
    insert.item.cChildren = entry.folder ? 1 : 0;
    insert.item.iImage = entry.icon;
    insert.item.iSelectedImage = entry.icon;
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

HTREEITEM selected_node(const ControlRecord* record)
{
    return reinterpret_cast<HTREEITEM>(control_send(record, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

bool is_expanded(const ControlRecord* record, HTREEITEM node)
{
    return control_send(record, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) != 0;
}

void set_has_children(ControlRecord* record, HTREEITEM node, bool has)
{
    TVITEMW item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    item.cChildren = has ? 1 : 0;
    control_send(record, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// The folder's entries as the flags choose them.
std::vector<ExplorerEntry> read_entries(const ControlRecord* record, const std::u16string& folder)
{
    std::vector<ExplorerEntry> entries;
    explorer_read_folder(folder, &entries);
    std::uint32_t flags = tree_of(record)->flags;
    std::uint32_t order = (flags & GK_Explorer_AutoSort) ? 0 : GK_Explorer_NoSort;
    explorer_choose_rows(&entries, {}, (flags & GK_Explorer_NoFiles) | order, {EXPLORER_BY_NAME, false});
    return entries;
}

// Reads the node's folder again and brings its children in line: the nodes of entries still
// there stay as they are (with their own children, expansion and selection), a new entry gets
// a node after the entry before it, the nodes of entries gone are removed. True when any was.
bool refresh_children(ControlRecord* record, HTREEITEM node)
{
    MutedScope muted;
    const std::u16string* found = path_of(record, node);
    if (!found)
        return false;
    std::u16string folder = *found;
    std::unordered_map<std::u16string, HTREEITEM> gone;
    for (HTREEITEM child = first_child(record, node); child; child = next_sibling(record, child)) {
        if (const std::u16string* path = path_of(record, child))
            gone.emplace(*path, child);
    }
    std::vector<ExplorerEntry> entries = read_entries(record, folder);
    HTREEITEM after = TVI_FIRST;
    for (const ExplorerEntry& entry : entries) {
        std::u16string path = folder + entry.name + (entry.folder ? u"\\" : u"");
        auto kept = gone.find(path);
        if (kept != gone.end()) {
            after = kept->second;
            gone.erase(kept);
        } else {
            after = add_node(record, node, after, entry, path);
        }
    }
    for (const auto& [path, child] : gone)
        control_send(record, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
    set_has_children(record, node, !entries.empty());
    return !gone.empty();
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

// The folder nodes below the parent that can be seen and are expanded or selected, depth
// first; the turning node counts as it will be.
void collect_open(const ControlRecord* record, HTREEITEM parent, Turning turning, HTREEITEM selected,
                  std::vector<OpenNode>* found)
{
    for (HTREEITEM child = first_child(record, parent); child; child = next_sibling(record, child)) {
        bool open = child == turning.node ? turning.open : is_expanded(record, child);
        if (!open && child != selected)
            continue;
        const std::u16string* path = path_of(record, child);
        if (!is_folder_path(path))
            continue;
        found->push_back(OpenNode{child, *path});
        if (open)
            collect_open(record, child, turning, selected, found);
    }
}

void note_expanded(ExplorerTree* tree, const std::u16string& path)
{
    std::erase(tree->recent, path);
    tree->recent.push_back(path);
    if (tree->recent.size() > MOST_REMEMBERED)
        tree->recent.erase(tree->recent.begin());
}

// The folders to watch: the selected one, then the expanded ones, the most recently expanded
// first; the watcher keeps the first EXPLORER_MOST_WATCHED.
std::vector<std::u16string> folders_to_watch(const ExplorerTree* tree, const std::vector<OpenNode>& open,
                                             const std::u16string* selected)
{
    auto rank = [tree](const std::u16string& path) {
        auto at = std::find(tree->recent.rbegin(), tree->recent.rend(), path);
        return at - tree->recent.rbegin();
    };
    std::vector<std::u16string> folders;
    for (const OpenNode& node : open)
        folders.push_back(node.path);
    std::stable_sort(folders.begin(), folders.end(),
                     [&](const std::u16string& a, const std::u16string& b) { return rank(a) < rank(b); });
    if (is_folder_path(selected))
        folders.insert(folders.begin(), *selected);
    std::vector<std::u16string> unique;
    for (std::u16string& folder : folders) {
        if (std::find(unique.begin(), unique.end(), folder) == unique.end() && unique.size() < EXPLORER_MOST_WATCHED)
            unique.push_back(std::move(folder));
    }
    return unique;
}

bool contains(const std::vector<std::u16string>& folders, const std::u16string& folder)
{
    return std::find(folders.begin(), folders.end(), folder) != folders.end();
}

// A node now watched that was not watched before (`before`) may be out of date, if it was
// filled; a node being opened must be read when it is out of date or was never filled.
bool needs_reading(const ControlRecord* record, const OpenNode& node, const std::vector<std::u16string>& before,
                   Turning turning)
{
    if (!contains(tree_of(record)->watching, node.path))
        return false;
    bool fresh = contains(before, node.path);
    if (node.node == turning.node && turning.open)
        return !fresh || !is_filled(record, node.node);
    return !fresh && is_filled(record, node.node);
}

// Hands the watcher the folders to watch now. A folder that was not watched until now may have
// changed meanwhile: its node, if already filled (or now being opened), is read again.
// Returns true when that removed nodes, so the folders to watch must be found again.
bool sync_once(ControlRecord* record, Turning turning)
{
    ExplorerTree* tree = tree_of(record);
    HTREEITEM selected = selected_node(record);
    std::vector<OpenNode> open;
    collect_open(record, nullptr, turning, selected, &open);
    std::vector<std::u16string> before = std::move(tree->watching);
    tree->watching = folders_to_watch(tree, open, path_of(record, selected));
    explorer_watch_set(tree->watcher, tree->watching);
    for (const OpenNode& node : open) {
        if (needs_reading(record, node, before, turning) && refresh_children(record, node.node))
            return true;
    }
    return false;
}

// Brings the watched folders in line with what is expanded and selected.
void watch_sync(ControlRecord* record, Turning turning = {nullptr, false})
{
    ExplorerTree* tree = tree_of(record);
    if (tree->busy) {
        tree->resync = true;
        return;
    }
    tree->busy = true;
    bool again = true;
    while (again) {
        tree->resync = false;
        again = sync_once(record, turning) || tree->resync;
    }
    tree->busy = false;
}

// A node about to be expanded is read if it is out of date, and watched from then on.
void open_node(ControlRecord* record, HTREEITEM node)
{
    if (const std::u16string* path = path_of(record, node))
        note_expanded(tree_of(record), *path);
    watch_sync(record, Turning{node, true});
}

void on_expanding(ControlRecord* record, const NMTREEVIEWW* view)
{
    UINT action = view->action & (TVE_EXPAND | TVE_COLLAPSE);
    if (action == TVE_EXPAND)
        open_node(record, view->itemNew.hItem);
    else if (action == TVE_COLLAPSE)
        watch_sync(record, Turning{view->itemNew.hItem, false});
}

std::intptr_t explorertree_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY)
        return CONTROL_NOT_HANDLED;
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    const auto* view = reinterpret_cast<const NMTREEVIEWW*>(lparam);
    switch (header->code) {
    case TVN_ITEMEXPANDINGW: on_expanding(record, view); break;
    case TVN_DELETEITEMW: forget_path(record, static_cast<std::size_t>(view->itemOld.lParam)); break;
    case TVN_ITEMEXPANDEDW: watch_sync(record); break;
    case TVN_SELCHANGEDW:
        watch_sync(record);
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

// The child of the node that is the target or a folder holding it, by the ASCII case rule.
HTREEITEM child_on_the_way(ControlRecord* record, HTREEITEM node, const std::u16string& target)
{
    for (HTREEITEM child = first_child(record, node); child; child = next_sibling(record, child)) {
        const std::u16string* path = path_of(record, child);
        if (!path)
            continue;
        if (text_equal_ascii(*path, target) || (is_folder_path(path) && text_starts_with_ascii(target, *path)))
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
        open_node(record, node);
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

// A watcher's refresh: the watched folder's node is read again; the nodes still there keep
// their expansion and the selection, and the tree view keeps the node at its top.
void on_refresh()
{
    ControlRecord* record = control_record(event_control());
    const auto* folder = static_cast<const std::u16string*>(event_data());
    if (!record || record->ops != &EXPLORERTREE_OPS || !folder || !contains(tree_of(record)->watching, *folder))
        return;
    std::vector<OpenNode> open;
    collect_open(record, nullptr, Turning{nullptr, false}, selected_node(record), &open);
    auto found = std::find_if(open.begin(), open.end(), [&](const OpenNode& node) { return node.path == *folder; });
    if (found == open.end())
        return;
    tree_of(record)->busy = true;
    refresh_children(record, found->node);
    tree_of(record)->busy = false;
    watch_sync(record);
}

void add_root(ControlRecord* record, const std::u16string& label, const std::u16string& path)
{
    add_node(record, TVI_ROOT, TVI_LAST, ExplorerEntry{label, {}, 0, 0, true, explorer_folder_icon()}, path);
}

void add_roots(ControlRecord* record)
{
    if (!(tree_of(record)->flags & GK_Explorer_NoMyDocuments)) {
        std::u16string documents = explorer_documents_folder();
        if (!documents.empty())
            add_root(record, u"Documents", documents);
    }
    wchar_t drives[256] = {};
    DWORD length = GetLogicalDriveStringsW(255, drives);
    for (const wchar_t* drive = drives; length && length < 255 && *drive; drive += wcslen(drive) + 1) {
        std::u16string root = reinterpret_cast<const char16_t*>(drive);
        add_root(record, root, root);
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
    auto* tree = new ExplorerTree{flags, {}, {}, nullptr, {}, {}, false, false};
    record->kind_data = tree;
    tree->watcher = explorer_watch_start(static_cast<ObjectNumber>(GetWindowLongPtrW(control_hwnd(record), GWLP_ID)),
                                         false);
    event_unbind(EVENT_EXPLORER_REFRESH, on_refresh, -1, -1, -1);
    event_bind(EVENT_EXPLORER_REFRESH, on_refresh, -1, -1, -1);
    MutedScope muted;
    add_roots(record);
    if (path && *path)
        explorertree_set_text(record, path);
    return made;
}

std::size_t explorertree_path_slots(ObjectNumber tree)
{
    ControlRecord* record = control_record(tree);
    return record && record->ops == &EXPLORERTREE_OPS && tree_of(record) ? tree_of(record)->paths.size() : 0;
}
