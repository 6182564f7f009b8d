// Explorer views with real windows over folders the test makes. Lists: the rows that flags
// and patterns keep, real double clicks and keys, files made by another process appearing with
// the selection kept, a file grown while its folder's watch is renewed, bad paths, and a large
// folder read while the list answers messages.
// Trees: the roots, a real click on a node's button showing exactly its sub-folders, and
// folders made and removed by another process under expanded nodes. Combos: the chain, keys,
// and typed paths. Freeing and closing busy views ends their watcher threads.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include "toolkit/control.h"
#include "toolkit/controls/explorer_folder_win.h"
#include "toolkit/controls/explorercombo.h"
#include "toolkit/controls/explorerlist.h"
#include "toolkit/controls/explorertree.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr int WAIT_MS = 10000;  // generous: the promise is 2 s, the machine may be busy

// Empty files of three-letter names, more than a list's slice of rows.
bool fill_folder(const TempFolder& large, int files)
{
    for (int i = 0; i < files; ++i) {
        char16_t name[] = {u'f', char16_t(u'a' + i % 26), char16_t(u'a' + i / 26 % 26), char16_t(u'a' + i / 676), 0};
        if (!raw_write(large / name, ""))
            return false;
    }
    return true;
}

class ExplorerViewTest : public ControlWindowTest {
protected:
    ExplorerViewTest() : ControlWindowTest(u"Explorer view test", 640, 420) {}

    // 3 sub-folders and 20 files, 8 of them text files.
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        for (const char16_t* name : {u"alpha", u"beta", u"gamma"})
            ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<LPCWSTR>((folder / name).c_str()), nullptr));
        for (int i = 0; i < 20; ++i) {
            std::u16string name = u"file" + std::u16string(1, u'a' + i) + (i < 8 ? u".txt" : u".md");
            ASSERT_TRUE(raw_write(folder / name, "x"));
        }
    }

    ObjectNumber make(const std::u16string& path, std::uint32_t flags = 0)
    {
        ObjectNumber list = explorerlist_create(GK_ANY, 10, 10, 600, 360, path.c_str(), flags);
        EXPECT_NE(list, 0);
        event_bind_control(list, record_gadget_event);
        gui_pump_messages_for(50);
        return list;
    }

    // The centre of a row in screen coordinates.
    POINT row_center(ObjectNumber list, int row)
    {
        RECT box = {};
        box.left = LVIR_LABEL;
        SendMessageW(gui_control_handle(list), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box));
        POINT center = {box.left + 10, (box.top + box.bottom) / 2};
        ClientToScreen(gui_control_handle(list), &center);
        return center;
    }

    int row_of(ObjectNumber list, const std::u16string& name)
    {
        for (int row = 0; row < control_count_items(list); ++row) {
            if (control_get_item_text(list, row) == name)
                return row;
        }
        return -1;
    }

    TempFolder folder{"qn-explorer"};
};

int process_threads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Runs a command of the system's shell in a process of its own and waits for it.
bool run_shell(const std::u16string& command)
{
    return gui_run_command(u"cmd.exe /c " + command, WAIT_MS);
}

TEST_F(ExplorerViewTest, FlagsAndPatternsChooseTheRows)
{
    ObjectNumber all = make(folder.path);
    EXPECT_EQ(control_get_text(all), folder.path);
    ASSERT_EQ(control_count_items(all), 24);
    EXPECT_EQ(control_get_item_text(all, 0), u"..");
    EXPECT_EQ(control_get_item_text(all, 1), u"alpha");
    EXPECT_EQ(control_get_item_text(all, 4), u"filea.txt");
    EXPECT_EQ(control_count_items(make(folder.path, GK_Explorer_NoFiles)), 4);
    EXPECT_EQ(control_count_items(make(folder.path, GK_Explorer_NoFolders)), 21);
    EXPECT_EQ(control_count_items(make(folder.path, GK_Explorer_NoParentFolder)), 23);
    ObjectNumber text_files = make(folder / u"*.txt");
    EXPECT_EQ(control_get_text(text_files), folder.path);
    EXPECT_EQ(control_count_items(text_files), 1 + 3 + 8);
    EXPECT_EQ(control_set_text(all, (folder / u"*.txt;*.md").c_str()), 1);
    EXPECT_EQ(control_count_items(all), 24);
    // A real click on the name column's header turns the order round, folders still first.
    HWND header = reinterpret_cast<HWND>(SendMessageW(gui_control_handle(all), LVM_GETHEADER, 0, 0));
    RECT box = {};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&box));
    POINT name_header = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ClientToScreen(header, &name_header);
    gui_click_screen(name_header);
    EXPECT_TRUE(gui_wait_events_until([&] { return control_get_item_text(all, 1) == u"gamma"; }));
    EXPECT_EQ(control_get_item_text(all, 4), u"filet.md");
}

TEST_F(ExplorerViewTest, RealDoubleClickOpensAFolderAndBackspaceGoesBack)
{
    ObjectNumber list = make(folder.path);
    gui_click_screen(row_center(list, row_of(list, u"beta")), false, 2);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(list) == folder / u"beta\\"; }, WAIT_MS));
    EXPECT_EQ(count_events(list, EVENTTYPE_LEFT_DOUBLE_CLICK), 1);
    EXPECT_GE(count_events(list, EVENTTYPE_CHANGE), 1);
    EXPECT_EQ(control_count_items(list), 1);  // only ".."
    gui_press_key(VK_BACK);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(list) == folder.path; }, WAIT_MS));
    // Return on a selected folder opens it too.
    gui_click_screen(row_center(list, row_of(list, u"gamma")));
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_item_state(list, row_of(list, u"gamma")) == 1; }));
    gui_press_key(VK_RETURN);
    EXPECT_TRUE(gui_wait_events_until([&] { return control_get_text(list) == folder / u"gamma\\"; }, WAIT_MS));
}

TEST_F(ExplorerViewTest, FilesOfAnotherProcessAppearAndGoWithTheSelectionKept)
{
    ObjectNumber list = make(folder.path);
    ASSERT_EQ(control_set_item_state(list, row_of(list, u"filec.txt"), 1), 1);
    ASSERT_TRUE(run_shell(u"echo made> \"" + (folder / u"new.txt") + u"\""));
    ASSERT_TRUE(gui_wait_events_until([&] { return row_of(list, u"new.txt") >= 0; }, WAIT_MS));
    EXPECT_EQ(control_count_items(list), 25);
    EXPECT_EQ(control_get_item_state(list, row_of(list, u"filec.txt")), 1);
    ASSERT_TRUE(run_shell(u"del \"" + (folder / u"new.txt") + u"\""));
    ASSERT_TRUE(gui_wait_events_until([&] { return row_of(list, u"new.txt") < 0; }, WAIT_MS));
    EXPECT_EQ(control_get_item_state(list, row_of(list, u"filec.txt")), 1);
}

// The file the renew hook grows, once: from 1 byte ("1 KB") to 2,001 ("2 KB").
std::atomic<const TempFolder*> g_grown{nullptr};

void grow_while_renewing(const std::u16string&)
{
    if (const TempFolder* folder = g_grown.exchange(nullptr))
        raw_write(*folder / u"filea.txt", std::string(2001, 'x'));
}

std::u16string size_cell(HWND list, int row)
{
    wchar_t text[64] = {};
    LVITEMW item = {};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(text);
}

// An idle folder's watch is renewed every second; a file that grows in between the old watch and
// the new (which leaves the folder's own time alone) still shows its new size.
TEST_F(ExplorerViewTest, AFileGrownWhileItsFoldersWatchIsRenewedShowsItsNewSize)
{
    ObjectNumber list = make(folder.path);
    HWND view = gui_control_handle(list);
    ASSERT_EQ(size_cell(view, row_of(list, u"filea.txt")), u"1 KB");
    g_grown = &folder;
    explorer_watch_set_renew_hook(grow_while_renewing);
    bool shown = gui_wait_events_until([&] { return size_cell(view, row_of(list, u"filea.txt")) == u"2 KB"; }, WAIT_MS);
    explorer_watch_set_renew_hook(nullptr);
    EXPECT_EQ(g_grown.load(), nullptr);
    EXPECT_TRUE(shown);
}

// Ends the program with a message unless disarmed within a generous time: closing views must
// never wait for their busy folders to calm down.
struct Watchdog {
    HANDLE disarmed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread{[this] {
        if (WaitForSingleObject(disarmed, 30000) == WAIT_TIMEOUT) {
            std::fputs("closing the explorer views did not end\n", stderr);
            ExitProcess(3);
        }
    }};
    ~Watchdog()
    {
        SetEvent(disarmed);
        thread.join();
        CloseHandle(disarmed);
    }
};

void close_the_window()
{
    window_close(event_window());
}

// A list freed, then a window of all three views closed by Alt+F4, while another thread keeps
// writing files in the folders they watch: the watcher threads end with them.
TEST_F(ExplorerViewTest, FreeingAndClosingBusyViewsEndTheirThreads)
{
    int before = process_threads();
    ObjectNumber list = make(folder.path);
    EXPECT_EQ(explorer_watcher_count(), 1);
    std::atomic<bool> busy{true};
    std::thread maker([&] {
        for (int i = 0; busy; ++i) {
            std::u16string name = u"busy" + std::u16string(1, u'a' + i % 26);
            raw_write(folder / name, "y");
            raw_write(folder / (u"alpha\\" + name), "y");
        }
    });
    gui_pump_messages_for(300);
    {
        Watchdog watchdog;
        EXPECT_EQ(control_free(list), 1);
        ObjectNumber views = window_open(GK_ANY, UNCHANGED, UNCHANGED, 640, 420, u"Three views",
                                         GK_Window_SystemMenu | GK_Window_ScreenCentered, nullptr);
        explorerlist_create(GK_ANY, 0, 0, 320, 380, folder.path.c_str(), 0);
        explorertree_create(GK_ANY, 320, 30, 320, 350, (folder / u"alpha").c_str(), 0);
        explorercombo_create(GK_ANY, 320, 0, 320, 24, folder.path.c_str(), GK_Explorer_Editable);
        EXPECT_EQ(explorer_watcher_count(), 2);
        event_bind_window(EVENT_CLOSE_WINDOW, close_the_window, views);
        ASSERT_TRUE(gui_bring_to_front(static_cast<HWND>(window_os_handle(views))));
        gui_wait_events_for(300);
        gui_press_key(VK_F4, false, false, true);
        EXPECT_TRUE(gui_wait_events_until([&] { return !window_exists(views); }, WAIT_MS));
    }
    busy = false;
    maker.join();
    EXPECT_TRUE(gui_poll_until([&] {
        return explorer_watcher_count() == 0 && explorer_watched_count() == 0 && process_threads() == before;
    }));
    gui_wait_events_for(300);  // a refresh still on its way finds no view
}

TEST_F(ExplorerViewTest, BadPathsShowNoRowsAndStayResponsive)
{
    ObjectNumber list = make(folder / u"filea.txt");
    EXPECT_EQ(control_count_items(list), 0);
    EXPECT_EQ(control_set_text(list, (folder / u"missing").c_str()), 0);
    EXPECT_EQ(control_count_items(list), 0);
    // A folder removed while shown empties the list.
    ASSERT_EQ(control_set_text(list, (folder / u"alpha").c_str()), 1);
    EXPECT_EQ(control_count_items(list), 1);
    ASSERT_TRUE(RemoveDirectoryW(reinterpret_cast<LPCWSTR>((folder / u"alpha").c_str())));
    EXPECT_TRUE(gui_wait_events_until([&] { return control_count_items(list) == 0; }, WAIT_MS));
    // Names beyond the basic plane, and a folder deeper than 260 units.
    std::u16string deep = folder.path;
    while (deep.size() < 300) {
        deep += u"\U0001F600-a-rather-long-folder-name\\";
        ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<LPCWSTR>((u"\\\\?\\" + deep).c_str()), nullptr));
    }
    ASSERT_TRUE(raw_write(u"\\\\?\\" + deep + u"\U0001F600.txt", "z"));
    ASSERT_EQ(control_set_text(list, deep.c_str()), 1);
    EXPECT_EQ(control_get_text(list), deep);
    ASSERT_EQ(control_count_items(list), 2);
    EXPECT_EQ(control_get_item_text(list, 1), u"\U0001F600.txt");
    gui_click_screen(row_center(list, 1));
    EXPECT_TRUE(gui_wait_events_until([&] { return control_get_item_state(list, 1) == 1; }));
    control_free(list);
    DeleteFileW(reinterpret_cast<LPCWSTR>((u"\\\\?\\" + deep + u"\U0001F600.txt").c_str()));
    for (; deep.size() > folder.path.size(); deep = deep.substr(0, deep.rfind(u'\\', deep.size() - 2) + 1))
        RemoveDirectoryW(reinterpret_cast<LPCWSTR>((u"\\\\?\\" + deep).c_str()));
}

std::vector<std::u16string> node_texts(HWND tree, HTREEITEM parent)
{
    std::vector<std::u16string> texts;
    auto node = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
    for (; node; node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)))) {
        wchar_t text[MAX_PATH] = {};
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = node;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        texts.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return texts;
}

// The screen point of a node's expand button, found by hit tests left of its text.
POINT button_of(HWND tree, HTREEITEM node)
{
    RECT box = {};
    std::memcpy(&box, &node, sizeof(node));  // the message takes the node in the rectangle
    SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&box));
    TVHITTESTINFO hit = {};
    hit.pt.y = (box.top + box.bottom) / 2;
    for (hit.pt.x = box.left; hit.pt.x > 0; --hit.pt.x) {
        SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.flags & TVHT_ONITEMBUTTON)
            break;
    }
    POINT point = hit.pt;
    ClientToScreen(tree, &point);
    return point;
}

HTREEITEM tree_node(HWND tree, UINT which, HTREEITEM from = nullptr)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(from)));
}

// The child of the node with the text; null when there is none.
HTREEITEM child_named(HWND tree, HTREEITEM parent, const std::u16string& text)
{
    std::vector<std::u16string> texts = node_texts(tree, parent);
    auto at = std::find(texts.begin(), texts.end(), text);
    if (at == texts.end())
        return nullptr;
    HTREEITEM node = tree_node(tree, TVGN_CHILD, parent);
    for (auto i = texts.begin(); i != at; ++i)
        node = tree_node(tree, TVGN_NEXT, node);
    return node;
}

bool expanded(HWND tree, HTREEITEM node)
{
    return SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) != 0;
}

TEST_F(ExplorerViewTest, TreeShowsTheRootsAndARealClickOnAButtonShowsExactlyTheSubFolders)
{
    ObjectNumber tree = explorertree_create(GK_ANY, 10, 10, 600, 360, folder.path.c_str(),
                                            GK_Explorer_NoFiles | GK_Explorer_AutoSort);
    ASSERT_NE(tree, 0);
    HWND handle = gui_control_handle(tree);
    std::vector<std::u16string> roots = node_texts(handle, nullptr);
    ASSERT_GE(roots.size(), 2u);
    EXPECT_EQ(roots[0], u"Documents");
    EXPECT_NE(std::find(roots.begin(), roots.end(), u"C:\\"), roots.end());
    EXPECT_EQ(control_get_text(tree), folder.path);
    auto node = reinterpret_cast<HTREEITEM>(SendMessageW(handle, TVM_GETNEXTITEM, TVGN_CARET, 0));
    EXPECT_EQ(SendMessageW(handle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED), 0);
    gui_pump_messages_for(100);
    gui_click_screen(button_of(handle, node));
    ASSERT_TRUE(gui_wait_events_until(
        [&] { return SendMessageW(handle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) != 0; }));
    EXPECT_EQ(node_texts(handle, node), (std::vector<std::u16string>{u"alpha", u"beta", u"gamma"}));
    EXPECT_EQ(control_set_text(tree, (folder / u"beta").c_str()), 1);
    EXPECT_EQ(control_get_text(tree), folder / u"beta\\");
    EXPECT_EQ(control_set_text(tree, (folder / u"missing").c_str()), 0);
}

TEST_F(ExplorerViewTest, ComboListsTheDrivesAndTheChainAndTakesAChoiceByKeys)
{
    ObjectNumber combo = explorercombo_create(GK_ANY, 10, 10, 400, 24, (folder / u"beta").c_str(), 0);
    ASSERT_NE(combo, 0);
    EXPECT_TRUE(event_bind_control(combo, record_gadget_event));
    EXPECT_EQ(control_get_text(combo), folder / u"beta\\");
    std::vector<std::u16string> items;
    for (int index = 0; index < control_count_items(combo); ++index)
        items.push_back(control_get_item_text(combo, index));
    EXPECT_EQ(items.front(), u"Documents");
    auto drive = std::find(items.begin(), items.end(), u"C:\\");
    ASSERT_NE(drive, items.end());
    EXPECT_EQ(items[control_get_state(combo)], u"beta");
    // The chain runs from the drive down to the folder, one item per folder.
    std::size_t folders = std::count(folder.path.begin(), folder.path.end(), u'\\');
    EXPECT_EQ(items.begin() + control_get_state(combo) - drive, static_cast<std::ptrdiff_t>(folders));
    // Up chooses the folder above.
    SetFocus(gui_control_handle(combo));
    gui_press_key(VK_UP);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(combo) == folder.path; }));
    EXPECT_EQ(count_events(combo, EVENTTYPE_CHANGE), 1);
    EXPECT_EQ(control_set_text(combo, (folder / u"missing").c_str()), 0);
    EXPECT_EQ(control_get_text(combo), folder.path);
    ObjectNumber drives = explorercombo_create(GK_ANY, 10, 40, 400, 24, folder.path.c_str(),
                                               GK_Explorer_DrivesOnly | GK_Explorer_NoMyDocuments);
    EXPECT_EQ(control_count_items(drives), __builtin_popcount(GetLogicalDrives()));
}

// Folders made and removed by another process under expanded nodes that are not selected show
// at once, with the nodes around them kept as they were; a collapsed folder is no longer
// watched and is read again when expanded; at most EXPLORER_MOST_WATCHED folders are watched.
TEST_F(ExplorerViewTest, TreeWatchesEveryExpandedFolderKeepingItsState)
{
    for (const char16_t* name :
         {u"alpha\\inner", u"alpha\\inner\\deep", u"beta\\one", u"z1", u"z2", u"z3", u"z4", u"z5"})
        ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<LPCWSTR>((folder / name).c_str()), nullptr));
    ObjectNumber tree = explorertree_create(GK_ANY, 10, 10, 600, 120, (folder / u"alpha\\inner\\deep").c_str(),
                                            GK_Explorer_NoFiles | GK_Explorer_AutoSort);
    HWND view = gui_control_handle(tree);
    ASSERT_EQ(control_set_text(tree, (folder / u"beta\\one").c_str()), 1);
    HTREEITEM beta = tree_node(view, TVGN_PARENT, tree_node(view, TVGN_CARET));
    HTREEITEM alpha = tree_node(view, TVGN_PREVIOUS, beta);
    HTREEITEM inner = child_named(view, alpha, u"inner");
    ASSERT_TRUE(inner && expanded(view, alpha) && expanded(view, inner));
    SendMessageW(view, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(beta));
    ASSERT_EQ(tree_node(view, TVGN_FIRSTVISIBLE), beta);
    ASSERT_TRUE(run_shell(u"mkdir \"" + (folder / u"alpha\\made") + u"\""));
    ASSERT_TRUE(gui_wait_events_until([&] { return child_named(view, alpha, u"made"); }, WAIT_MS));
    EXPECT_EQ(child_named(view, alpha, u"inner"), inner);
    EXPECT_TRUE(expanded(view, inner));
    EXPECT_EQ(control_get_text(tree), folder / u"beta\\one\\");
    EXPECT_EQ(tree_node(view, TVGN_FIRSTVISIBLE), beta);
    ASSERT_TRUE(run_shell(u"mkdir \"" + (folder / u"alpha\\inner\\deeper") + u"\""));
    EXPECT_TRUE(gui_wait_events_until([&] { return child_named(view, inner, u"deeper"); }, WAIT_MS));
    ASSERT_TRUE(run_shell(u"rmdir \"" + (folder / u"alpha\\made") + u"\""));
    EXPECT_TRUE(gui_wait_events_until([&] { return !child_named(view, alpha, u"made"); }, WAIT_MS));
    // The selected folder removed: it can no longer be read, and its node goes.
    ASSERT_TRUE(run_shell(u"rmdir \"" + (folder / u"beta\\one") + u"\""));
    EXPECT_TRUE(gui_wait_events_until([&] { return !child_named(view, beta, u"one"); }, WAIT_MS));
    EXPECT_NE(control_get_text(tree), folder / u"beta\\one\\");
    // A real click collapses alpha: it and inner are no longer watched, and a folder made
    // meanwhile is there once alpha is expanded again, inner still expanded.
    int watched = explorer_watched_count();
    SendMessageW(view, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(alpha));
    gui_click_screen(button_of(view, alpha));
    ASSERT_TRUE(gui_wait_events_until([&] { return !expanded(view, alpha); }));
    EXPECT_TRUE(gui_poll_until([&] { return explorer_watched_count() == watched - 2; }));
    ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<LPCWSTR>((folder / u"alpha\\later").c_str()), nullptr));
    gui_click_screen(button_of(view, alpha));
    ASSERT_TRUE(gui_wait_events_until([&] { return expanded(view, alpha); }));
    EXPECT_EQ(node_texts(view, alpha), (std::vector<std::u16string>{u"inner", u"later"}));
    EXPECT_TRUE(expanded(view, inner));
    EXPECT_EQ(node_texts(view, inner), (std::vector<std::u16string>{u"deep", u"deeper"}));
    // Seventy expanded folders: the watches stay capped and the latest expanded is watched.
    auto many = [&](int i) {
        return folder / (u"many\\f" + std::u16string(1, u'a' + i / 10) + std::u16string(1, u'0' + i % 10) + u"\\sub");
    };
    for (int i = 0; i < 70; ++i)
        ASSERT_EQ(SHCreateDirectoryExW(nullptr, reinterpret_cast<LPCWSTR>(many(i).c_str()), nullptr), 0);
    HTREEITEM top = tree_node(view, TVGN_PARENT, alpha);
    ASSERT_TRUE(gui_wait_events_until([&] { return child_named(view, top, u"many"); }, WAIT_MS));
    for (int i = 0; i < 70; ++i)
        ASSERT_EQ(control_set_text(tree, many(i).c_str()), 1);
    EXPECT_TRUE(gui_poll_until([&] { return explorer_watched_count() == int(EXPLORER_MOST_WATCHED); }));
    HTREEITEM last = tree_node(view, TVGN_PARENT, tree_node(view, TVGN_CARET));
    ASSERT_TRUE(run_shell(u"mkdir \"" + (folder / u"many\\fg9\\new") + u"\""));
    EXPECT_TRUE(gui_wait_events_until([&] { return child_named(view, last, u"new"); }, WAIT_MS));
}

// Files coming and going in an expanded folder, read again each time: the tree's store of node
// paths after 1,000 refreshes is the size it had after 10. The refreshes are asked for as the
// watcher asks, so that they come faster than the folder's quiet time allows.
TEST_F(ExplorerViewTest, TreeStoreHoldsOnlyWhatItShows)
{
    ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<LPCWSTR>((folder / u"churn").c_str()), nullptr));
    ObjectNumber tree = explorertree_create(GK_ANY, 10, 10, 600, 300, (folder / u"churn").c_str(), 0);
    HWND view = gui_control_handle(tree);
    HTREEITEM churn = tree_node(view, TVGN_CARET);
    SendMessageW(view, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(churn));
    std::u16string watched = folder / u"churn\\";
    std::size_t slots = 0;
    std::u16string before;
    for (int round = 1; round <= 1000; ++round) {
        std::string digits = std::to_string(round);
        std::u16string name = u"file" + std::u16string(digits.begin(), digits.end());
        ASSERT_TRUE(raw_write(folder / (u"churn\\" + name), "x"));
        if (!before.empty()) {
            ASSERT_TRUE(DeleteFileW(reinterpret_cast<LPCWSTR>((folder / (u"churn\\" + before)).c_str())));
        }
        event_post(EVENT_EXPLORER_REFRESH, tree, 0, 0, &watched, nullptr, 0);
        ASSERT_TRUE(child_named(view, churn, name) && (before.empty() || !child_named(view, churn, before))) << round;
        before = name;
        if (round == 10)
            slots = explorertree_path_slots(tree);
    }
    EXPECT_GT(slots, 0u);
    EXPECT_EQ(explorertree_path_slots(tree), slots);
}

// A typed path that names a folder becomes the text on Return and raises change; one that
// does not puts the current folder's name back into the field, with no change raised.
TEST_F(ExplorerViewTest, EditableComboTakesATypedFolderOnReturnAndPutsBackAnyOther)
{
    // Made with no size, as the dialog engine makes it, and sized: the name shows from its start.
    ObjectNumber combo = explorercombo_create(GK_ANY, 0, 0, 0, 0, (folder / u"alpha").c_str(), GK_Explorer_Editable);
    ASSERT_NE(combo, 0);
    ASSERT_EQ(control_resize(combo, 10, 10, 400, 24), 1);
    event_bind_control(combo, record_gadget_event);
    HWND edit = reinterpret_cast<HWND>(SendMessageW(gui_control_handle(combo), CBEM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(gui_window_text(edit), u"alpha");
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    auto retype = [&](const std::u16string& text) {
        gui_click_screen(gui_window_center(edit));
        gui_press_key(VK_HOME);
        gui_press_key(VK_END, true);
        gui_type_text(text);
    };
    retype(folder / u"beta");
    gui_press_key(VK_RETURN);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(combo) == folder / u"beta\\"; }));
    EXPECT_EQ(count_events(combo, EVENTTYPE_CHANGE), 1);
    EXPECT_EQ(gui_window_text(edit), u"beta");
    // The mistyped path must be seen in the edit before Return, or the old text would still
    // be there from before the typing.
    retype(folder / u"missing");
    ASSERT_TRUE(gui_wait_events_until([&] { return gui_window_text(edit) == folder / u"missing"; }));
    gui_press_key(VK_RETURN);
    EXPECT_TRUE(gui_wait_events_until([&] { return gui_window_text(edit) == u"beta"; }));
    EXPECT_EQ(control_get_text(combo), folder / u"beta\\");
    EXPECT_EQ(count_events(combo, EVENTTYPE_CHANGE), 1);
}

// A large folder (the benchmark lists 100,000 files) is read in slices: a message sent to the
// list from another thread is answered while rows are still missing, then every file shows.
TEST_F(ExplorerViewTest, ALargeFolderShowsEveryFileAndTheListAnswersWhileItIsRead)
{
    constexpr int FILES = 6000;
    TempFolder large("qn-explorer-large");
    ASSERT_TRUE(fill_folder(large, FILES));
    ObjectNumber list = make(folder.path);
    HWND view = gui_control_handle(list);
    std::atomic<bool> listing{true}, asked{false};
    std::vector<DWORD_PTR> answers;
    std::thread asker([&] {
        for (DWORD_PTR count = 0; listing;) {
            if (SendMessageTimeoutW(view, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, WAIT_MS, &count))
                answers.push_back(count);
        }
        asked = true;
    });
    ASSERT_EQ(control_set_text(list, large.path.c_str()), 1);
    EXPECT_TRUE(gui_wait_events_until([&] { return control_count_items(list) == FILES + 1; }, WAIT_MS));
    gui_wait_events_for(100);
    listing = false;
    EXPECT_TRUE(gui_wait_events_until([&] { return asked.load(); }, WAIT_MS));
    asker.join();
    EXPECT_TRUE(
        std::any_of(answers.begin(), answers.end(), [](DWORD_PTR count) { return count > 1 && count < FILES + 1; }));
    EXPECT_EQ(answers.back(), DWORD_PTR{FILES + 1});
    control_free(list);
}

// Refreshes asked for all through a read in slices (as a steady stream of changes asks) never
// start it over: the read finishes while they go on, and the change they were for shows after it.
TEST_F(ExplorerViewTest, RefreshesDuringAReadLetItFinishAndShowTheChangeAfterwards)
{
    constexpr int FILES = 4500;
    TempFolder large("qn-explorer-busy");
    ASSERT_TRUE(fill_folder(large, FILES));
    ObjectNumber list = make(folder.path);
    ASSERT_EQ(control_set_text(list, large.path.c_str()), 1);
    ASSERT_TRUE(raw_write(large / u"new", ""));
    std::u16string shown = control_get_text(list);
    // Messages are pumped without taking events: a queued event would be taken instead of the
    // read's next slice.
    EXPECT_TRUE(gui_pump_messages_until(
        [&] {
            event_post(EVENT_EXPLORER_REFRESH, list, 0, 0, &shown, nullptr, 0);
            return control_count_items(list) >= FILES + 1;
        },
        WAIT_MS));
    gui_drain_queue();
    EXPECT_TRUE(gui_wait_events_until([&] { return control_count_items(list) == FILES + 2; }, WAIT_MS));
    control_free(list);
}

}  // namespace
