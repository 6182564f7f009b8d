#include "tests/support/gui_input.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/panel.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<ObjectNumber, int>> g_gadget_events;
std::vector<ObjectNumber> g_event_windows;

void record_gadget_event()
{
    g_gadget_events.emplace_back(event_control(), event_type());
    g_event_windows.push_back(event_window());
}

int count_events(ObjectNumber control, int type)
{
    int count = 0;
    for (const auto& [object, event_type] : g_gadget_events)
        count += object == control && event_type == type ? 1 : 0;
    return count;
}

// Rests the mouse on a screen point before clicking it: the first mouse input after a
// window appears may arrive with a stale position.
void click_at(POINT point)
{
    SetCursorPos(point.x, point.y);
    gui_wait_events_for(100);
    gui_click_screen(point.x, point.y);
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_toolkit());
        window = window_open(GK_ANY, UNCHANGED, UNCHANGED, 420, 340, u"Panel test",
                             GK_Window_SystemMenu | GK_Window_ScreenCentered, nullptr);
        ASSERT_NE(window, 0);
        ASSERT_TRUE(gui_bring_to_front(static_cast<HWND>(window_os_handle(window))));
        ASSERT_EQ(event_bind_window(EVENT_GADGET, record_gadget_event, window), 1);
        panel = panel_create(GK_ANY, 10, 10, 380, 280);
        ASSERT_NE(panel, 0);
        control_add_item(panel, -1, u"First");
        label = text_create(GK_ANY, 5, 5, 120, 20, u"on the first tab", 0);
        control_add_item(panel, -1, u"Second");
        button = button_create(GK_ANY, 5, 5, 120, 24, u"Press", 0);
        container_close_list();
        outside = text_create(GK_ANY, 10, 300, 120, 20, u"below the panel", 0);
        ASSERT_NE(label, 0);
        ASSERT_NE(button, 0);
        ASSERT_NE(outside, 0);
        handle = static_cast<HWND>(control_os_handle(panel));
        gui_wait_events_for(50);
        gui_drain_queue();
        g_gadget_events.clear();
        g_event_windows.clear();
    }

    void TearDown() override
    {
        window_close(GK_ANY);
        gui_drain_queue();
        if (large_font)
            DeleteObject(large_font);
    }

    HWND window_of(ObjectNumber control) { return static_cast<HWND>(control_os_handle(control)); }

    POINT tab_point(int index)
    {
        RECT rect = {};
        SendMessageW(handle, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(handle, &point);
        return point;
    }

    ObjectNumber window = 0;
    ObjectNumber panel = 0;
    ObjectNumber label = 0;
    ObjectNumber button = 0;
    ObjectNumber outside = 0;
    HWND handle = nullptr;
    HFONT large_font = nullptr;
};

TEST_F(PanelTest, ControlsLandOnThePageOfTheirTab)
{
    HWND first_page = GetParent(window_of(label));
    HWND second_page = GetParent(window_of(button));
    EXPECT_EQ(GetParent(first_page), handle);
    EXPECT_EQ(GetParent(second_page), handle);
    EXPECT_NE(first_page, second_page);
    EXPECT_EQ(GetParent(window_of(outside)), window_os_handle(window));
    EXPECT_TRUE(IsWindowVisible(window_of(label)));
    EXPECT_FALSE(IsWindowVisible(window_of(button)));

    EXPECT_EQ(container_open_list(panel, 1), 1);
    ObjectNumber second_label = text_create(GK_ANY, 5, 40, 120, 20, u"also second", 0);
    container_close_list();
    EXPECT_EQ(GetParent(window_of(second_label)), second_page);

    EXPECT_EQ(container_open_list(panel), 1);
    control_add_item(panel, -1, u"Third");
    ObjectNumber third_label = text_create(GK_ANY, 5, 5, 120, 20, u"on the third tab", 0);
    container_close_list();
    HWND third_page = GetParent(window_of(third_label));
    EXPECT_EQ(GetParent(third_page), handle);
    EXPECT_NE(third_page, second_page);
    EXPECT_EQ(control_count_items(panel), 3);
    ObjectNumber after = text_create(GK_ANY, 200, 300, 100, 20, u"after", 0);
    EXPECT_EQ(GetParent(window_of(after)), window_os_handle(window));
}

TEST_F(PanelTest, SetStateShowsThePageSilentlyAndClickingATabRaisesChange)
{
    EXPECT_EQ(control_get_state(panel), 0);
    EXPECT_EQ(control_set_state(panel, 1), 1);
    EXPECT_EQ(control_get_state(panel), 1);
    EXPECT_TRUE(IsWindowVisible(window_of(button)));
    EXPECT_FALSE(IsWindowVisible(window_of(label)));
    EXPECT_EQ(control_set_state(panel, 5), 0);
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(panel, EVENTTYPE_CHANGE), 0);

    click_at(tab_point(0));
    ASSERT_TRUE(gui_wait_events_until([this] { return count_events(panel, EVENTTYPE_CHANGE) == 1; }));
    EXPECT_EQ(control_get_state(panel), 0);
    EXPECT_TRUE(IsWindowVisible(window_of(label)));
    EXPECT_FALSE(IsWindowVisible(window_of(button)));
    EXPECT_TRUE(gui_wait_events_until([this] { return count_events(panel, PANEL_EVENTTYPE_TAB_CLICK) >= 1; }));
}

TEST_F(PanelTest, ControlsOnAPageReportToTheWindow)
{
    control_set_state(panel, 1);
    POINT center = gui_window_center(window_of(button));
    click_at(center);
    ASSERT_TRUE(gui_wait_events_until([this] { return count_events(button, EVENTTYPE_LEFT_CLICK) == 1; }));
    for (ObjectNumber event_window : g_event_windows)
        EXPECT_EQ(event_window, window);
}

TEST_F(PanelTest, TextsAndRemovingTabs)
{
    EXPECT_EQ(control_get_text(panel), u"First");
    EXPECT_EQ(control_set_text(panel, u"Renamed"), 1);
    EXPECT_EQ(control_get_item_text(panel, 0), u"Renamed");
    EXPECT_EQ(control_set_item_text(panel, 1, u"Other"), 1);
    EXPECT_EQ(control_get_item_text(panel, 1), u"Other");
    EXPECT_EQ(control_get_item_text(panel, 7), u"");

    EXPECT_EQ(control_remove_item(panel, 0), 1);
    EXPECT_EQ(control_exists(label), 0);
    EXPECT_EQ(control_count_items(panel), 1);
    EXPECT_EQ(control_get_state(panel), 0);
    EXPECT_EQ(control_get_text(panel), u"Other");
    EXPECT_TRUE(IsWindowVisible(window_of(button)));

    EXPECT_EQ(control_remove_item(panel, 3), 0);
    EXPECT_EQ(control_remove_item(panel, 0), 1);
    EXPECT_EQ(control_exists(button), 0);
    EXPECT_EQ(control_count_items(panel), 0);
    EXPECT_EQ(control_get_attribute(panel, PANEL_ATTRIBUTE_PAGE_WIDTH), 0);
    EXPECT_EQ(control_get_text(panel), u"");
}

TEST_F(PanelTest, AttributesFollowThePageAndResizingReplacesIt)
{
    HWND page = GetParent(window_of(label));
    RECT client = {};
    GetClientRect(page, &client);
    EXPECT_EQ(control_get_attribute(panel, PANEL_ATTRIBUTE_PAGE_WIDTH), client.right);
    EXPECT_EQ(control_get_attribute(panel, PANEL_ATTRIBUTE_PAGE_HEIGHT), client.bottom);
    RECT tab = {};
    SendMessageW(handle, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    EXPECT_EQ(control_get_attribute(panel, PANEL_ATTRIBUTE_TAB_HEIGHT), tab.bottom + tab.top);
    EXPECT_GT(tab.bottom, 0);

    // The page lies inside the panel, below the tab strip.
    RECT page_rect = {};
    GetWindowRect(page, &page_rect);
    MapWindowPoints(HWND_DESKTOP, handle, reinterpret_cast<POINT*>(&page_rect), 2);
    EXPECT_GE(page_rect.top, tab.bottom);
    EXPECT_GT(page_rect.left, 0);
    EXPECT_LT(page_rect.right, 380);
    EXPECT_LT(page_rect.bottom, 280);

    int width = client.right;
    int height = client.bottom;
    events_mute();
    EXPECT_EQ(control_resize(panel, UNCHANGED, UNCHANGED, 300, 200), 1);
    events_unmute();
    EXPECT_EQ(control_get_attribute(panel, PANEL_ATTRIBUTE_PAGE_WIDTH), width - 80);
    EXPECT_EQ(control_get_attribute(panel, PANEL_ATTRIBUTE_PAGE_HEIGHT), height - 80);
    EXPECT_EQ(count_events(panel, EVENTTYPE_TAB_RESIZE), 1);

    // A larger font makes the tab strip taller, and the page moves below it.
    large_font = CreateFontW(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    ASSERT_NE(large_font, nullptr);
    std::intptr_t strip = control_get_attribute(panel, PANEL_ATTRIBUTE_TAB_HEIGHT);
    control_set_font(panel, reinterpret_cast<std::intptr_t>(large_font));
    EXPECT_GT(control_get_attribute(panel, PANEL_ATTRIBUTE_TAB_HEIGHT), strip);
    SendMessageW(handle, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    GetWindowRect(page, &page_rect);
    MapWindowPoints(HWND_DESKTOP, handle, reinterpret_cast<POINT*>(&page_rect), 2);
    EXPECT_GE(page_rect.top, tab.bottom);
    EXPECT_LT(control_get_attribute(panel, PANEL_ATTRIBUTE_PAGE_HEIGHT), height - 80);
}

}  // namespace
