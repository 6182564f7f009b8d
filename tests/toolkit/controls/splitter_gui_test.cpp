// Splitters with real windows: the parts' places, minimums, state, replacing a part's
// control, and the sizing cursor and drag through real mouse input.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/plain_container.h"
#include "toolkit/controls/splitter.h"
#include "toolkit/controls/splitter_logic.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// A control's rectangle in its parent's client coordinates.
RECT rect_of(ObjectNumber control)
{
    HWND window = gui_control_handle(control);
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

ObjectNumber make_part()
{
    ObjectNumber part = container_create(GK_ANY, 0, 0, 10, 10, 0);
    container_close_list();
    return part;
}

HCURSOR shown_cursor()
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    GetCursorInfo(&info);
    return info.hCursor;
}

class SplitterTest : public ControlWindowTest {
protected:
    // Wide enough that a drag past the splitter's far end stays over the window.
    SplitterTest() : ControlWindowTest(u"Splitter test", 760, 300) {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        first = make_part();
        second = make_part();
    }

    ObjectNumber make(std::uint32_t flags, int width = 407)
    {
        ObjectNumber splitter = splitter_create(GK_ANY, 10, 10, width, 200, first, second, flags);
        EXPECT_NE(splitter, 0);
        return splitter;
    }

    ObjectNumber first = 0;
    ObjectNumber second = 0;
};

// 407 wide with the 7-pixel separator: 200 and 200, the second starting at 207.
TEST_F(SplitterTest, NewSplitterHalvesTheRoomAroundTheSeparator)
{
    ObjectNumber splitter = make(GK_Splitter_Vertical | GK_Splitter_Separator);
    EXPECT_EQ(GetParent(gui_control_handle(first)), gui_control_handle(splitter));
    EXPECT_EQ(GetParent(gui_control_handle(second)), gui_control_handle(splitter));
    EXPECT_EQ(rect_of(first).left, 0);
    EXPECT_EQ(rect_of(first).right, 200);
    EXPECT_EQ(rect_of(second).left, 207);
    EXPECT_EQ(rect_of(second).right, 407);
    EXPECT_EQ(rect_of(second).bottom, 200);
    EXPECT_EQ(control_get_state(splitter), 200);
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_FIRST_CONTROL), first);
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_SECOND_CONTROL), second);
    EXPECT_EQ(control_get_attribute(splitter, 5), 0);
    EXPECT_EQ(splitter_create(GK_ANY, 0, 0, 10, 10, first, 123456, 0), 0);
}

TEST_F(SplitterTest, HorizontalSplitterSharesTheHeight)
{
    ObjectNumber splitter = make(0, 300);
    // 200 high with the 4-pixel separator: 98 each.
    EXPECT_EQ(rect_of(first).bottom, 98);
    EXPECT_EQ(rect_of(second).top, 102);
    EXPECT_EQ(rect_of(second).right, 300);
    EXPECT_EQ(control_get_state(splitter), 98);
}

// Minimums apply at the next layout; the first wins over the second. State 1000 leaves one
// pixel to the second part.
TEST_F(SplitterTest, MinimumsAndStateShareTheAvailableLength)
{
    ObjectNumber splitter = make(GK_Splitter_Vertical | GK_Splitter_Separator);
    ASSERT_EQ(control_set_attribute(splitter, SPLITTER_FIRST_MINIMUM, 300), 1);
    ASSERT_EQ(control_set_attribute(splitter, SPLITTER_SECOND_MINIMUM, 150), 1);
    EXPECT_EQ(control_get_state(splitter), 200);
    control_resize(splitter, 10, 10, 408, 200);
    control_resize(splitter, 10, 10, 407, 200);
    EXPECT_EQ(control_get_state(splitter), 300);
    EXPECT_EQ(rect_of(second).right - rect_of(second).left, 100);
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_FIRST_MINIMUM), 300);

    control_set_attribute(splitter, SPLITTER_FIRST_MINIMUM, 0);
    control_set_attribute(splitter, SPLITTER_SECOND_MINIMUM, 0);
    ASSERT_EQ(control_set_state(splitter, 1000), 1);
    EXPECT_EQ(control_get_state(splitter), 399);
    EXPECT_EQ(rect_of(second).right - rect_of(second).left, 1);
}

// A resize keeps the first part's length with FirstFixed, the second's with SecondFixed,
// and otherwise keeps the ratio.
TEST_F(SplitterTest, FixedFlagsKeepAPartOnResize)
{
    ObjectNumber splitter = make(GK_Splitter_Vertical | GK_Splitter_FirstFixed);
    int before = control_get_state(splitter);
    control_resize(splitter, 10, 10, 440, 200);
    EXPECT_EQ(control_get_state(splitter), before);
    EXPECT_EQ(rect_of(second).right, 440);
    control_free(splitter);
}

TEST_F(SplitterTest, ReplacingAPartGivesTheOldControlBack)
{
    ObjectNumber splitter = make(GK_Splitter_Vertical);
    ObjectNumber other = make_part();
    ASSERT_EQ(control_set_attribute(splitter, SPLITTER_FIRST_CONTROL, other), 1);
    EXPECT_EQ(GetParent(gui_control_handle(first)), handle);
    EXPECT_EQ(GetParent(gui_control_handle(other)), gui_control_handle(splitter));
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_FIRST_CONTROL), other);
    EXPECT_EQ(rect_of(other).right, control_get_state(splitter));
    EXPECT_EQ(control_set_attribute(splitter, SPLITTER_SECOND_CONTROL, 987654), 0);
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_SECOND_CONTROL), second);
}

// The sizing cursor shows over the separator only; a real drag moves the separator, and a
// drag past the far end stops at the second part's minimum.
TEST_F(SplitterTest, RealDragMovesTheSeparatorAndStopsAtTheMinimum)
{
    ObjectNumber splitter = make(GK_Splitter_Vertical | GK_Splitter_Separator);
    control_set_attribute(splitter, SPLITTER_SECOND_MINIMUM, 50);
    HWND window = gui_control_handle(splitter);
    gui_pump_messages_for(100);
    POINT on_separator = {203, 100};
    ClientToScreen(window, &on_separator);
    POINT on_part = {100, 100};
    ClientToScreen(window, &on_part);

    gui_move_pointer(on_part.x, on_part.y);
    EXPECT_NE(shown_cursor(), LoadCursorW(nullptr, IDC_SIZEWE));
    gui_move_pointer(on_separator.x, on_separator.y);
    ASSERT_TRUE(gui_pump_messages_until([] { return shown_cursor() == LoadCursorW(nullptr, IDC_SIZEWE); }));

    gui_drag(on_separator, POINT{on_separator.x - 53, on_separator.y});
    ASSERT_TRUE(gui_pump_messages_until([&] { return control_get_state(splitter) == 147; }))
        << control_get_state(splitter);
    EXPECT_EQ(GetCapture(), nullptr);
    POINT moved = {on_separator.x - 53, on_separator.y};
    gui_drag(moved, POINT{moved.x + 400, moved.y});
    ASSERT_TRUE(gui_pump_messages_until([&] { return control_get_state(splitter) == 350; }))
        << control_get_state(splitter);
    EXPECT_EQ(rect_of(second).right - rect_of(second).left, 50);
}


// Minimums near INT_MAX are clamped; a freed part is forgotten, and a new control can take
// its place.
TEST_F(SplitterTest, HugeMinimumsAreClampedAndAFreedPartIsForgotten)
{
    ObjectNumber splitter = make(GK_Splitter_Vertical);
    ASSERT_EQ(control_set_attribute(splitter, SPLITTER_FIRST_MINIMUM, INT_MAX), 1);
    ASSERT_EQ(control_set_attribute(splitter, SPLITTER_SECOND_MINIMUM, INT_MAX), 1);
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_FIRST_MINIMUM), SPLITTER_MINIMUM_LIMIT);
    control_resize(splitter, 10, 10, 300, 200);
    control_set_attribute(splitter, SPLITTER_FIRST_MINIMUM, -5);
    control_set_attribute(splitter, SPLITTER_SECOND_MINIMUM, 0);

    HWND freed = gui_control_handle(first);
    ASSERT_EQ(control_free(first), 1);
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_FIRST_CONTROL), 0);
    control_resize(splitter, 10, 10, 320, 200);
    control_set_state(splitter, 100);
    EXPECT_EQ(control_get_state(splitter), 0);
    EXPECT_FALSE(IsWindow(freed));
    ObjectNumber other = make_part();
    ASSERT_EQ(control_set_attribute(splitter, SPLITTER_FIRST_CONTROL, other), 1);
    control_set_state(splitter, 100);
    EXPECT_EQ(rect_of(other).right, 100);
}

}  // namespace
