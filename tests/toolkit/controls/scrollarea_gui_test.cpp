// Scroll areas with real windows and real input: the bars from both sizes and the border,
// scrolling by wheel and keys, centring, attributes and colours.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/scrollarea.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr COLORREF GREEN = 0x00972E;

int g_scroll_events = 0;
int g_resize_events = 0;

void on_area_event()
{
    if (event_type() == EVENTTYPE_LEFT_CLICK)
        ++g_scroll_events;
    else if (event_type() == EVENTTYPE_TAB_RESIZE)
        ++g_resize_events;
}

SCROLLINFO bar_of(HWND window, int bar)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    return info;
}

// The inner window's place in the outer window's client area.
POINT inner_origin(HWND outer)
{
    HWND inner = GetWindow(outer, GW_CHILD);
    POINT origin = {0, 0};
    MapWindowPoints(inner, outer, &origin, 1);
    return origin;
}

void turn_wheel(int notches)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    SendInput(1, &input, sizeof(input));
}

class ScrollAreaTest : public ControlWindowTest {
protected:
    ScrollAreaTest() : ControlWindowTest(u"Scroll area test") {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        g_scroll_events = 0;
        g_resize_events = 0;
    }

    // A scroll area with a button inside, the inner window focused by a real click.
    ObjectNumber make_focused(int width, int height, int inner_width, int inner_height, std::uint32_t flags)
    {
        ObjectNumber area = scrollarea_create(GK_ANY, 10, 10, width, height, inner_width, inner_height, 10, flags);
        EXPECT_NE(area, 0);
        container_close_list();
        gui_pump_messages_for(50);
        HWND outer = gui_control_handle(area);
        gui_click_client(outer, 5, 5);
        gui_pump_messages_until([&] { return GetFocus() == GetWindow(outer, GW_CHILD); });
        event_bind_control(area, on_area_event);
        return area;
    }
};

// 200 by 100 with the default border (4) and an inner area of 150 by 300: only the vertical
// bar shows, with page 96 and range 0 to 299.
TEST_F(ScrollAreaTest, BarsFollowTheBorderAndBothSizes)
{
    ObjectNumber area = scrollarea_create(GK_ANY, 10, 10, 200, 100, 150, 300, 10, 0);
    ASSERT_NE(area, 0);
    ObjectNumber inside = button_create(GK_ANY, 5, 5, 80, 24, u"Inside", 0);
    container_close_list();
    HWND outer = gui_control_handle(area);
    EXPECT_EQ(GetParent(gui_control_handle(inside)), GetWindow(outer, GW_CHILD));
    EXPECT_TRUE(GetWindowLongPtrW(outer, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    LONG_PTR style = GetWindowLongPtrW(outer, GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    SCROLLINFO vertical = bar_of(outer, SB_VERT);
    EXPECT_EQ(vertical.nMin, 0);
    EXPECT_EQ(vertical.nMax, 299);
    EXPECT_EQ(vertical.nPage, 96u);
    EXPECT_EQ(control_get_attribute(area, SCROLLAREA_INNER_WIDTH), 150);
    EXPECT_EQ(control_get_attribute(area, SCROLLAREA_INNER_HEIGHT), 300);
    EXPECT_EQ(control_get_attribute(area, SCROLLAREA_STEP), 10);
    EXPECT_EQ(control_get_attribute(area, 6), 0);

    // A wider inner area brings the second bar; a borderless area gives the whole window.
    ASSERT_EQ(control_set_attribute(area, SCROLLAREA_INNER_WIDTH, 400), 1);
    EXPECT_TRUE(GetWindowLongPtrW(outer, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(bar_of(outer, SB_HORZ).nMax, 399);
    ObjectNumber bare = scrollarea_create(GK_ANY, 10, 120, 200, 100, 150, 300, 10, GK_ScrollArea_BorderLess);
    container_close_list();
    EXPECT_EQ(bar_of(gui_control_handle(bare), SB_VERT).nPage, 100u);
    EXPECT_FALSE(GetWindowLongPtrW(gui_control_handle(bare), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(ScrollAreaTest, WheelScrollsByTheStepAndStopsAtTheTop)
{
    ObjectNumber area = make_focused(200, 100, 150, 300, 0);
    HWND outer = gui_control_handle(area);
    turn_wheel(-1);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_attribute(area, SCROLLAREA_Y) == 10; }));
    EXPECT_EQ(inner_origin(outer).y, -10);
    EXPECT_GE(g_scroll_events, 1);
    turn_wheel(1);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_attribute(area, SCROLLAREA_Y) == 0; }));
    turn_wheel(1);
    gui_wait_events_for(100);
    EXPECT_EQ(control_get_attribute(area, SCROLLAREA_Y), 0);
    EXPECT_EQ(inner_origin(outer).y, 0);
}

// Page Down goes by the outer client height; End and Home reach the ends; the arrows go by
// the step.
TEST_F(ScrollAreaTest, KeysScrollByPageStepAndToTheEnds)
{
    ObjectNumber area = make_focused(200, 100, 400, 300, 0);
    HWND outer = gui_control_handle(area);
    RECT client = {};
    GetClientRect(outer, &client);
    auto y = [&] { return control_get_attribute(area, SCROLLAREA_Y); };
    auto x = [&] { return control_get_attribute(area, SCROLLAREA_X); };
    gui_press_key(VK_NEXT);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == client.bottom; })) << y();
    gui_press_key(VK_DOWN);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == client.bottom + 10; }));
    gui_press_key(VK_PRIOR);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == 10; }));
    gui_press_key(VK_END);
    SCROLLINFO vertical = bar_of(outer, SB_VERT);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == 300 - static_cast<int>(vertical.nPage); })) << y();
    EXPECT_EQ(inner_origin(outer).y, -y());
    gui_press_key(VK_HOME);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == 0; }));
    gui_press_key(VK_RIGHT);
    ASSERT_TRUE(gui_wait_events_until([&] { return x() == 10; }));
    gui_press_key(VK_LEFT);
    ASSERT_TRUE(gui_wait_events_until([&] { return x() == 0; }));
}

// A centred inner area smaller than the window sits in the middle and stays there.
TEST_F(ScrollAreaTest, CentredInnerAreaSitsInTheMiddle)
{
    ObjectNumber area = scrollarea_create(GK_ANY, 10, 10, 200, 100, 50, 40, 10, GK_ScrollArea_Center);
    container_close_list();
    HWND outer = gui_control_handle(area);
    RECT client = {};
    GetClientRect(outer, &client);
    POINT middle = {(client.right - 50) / 2, (client.bottom - 40) / 2};
    EXPECT_EQ(inner_origin(outer).x, middle.x);
    EXPECT_EQ(inner_origin(outer).y, middle.y);
    SendMessageW(outer, WM_VSCROLL, SB_LINEDOWN, 0);
    control_set_attribute(area, SCROLLAREA_X, 30);
    EXPECT_EQ(inner_origin(outer).x, middle.x);
    EXPECT_EQ(inner_origin(outer).y, middle.y);
    // Taller than the window: only the width is centred, the height scrolls.
    control_set_attribute(area, SCROLLAREA_INNER_HEIGHT, 300);
    control_set_attribute(area, SCROLLAREA_Y, 20);
    GetClientRect(outer, &client);
    EXPECT_EQ(inner_origin(outer).x, (client.right - 50) / 2);
    EXPECT_EQ(inner_origin(outer).y, -20);
}

TEST_F(ScrollAreaTest, ResizeRaisesType6WhileMutedAndColourComesAndGoes)
{
    ObjectNumber area = scrollarea_create(GK_ANY, 10, 10, 200, 100, 150, 300, 10, 0);
    container_close_list();
    ASSERT_EQ(event_bind_control(area, on_area_event), 1);
    events_mute();
    control_resize(area, 10, 10, 220, 120);
    events_unmute();
    EXPECT_EQ(g_resize_events, 1);
    EXPECT_EQ(bar_of(gui_control_handle(area), SB_VERT).nPage, 116u);

    std::size_t brushes = brush_count();
    ASSERT_EQ(control_set_color(area, CONTROL_COLOR_BACK, GREEN), 1);
    EXPECT_EQ(brush_count(), brushes + 1);
    gui_pump_messages_for(100);
    EXPECT_TRUE(gui_window_shows_color(GetWindow(gui_control_handle(area), GW_CHILD), GREEN));
    ASSERT_EQ(control_set_color(area, CONTROL_COLOR_BACK, -1), 1);
    EXPECT_EQ(GetWindowLongPtrW(gui_control_handle(area), 0), 0);
    EXPECT_EQ(brush_count(), brushes);
}


// An inner area past the 16-bit range: dragging the thumb to the end, the wheel and a
// step of INT_MAX all reach positions above 32,767 (or the end) without jumping back. (The
// platform keeps a window's place within 16 bits, so the inner window itself stops there.)
TEST_F(ScrollAreaTest, PositionsAre32BitForThumbWheelAndHugeSteps)
{
    ObjectNumber area = make_focused(200, 100, 150, 100000, 0);
    HWND outer = gui_control_handle(area);
    auto y = [&] { return control_get_attribute(area, SCROLLAREA_Y); };
    RECT window = {};
    GetWindowRect(outer, &window);
    int bar_x = window.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    gui_drag({bar_x, window.top + 2 + arrow + 3}, {bar_x, window.bottom - 2 - arrow - 1});
    ASSERT_TRUE(gui_wait_events_until([&] { return y() > 90000; })) << y();

    gui_click_client(outer, 5, 5);
    control_set_attribute(area, SCROLLAREA_Y, 40000);
    turn_wheel(-1);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == 40010; })) << y();

    control_set_attribute(area, SCROLLAREA_STEP, INT_MAX);
    gui_press_key(VK_DOWN);
    int end = 100000 - static_cast<int>(bar_of(outer, SB_VERT).nPage);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == end; })) << y();
    turn_wheel(1);
    ASSERT_TRUE(gui_wait_events_until([&] { return y() == 0; })) << y();
}

}  // namespace
