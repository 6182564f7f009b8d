// Option buttons with real windows: groups formed by the order of creation, selection from
// the program walking the group, real clicks moving the selection within a group only, and
// the natural size.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/option.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

bool starts_group(ObjectNumber control)
{
    return (GetWindowLongPtrW(gui_control_handle(control), GWL_STYLE) & WS_GROUP) != 0;
}

class OptionTest : public ControlWindowTest {
protected:
    OptionTest() : ControlWindowTest(u"Option test") {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        next_y = 10;
    }

    ObjectNumber option(const char16_t* text)
    {
        ObjectNumber made = option_create(GK_ANY, 10, next_y, 150, 20, text);
        next_y += 24;
        return made;
    }

    // Options A and B, a text, then options C and D.
    std::array<ObjectNumber, 4> two_groups_around_a_text()
    {
        ObjectNumber a = option(u"A");
        ObjectNumber b = option(u"B");
        EXPECT_NE(text_create(GK_ANY, 10, next_y, 150, 20, u"Between", 0), 0);
        next_y += 24;
        ObjectNumber c = option(u"C");
        return {a, b, c, option(u"D")};
    }

    // The states of the options, in order.
    static std::vector<int> states(std::initializer_list<ObjectNumber> options)
    {
        std::vector<int> read;
        for (ObjectNumber one : options)
            read.push_back(control_get_state(one));
        return read;
    }

    int next_y = 10;
};

// Three in a row are one group: selecting the third from the program clears the first two.
TEST_F(OptionTest, ThreeInARowFormOneGroup)
{
    ObjectNumber first = option(u"First");
    ObjectNumber second = option(u"Second");
    ObjectNumber third = option(u"Third");
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(control_kind(first), CONTROL_KIND_OPTION);
    EXPECT_TRUE(starts_group(first));
    EXPECT_FALSE(starts_group(second));
    EXPECT_FALSE(starts_group(third));
    EXPECT_NE(GetPropW(gui_control_handle(second), L"GK_OptionGadget"), nullptr);

    control_set_state(first, 1);
    control_set_state(second, 1);
    EXPECT_EQ(states({first, second, third}), (std::vector<int>{0, 1, 0}));
    control_set_state(first, 1);
    control_set_state(third, 1);
    EXPECT_EQ(states({first, second, third}), (std::vector<int>{0, 0, 1}));
    // 0 deselects that option alone; any other value selects.
    control_set_state(third, 0);
    EXPECT_EQ(states({first, second, third}), (std::vector<int>{0, 0, 0}));
    control_set_state(second, INT_MIN);
    EXPECT_EQ(states({first, second, third}), (std::vector<int>{0, 1, 0}));
    control_set_state(first, -1);
    EXPECT_EQ(states({first, second, third}), (std::vector<int>{1, 0, 0}));
}

// A text between options ends the group: selecting in the new group leaves the old one.
TEST_F(OptionTest, AnOptionAfterATextStartsANewGroup)
{
    const auto [a, b, c, d] = two_groups_around_a_text();
    ASSERT_TRUE(a && b && c && d);
    EXPECT_TRUE(starts_group(c));
    EXPECT_FALSE(starts_group(d));
    control_set_state(b, 1);
    control_set_state(c, 1);
    EXPECT_EQ(states({a, b, c, d}), (std::vector<int>{0, 1, 1, 0}));
    control_set_state(d, 1);
    control_set_state(a, 1);
    EXPECT_EQ(states({a, b, c, d}), (std::vector<int>{1, 0, 0, 1}));
}

// A control made and freed at once between two runs (as the dialog engine does between two
// groups) leaves the runs side by side: the selection still stays within each group.
TEST_F(OptionTest, GroupsSideBySideStayApart)
{
    ObjectNumber a = option(u"A");
    ObjectNumber b = option(u"B");
    ObjectNumber spare = text_create(GK_ANY, 0, 0, 0, 0, u"", 0);
    ASSERT_NE(spare, 0);
    control_free(spare);
    ObjectNumber c = option(u"C");
    ObjectNumber d = option(u"D");
    ASSERT_TRUE(a && b && c && d);
    EXPECT_EQ(GetWindow(gui_control_handle(c), GW_HWNDPREV), gui_control_handle(b));
    control_set_state(c, 1);
    control_set_state(a, 1);
    control_set_state(b, 1);
    EXPECT_EQ(states({a, b, c, d}), (std::vector<int>{0, 1, 1, 0}));
    control_set_state(d, 1);
    EXPECT_EQ(states({a, b, c, d}), (std::vector<int>{0, 1, 0, 1}));
}

// The first option of another window starts a group of its own, though the control made
// before it was an option too: a click there leaves the first window's options alone.
TEST_F(OptionTest, AnOptionInAnotherWindowStartsANewGroup)
{
    ObjectNumber here = option(u"Here");
    ASSERT_NE(here, 0);
    control_set_state(here, 1);
    ObjectNumber other = window_open(GK_ANY, 20, 20, 300, 200, u"Other window", GK_Window_SystemMenu, nullptr);
    ASSERT_NE(other, 0);
    ObjectNumber first = option_create(GK_ANY, 10, 10, 150, 20, u"There");
    ObjectNumber second = option_create(GK_ANY, 10, 40, 150, 20, u"Also there");
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(starts_group(first));
    EXPECT_FALSE(starts_group(second));
    ASSERT_EQ(event_bind_control(second, record_gadget_event), 1);
    ASSERT_TRUE(gui_bring_to_front(static_cast<HWND>(window_os_handle(other))));
    gui_click_client(gui_control_handle(second), 8, 10);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(second, EVENTTYPE_LEFT_CLICK) == 1; }));
    EXPECT_EQ(states({here, first, second}), (std::vector<int>{1, 0, 1}));
    gui_click_client(gui_control_handle(first), 8, 10);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(first) == 1; }));
    EXPECT_EQ(states({here, first, second}), (std::vector<int>{1, 1, 0}));
}

// A real click selects within the clicked option's group only and raises one event; the
// program's own selection raised none.
TEST_F(OptionTest, RealClicksMoveTheSelectionWithinTheGroup)
{
    const auto [a, b, c, d] = two_groups_around_a_text();
    ASSERT_TRUE(a && b && c && d);
    for (ObjectNumber one : {a, b, c, d})
        ASSERT_EQ(event_bind_control(one, record_gadget_event), 1);
    control_set_state(a, 1);
    control_set_state(c, 1);
    gui_wait_events_for(50);
    EXPECT_TRUE(g_gadget_events.empty());

    gui_click_client(gui_control_handle(b), 8, 10);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(b, EVENTTYPE_LEFT_CLICK) == 1; }));
    gui_wait_events_for(100);
    EXPECT_EQ(states({a, b, c, d}), (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(g_gadget_events.size(), 1u);

    gui_click_client(gui_control_handle(d), 8, 10);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(d, EVENTTYPE_LEFT_CLICK) == 1; }));
    EXPECT_EQ(states({a, b, c, d}), (std::vector<int>{0, 1, 0, 1}));
}

TEST_F(OptionTest, NaturalSizeIsTheTextWithRoomForTheCircle)
{
    ObjectNumber one = option(u"Morning");
    ASSERT_NE(one, 0);
    HWND handle = gui_control_handle(one);
    HDC context = GetDC(handle);
    HGDIOBJ previous = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(context, L"Morning", 7, &extent);
    SelectObject(context, previous);
    ReleaseDC(handle, context);
    int width = 0;
    int height = 0;
    ASSERT_EQ(control_required_size(one, &width, &height), 1);
    EXPECT_EQ(width, extent.cx + 20);
    EXPECT_EQ(height, extent.cy + 2 < 20 ? 20 : extent.cy + 2);
}

// Operations the kind does not have do nothing and answer 0; freeing an option in the middle
// of its group leaves the others working.
TEST_F(OptionTest, OtherOperationsAnswerZeroAndAGapIsHarmless)
{
    ObjectNumber a = option(u"A");
    ObjectNumber b = option(u"B");
    ObjectNumber c = option(u"C");
    ASSERT_TRUE(a && b && c);
    for (int attribute : {INT_MIN, -1, 1, INT_MAX}) {
        EXPECT_EQ(control_set_attribute(a, attribute, INTPTR_MIN), 0);
        EXPECT_EQ(control_get_attribute(a, attribute), 0);
    }
    EXPECT_EQ(control_set_color(a, CONTROL_COLOR_BACK, 255), 0);
    control_free(b);
    control_set_state(c, 1);
    control_set_state(a, 1);
    EXPECT_EQ(states({a, c}), (std::vector<int>{1, 0}));
    control_free(a);
    control_set_state(c, 1);
    EXPECT_EQ(control_get_state(c), 1);
}

}  // namespace
