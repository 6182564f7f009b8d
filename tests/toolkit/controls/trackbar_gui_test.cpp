// Track bars with real windows: a vertical bar counted from the bottom, ranges that never go
// below 0 and keep the value, a real thumb drag and keys, and extreme values.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/trackbar.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <climits>
#include <vector>

namespace {

std::vector<ObjectNumber> g_events;

void record_event()
{
    if (event_type() == 0)
        g_events.push_back(event_control());
}

int platform_position(ObjectNumber bar)
{
    return static_cast<int>(SendMessageW(gui_control_handle(bar), TBM_GETPOS, 0, 0));
}

// The centre of the thumb in screen coordinates.
POINT thumb_center(ObjectNumber bar)
{
    RECT thumb = {};
    SendMessageW(gui_control_handle(bar), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT center = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    ClientToScreen(gui_control_handle(bar), &center);
    return center;
}

class TrackBarTest : public ControlWindowTest {
protected:
    TrackBarTest() : ControlWindowTest(u"Track bar test") {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        g_events.clear();
    }

    ObjectNumber make(int x, int y, int width, int height, int minimum, int maximum, std::uint32_t flags)
    {
        ObjectNumber bar = trackbar_create(GK_ANY, x, y, width, height, minimum, maximum, flags);
        EXPECT_NE(bar, 0);
        EXPECT_TRUE(event_bind_control(bar, record_event));
        gui_pump_messages_for(50);
        return bar;
    }
};

// The platform's vertical bar counts from the top: 8 of 0 to 10 puts its thumb at 2, and the
// value stays 8 when the maximum becomes 20 (the platform's thumb then at 12).
TEST_F(TrackBarTest, VerticalBarCountsFromTheBottomAndKeepsItsValue)
{
    ObjectNumber bar = make(10, 10, 40, 200, 0, 10, GK_TrackBar_Vertical | GK_TrackBar_Ticks);
    EXPECT_EQ(control_kind(bar), CONTROL_KIND_TRACKBAR);
    EXPECT_EQ(control_get_state(bar), 0);
    EXPECT_EQ(platform_position(bar), 10);
    ASSERT_EQ(control_set_state(bar, 8), 1);
    EXPECT_EQ(platform_position(bar), 2);
    EXPECT_EQ(control_get_state(bar), 8);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MAXIMUM, 20), 1);
    EXPECT_EQ(control_get_attribute(bar, TRACKBAR_MAXIMUM), 20);
    EXPECT_EQ(control_get_state(bar), 8);
    EXPECT_EQ(platform_position(bar), 12);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MINIMUM, 4), 1);
    EXPECT_EQ(control_get_state(bar), 8);
    EXPECT_TRUE(g_events.empty());

    // The thumb sits in the lower part of the bar, where a person expects 8 of 20 from 4.
    POINT thumb = thumb_center(bar);
    POINT middle = gui_window_center(gui_control_handle(bar));
    EXPECT_GT(thumb.y, middle.y);
}

// A horizontal bar keeps the platform's count; the ends never go below 0 and a value beyond
// the range is brought within it.
TEST_F(TrackBarTest, RangeNeverGoesBelowZero)
{
    ObjectNumber bar = make(10, 10, 300, 40, -5, 10, 0);
    EXPECT_EQ(control_get_attribute(bar, TRACKBAR_MINIMUM), 0);
    EXPECT_EQ(control_get_attribute(bar, TRACKBAR_MAXIMUM), 10);
    control_set_state(bar, 7);
    EXPECT_EQ(platform_position(bar), 7);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MINIMUM, -20), 1);
    EXPECT_EQ(control_get_attribute(bar, TRACKBAR_MINIMUM), 0);
    EXPECT_EQ(control_get_state(bar), 7);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MAXIMUM, -1), 1);
    EXPECT_EQ(control_get_attribute(bar, TRACKBAR_MAXIMUM), 0);
    EXPECT_EQ(control_get_state(bar), 0);

    ObjectNumber below = make(10, 60, 300, 40, INT_MIN, -1, GK_TrackBar_Vertical);
    EXPECT_EQ(control_get_attribute(below, TRACKBAR_MINIMUM), 0);
    EXPECT_EQ(control_get_attribute(below, TRACKBAR_MAXIMUM), 0);
    EXPECT_EQ(control_get_state(below), 0);
}

// A real drag of the thumb moves the value and reports it; so do the arrow keys once the bar
// has the focus (a vertical bar's Up key raises its value).
TEST_F(TrackBarTest, RealDragAndKeysMoveTheValueAndRaiseEvents)
{
    ObjectNumber bar = make(10, 10, 320, 40, 0, 10, GK_TrackBar_Ticks);
    POINT from = thumb_center(bar);
    gui_drag(from, POINT{from.x + 150, from.y});
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(bar) >= 4; })) << control_get_state(bar);
    EXPECT_LE(control_get_state(bar), 6);
    EXPECT_FALSE(g_events.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    ObjectNumber vertical = make(340, 10, 40, 200, 0, 10, GK_TrackBar_Vertical);
    control_set_state(vertical, 3);
    g_events.clear();
    ASSERT_EQ(control_activate(vertical), 1);
    gui_press_key(VK_UP);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(vertical) != 3; }));
    EXPECT_EQ(control_get_state(vertical), 4);
    EXPECT_FALSE(g_events.empty());
}

// Extreme values: ends at INT_MAX (with automatic ticks too, which the platform would make
// one per value), values far outside, turned-around values that would overflow; unknown
// attributes read 0 and set nothing.
TEST_F(TrackBarTest, ExtremeValuesAreHarmless)
{
    ObjectNumber bar = make(10, 10, 300, 40, 0, INT_MAX, GK_TrackBar_Ticks);
    EXPECT_LE(SendMessageW(gui_control_handle(bar), TBM_GETNUMTICS, 0, 0), 40000);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MAXIMUM, 10), 1);
    EXPECT_EQ(SendMessageW(gui_control_handle(bar), TBM_GETNUMTICS, 0, 0), 11);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MAXIMUM, 5000), 1);
    EXPECT_LE(SendMessageW(gui_control_handle(bar), TBM_GETNUMTICS, 0, 0), 1002);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MAXIMUM, INT_MAX), 1);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MINIMUM, INT_MAX - 20), 1);
    EXPECT_EQ(SendMessageW(gui_control_handle(bar), TBM_GETNUMTICS, 0, 0), 21);
    ASSERT_EQ(control_set_attribute(bar, TRACKBAR_MINIMUM, 0), 1);
    for (int value : {INT_MAX, INT_MIN, 0}) {
        ASSERT_EQ(control_set_state(bar, value), 1);
        int state = control_get_state(bar);
        EXPECT_TRUE(state == value || (value == INT_MIN && state == 0)) << value << " gave " << state;
    }
    UpdateWindow(gui_control_handle(bar));

    ObjectNumber vertical = make(10, 60, 40, 200, 5, INT_MAX, GK_TrackBar_Vertical);
    for (int value : {INT_MIN, 5, INT_MAX, 1000}) {
        ASSERT_EQ(control_set_state(vertical, value), 1);
        int state = control_get_state(vertical);
        EXPECT_TRUE(state >= 5) << value << " gave " << state;
    }
    EXPECT_EQ(control_get_state(vertical), 1000);
    ASSERT_EQ(control_set_attribute(vertical, TRACKBAR_MAXIMUM, static_cast<std::intptr_t>(INT64_MIN)), 1);
    EXPECT_EQ(control_get_attribute(vertical, TRACKBAR_MAXIMUM), 0);
    UpdateWindow(gui_control_handle(vertical));

    ObjectNumber reversed = make(60, 60, 300, 40, 50, 10, 0);
    ASSERT_EQ(control_set_state(reversed, 30), 1);
    UpdateWindow(gui_control_handle(reversed));
    for (int attribute : {0, 3, -1, INT_MAX}) {
        EXPECT_EQ(control_get_attribute(reversed, attribute), 0);
        EXPECT_EQ(control_set_attribute(reversed, attribute, 9), 0);
    }
    EXPECT_EQ(control_get_attribute(reversed, TRACKBAR_MINIMUM), 50);
    EXPECT_EQ(control_set_color(reversed, CONTROL_COLOR_BACK, 255), 0);
    gui_wait_events_for(100);
    EXPECT_TRUE(g_events.empty());
}

}  // namespace
