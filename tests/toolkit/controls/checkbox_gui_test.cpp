// Check boxes with real windows: two states by the platform, three by the control's own
// toggle, one event per real click, none for the program's changes, the natural size, and
// flags and values out of range.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <utility>
#include <vector>

namespace {

// The text's one-line extent in the control's own font, measured here independently.
SIZE text_extent(HWND control, const wchar_t* text)
{
    HDC context = GetDC(control);
    HGDIOBJ previous = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(context, text, static_cast<int>(wcslen(text)), &extent);
    SelectObject(context, previous);
    ReleaseDC(control, context);
    return extent;
}

class CheckboxTest : public ControlWindowTest {
protected:
    CheckboxTest() : ControlWindowTest(u"Check box test") {}

    // Clicks the box for real and waits for the click's event.
    void click(ObjectNumber box)
    {
        int before = count_events(box, EVENTTYPE_LEFT_CLICK);
        gui_click_client(gui_control_handle(box), 8, 10);
        ASSERT_TRUE(gui_wait_events_until([&] { return count_events(box, EVENTTYPE_LEFT_CLICK) > before; }));
        gui_wait_events_for(100);
    }
};

TEST_F(CheckboxTest, TwoStateBoxReadsMinusOneAsChecked)
{
    ObjectNumber box = checkbox_create(GK_ANY, 10, 10, 150, 20, u"Two states", 0);
    ASSERT_NE(box, 0);
    EXPECT_EQ(control_kind(box), CONTROL_KIND_CHECKBOX);
    EXPECT_EQ(GetWindowLongPtrW(gui_control_handle(box), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(control_get_state(box), 0);
    const std::pair<int, int> cases[] = {{-1, 1}, {0, 0}, {INT_MIN, 1}, {INT_MAX, 1}, {2, 1}, {0, 0}};
    for (const auto& [set, read] : cases) {
        EXPECT_EQ(control_set_state(box, set), 1);
        EXPECT_EQ(control_get_state(box), read) << set;
    }
}

// The indeterminate state is the program's; a click leaves it for checked, the next for
// unchecked, and each click raises exactly one event.
TEST_F(CheckboxTest, ThreeStateBoxTogglesByRealClicksWithOneEventEach)
{
    ObjectNumber box = checkbox_create(GK_ANY, 10, 10, 150, 20, u"Three states", GK_CheckBox_ThreeState);
    ASSERT_NE(box, 0);
    EXPECT_EQ(GetWindowLongPtrW(gui_control_handle(box), GWL_STYLE) & BS_TYPEMASK, BS_3STATE);
    ASSERT_EQ(event_bind_control(box, record_gadget_event), 1);
    control_set_state(box, -1);
    EXPECT_EQ(control_get_state(box), -1);
    gui_wait_events_for(50);
    EXPECT_TRUE(g_gadget_events.empty());

    click(box);
    EXPECT_EQ(control_get_state(box), 1);
    EXPECT_EQ(count_events(box, EVENTTYPE_LEFT_CLICK), 1);
    click(box);
    EXPECT_EQ(control_get_state(box), 0);
    EXPECT_EQ(count_events(box, EVENTTYPE_LEFT_CLICK), 2);
    click(box);
    EXPECT_EQ(control_get_state(box), 1);
    EXPECT_EQ(g_gadget_events.size(), 3u);
}

TEST_F(CheckboxTest, TwoStateBoxTogglesByTheSpaceKeyAndClicks)
{
    ObjectNumber box = checkbox_create(GK_ANY, 10, 10, 150, 20, u"Keys too", GK_CheckBox_Right);
    ASSERT_NE(box, 0);
    EXPECT_TRUE(GetWindowLongPtrW(gui_control_handle(box), GWL_STYLE) & BS_RIGHT);
    ASSERT_EQ(event_bind_control(box, record_gadget_event), 1);
    click(box);
    EXPECT_EQ(control_get_state(box), 1);
    gui_press_key(VK_SPACE);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(box, EVENTTYPE_LEFT_CLICK) == 2; }));
    EXPECT_EQ(control_get_state(box), 0);
}

// The text's extent + 20 by its height + 2, at least 20.
TEST_F(CheckboxTest, NaturalSizeIsTheTextWithRoomForTheBox)
{
    ObjectNumber box = checkbox_create(GK_ANY, 10, 10, 0, 0, u"A longer label", 0);
    ObjectNumber empty = checkbox_create(GK_ANY, 10, 40, 0, 0, nullptr, 0);
    ASSERT_TRUE(box && empty);
    SIZE extent = text_extent(gui_control_handle(box), L"A longer label");
    int width = 0;
    int height = 0;
    ASSERT_EQ(control_required_size(box, &width, &height), 1);
    EXPECT_EQ(width, extent.cx + 20);
    EXPECT_EQ(height, std::max<int>(extent.cy + 2, 20));
    ASSERT_EQ(control_required_size(empty, &width, &height), 1);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, std::max<int>(text_extent(gui_control_handle(empty), L"").cy + 2, 20));
}

// Flags are button styles: window styles in them are not taken, and a type other than the
// three-state one gives a plain check box, never another kind of button.
TEST_F(CheckboxTest, FlagsNeverMakeAnotherKindOfWindow)
{
    ObjectNumber all = checkbox_create(GK_ANY, 10, 10, 100, 20, u"All", 0xFFFFFFFF);
    ObjectNumber group = checkbox_create(GK_ANY, 10, 40, 100, 20, u"Seven", 0x7);
    ObjectNumber push = checkbox_create(GK_ANY, 10, 70, 100, 20, u"Nine", 0x9);
    ASSERT_TRUE(all && group && push);
    LONG_PTR style = GetWindowLongPtrW(gui_control_handle(all), GWL_STYLE);
    EXPECT_FALSE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_DISABLED);
    EXPECT_EQ(style & BS_TYPEMASK, BS_3STATE);
    EXPECT_EQ(GetParent(gui_control_handle(all)), static_cast<HWND>(window_os_handle(window)));
    EXPECT_EQ(GetWindowLongPtrW(gui_control_handle(group), GWL_STYLE) & BS_TYPEMASK, BS_3STATE);
    EXPECT_EQ(GetWindowLongPtrW(gui_control_handle(push), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    control_set_state(group, -1);
    EXPECT_EQ(control_get_state(group), -1);
}

// Operations the kind does not have do nothing and answer 0.
TEST_F(CheckboxTest, OtherOperationsAnswerZero)
{
    ObjectNumber box = checkbox_create(GK_ANY, 10, 10, 100, 20, u"Box", 0);
    ASSERT_NE(box, 0);
    for (int attribute : {INT_MIN, -1, 0, 1, 2, INT_MAX}) {
        EXPECT_EQ(control_set_attribute(box, attribute, INTPTR_MAX), 0);
        EXPECT_EQ(control_get_attribute(box, attribute), 0);
    }
    EXPECT_EQ(control_add_item(box, -1, u"item"), 0);
    EXPECT_EQ(control_count_items(box), 0);
    EXPECT_EQ(control_set_text(box, u"Renamed"), 1);
    EXPECT_EQ(control_get_text(box), u"Renamed");
    EXPECT_EQ(control_get_state(box), 0);
}

}  // namespace
