#include "toolkit/controls/explorercombo.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/combo_click_win.h"
#include "toolkit/controls/explorer_folder_win.h"
#include "toolkit/event.h"

#include <windows.h>

#include <commctrl.h>

#include <cwchar>

namespace {

// The combo's own record: the current path and the path of every listed item.
struct ExplorerCombo {
    std::uint32_t flags;
    std::u16string current;
    std::vector<std::u16string> paths;
};

constexpr int DROP_HEIGHT = 300;
constexpr int NATURAL_WIDTH = 200;

ExplorerCombo* combo_of(const ControlRecord* record)
{
    return static_cast<ExplorerCombo*>(record->kind_data);
}

void add_entry(ControlRecord* record, const std::u16string& label, const std::u16string& path, int indent)
{
    ExplorerCombo* combo = combo_of(record);
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
    item.iItem = static_cast<INT_PTR>(combo->paths.size());
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(label.c_str()));
    item.iImage = item.iSelectedImage = explorer_folder_icon();
    item.iIndent = indent;
    item.lParam = static_cast<LPARAM>(combo->paths.size());
    combo->paths.push_back(path);
    control_send(record, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// The chain of folders below the drive root of the path, each indented one step more.
void add_chain(ControlRecord* record, const std::u16string& path)
{
    std::size_t start = path.find(u'\\') + 1;
    for (int depth = 1; start < path.size(); ++depth) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string::npos)
            break;
        add_entry(record, path.substr(start, end - start), path.substr(0, end + 1), depth);
        start = end + 1;
    }
}

bool under_root(const std::u16string& path, const std::u16string& root)
{
    return path.size() >= root.size() && CompareStringOrdinal(reinterpret_cast<LPCWCH>(path.c_str()),
                                                              static_cast<int>(root.size()),
                                                              reinterpret_cast<LPCWCH>(root.c_str()),
                                                              static_cast<int>(root.size()), TRUE) == CSTR_EQUAL;
}

// Lists the entries again for the current path and selects the current one.
void fill(ControlRecord* record)
{
    MutedScope muted;
    ExplorerCombo* combo = combo_of(record);
    control_send(record, CB_RESETCONTENT);
    combo->paths.clear();
    if (!(combo->flags & (GK_Explorer_NoMyDocuments | GK_Explorer_DrivesOnly))) {
        std::u16string documents = explorer_documents_folder();
        if (!documents.empty())
            add_entry(record, u"Documents", documents, 0);
    }
    wchar_t drives[256] = {};
    DWORD length = GetLogicalDriveStringsW(255, drives);
    for (const wchar_t* drive = drives; length && length < 255 && *drive; drive += wcslen(drive) + 1) {
        std::u16string root = reinterpret_cast<const char16_t*>(drive);
        add_entry(record, root, root, 0);
        if (!(combo->flags & GK_Explorer_DrivesOnly) && under_root(combo->current, root))
            add_chain(record, combo->current);
    }
    for (std::size_t index = combo->paths.size(); index-- > 0;) {
        if (combo->paths[index] == combo->current) {
            control_send(record, CB_SETCURSEL, index);
            break;
        }
    }
}

// Takes the path when it names a folder; 0 otherwise, leaving the current path.
int take_path(ControlRecord* record, std::u16string path)
{
    if (path.empty())
        return 0;
    if (path.back() != u'\\')
        path += u'\\';
    if (!explorer_is_folder(path))
        return 0;
    combo_of(record)->current = path;
    fill(record);
    return 1;
}

void end_edit(ControlRecord* record, const NMCBEENDEDITW* edit)
{
    if (edit->iWhy != CBENF_RETURN)
        return;
    if (take_path(record, reinterpret_cast<const char16_t*>(edit->szText)))
        control_raise_event(record, EVENTTYPE_CHANGE);
    else
        fill(record);
}

std::intptr_t explorercombo_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    if (message == WM_COMMAND && HIWORD(wparam) == CBN_SELCHANGE) {
        auto index = static_cast<std::size_t>(control_send(record, CB_GETCURSEL));
        if (index < combo_of(record)->paths.size() && take_path(record, combo_of(record)->paths[index]))
            control_raise_event(record, EVENTTYPE_CHANGE);
        return 0;
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lparam)->code == CBEN_ENDEDITW)
        end_edit(record, reinterpret_cast<const NMCBEENDEDITW*>(lparam));
    return CONTROL_NOT_HANDLED;
}

std::u16string explorercombo_get_text(ControlRecord* record)
{
    return combo_of(record)->current;
}

int explorercombo_set_text(ControlRecord* record, const char16_t* text)
{
    return take_path(record, text);
}

int explorercombo_count_items(ControlRecord* record)
{
    return static_cast<int>(combo_of(record)->paths.size());
}

std::u16string explorercombo_get_item_text(ControlRecord* record, int index)
{
    wchar_t text[MAX_PATH] = {};
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (index < 0 || !control_send(record, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return {};
    return reinterpret_cast<const char16_t*>(text);
}

int explorercombo_get_state(ControlRecord* record)
{
    return static_cast<int>(control_send(record, CB_GETCURSEL));
}

int explorercombo_natural_size(ControlRecord* record, int* width, int* height)
{
    *width = NATURAL_WIDTH;
    *height = static_cast<int>(control_send(record, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1))) + 6;
    return 1;
}

void explorercombo_destroy(ControlRecord* record)
{
    delete combo_of(record);
    record->kind_data = nullptr;
}

// The platform's height is that of the open list; the field keeps its own. An editable
// field made narrow (as the dialog engine makes it) scrolled its text to the end: it shows
// the text from its start again.
int explorercombo_resize(ControlRecord* record, int x, int y, int width, int)
{
    if (!MoveWindow(control_hwnd(record), x, y, width, DROP_HEIGHT, TRUE))
        return 0;
    if (auto edit = reinterpret_cast<HWND>(control_send(record, CBEM_GETEDITCONTROL))) {
        SendMessageW(edit, EM_SETSEL, 0, 0);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }
    return 1;
}

const ControlOps EXPLORERCOMBO_OPS = {
    .kind = CONTROL_KIND_EXPLORERCOMBO,
    .notify = explorercombo_notify,
    .destroy = explorercombo_destroy,
    .get_state = explorercombo_get_state,
    .get_text = explorercombo_get_text,
    .set_text = explorercombo_set_text,
    .resize = explorercombo_resize,
    .count_items = explorercombo_count_items,
    .get_item_text = explorercombo_get_item_text,
    .natural_size = explorercombo_natural_size,
};

}  // namespace

ObjectNumber explorercombo_create(ObjectNumber number, int x, int y, int width, int, const char16_t* path,
                                  std::uint32_t flags)
{
    ControlRecord* record = nullptr;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL
                  | ((flags & GK_Explorer_Editable) ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
    ObjectNumber made = control_create_window(number, u"ComboBoxEx32", u"", 0, style, x, y, width, DROP_HEIGHT,
                                              &EXPLORERCOMBO_OPS, &record);
    if (!made)
        return 0;
    combo_keep_clicks(control_hwnd(record));
    control_send(record, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(explorer_small_icons()));
    record->kind_data = new ExplorerCombo{flags, {}, {}};
    MutedScope muted;
    if (!take_path(record, path ? path : u""))
        fill(record);
    return made;
}
