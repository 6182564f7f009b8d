// A handler may free whatever raised its event: for each kind and event type, real input
// raises the event, and its handler frees the control, or closes the control's window. The
// program must not crash (run it once with WINEDEBUG=warn+heap to see no heap error) and
// must go on handling events.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include "images/image.h"
#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/buttonimage.h"
#include "toolkit/controls/calendar.h"
#include "toolkit/controls/canvas.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/code_editor.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/date.h"
#include "toolkit/controls/explorercombo.h"
#include "toolkit/controls/explorerlist.h"
#include "toolkit/controls/explorertree.h"
#include "toolkit/controls/hyperlink.h"
#include "toolkit/controls/image_control.h"
#include "toolkit/controls/ipaddress.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/option.h"
#include "toolkit/controls/plain_container.h"
#include "toolkit/controls/scrollarea.h"
#include "toolkit/controls/scrollbar.h"
#include "toolkit/controls/shortcut_entry.h"
#include "toolkit/controls/spin.h"
#include "toolkit/controls/splitter.h"
#include "toolkit/controls/trackbar.h"
#include "toolkit/controls/tree.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/listview.h"
#include "toolkit/panel.h"
#include "toolkit/string_field.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>

namespace {

enum class Freeing { Control, Window };

Freeing g_freeing = Freeing::Control;
int g_handled = 0;

void free_in_handler()
{
    ++g_handled;
    if (g_freeing == Freeing::Control)
        control_free(event_control());
    else
        window_close(event_window());
}

POINT client_point(ObjectNumber control, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(gui_control_handle(control), &point);
    return point;
}

POINT center(ObjectNumber control)
{
    return gui_window_center(gui_control_handle(control));
}

POINT list_row(ObjectNumber list, int row, int part)
{
    RECT rect = {};
    rect.left = part;
    SendMessageW(gui_control_handle(list), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return client_point(list, part == LVIR_BOUNDS ? rect.left + 4 : (rect.left + rect.right) / 2,
                        (rect.top + rect.bottom) / 2);
}

POINT tree_item(ObjectNumber tree, WPARAM which, bool check_box = false)
{
    HWND window = gui_control_handle(tree);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(window, TVM_GETNEXTITEM, which, 0));
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof(item));
    SendMessageW(window, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    // The check box lies left of the label, one state image's width.
    return client_point(tree, check_box ? rect.left - 8 : (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void click(POINT point, int clicks = 1, bool right = false)
{
    gui_click_screen(point, right, clicks);
}

// Clicks into the control, waits until the focus is in it, closes a list it dropped down
// and presses the key.
void click_then_key(ObjectNumber control, POINT point, WORD key)
{
    HWND window = gui_control_handle(control);
    click(point);
    EXPECT_TRUE(gui_pump_messages_until([&] { return GetFocus() == window || IsChild(window, GetFocus()); }));
    gui_press_key(VK_ESCAPE);
    gui_press_key(key);
}

void click_and_type(ObjectNumber control, WORD key)
{
    click(center(control));
    gui_pump_messages_for(50);
    gui_press_key(key);
}

// Clicks into the control, then onto a button made beside it, so that the control loses the
// focus to real input.
void focus_then_leave(ObjectNumber control, POINT inside)
{
    ObjectNumber other = button_create(GK_ANY, 300, 250, 100, 30, u"Elsewhere", 0);
    HWND window = gui_control_handle(control);
    click(inside);
    gui_pump_messages_until([&] { return GetFocus() == window || IsChild(window, GetFocus()); });
    click(center(other));
}

void drag_from(POINT from)
{
    gui_drag(from, POINT{from.x + 60, from.y + 60});
}

void turn_wheel()
{
    INPUT turn = {};
    turn.type = INPUT_MOUSE;
    turn.mi.dwFlags = MOUSEEVENTF_WHEEL;
    turn.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    SendInput(1, &turn, sizeof(turn));
}

ObjectNumber with_items(ObjectNumber control)
{
    for (const char16_t* text : {u"one", u"two", u"three"})
        control_add_item(control, -1, text);
    return control;
}

ObjectNumber make_tree(std::uint32_t flags)
{
    ObjectNumber tree = tree_create(GK_ANY, 10, 10, 200, 150, flags);
    control_add_item(tree, -1, u"one");
    control_add_item(tree, -1, u"two");
    return tree;
}

ObjectNumber make_listicon(std::uint32_t flags)
{
    return with_items(listicon_create(GK_ANY, 10, 10, 300, 150, u"Name", 200, flags));
}

// A container kind whose list is closed, so that later controls go on the window again.
ObjectNumber closed(ObjectNumber container)
{
    container_close_list();
    return container;
}

ObjectNumber make_splitter()
{
    ObjectNumber first = button_create(GK_ANY, 0, 0, 10, 10, u"First", 0);
    ObjectNumber second = button_create(GK_ANY, 0, 0, 10, 10, u"Second", 0);
    return splitter_create(GK_ANY, 10, 10, 300, 150, first, second, GK_Splitter_Vertical);
}

ObjectNumber make_image_kind(bool button)
{
    ObjectNumber image = image_create(GK_ANY, 40, 40, 0xFF0000);
    return button ? buttonimage_create(GK_ANY, 10, 10, 60, 60, image, 0)
                  : image_control_create(GK_ANY, 10, 10, 60, 60, image, 0);
}

struct TestFolder {
    TempFolder folder{"qn-free"};
    TestFolder() { CreateDirectoryW(reinterpret_cast<LPCWSTR>((folder / u"sub").c_str()), nullptr); }
};

const std::u16string& test_folder()
{
    static TestFolder made;
    return made.folder.path;
}

// One row: how to make the kind, the event type whose handler frees, and the real input.
struct FreeCase {
    const char* name;
    int type;
    ObjectNumber (*make)();
    void (*act)(ObjectNumber control);
};

const FreeCase CASES[] = {
    {"ButtonClick", EVENTTYPE_LEFT_CLICK, [] { return button_create(GK_ANY, 10, 10, 100, 30, u"Press", 0); },
     [](ObjectNumber c) { click(center(c)); }},
    {"CheckBoxClick", EVENTTYPE_LEFT_CLICK, [] { return checkbox_create(GK_ANY, 10, 10, 100, 30, u"Tick", 0); },
     [](ObjectNumber c) { click(center(c)); }},
    {"OptionClick", EVENTTYPE_LEFT_CLICK, [] { return option_create(GK_ANY, 10, 10, 100, 30, u"Pick"); },
     [](ObjectNumber c) { click(center(c)); }},
    {"StringFocus", EVENTTYPE_FOCUS, [] { return string_create(GK_ANY, 10, 10, 150, 24, u"", 0); },
     [](ObjectNumber c) { click(center(c)); }},
    {"StringChange", EVENTTYPE_CHANGE, [] { return string_create(GK_ANY, 10, 10, 150, 24, u"", 0); },
     [](ObjectNumber c) { click_and_type(c, 'A'); }},
    {"EditorFocus", EVENTTYPE_FOCUS, [] { return editor_create(GK_ANY, 10, 10, 200, 100, 0); },
     [](ObjectNumber c) { click(center(c)); }},
    {"EditorChange", EVENTTYPE_CHANGE, [] { return editor_create(GK_ANY, 10, 10, 200, 100, 0); },
     [](ObjectNumber c) { click_and_type(c, 'A'); }},
    {"ListViewClick", EVENTTYPE_LEFT_CLICK, [] { return with_items(listview_create(GK_ANY, 10, 10, 150, 120, 0)); },
     [](ObjectNumber c) { click(client_point(c, 20, 5)); }},
    {"ListViewDoubleClick", EVENTTYPE_LEFT_DOUBLE_CLICK,
     [] { return with_items(listview_create(GK_ANY, 10, 10, 150, 120, 0)); },
     [](ObjectNumber c) { click(client_point(c, 20, 5), 2); }},
    {"PanelChange", EVENTTYPE_CHANGE, [] { return with_items(panel_create(GK_ANY, 10, 10, 300, 200)); },
     [](ObjectNumber c) {
         RECT tab = {};
         SendMessageW(gui_control_handle(c), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
         click(client_point(c, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2));
     }},
    {"SpinUp", SPIN_EVENT_UP, [] { return spin_create(GK_ANY, 10, 10, 100, 24, 0, 10, 0); },
     [](ObjectNumber c) { click_and_type(c, VK_UP); }},
    {"ScrollBarScroll", 0, [] { return scrollbar_create(GK_ANY, 10, 10, 20, 150, 0, 100, 10, 1); },
     [](ObjectNumber c) { click(client_point(c, 10, 140)); }},
    {"TrackBarMove", 0, [] { return trackbar_create(GK_ANY, 10, 10, 200, 40, 0, 10, 0); },
     [](ObjectNumber c) { click_and_type(c, VK_RIGHT); }},
    {"IpAddressFocus", EVENTTYPE_FOCUS, [] { return ipaddress_create(GK_ANY, 10, 10, 200, 24); },
     [](ObjectNumber c) { click(client_point(c, 10, 10)); }},
    {"ShortcutChange", 0, [] { return shortcut_create(GK_ANY, 10, 10, 150, 24, 0); },
     [](ObjectNumber c) { click_and_type(c, 'K'); }},
    {"ListIconClick", EVENTTYPE_LEFT_CLICK, [] { return make_listicon(0); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_LABEL)); }},
    {"ListIconDoubleClick", EVENTTYPE_LEFT_DOUBLE_CLICK, [] { return make_listicon(0); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_LABEL), 2); }},
    {"ListIconRightClick", EVENTTYPE_RIGHT_CLICK, [] { return make_listicon(0); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_LABEL), 1, true); }},
    {"ListIconSelect", EVENTTYPE_CHANGE, [] { return make_listicon(0); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_LABEL)); }},
    {"ListIconThreeStateChange", EVENTTYPE_CHANGE,
     [] { return make_listicon(GK_ListIcon_CheckBoxes | GK_ListIcon_ThreeState); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_BOUNDS)); }},
    {"ListIconThreeStateClick", EVENTTYPE_LEFT_CLICK,
     [] { return make_listicon(GK_ListIcon_CheckBoxes | GK_ListIcon_ThreeState); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_BOUNDS)); }},
    {"TreeClick", EVENTTYPE_LEFT_CLICK, [] { return make_tree(0); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_ROOT)); }},
    {"TreeDoubleClick", EVENTTYPE_LEFT_DOUBLE_CLICK, [] { return make_tree(0); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_ROOT), 2); }},
    {"TreeSelect", EVENTTYPE_CHANGE, [] { return make_tree(0); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_ROOT)); }},
    {"TreeThreeStateChange", EVENTTYPE_CHANGE, [] { return make_tree(GK_Tree_CheckBoxes | GK_Tree_ThreeState); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_ROOT, true)); }},
    {"TreeThreeStateClick", EVENTTYPE_LEFT_CLICK, [] { return make_tree(GK_Tree_CheckBoxes | GK_Tree_ThreeState); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_ROOT, true)); }},
    {"ComboBoxFocus", EVENTTYPE_FOCUS, [] { return with_items(combobox_create(GK_ANY, 10, 10, 150, 120, 0)); },
     [](ObjectNumber c) { click(client_point(c, 10, 10)); }},
    {"ComboBoxChoose", EVENTTYPE_CHANGE, [] { return with_items(combobox_create(GK_ANY, 10, 10, 150, 120, 0)); },
     [](ObjectNumber c) { click_then_key(c, client_point(c, 10, 10), VK_DOWN); }},
    {"ComboBoxEditFocus", EVENTTYPE_FOCUS,
     [] { return with_items(combobox_create(GK_ANY, 10, 10, 150, 120, GK_ComboBox_Editable)); },
     [](ObjectNumber c) { click(client_point(c, 10, 10)); }},
    {"CalendarChange", EVENTTYPE_CHANGE, [] { return calendar_create(GK_ANY, 10, 10, 250, 200, 0); },
     [](ObjectNumber c) { click_and_type(c, VK_RIGHT); }},
    {"DateChange", EVENTTYPE_CHANGE, [] { return date_create(GK_ANY, 10, 10, 200, 24, nullptr, 0); },
     [](ObjectNumber c) { click_then_key(c, client_point(c, 12, 12), VK_UP); }},
    {"HyperlinkClick", EVENTTYPE_LEFT_CLICK,
     [] { return hyperlink_create(GK_ANY, 10, 10, 150, 24, u"A link", 0xFF0000, 0); },
     [](ObjectNumber c) { click(client_point(c, 10, 10)); }},
    {"ImageClick", EVENTTYPE_LEFT_CLICK, [] { return make_image_kind(false); },
     [](ObjectNumber c) { click(center(c)); }},
    {"ImageRightClick", EVENTTYPE_RIGHT_CLICK, [] { return make_image_kind(false); },
     [](ObjectNumber c) { click(center(c), 1, true); }},
    {"ImageButtonClick", EVENTTYPE_LEFT_CLICK, [] { return make_image_kind(true); },
     [](ObjectNumber c) { click(center(c)); }},
    {"CanvasPress", EVENTTYPE_CANVAS_LEFT_DOWN, [] { return canvas_create(GK_ANY, 10, 10, 100, 100, 0); },
     [](ObjectNumber c) { click(center(c)); }},
    {"CanvasRelease", EVENTTYPE_CANVAS_LEFT_UP, [] { return canvas_create(GK_ANY, 10, 10, 100, 100, 0); },
     [](ObjectNumber c) { click(center(c)); }},
    {"CanvasKey", EVENTTYPE_CANVAS_KEY_DOWN,
     [] { return canvas_create(GK_ANY, 10, 10, 100, 100, GK_Canvas_Keyboard); },
     [](ObjectNumber c) { click_and_type(c, 'A'); }},
    {"CodeEditorChange", EVENTTYPE_CHANGE, [] { return code_editor_create(GK_ANY, 10, 10, 200, 100, 0); },
     [](ObjectNumber c) { click_and_type(c, 'A'); }},
    {"ScrollAreaScroll", EVENTTYPE_LEFT_CLICK,
     [] { return closed(scrollarea_create(GK_ANY, 10, 10, 150, 150, 1000, 1000, 10, 0)); },
     [](ObjectNumber c) { click(client_point(c, 140, 120)); }},
    {"ExplorerListOpenRow", EVENTTYPE_LEFT_DOUBLE_CLICK,
     [] { return explorerlist_create(GK_ANY, 10, 10, 350, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_LABEL), 2); }},
    {"ExplorerListClick", EVENTTYPE_LEFT_CLICK,
     [] { return explorerlist_create(GK_ANY, 10, 10, 350, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_LABEL)); }},
    {"ExplorerListSelect", EVENTTYPE_CHANGE,
     [] { return explorerlist_create(GK_ANY, 10, 10, 350, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { click(list_row(c, 1, LVIR_LABEL)); }},
    {"ExplorerTreeClick", EVENTTYPE_LEFT_CLICK,
     [] { return explorertree_create(GK_ANY, 10, 10, 250, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_CARET)); }},
    {"ExplorerTreeDoubleClick", EVENTTYPE_LEFT_DOUBLE_CLICK,
     [] { return explorertree_create(GK_ANY, 10, 10, 250, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_CARET), 2); }},
    {"StringLostFocus", EVENTTYPE_LOST_FOCUS, [] { return string_create(GK_ANY, 10, 10, 150, 24, u"", 0); },
     [](ObjectNumber c) { focus_then_leave(c, center(c)); }},
    {"EditorLostFocus", EVENTTYPE_LOST_FOCUS, [] { return editor_create(GK_ANY, 10, 10, 200, 100, 0); },
     [](ObjectNumber c) { focus_then_leave(c, center(c)); }},
    {"ComboBoxLostFocus", EVENTTYPE_LOST_FOCUS,
     [] { return with_items(combobox_create(GK_ANY, 10, 10, 150, 120, GK_ComboBox_Editable)); },
     [](ObjectNumber c) { focus_then_leave(c, client_point(c, 10, 10)); }},
    {"IpAddressLostFocus", EVENTTYPE_LOST_FOCUS, [] { return ipaddress_create(GK_ANY, 10, 10, 200, 24); },
     [](ObjectNumber c) { focus_then_leave(c, client_point(c, 10, 10)); }},
    {"ListViewRightClick", EVENTTYPE_RIGHT_CLICK,
     [] { return with_items(listview_create(GK_ANY, 10, 10, 150, 120, 0)); },
     [](ObjectNumber c) { click(client_point(c, 20, 5), 1, true); }},
    {"ListViewDragStart", EVENTTYPE_DRAG_START,
     [] { return with_items(listview_create(GK_ANY, 10, 10, 150, 120, 0)); },
     [](ObjectNumber c) { drag_from(client_point(c, 20, 5)); }},
    {"ListIconDragStart", EVENTTYPE_DRAG_START, [] { return make_listicon(0); },
     [](ObjectNumber c) { drag_from(list_row(c, 1, LVIR_LABEL)); }},
    {"TreeRightClick", EVENTTYPE_RIGHT_CLICK, [] { return make_tree(0); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_ROOT), 1, true); }},
    {"TreeDragStart", EVENTTYPE_DRAG_START, [] { return make_tree(0); },
     [](ObjectNumber c) { drag_from(tree_item(c, TVGN_ROOT)); }},
    {"ImageDoubleClick", EVENTTYPE_LEFT_DOUBLE_CLICK, [] { return make_image_kind(false); },
     [](ObjectNumber c) { click(center(c), 2); }},
    {"ImageDragStart", EVENTTYPE_DRAG_START, [] { return make_image_kind(false); },
     [](ObjectNumber c) { drag_from(center(c)); }},
    {"CanvasMove", EVENTTYPE_CANVAS_MOVE, [] { return canvas_create(GK_ANY, 10, 10, 100, 100, 0); },
     [](ObjectNumber c) { click(center(c)); }},
    {"CanvasWheel", EVENTTYPE_CANVAS_WHEEL,
     [] { return canvas_create(GK_ANY, 10, 10, 100, 100, GK_Canvas_Keyboard); },
     [](ObjectNumber c) {
         click(center(c));
         gui_pump_messages_for(50);
         turn_wheel();
     }},
    {"PanelTabClick", PANEL_EVENTTYPE_TAB_CLICK, [] { return with_items(panel_create(GK_ANY, 10, 10, 300, 200)); },
     [](ObjectNumber c) { click(client_point(c, 20, 10)); }},
    {"PanelResize", EVENTTYPE_TAB_RESIZE, [] { return with_items(panel_create(GK_ANY, 10, 10, 300, 200)); },
     [](ObjectNumber c) { control_resize(c, 10, 10, 250, 150); }},
    {"ContainerResize", EVENTTYPE_TAB_RESIZE, [] { return closed(container_create(GK_ANY, 10, 10, 150, 150, 0)); },
     [](ObjectNumber c) { control_resize(c, 10, 10, 100, 100); }},
    {"ScrollAreaResize", EVENTTYPE_TAB_RESIZE,
     [] { return closed(scrollarea_create(GK_ANY, 10, 10, 150, 150, 1000, 1000, 10, 0)); },
     [](ObjectNumber c) { control_resize(c, 10, 10, 100, 100); }},
    {"SplitterDrag", EVENTTYPE_LEFT_CLICK, make_splitter,
     [](ObjectNumber c) {
         POINT bar = client_point(c, control_get_state(c) + 2, 75);
         gui_drag(bar, POINT{bar.x - 40, bar.y});
     }},
    {"ExplorerListKeys", EVENTTYPE_CHANGE,
     [] { return explorerlist_create(GK_ANY, 10, 10, 350, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) {
         SetFocus(gui_control_handle(c));
         gui_press_key(VK_DOWN);
         gui_press_key(VK_RETURN);
     }},
    {"ExplorerListDragStart", EVENTTYPE_DRAG_START,
     [] { return explorerlist_create(GK_ANY, 10, 10, 350, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { drag_from(list_row(c, 1, LVIR_LABEL)); }},
    {"ExplorerTreeRightClick", EVENTTYPE_RIGHT_CLICK,
     [] { return explorertree_create(GK_ANY, 10, 10, 250, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { click(tree_item(c, TVGN_CARET), 1, true); }},
    {"ExplorerComboChoose", EVENTTYPE_CHANGE,
     [] { return explorercombo_create(GK_ANY, 10, 10, 250, 200, test_folder().c_str(), 0); },
     [](ObjectNumber c) { click_then_key(c, client_point(c, 10, 10), VK_UP); }},
};

class FreeInHandlerTest : public ControlWindowTest,
                          public ::testing::WithParamInterface<std::tuple<FreeCase, Freeing>> {
protected:
    FreeInHandlerTest() : ControlWindowTest(u"Free in handler test", 420, 320) {}
};

// A new window's button still reports a real click.
bool events_still_flow()
{
    ObjectNumber window = window_open(GK_ANY, UNCHANGED, UNCHANGED, 200, 100, u"Still here",
                                      GK_Window_ScreenCentered, nullptr);
    HWND handle = static_cast<HWND>(window_os_handle(window));
    if (!window || !gui_bring_to_front(handle))
        return false;
    ObjectNumber button = button_create(GK_ANY, 10, 10, 100, 30, u"Again", 0);
    int clicks = 0;
    static int* counter = nullptr;
    counter = &clicks;
    event_bind_control(button, [] { ++*counter; }, EVENTTYPE_LEFT_CLICK);
    click(center(button));
    return gui_wait_events_until([&] { return clicks == 1; });
}

TEST_P(FreeInHandlerTest, TheKindTouchesNothingOfWhatItsHandlerFreed)
{
    const auto& [row, freeing] = GetParam();
    ASSERT_EQ(image_start(), 1);
    g_freeing = freeing;
    g_handled = 0;
    ObjectNumber control = row.make();
    ASSERT_NE(control, 0);
    ASSERT_EQ(event_bind_control(control, free_in_handler, row.type), 1);
    // The focus starts on the window, so that a focus event needs the input.
    SetFocus(handle);
    gui_wait_events_for(100);
    row.act(control);
    ASSERT_TRUE(gui_wait_events_until([] { return g_handled > 0; })) << row.name;
    gui_wait_events_for(200);
    EXPECT_EQ(control_exists(control), 0);
    EXPECT_EQ(window_exists(window), freeing == Freeing::Control ? 1 : 0);
    EXPECT_TRUE(events_still_flow());
}

std::string case_name(const ::testing::TestParamInfo<std::tuple<FreeCase, Freeing>>& info)
{
    return std::string(std::get<0>(info.param).name) +
           (std::get<1>(info.param) == Freeing::Control ? "FreesControl" : "ClosesWindow");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FreeInHandlerTest,
                         ::testing::Combine(::testing::ValuesIn(CASES),
                                            ::testing::Values(Freeing::Control, Freeing::Window)),
                         case_name);

}  // namespace
