// Spin controls with real windows: the field and its arrows placed, shown, enabled and
// destroyed together; real clicks on the arrows and keys in the field raising one event per
// step; the range as attributes; colours; and values out of range.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/spin.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/theme.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF RED = 255;

HWND arrows_of(ObjectNumber control)
{
    return static_cast<HWND>(spin_arrows_handle(control));
}

RECT rect_in_parent(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class SpinTest : public ControlWindowTest {
protected:
    SpinTest() : ControlWindowTest(u"Spin test") {}

    // A real click on the upper or lower arrow; waits for the events it raises.
    void click_arrow(ObjectNumber spin, bool up)
    {
        RECT client = {};
        GetClientRect(arrows_of(spin), &client);
        int y = up ? client.bottom / 4 : client.bottom * 3 / 4;
        std::size_t before = g_gadget_events.size();
        gui_click_client(arrows_of(spin), client.right / 2, y);
        gui_wait_events_until([&] { return g_gadget_events.size() > before; }, 2000);
        gui_wait_events_for(150);
    }
};

// Placed at 100 x 24: arrows 18 wide at x + 82, the field under them by the overlap.
TEST_F(SpinTest, PlacementPutsTheArrowsAtTheRightEnd)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, 0, 10, 0);
    ASSERT_NE(spin, 0);
    EXPECT_EQ(control_kind(spin), CONTROL_KIND_SPIN);
    RECT arrows = rect_in_parent(arrows_of(spin));
    RECT field = rect_in_parent(gui_control_handle(spin));
    EXPECT_EQ(GetParent(arrows_of(spin)), handle);
    EXPECT_EQ(arrows.left, 92);
    EXPECT_EQ(arrows.right - arrows.left, 18);
    EXPECT_EQ(arrows.top, 20);
    EXPECT_EQ(arrows.bottom - arrows.top, 24);
    EXPECT_EQ(field.left, 10);
    EXPECT_EQ(field.right - field.left, theme_visual_styles_on() ? 83 : 84);
    EXPECT_EQ(field.bottom - field.top, 24);
    EXPECT_EQ(control_width(spin), 100);
    EXPECT_EQ(control_x(spin), 10);

    // Unchanged values keep the position and the whole width.
    ASSERT_EQ(control_resize(spin, UNCHANGED, 50, UNCHANGED, 40), 1);
    arrows = rect_in_parent(arrows_of(spin));
    EXPECT_EQ(arrows.left, 10 + 100 - 20);
    EXPECT_EQ(arrows.right - arrows.left, 20);
    EXPECT_EQ(arrows.top, 50);
    EXPECT_EQ(control_width(spin), 100);
    EXPECT_EQ(control_height(spin), 40);
}

// Up at 5 of 0 to 10 gives 6 and one type-4 event; down then 5 and one type-5 event. At
// the end of the range a click moves nothing and raises nothing.
TEST_F(SpinTest, RealClicksOnTheArrowsStepOnceWithOneEventEach)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, 0, 10, 0);
    ASSERT_NE(spin, 0);
    ASSERT_EQ(event_bind_control(spin, record_gadget_event), 1);
    control_set_state(spin, 5);
    gui_pump_messages_for(50);
    control_set_text(spin, u"five");
    EXPECT_FALSE(GetUpdateRect(gui_control_handle(spin), nullptr, FALSE));  // shown before it returns
    gui_wait_events_for(50);
    EXPECT_TRUE(g_gadget_events.empty());
    EXPECT_EQ(control_get_state(spin), 5);

    click_arrow(spin, true);
    EXPECT_EQ(control_get_state(spin), 6);
    EXPECT_EQ(count_events(spin, SPIN_EVENT_UP), 1);
    EXPECT_EQ(g_gadget_events.size(), 1u);
    EXPECT_EQ(control_get_text(spin), u"five");  // the arrows leave the text to the program

    click_arrow(spin, false);
    EXPECT_EQ(control_get_state(spin), 5);
    EXPECT_EQ(count_events(spin, SPIN_EVENT_DOWN), 1);
    EXPECT_EQ(g_gadget_events.size(), 2u);

    control_set_state(spin, 10);
    click_arrow(spin, true);
    EXPECT_EQ(control_get_state(spin), 10);
    EXPECT_EQ(g_gadget_events.size(), 2u);
}

// Arrow keys in the field step too; with the numeric flag the number shows in the field.
TEST_F(SpinTest, ArrowKeysInANumericFieldStepAndShowTheNumber)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, -3, 3, GK_Spin_Numeric);
    ASSERT_NE(spin, 0);
    ASSERT_EQ(event_bind_control(spin, record_gadget_event), 1);
    control_set_state(spin, 3);
    EXPECT_EQ(control_get_text(spin), u"3");
    control_set_state(spin, 0);
    gui_wait_events_for(50);
    EXPECT_TRUE(g_gadget_events.empty());  // the program's number in the field raised nothing
    control_activate(spin);
    gui_press_key(VK_UP);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(spin, SPIN_EVENT_UP) == 1; }));
    EXPECT_EQ(control_get_state(spin), 1);
    EXPECT_EQ(control_get_text(spin), u"1");
    gui_press_key(VK_DOWN);
    gui_press_key(VK_DOWN);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(spin, SPIN_EVENT_DOWN) == 2; }));
    EXPECT_EQ(control_get_state(spin), -1);
    EXPECT_EQ(control_get_text(spin), u"-1");
    EXPECT_EQ(count_events(spin, SPIN_EVENT_UP), 1);
}

// Each character typed into the field raises one change event; the program's text none.
TEST_F(SpinTest, TypingIntoTheFieldRaisesChangeEvents)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, 0, 100, 0);
    ObjectNumber locked = spin_create(GK_ANY, 10, 60, 100, 24, 0, 100, GK_Spin_ReadOnly);
    ASSERT_TRUE(spin && locked);
    ASSERT_EQ(event_bind_control(spin, record_gadget_event), 1);
    ASSERT_EQ(event_bind_control(locked, record_gadget_event), 1);
    control_set_text(spin, u"");
    gui_click_client(gui_control_handle(spin), 10, 10);
    ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == gui_control_handle(spin); }));
    gui_type_text(u"42");
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(spin) == u"42"; }));
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(spin, EVENTTYPE_CHANGE), 2);
    EXPECT_EQ(g_gadget_events.size(), 2u);

    EXPECT_TRUE(GetWindowLongPtrW(gui_control_handle(locked), GWL_STYLE) & ES_READONLY);
    control_set_text(locked, u"7");
    gui_click_client(gui_control_handle(locked), 10, 10);
    gui_type_text(u"9");
    gui_wait_events_for(150);
    EXPECT_EQ(control_get_text(locked), u"7");
    EXPECT_EQ(count_events(locked, EVENTTYPE_CHANGE), 0);
}

TEST_F(SpinTest, DisablingHidingAndFreeingTakeTheArrowsAlong)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, 0, 10, 0);
    ASSERT_NE(spin, 0);
    HWND arrows = arrows_of(spin);
    EXPECT_EQ(reinterpret_cast<ObjectNumber>(GetPropW(arrows, L"GK_ID")), spin);

    control_disable(spin, 1);
    EXPECT_FALSE(IsWindowEnabled(gui_control_handle(spin)));
    EXPECT_FALSE(IsWindowEnabled(arrows));
    ASSERT_EQ(event_bind_control(spin, record_gadget_event), 1);
    control_set_state(spin, 5);
    gui_click_client(arrows, 5, 3);
    gui_wait_events_for(150);
    EXPECT_EQ(control_get_state(spin), 5);
    EXPECT_TRUE(g_gadget_events.empty());
    control_disable(spin, 0);
    EXPECT_TRUE(IsWindowEnabled(arrows));

    control_hide(spin, 1);
    EXPECT_FALSE(IsWindowVisible(gui_control_handle(spin)));
    EXPECT_FALSE(IsWindowVisible(arrows));
    control_hide(spin, 0);
    EXPECT_TRUE(IsWindowVisible(arrows));

    ASSERT_EQ(control_free(spin), 1);
    EXPECT_FALSE(IsWindow(arrows));
    EXPECT_EQ(control_exists(spin), 0);

    // A spin that goes with its window takes its arrows too, without harm.
    ObjectNumber second = spin_create(7, 10, 20, 100, 24, 0, 10, 0);
    ASSERT_NE(second, 0);
    arrows = arrows_of(7);
    EXPECT_EQ(GetWindowLongPtrW(arrows, GWLP_ID), 7);
    window_close(window);
    EXPECT_FALSE(IsWindow(arrows));
    EXPECT_EQ(control_exists(7), 0);
}

// Attributes 1 and 2 are the range's ends; setting one keeps the other. Any ends, reversed
// or at the int limits, are taken; values beyond 32 bits are cut to its limits.
TEST_F(SpinTest, RangeEndsAsAttributesWithExtremeValues)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, 0, 100, 0);
    ASSERT_NE(spin, 0);
    EXPECT_EQ(control_get_attribute(spin, SPIN_MINIMUM), 0);
    EXPECT_EQ(control_get_attribute(spin, SPIN_MAXIMUM), 100);
    EXPECT_EQ(control_set_attribute(spin, SPIN_MINIMUM, -50), 1);
    EXPECT_EQ(control_get_attribute(spin, SPIN_MINIMUM), -50);
    EXPECT_EQ(control_get_attribute(spin, SPIN_MAXIMUM), 100);
    EXPECT_EQ(control_set_attribute(spin, SPIN_MAXIMUM, INTPTR_MAX), 1);
    EXPECT_EQ(control_get_attribute(spin, SPIN_MAXIMUM), INT_MAX);
    EXPECT_EQ(control_set_attribute(spin, SPIN_MINIMUM, INTPTR_MIN), 1);
    EXPECT_EQ(control_get_attribute(spin, SPIN_MINIMUM), INT_MIN);
    for (int attribute : {INT_MIN, -1, 0, 3, INT_MAX}) {
        EXPECT_EQ(control_set_attribute(spin, attribute, 5), 0);
        EXPECT_EQ(control_get_attribute(spin, attribute), 0);
    }
    EXPECT_EQ(control_set_state(spin, INT_MIN), 1);
    EXPECT_EQ(control_get_state(spin), INT_MIN);
    EXPECT_EQ(control_set_state(spin, INT_MAX), 1);
    EXPECT_EQ(control_get_state(spin), INT_MAX);

    // A reversed range: the arrows still stay within it.
    ObjectNumber reversed = spin_create(GK_ANY, 10, 60, 100, 24, 10, 0, 0);
    ASSERT_NE(reversed, 0);
    EXPECT_EQ(control_get_attribute(reversed, SPIN_MINIMUM), 10);
    EXPECT_EQ(control_get_attribute(reversed, SPIN_MAXIMUM), 0);
    ASSERT_EQ(event_bind_control(reversed, record_gadget_event), 1);
    control_set_state(reversed, 0);
    click_arrow(reversed, false);
    click_arrow(reversed, true);
    int state = control_get_state(reversed);
    EXPECT_GE(state, 0);
    EXPECT_LE(state, 10);
    EXPECT_EQ(static_cast<int>(g_gadget_events.size()), count_events(reversed, SPIN_EVENT_UP) + count_events(reversed, SPIN_EVENT_DOWN));
}

// Rectangles that no layout should give still make both windows, and moving to them too.
TEST_F(SpinTest, ExtremeRectanglesAreHarmless)
{
    const int values[] = {INT_MIN, -1, 0, INT_MAX};
    for (int value : values) {
        ObjectNumber spin = spin_create(GK_ANY, value, value, value, value, INT_MAX, INT_MIN, GK_Spin_Numeric);
        ASSERT_NE(spin, 0) << value;
        EXPECT_TRUE(IsWindow(arrows_of(spin)));
        for (int other : values)
            EXPECT_EQ(control_resize(spin, other, value, other, value), 1) << value << " " << other;
        control_set_state(spin, value);
        control_free(spin);
    }
}

TEST_F(SpinTest, ColoursPaintTheField)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, 0, 10, 0);
    ASSERT_NE(spin, 0);
    std::size_t brushes = brush_count();
    EXPECT_EQ(control_get_color(spin, CONTROL_COLOR_BACK), -1);
    ASSERT_EQ(control_set_color(spin, CONTROL_COLOR_BACK, RED), 1);
    EXPECT_EQ(control_get_color(spin, CONTROL_COLOR_BACK), static_cast<std::int32_t>(RED));
    EXPECT_EQ(brush_count(), brushes + 1);
    gui_pump_messages_for(100);
    EXPECT_TRUE(gui_window_shows_color(gui_control_handle(spin), RED));
    EXPECT_EQ(control_set_color(spin, 3, RED), 0);
    control_free(spin);
    EXPECT_EQ(brush_count(), brushes);

    // A read-only field keeps the colours it is given while enabled.
    ObjectNumber locked = spin_create(GK_ANY, 10, 60, 100, 24, 0, 10, GK_Spin_ReadOnly);
    ASSERT_NE(locked, 0);
    control_set_text(locked, u"3");
    ASSERT_EQ(control_set_color(locked, CONTROL_COLOR_BACK, RED), 1);
    gui_pump_messages_for(100);
    EXPECT_TRUE(gui_window_shows_color(gui_control_handle(locked), RED));
}

// Width 2 edges + 50; height the height of "Hg" + 2 edges, at least 20.
TEST_F(SpinTest, NaturalSizeFollowsTheFont)
{
    ObjectNumber spin = spin_create(GK_ANY, 10, 20, 100, 24, 0, 10, 0);
    ASSERT_NE(spin, 0);
    HWND field = gui_control_handle(spin);
    HDC context = GetDC(field);
    HGDIOBJ previous = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(context, L"Hg", 2, &extent);
    SelectObject(context, previous);
    ReleaseDC(field, context);
    int width = 0;
    int height = 0;
    ASSERT_EQ(control_required_size(spin, &width, &height), 1);
    EXPECT_EQ(width, 2 * GetSystemMetrics(SM_CXEDGE) + 50);
    int expected = extent.cy + 2 * GetSystemMetrics(SM_CYEDGE);
    EXPECT_EQ(height, expected < 20 ? 20 : expected);
}

}  // namespace
