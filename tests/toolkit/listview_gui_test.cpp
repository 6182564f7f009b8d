#include "tests/support/gui_input.h"
#include "tests/support/gadget_events.h"

#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/listview.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

namespace {

class ListviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_toolkit());
        window = window_open(GK_ANY, UNCHANGED, UNCHANGED, 360, 260, u"Listview test",
                             GK_Window_SystemMenu | GK_Window_ScreenCentered, nullptr);
        ASSERT_NE(window, 0);
        ASSERT_TRUE(gui_bring_to_front(static_cast<HWND>(window_os_handle(window))));
        ASSERT_EQ(event_bind_window(EVENT_GADGET, record_gadget_event, window), 1);
    }

    void TearDown() override
    {
        window_close(GK_ANY);
        gui_drain_queue();
        g_gadget_events.clear();
    }

    ObjectNumber make_list(std::uint32_t flags)
    {
        ObjectNumber list = listview_create(GK_ANY, 10, 10, 200, 200, flags);
        for (const char16_t* text : {u"alpha", u"beta", u"gamma", u"delta"})
            control_add_item(list, -1, text);
        gui_wait_events_for(50);
        g_gadget_events.clear();
        return list;
    }

    // The centre of an item in screen coordinates, with the mouse already resting there:
    // the first mouse input after a window appears may arrive with a stale position.
    POINT item_point(ObjectNumber list, int index)
    {
        auto handle = static_cast<HWND>(control_os_handle(list));
        RECT rect = {};
        SendMessageW(handle, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(handle, &point);
        gui_send_mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point.x, point.y);
        gui_wait_events_for(100);
        return point;
    }

    ObjectNumber window = 0;
};

TEST_F(ListviewTest, ItemsKeepTheirDataAndBadIndexesYieldNothing)
{
    ObjectNumber list = make_list(0);
    ASSERT_NE(list, 0);
    EXPECT_EQ(control_count_items(list), 4);
    control_add_item(list, 1, u"inserted");
    EXPECT_EQ(control_get_item_text(list, 1), u"inserted");
    EXPECT_EQ(control_get_item_text(list, 2), u"beta");
    EXPECT_EQ(control_get_item_text(list, 5), u"");
    EXPECT_EQ(control_get_item_text(list, -1), u"");

    EXPECT_EQ(control_set_item_data(list, 2, 4242), 1);
    control_set_state(list, 2);
    EXPECT_EQ(control_set_item_text(list, 2, u"renamed"), 1);
    EXPECT_EQ(control_get_item_text(list, 2), u"renamed");
    EXPECT_EQ(control_get_item_data(list, 2), 4242);
    EXPECT_EQ(control_get_state(list), 2);
    EXPECT_EQ(control_set_item_text(list, 9, u"x"), 0);

    EXPECT_EQ(control_remove_item(list, 0), 1);
    EXPECT_EQ(control_remove_item(list, 9), 0);
    EXPECT_EQ(control_count_items(list), 4);
    EXPECT_EQ(control_get_item_data(list, 1), 4242);
    control_clear_items(list);
    EXPECT_EQ(control_count_items(list), 0);
    EXPECT_EQ(control_get_text(list), u"");
}

TEST_F(ListviewTest, SingleSelectionByStateAndTextRaisesNoEvents)
{
    ObjectNumber list = make_list(0);
    EXPECT_EQ(control_get_state(list), -1);
    control_set_state(list, 1);
    EXPECT_EQ(control_get_state(list), 1);
    EXPECT_EQ(control_get_text(list), u"beta");
    EXPECT_EQ(control_set_text(list, u"GAMMA"), 0);
    EXPECT_EQ(control_get_state(list), 1);
    EXPECT_EQ(control_set_text(list, u"gamma"), 1);
    EXPECT_EQ(control_get_state(list), 2);
    EXPECT_EQ(control_get_item_state(list, 2), 1);
    control_set_state(list, -1);
    EXPECT_EQ(control_get_state(list), -1);
    EXPECT_EQ(control_get_item_state(list, 2), 0);
    EXPECT_EQ(SendMessageW(static_cast<HWND>(control_os_handle(list)), LB_GETCURSEL, 0, 0), LB_ERR);
    control_set_item_state(list, 3, 1);
    EXPECT_EQ(control_get_state(list), 3);
    gui_wait_events_for(100);
    EXPECT_TRUE(g_gadget_events.empty());
}

TEST_F(ListviewTest, MultipleSelectionSetsOneItemOrClearsAll)
{
    ObjectNumber list = make_list(GK_ListView_MultiSelect);
    control_set_item_state(list, 1, 1);
    control_set_item_state(list, 3, 1);
    EXPECT_EQ(control_get_state(list), 1);
    control_set_state(list, 2);
    EXPECT_EQ(control_get_item_state(list, 1), 0);
    EXPECT_EQ(control_get_item_state(list, 2), 1);
    EXPECT_EQ(control_get_item_state(list, 3), 0);
    EXPECT_EQ(control_get_text(list), u"gamma");
    control_set_state(list, -1);
    EXPECT_EQ(control_get_state(list), -1);
    EXPECT_EQ(SendMessageW(static_cast<HWND>(control_os_handle(list)), LB_GETSELCOUNT, 0, 0), 0);
}

TEST_F(ListviewTest, ClicksSelectDoubleClicksAndRightClicksRaiseTheirTypes)
{
    ObjectNumber list = make_list(0);
    POINT point = item_point(list, 2);
    gui_click_screen(point.x, point.y);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(list) == 2; }));
    gui_wait_events_for(100);
    EXPECT_GE(count_events(list, EVENTTYPE_LEFT_CLICK), 1);
    EXPECT_EQ(count_events(list, EVENTTYPE_LEFT_DOUBLE_CLICK), 0);

    g_gadget_events.clear();
    point = item_point(list, 1);
    gui_click_screen(point.x, point.y);
    gui_click_screen(point.x, point.y);
    EXPECT_TRUE(gui_wait_events_until([&] { return count_events(list, EVENTTYPE_LEFT_DOUBLE_CLICK) == 1; }));
    EXPECT_EQ(control_get_state(list), 1);

    gui_click_screen(point.x, point.y, true);
    EXPECT_TRUE(gui_wait_events_until([&] { return count_events(list, EVENTTYPE_RIGHT_CLICK) == 1; }));
}

TEST_F(ListviewTest, DraggingASelectedItemStartsADragAndKeepsTheSelection)
{
    ObjectNumber list = make_list(GK_ListView_MultiSelect);
    control_set_item_state(list, 0, 1);
    control_set_item_state(list, 1, 1);
    POINT point = item_point(list, 1);
    gui_send_mouse(MOUSEEVENTF_LEFTDOWN);
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(list, EVENTTYPE_DRAG_START), 0);
    for (int step = 1; step <= 4; ++step)
        gui_send_mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point.x, point.y + 10 * step);
    EXPECT_TRUE(gui_wait_events_until([&] { return count_events(list, EVENTTYPE_DRAG_START) == 1; }));
    gui_send_mouse(MOUSEEVENTF_LEFTUP);
    gui_wait_events_for(100);
    EXPECT_EQ(control_get_item_state(list, 0), 1);
    EXPECT_EQ(control_get_item_state(list, 1), 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListviewTest, BackColourTakesASharedBrushAndGivesItBack)
{
    ObjectNumber list = make_list(0);
    auto handle = static_cast<HWND>(control_os_handle(list));
    std::size_t brushes = brush_count();
    EXPECT_EQ(control_set_color(list, CONTROL_COLOR_BACK, RGB(0, 0, 200)), 1);
    EXPECT_EQ(control_get_color(list, CONTROL_COLOR_BACK), RGB(0, 0, 200));
    EXPECT_EQ(brush_count(), brushes + 1);
    EXPECT_TRUE(gui_window_shows_color(handle, RGB(0, 0, 200)));
    control_set_color(list, CONTROL_COLOR_BACK, CONTROL_COLOR_DEFAULT);
    EXPECT_EQ(brush_count(), brushes);
    EXPECT_FALSE(gui_window_shows_color(handle, RGB(0, 0, 200)));
    control_set_color(list, CONTROL_COLOR_BACK, RGB(0, 0, 200));
    control_free(list);
    EXPECT_EQ(brush_count(), brushes);
}

}  // namespace
