// Scroll bars with real windows: real clicks on the arrows and in the trough, keys and a
// thumb drag, a disabled bar that stays disabled, and extreme ranges, pages and positions.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/scrollbar.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

std::vector<ObjectNumber> g_events;

void record_event()
{
    if (event_type() == 0)
        g_events.push_back(event_control());
}

class ScrollBarTest : public ControlWindowTest {
protected:
    ScrollBarTest() : ControlWindowTest(u"Scroll bar test", 440, 300) {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        g_events.clear();
    }

    // A horizontal bar 0 to 100, page 10, whose events are recorded.
    ObjectNumber make(int x = 10, int y = 10, int width = 400, int height = 20, std::uint32_t flags = 0)
    {
        ObjectNumber bar = scrollbar_create(GK_ANY, x, y, width, height, 0, 100, 10, flags);
        EXPECT_NE(bar, 0);
        EXPECT_TRUE(event_bind_control(bar, record_event));
        gui_pump_messages_for(50);
        return bar;
    }

    // Clicks at a point of the bar and waits until its state is `expected`.
    bool click_until(ObjectNumber bar, int x, int y, int expected)
    {
        gui_click_client(gui_control_handle(bar), x, y);
        return gui_wait_events_until([&] { return control_get_state(bar) == expected; });
    }
};

// At 85 of 0 to 100 with page 10 the largest position is 91: a page down in the trough
// gives 91, the Page Down key keeps 91, a click on the left arrow gives 90.
TEST_F(ScrollBarTest, PageDownStopsAtTheLastPageAndLineUpStepsBack)
{
    ObjectNumber bar = make();
    ASSERT_EQ(control_set_state(bar, 85), 1);
    EXPECT_EQ(control_get_state(bar), 85);
    EXPECT_TRUE(g_events.empty());
    int arrow = GetSystemMetrics(SM_CXHSCROLL);

    ASSERT_TRUE(click_until(bar, 400 - arrow - 4, 10, 91)) << control_get_state(bar);
    EXPECT_FALSE(g_events.empty());

    g_events.clear();
    ASSERT_TRUE(control_activate(bar));
    gui_press_key(VK_NEXT);
    ASSERT_TRUE(gui_wait_events_until([] { return !g_events.empty(); }));
    EXPECT_EQ(control_get_state(bar), 91);

    ASSERT_TRUE(click_until(bar, arrow / 2, 10, 90)) << control_get_state(bar);
    gui_wait_events_for(150);
    EXPECT_EQ(control_get_state(bar), 90);
}

// Setting the position or the range would enable the bar again; it stays disabled, and a
// real click on its arrow moves nothing.
TEST_F(ScrollBarTest, DisabledBarStaysDisabledAfterItsStateAndRangeAreSet)
{
    ObjectNumber bar = make();
    ASSERT_EQ(control_disable(bar, 1), 1);
    ASSERT_EQ(control_set_state(bar, 50), 1);
    EXPECT_FALSE(IsWindowEnabled(gui_control_handle(bar)));
    ASSERT_EQ(control_set_attribute(bar, SCROLLBAR_MAXIMUM, 200), 1);
    ASSERT_EQ(control_set_attribute(bar, SCROLLBAR_PAGE, 20), 1);
    EXPECT_FALSE(IsWindowEnabled(gui_control_handle(bar)));
    EXPECT_EQ(control_get_state(bar), 50);

    gui_click_client(gui_control_handle(bar), 4, 10);
    gui_wait_events_for(300);
    EXPECT_EQ(control_get_state(bar), 50);
    EXPECT_TRUE(g_events.empty());

    control_disable(bar, 0);
    ASSERT_TRUE(click_until(bar, 4, 10, 49));
}

// Dragging the thumb of a vertical bar tracks it down; every step is reported.
TEST_F(ScrollBarTest, RealThumbDragOfAVerticalBarMovesItsPosition)
{
    ObjectNumber bar = make(10, 10, 20, 240, GK_ScrollBar_Vertical);
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    POINT thumb = {10, arrow + 6};
    ClientToScreen(gui_control_handle(bar), &thumb);
    gui_drag(thumb, POINT{thumb.x, thumb.y + 100});
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(bar) > 30; })) << control_get_state(bar);
    EXPECT_LE(control_get_state(bar), 91);
    EXPECT_GE(g_events.size(), 2u);
    EXPECT_TRUE(GetCapture() == nullptr);
}

TEST_F(ScrollBarTest, AttributesAndNaturalSizes)
{
    ObjectNumber bar = make();
    EXPECT_EQ(control_kind(bar), CONTROL_KIND_SCROLLBAR);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_MINIMUM), 0);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_MAXIMUM), 100);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_PAGE), 10);
    // Each end set keeps the other; the position follows into the range.
    control_set_state(bar, 60);
    ASSERT_EQ(control_set_attribute(bar, SCROLLBAR_MAXIMUM, 40), 1);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_MINIMUM), 0);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_MAXIMUM), 40);
    EXPECT_LE(control_get_state(bar), 40);
    ASSERT_EQ(control_set_attribute(bar, SCROLLBAR_MINIMUM, 20), 1);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_MAXIMUM), 40);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_MINIMUM), 20);
    EXPECT_TRUE(g_events.empty());

    int width = -1;
    int height = -1;
    ASSERT_EQ(control_required_size(bar, &width, &height), 1);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, GetSystemMetrics(SM_CYHSCROLL));
    ObjectNumber vertical = make(10, 40, 20, 100, GK_ScrollBar_Vertical);
    ASSERT_EQ(control_required_size(vertical, &width, &height), 1);
    EXPECT_EQ(width, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(height, 0);
}

// Reversed and over-wide ranges are cut at the end that was given, instead of the platform
// dropping both ends; the bar stays shown; negative pages count as 0; positions stay within the range; unknown
// attributes read 0 and set nothing.
TEST_F(ScrollBarTest, ExtremeRangesPagesAndPositionsAreHarmless)
{
    ObjectNumber reversed = scrollbar_create(GK_ANY, 10, 10, 200, 20, 50, 10, -5, 0);
    ASSERT_NE(reversed, 0);
    EXPECT_EQ(control_get_attribute(reversed, SCROLLBAR_MINIMUM), 50);
    EXPECT_EQ(control_get_attribute(reversed, SCROLLBAR_MAXIMUM), 50);
    EXPECT_EQ(control_get_attribute(reversed, SCROLLBAR_PAGE), 0);
    EXPECT_TRUE(IsWindowVisible(gui_control_handle(reversed)));

    ObjectNumber wide = scrollbar_create(GK_ANY, 10, 40, 200, 20, INT_MIN, INT_MAX, INT_MAX, 0);
    ASSERT_NE(wide, 0);
    EXPECT_EQ(control_get_attribute(wide, SCROLLBAR_MINIMUM), INT_MIN);
    EXPECT_EQ(control_get_attribute(wide, SCROLLBAR_MAXIMUM), -1);
    EXPECT_TRUE(IsWindowVisible(gui_control_handle(wide)));
    ASSERT_EQ(control_set_attribute(wide, SCROLLBAR_MAXIMUM, INT_MAX), 1);
    EXPECT_EQ(control_get_attribute(wide, SCROLLBAR_MAXIMUM), -1);
    ASSERT_EQ(control_set_attribute(wide, SCROLLBAR_MINIMUM, INT_MAX), 1);
    EXPECT_EQ(control_get_attribute(wide, SCROLLBAR_MINIMUM), -1);
    ASSERT_EQ(control_set_attribute(wide, SCROLLBAR_MINIMUM, INT_MIN), 1);
    EXPECT_EQ(control_get_attribute(wide, SCROLLBAR_MINIMUM), INT_MIN);
    ASSERT_EQ(control_set_attribute(wide, SCROLLBAR_MINIMUM, static_cast<std::intptr_t>(INT64_MIN)), 1);
    EXPECT_EQ(control_get_attribute(wide, SCROLLBAR_MINIMUM), INT_MIN);
    EXPECT_TRUE(IsWindowVisible(gui_control_handle(wide)));

    ObjectNumber bar = make(10, 70);
    for (int value : {INT_MIN, -1, INT_MAX}) {
        ASSERT_EQ(control_set_state(bar, value), 1);
        int state = control_get_state(bar);
        EXPECT_TRUE(state >= 0 && state <= 100) << value << " gave " << state;
    }
    ASSERT_EQ(control_set_attribute(bar, SCROLLBAR_PAGE, INT_MIN), 1);
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_PAGE), 0);
    ASSERT_EQ(control_set_attribute(bar, SCROLLBAR_PAGE, INT_MAX), 1);
    EXPECT_LE(control_get_attribute(bar, SCROLLBAR_PAGE), 101);
    for (int attribute : {0, 4, -1, INT_MAX, INT_MIN}) {
        EXPECT_EQ(control_get_attribute(bar, attribute), 0);
        EXPECT_EQ(control_set_attribute(bar, attribute, 7), 0);
    }
    EXPECT_EQ(control_get_attribute(bar, SCROLLBAR_MAXIMUM), 100);
    EXPECT_EQ(control_set_color(bar, CONTROL_COLOR_BACK, 255), 0);
    EXPECT_EQ(control_free(bar), 1);
    EXPECT_EQ(control_get_state(bar), 0);
}

}  // namespace
