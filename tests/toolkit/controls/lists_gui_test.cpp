// List icons, trees and combo boxes with real windows and real clicks and keys: rows and
// check boxes (three states too), tree levels and expanding, typing and choosing in an
// editable combo box, and bad input (100,000 items, 1 MiB texts, positions out of range).
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/tree.h"
#include "toolkit/event.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

// Many items, though not 100,000: Wine's list and tree views take time growing with the
// square of the count (100,000 each are measured by bench/lists_bench_win.cpp).
constexpr int MANY = 10000;

std::u16string digits(int number)
{
    std::string text = std::to_string(number);
    return std::u16string(text.begin(), text.end());
}

// The centre of a row's label, in screen coordinates.
POINT row_point(ObjectNumber list, int row)
{
    RECT rect = {};
    rect.left = LVIR_LABEL;
    SendMessageW(gui_control_handle(list), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(gui_control_handle(list), &point);
    return point;
}

// A point on the row's check box, found by the platform's own hit test.
POINT check_point(ObjectNumber list, int row)
{
    HWND window = gui_control_handle(list);
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    SendMessageW(window, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    LVHITTESTINFO hit = {};
    hit.pt = {rect.left, (rect.top + rect.bottom) / 2};
    for (; hit.pt.x < rect.left + 40; ++hit.pt.x) {
        LRESULT found = SendMessageW(window, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (found == row && (hit.flags & LVHT_ONITEMSTATEICON))
            break;
    }
    POINT point = hit.pt;
    ClientToScreen(window, &point);
    return point;
}

POINT tree_item_point(ObjectNumber tree, HTREEITEM item)
{
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof(item));
    SendMessageW(gui_control_handle(tree), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(gui_control_handle(tree), &point);
    return point;
}

class ListsTest : public ControlWindowTest {
protected:
    ListsTest() : ControlWindowTest(u"Lists test", 560, 420) {}

    ObjectNumber bound(ObjectNumber control)
    {
        EXPECT_NE(control, 0);
        EXPECT_EQ(event_bind_control(control, record_gadget_event), 1);
        gui_pump_messages_for(50);
        return control;
    }
};

// Three columns and 1,000 rows: clicks select and name the row, a check box click raises
// change, and the cells, columns and data read back.
TEST_F(ListsTest, ListIconRowsColumnsClicksAndCheckBoxes)
{
    ObjectNumber list = listicon_create(GK_ANY, 10, 10, 500, 300, u"Name", 120,
                                        GK_ListIcon_CheckBoxes | GK_ListIcon_FullRowSelect);
    ASSERT_EQ(listicon_add_column(list, -1, u"Size", 80), 1);
    ASSERT_EQ(listicon_add_column(list, -1, u"Kind", 90), 1);
    control_hide(list, 1);  // under Wine a shown list repaints on every added row
    for (int row = 0; row < 1000; ++row)
        ASSERT_EQ(control_add_item(list, -1, (u"row " + digits(row) + u"\nsize\nkind " + digits(row)).c_str()), 1);
    control_hide(list, 0);
    bound(list);
    EXPECT_EQ(control_count_items(list), 1000);
    EXPECT_EQ(listicon_count_columns(list), 3);
    EXPECT_EQ(control_get_item_text(list, 5), u"row 5\nsize\nkind 5");
    EXPECT_EQ(listicon_cell_text(list, 7, 2), u"kind 7");
    EXPECT_EQ(listicon_column_title(list, 1), u"Size");
    EXPECT_EQ(listicon_column_width(list, 2), 90);
    ASSERT_EQ(control_set_item_data(list, 3, 77), 1);
    EXPECT_EQ(control_get_item_data(list, 3), 77);

    gui_click_screen(row_point(list, 2));
    ASSERT_TRUE(gui_wait_events_until(
        [&] { return control_get_state(list) == 2 && count_events(list, EVENTTYPE_LEFT_CLICK) >= 1; }));
    EXPECT_GE(count_events(list, EVENTTYPE_CHANGE), 1);
    gui_click_screen(row_point(list, 3), false, 2);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(list, EVENTTYPE_LEFT_DOUBLE_CLICK) == 1; }));
    EXPECT_EQ(control_get_state(list), 3);
    gui_click_screen(row_point(list, 4), true);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(list, EVENTTYPE_RIGHT_CLICK) == 1; }));
    EXPECT_EQ(control_get_state(list), 4);
    EXPECT_EQ(control_get_text(list), u"row 4\nsize\nkind 4");

    g_gadget_events.clear();
    gui_click_screen(check_point(list, 1));
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_item_state(list, 1) & LISTICON_CHECKED; }));
    EXPECT_GE(count_events(list, EVENTTYPE_CHANGE), 1);
    ASSERT_EQ(listicon_remove_column(list, 1), 1);
    EXPECT_EQ(control_get_item_text(list, 5), u"row 5\nkind 5");
}

// With three states, three real clicks on a check box go checked, in between, unchecked.
TEST_F(ListsTest, ThreeStateListIconCyclesThroughAllStates)
{
    ObjectNumber list = listicon_create(GK_ANY, 10, 10, 300, 200, u"Task", 200, GK_ListIcon_ThreeState);
    for (const char16_t* row : {u"one", u"two", u"three"})
        control_add_item(list, -1, row);
    bound(list);
    const int expected[] = {LISTICON_CHECKED, LISTICON_INBETWEEN, 0};
    for (int state : expected) {
        gui_click_screen(check_point(list, 1));
        auto check = [&] { return control_get_item_state(list, 1) & ~LISTICON_SELECTED; };
        ASSERT_TRUE(gui_wait_events_until([&] { return check() == state; }))
            << state << " " << control_get_item_state(list, 1);
        gui_wait_events_for(GetDoubleClickTime() + 50);
    }
    EXPECT_EQ(count_events(list, EVENTTYPE_CHANGE), 3);
    ASSERT_EQ(control_set_item_state(list, 2, LISTICON_INBETWEEN), 1);
    EXPECT_EQ(control_get_item_state(list, 2), LISTICON_INBETWEEN);
    EXPECT_EQ(count_events(list, EVENTTYPE_CHANGE), 3);
}

// Three levels: a real double click expands, the arrow keys move the selection, and the
// selected item's text and level read back.
TEST_F(ListsTest, TreeLevelsExpandByDoubleClickAndArrowKeysSelect)
{
    ObjectNumber tree = tree_create(GK_ANY, 10, 10, 300, 300, 0);
    const std::pair<const char16_t*, int> items[] = {{u"Root", 0}, {u"Child", 1}, {u"Leaf", 2}, {u"Child 2", 1},
                                                      {u"Root 2", 0}, {u"Too deep", 9}};
    for (auto [text, level] : items)
        ASSERT_EQ(control_add_item(tree, -1, text, 0, level), 1);
    bound(tree);
    EXPECT_EQ(tree_item_level(tree, 5), 1);  // at most one under "Root 2"
    ASSERT_EQ(control_add_item(tree, 1, u"First child", 0, 0), 1);  // before "Child": its sibling
    EXPECT_EQ(tree_item_level(tree, 1), 1);

    auto root = reinterpret_cast<HTREEITEM>(SendMessageW(gui_control_handle(tree), TVM_GETNEXTITEM, TVGN_ROOT, 0));
    gui_click_screen(tree_item_point(tree, root), false, 2);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_item_state(tree, 0) & TREE_EXPANDED; }));
    EXPECT_GE(count_events(tree, EVENTTYPE_LEFT_DOUBLE_CLICK), 1);
    EXPECT_EQ(control_get_state(tree), 0);
    gui_press_key(VK_DOWN);
    gui_press_key(VK_DOWN);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(tree) == 2; })) << control_get_state(tree);
    gui_press_key(VK_RIGHT);
    gui_press_key(VK_DOWN);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(tree) == 3; })) << control_get_state(tree);
    EXPECT_EQ(control_get_text(tree), u"Leaf");
    EXPECT_EQ(tree_item_level(tree, control_get_state(tree)), 2);
    EXPECT_GE(count_events(tree, EVENTTYPE_CHANGE), 3);

    ASSERT_EQ(control_remove_item(tree, 2), 1);  // "Child" with its leaf
    EXPECT_EQ(control_count_items(tree), 5);
    EXPECT_EQ(control_get_item_text(tree, 2), u"Child 2");
}

// An editable, lower-case combo box: adding from a constant folds a copy, a click into it
// raises focus, typing and choosing by mouse and keys raise change.
TEST_F(ListsTest, EditableComboBoxTypesChoosesAndFolds)
{
    ObjectNumber combo = combobox_create(GK_ANY, 10, 10, 200, 24, GK_ComboBox_Editable | GK_ComboBox_LowerCase);
    static const char16_t constant[] = u"ABC";
    ASSERT_EQ(control_add_item(combo, -1, constant), 1);
    EXPECT_EQ(std::u16string(constant), u"ABC");
    for (const char16_t* item : {u"One", u"Two"})
        control_add_item(combo, -1, item);
    ObjectNumber other = combobox_create(GK_ANY, 10, 60, 200, 24, 0);
    bound(combo);
    EXPECT_EQ(control_get_item_text(combo, 0), u"abc");
    EXPECT_EQ(control_count_items(combo), 3);
    int width = 0;
    int height = 0;
    ASSERT_EQ(control_required_size(combo, &width, &height), 1);
    EXPECT_GT(width, 40);
    EXPECT_GT(height, 10);

    auto edit = reinterpret_cast<HWND>(SendMessageW(gui_control_handle(combo), CBEM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    gui_click_screen(gui_window_center(edit));
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(combo, EVENTTYPE_FOCUS) >= 1; }));
    gui_type_text(u"Hi");
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(combo) == u"hi"; }));
    EXPECT_GE(count_events(combo, EVENTTYPE_CHANGE), 1);

    g_gadget_events.clear();
    gui_press_key(VK_DOWN);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(combo) == 0; })) << control_get_state(combo);
    EXPECT_GE(count_events(combo, EVENTTYPE_CHANGE), 1);
    control_activate(other);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(combo, EVENTTYPE_LOST_FOCUS) >= 1; }));

    g_gadget_events.clear();
    RECT field = {};
    GetWindowRect(gui_control_handle(combo), &field);
    gui_click_screen(field.right - 6, field.top + 8);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    auto inner = reinterpret_cast<HWND>(SendMessageW(gui_control_handle(combo), CBEM_GETCOMBOCONTROL, 0, 0));
    ASSERT_TRUE(gui_wait_events_until([&] { return SendMessageW(inner, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    GetComboBoxInfo(inner, &info);
    RECT row = {};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    POINT point = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(info.hwndList, &point);
    gui_click_screen(point);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(combo, EVENTTYPE_CHANGE) >= 1; }));
    EXPECT_EQ(control_get_state(combo), 2);
    EXPECT_EQ(control_get_text(combo), u"two");

}

// 10,000 rows and items, texts of 1 MiB and positions and states out of range: clear
// results, no crash. (The lists are filled hidden: under Wine a shown list repaints on every
// added row.)
TEST_F(ListsTest, BadInputGivesClearResults)
{
    ObjectNumber list = listicon_create(GK_ANY, 10, 10, 250, 180, u"Row", 100, 0);
    ObjectNumber tree = tree_create(GK_ANY, 270, 10, 250, 180, 0);
    ObjectNumber combo = combobox_create(GK_ANY, 10, 200, 200, 24, 0);
    control_hide(list, 1);
    control_hide(tree, 1);
    for (int item = 0; item < MANY; ++item) {
        control_add_item(list, -1, u"row");
        control_add_item(tree, -1, u"item", 0, item % 3);
    }
    EXPECT_EQ(control_count_items(list), MANY);
    EXPECT_EQ(control_count_items(tree), MANY);
    const std::u16string huge(1 << 20, u'x');
    for (ObjectNumber control : {list, tree, combo}) {
        ASSERT_EQ(control_add_item(control, 0, huge.c_str()), 1);
        EXPECT_EQ(control_get_item_text(control, 0).size(), huge.size());
        EXPECT_EQ(control_add_item(control, -5, u"no"), 0);
        ASSERT_EQ(control_add_item(control, 1 << 30, u"last"), 1);
        EXPECT_EQ(control_get_item_text(control, control_count_items(control) - 1), u"last");
        EXPECT_EQ(control_remove_item(control, 1 << 30), 0);
        EXPECT_EQ(control_remove_item(control, -1), 0);
        EXPECT_EQ(control_set_state(control, 1 << 30), 0);
        EXPECT_EQ(control_get_item_text(control, -3), u"");
        EXPECT_EQ(control_get_item_state(control, 1 << 30), 0);
        EXPECT_EQ(control_set_item_data(control, -2, 1), 0);
        ASSERT_EQ(control_set_state(control, -1), 1);
        EXPECT_EQ(control_get_state(control), -1);
        ASSERT_EQ(control_clear_items(control), 1);
        EXPECT_EQ(control_count_items(control), 0);
    }
    EXPECT_EQ(listicon_cell_text(list, 0, 0), u"");
    EXPECT_EQ(listicon_remove_column(list, 5), 0);
    EXPECT_EQ(tree_item_level(list, 0), -1);
}

}  // namespace
