#include "tests/support/gui_input.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/string_field.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr COLORREF RED = 255;
constexpr COLORREF BLUE = 0xFF0000;

std::vector<int> g_change_types;

void on_gadget()
{
    g_change_types.push_back(event_type());
}

// Removes every queued event and returns the ones of EVENT_GADGET for the control.
int drain_gadget_events(ObjectNumber control)
{
    int found = 0;
    while (event_pop())
        found += event_number() == EVENT_GADGET && event_control() == control;
    return found;
}

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_toolkit());
        window = window_open(GK_ANY, UNCHANGED, UNCHANGED, 360, 240, u"Control test",
                             GK_Window_SystemMenu | GK_Window_ScreenCentered, nullptr);
        ASSERT_NE(window, 0);
        handle = static_cast<HWND>(window_os_handle(window));
        ASSERT_TRUE(gui_bring_to_front(handle));
        g_change_types.clear();
    }

    void TearDown() override
    {
        window_close(GK_ANY);
        gui_drain_queue();
        control_set_font(-1, CONTROL_FONT_DEFAULT);
    }

    ObjectNumber window = 0;
    HWND handle = nullptr;
};

TEST_F(ControlTest, ProgramChangesRaiseNothingButTypingRaisesChange)
{
    ObjectNumber field = string_create(GK_ANY, 10, 10, 200, 24, u"start", 0);
    ASSERT_NE(field, 0);
    ASSERT_EQ(event_bind(EVENT_GADGET, on_gadget, window, field, -1), 1);
    gui_pump_messages_for(50);
    gui_drain_queue();
    g_change_types.clear();

    ASSERT_EQ(control_set_text(field, u"set by program"), 1);
    EXPECT_EQ(control_get_text(field), u"set by program");
    EXPECT_EQ(control_set_text(field, nullptr), 1);
    EXPECT_EQ(gui_window_text(static_cast<HWND>(control_os_handle(field))), u"");
    gui_pump_messages_for(50);
    EXPECT_TRUE(g_change_types.empty());
    EXPECT_EQ(drain_gadget_events(field), 0);

    control_activate(field);
    ASSERT_TRUE(gui_pump_messages_until([&] { return GetFocus() == control_os_handle(field); }));
    gui_type_text(u"h\u00e9\U0001F600");
    std::vector<int> events;
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(field) == u"h\u00e9\U0001F600"; }, 5000, &events));
    gui_wait_events_for(100, &events);
    EXPECT_NE(std::count(g_change_types.begin(), g_change_types.end(), EVENTTYPE_CHANGE), 0);
    EXPECT_NE(std::count(g_change_types.begin(), g_change_types.end(), EVENTTYPE_FOCUS), 0);
    EXPECT_NE(std::count(events.begin(), events.end(), EVENT_GADGET), 0);

    control_activate(-1);
    gui_wait_events_for(50);
    EXPECT_NE(std::count(g_change_types.begin(), g_change_types.end(), EVENTTYPE_LOST_FOCUS), 0);
}

TEST_F(ControlTest, ClickingAButtonRaisesTypeZeroAndToggleKeepsItsState)
{
    ObjectNumber button = button_create(GK_ANY, 20, 20, 120, 30, u"Press", 0);
    ObjectNumber toggle = button_create(GK_ANY, 20, 70, 120, 30, u"Toggle", GK_Button_Toggle);
    ASSERT_TRUE(button && toggle);
    ASSERT_EQ(event_bind(EVENT_GADGET, on_gadget, window, button, -1), 1);
    POINT centre = gui_window_center(static_cast<HWND>(control_os_handle(button)));
    gui_click_screen(centre.x, centre.y);
    ASSERT_TRUE(gui_wait_events_until([] { return !g_change_types.empty(); }));
    EXPECT_EQ(g_change_types, std::vector<int>{EVENTTYPE_LEFT_CLICK});

    EXPECT_EQ(control_get_state(toggle), 0);
    EXPECT_EQ(control_set_state(toggle, 1), 1);
    EXPECT_EQ(control_get_state(toggle), 1);
    EXPECT_EQ(SendMessageW(static_cast<HWND>(control_os_handle(toggle)), BM_GETCHECK, 0, 0), BST_CHECKED);
    centre = gui_window_center(static_cast<HWND>(control_os_handle(toggle)));
    gui_click_screen(centre.x, centre.y);
    EXPECT_TRUE(gui_wait_events_until([&] { return control_get_state(toggle) == 0; }));
}

TEST_F(ControlTest, ControlDestroyedWithItsWindowLeavesNoEventAndFreesItsNumber)
{
    constexpr ObjectNumber FIELD = 5;
    ASSERT_NE(string_create(FIELD, 10, 10, 200, 24, u"", 0), 0);
    ObjectNumber label = text_create(GK_ANY, 10, 40, 200, 20, u"label", 0);
    ASSERT_NE(label, 0);
    control_activate(FIELD);
    ASSERT_TRUE(gui_pump_messages_until([&] { return GetFocus() == control_os_handle(FIELD); }));
    gui_type_text(u"queued");
    ASSERT_TRUE(gui_pump_messages_until([&] { return control_get_text(FIELD) == u"queued"; }));
    ASSERT_GT(event_queue_length(), 0u);

    window_close(window);
    EXPECT_EQ(control_exists(FIELD), 0);
    EXPECT_EQ(control_exists(label), 0);
    EXPECT_EQ(drain_gadget_events(FIELD), 0);
    EXPECT_EQ(container_current(), nullptr);
    EXPECT_EQ(text_create(GK_ANY, 0, 0, 10, 10, u"nowhere", 0), 0);

    ObjectNumber other = window_open(GK_ANY, 0, 0, 200, 100, u"Second", 0, nullptr);
    ASSERT_NE(other, 0);
    ObjectNumber made = text_create(FIELD, 0, 0, 100, 20, u"again", 0);
    EXPECT_EQ(reinterpret_cast<void*>(made), control_os_handle(FIELD));
    EXPECT_EQ(control_kind(FIELD), CONTROL_KIND_TEXT);
    EXPECT_EQ(GetParent(static_cast<HWND>(control_os_handle(FIELD))), window_os_handle(other));
}

// Freeing a control with a dynamic number drops its bindings, so a later control that is
// given the same number runs none of them; a fixed number keeps its bindings.
TEST_F(ControlTest, FreeingADynamicControlDropsItsBindingsAndFixedOnesStay)
{
    constexpr ObjectNumber FIXED = 7;
    std::size_t before = event_binding_count();
    ObjectNumber dynamic = button_create(GK_ANY, 10, 10, 80, 24, u"Once", 0);
    ASSERT_NE(dynamic, 0);
    ASSERT_EQ(event_bind_control(dynamic, on_gadget), 1);
    ASSERT_EQ(event_bind(EVENT_GADGET, on_gadget, GK_ANY, dynamic, EVENTTYPE_LEFT_CLICK), 1);
    ASSERT_NE(button_create(FIXED, 10, 40, 80, 24, u"Fixed", 0), 0);
    ASSERT_EQ(event_bind_control(FIXED, on_gadget), 1);
    EXPECT_EQ(event_binding_count(), before + 3);

    ASSERT_EQ(control_free(dynamic), 1);
    ASSERT_EQ(control_free(FIXED), 1);
    EXPECT_EQ(event_binding_count(), before + 1);
    event_post(EVENT_GADGET, dynamic, window, EVENTTYPE_LEFT_CLICK);
    EXPECT_TRUE(g_change_types.empty());
    event_post(EVENT_GADGET, FIXED, window, EVENTTYPE_LEFT_CLICK);
    EXPECT_EQ(g_change_types.size(), 1u);
}

TEST_F(ControlTest, ColoursShowAndResetWithoutHoldingBrushes)
{
    ObjectNumber label = text_create(GK_ANY, 10, 10, 200, 30, u"WWWWWWWW", GK_Text_Right);
    ObjectNumber twin = text_create(GK_ANY, 10, 50, 200, 30, u"twin", 0);
    ASSERT_TRUE(label && twin);
    auto label_window = static_cast<HWND>(control_os_handle(label));
    LOGFONTW big = {};
    big.lfHeight = -28;
    big.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&big);
    control_set_font(label, reinterpret_cast<std::intptr_t>(font));
    gui_pump_messages_for(50);
    std::size_t brushes = brush_count();

    EXPECT_EQ(control_get_color(label, CONTROL_COLOR_FRONT), -1);
    ASSERT_EQ(control_set_color(label, CONTROL_COLOR_FRONT, RED), 1);
    EXPECT_EQ(control_get_color(label, CONTROL_COLOR_FRONT), static_cast<std::int32_t>(RED));
    EXPECT_TRUE(gui_window_shows_color(label_window, RED));
    EXPECT_EQ(brush_count(), brushes);
    ASSERT_EQ(control_set_color(label, CONTROL_COLOR_FRONT, -1), 1);
    EXPECT_EQ(control_get_color(label, CONTROL_COLOR_FRONT), -1);
    EXPECT_FALSE(gui_window_shows_color(label_window, RED));
    EXPECT_TRUE(gui_window_shows_color(label_window, GetSysColor(COLOR_BTNTEXT)));
    EXPECT_EQ(brush_count(), brushes);

    // Two labels with one back colour share one brush; it goes with the last of them.
    ASSERT_EQ(control_set_color(label, CONTROL_COLOR_BACK, BLUE), 1);
    ASSERT_EQ(control_set_color(twin, CONTROL_COLOR_BACK, BLUE), 1);
    EXPECT_EQ(brush_count(), brushes + 1);
    EXPECT_TRUE(gui_window_shows_color(label_window, BLUE));
    ASSERT_EQ(control_set_color(label, CONTROL_COLOR_BACK, -1), 1);
    EXPECT_EQ(brush_count(), brushes + 1);
    EXPECT_FALSE(gui_window_shows_color(label_window, BLUE));
    control_free(twin);
    EXPECT_EQ(brush_count(), brushes);
    EXPECT_EQ(control_set_color(label, 3, RED), 0);
    DeleteObject(font);
}

// The measurements the natural sizes are made of, in the control's own font.
SIZE extent_of(HWND control, const wchar_t* text, bool draw_text)
{
    HDC context = GetDC(control);
    HGDIOBJ previous = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    if (draw_text) {
        RECT rect = {};
        DrawTextW(context, text, -1, &rect, DT_CALCRECT | DT_NOPREFIX);
        size = SIZE{rect.right, rect.bottom};
    } else {
        GetTextExtentPoint32W(context, text, static_cast<int>(wcslen(text)), &size);
    }
    SelectObject(context, previous);
    ReleaseDC(control, context);
    return size;
}

TEST_F(ControlTest, NaturalSizesFollowTheTextInTheControlsFont)
{
    LOGFONTW big = {};
    big.lfHeight = -30;
    HFONT font = CreateFontIndirectW(&big);
    ASSERT_EQ(control_set_font(-1, reinterpret_cast<std::intptr_t>(font)), 1);
    ObjectNumber label = text_create(GK_ANY, 0, 0, 0, 0, u"Two\nlines here", 0);
    ObjectNumber bordered = text_create(GK_ANY, 0, 0, 0, 0, u"Bordered", GK_Text_Border);
    ObjectNumber button = button_create(GK_ANY, 0, 0, 0, 0, u"Save note", 0);
    ObjectNumber field = string_create(GK_ANY, 0, 0, 0, 0, u"ignored text", 0);
    ASSERT_TRUE(label && bordered && button && field);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(static_cast<HWND>(control_os_handle(label)), WM_GETFONT, 0, 0)),
              font);
    int edge_x = GetSystemMetrics(SM_CXEDGE);
    int edge_y = GetSystemMetrics(SM_CYEDGE);
    int width = 0;
    int height = 0;

    SIZE text = extent_of(static_cast<HWND>(control_os_handle(label)), L"Two\nlines here", true);
    ASSERT_EQ(control_required_size(label, &width, &height), 1);
    EXPECT_EQ(width, text.cx + 2);
    EXPECT_EQ(height, text.cy + 2);
    SIZE one_line = extent_of(static_cast<HWND>(control_os_handle(label)), L"Two", false);
    EXPECT_GT(height, 2 * one_line.cy);

    text = extent_of(static_cast<HWND>(control_os_handle(bordered)), L"Bordered", true);
    control_required_size(bordered, &width, &height);
    EXPECT_EQ(width, text.cx + 2 * edge_x);
    EXPECT_EQ(height, text.cy + 2 * edge_y);

    text = extent_of(static_cast<HWND>(control_os_handle(button)), L"Save note", false);
    control_required_size(button, &width, &height);
    EXPECT_EQ(width, text.cx + 10 + 2 * edge_x);
    EXPECT_EQ(height, std::max<int>(text.cy + 2 * edge_y, 24));

    text = extent_of(static_cast<HWND>(control_os_handle(field)), L"Hg", false);
    control_required_size(field, &width, &height);
    EXPECT_EQ(width, 2 * edge_x);
    EXPECT_EQ(height, std::max<int>(text.cy + 2 * edge_y, 20));

    // In the small stock font the minimum heights hold.
    control_set_font(button, CONTROL_FONT_DEFAULT);
    control_set_font(field, CONTROL_FONT_DEFAULT);
    text = extent_of(static_cast<HWND>(control_os_handle(button)), L"Save note", false);
    control_required_size(button, &width, &height);
    EXPECT_EQ(height, std::max<int>(text.cy + 2 * edge_y, 24));
    control_required_size(field, &width, &height);
    EXPECT_GE(height, 20);

    control_free(GK_ANY);
    DeleteObject(font);
}

TEST_F(ControlTest, OperationsOnUnknownNumbersAndMissingSlotsDoNothing)
{
    ObjectNumber label = text_create(GK_ANY, 10, 10, 100, 20, u"label", 0);
    ObjectNumber button = button_create(GK_ANY, 10, 40, 100, 24, u"button", 0);
    ASSERT_TRUE(label && button);
    for (ObjectNumber control : {label + 8, static_cast<ObjectNumber>(4000)}) {
        int width = 7;
        int height = 7;
        EXPECT_EQ(control_exists(control), 0);
        EXPECT_EQ(control_os_handle(control), nullptr);
        EXPECT_EQ(control_set_text(control, u"x"), 0);
        EXPECT_EQ(control_get_text(control), u"");
        EXPECT_EQ(control_set_state(control, 1), 0);
        EXPECT_EQ(control_get_state(control), 0);
        EXPECT_EQ(control_add_item(control, -1, u"x"), 0);
        EXPECT_EQ(control_count_items(control), 0);
        EXPECT_EQ(control_get_item_text(control, 0), u"");
        EXPECT_EQ(control_set_color(control, CONTROL_COLOR_FRONT, RED), 0);
        EXPECT_EQ(control_set_font(control, CONTROL_FONT_DEFAULT), 0);
        EXPECT_EQ(control_activate(control), 0);
        EXPECT_EQ(control_disable(control, 1), 0);
        EXPECT_EQ(control_hide(control, 1), 0);
        EXPECT_EQ(control_resize(control, 1, 1, 1, 1), 0);
        EXPECT_EQ(control_required_size(control, &width, &height), 0);
        EXPECT_EQ(width + height, 0);
        EXPECT_EQ(control_free(control), 0);
        EXPECT_EQ(container_open_list(control), 0);
    }

    // Kinds without the slot: a label has no items or state, a button no colours.
    EXPECT_EQ(control_add_item(label, -1, u"item"), 0);
    EXPECT_EQ(control_count_items(label), 0);
    EXPECT_EQ(control_get_item_text(label, 0), u"");
    EXPECT_EQ(control_set_item_text(label, 0, u"x"), 0);
    EXPECT_EQ(control_remove_item(label, 0), 0);
    EXPECT_EQ(control_set_state(label, 1), 0);
    EXPECT_EQ(control_set_attribute(button, 1, 5), 0);
    EXPECT_EQ(control_set_color(button, CONTROL_COLOR_BACK, BLUE), 0);
    EXPECT_EQ(container_open_list(label), 0);
    EXPECT_EQ(control_get_text(label), u"label");
    EXPECT_EQ(brush_count(), 0u);
}

TEST_F(ControlTest, GenericPlatformOperationsAndStringAttributes)
{
    ObjectNumber field = string_create(GK_ANY, 10, 10, 120, 24, u"", 0);
    ASSERT_NE(field, 0);
    auto field_window = static_cast<HWND>(control_os_handle(field));
    ASSERT_EQ(control_resize(field, 30, UNCHANGED, 150, UNCHANGED), 1);
    EXPECT_EQ(control_x(field), 30);
    EXPECT_EQ(control_y(field), 10);
    EXPECT_EQ(control_width(field), 150);
    EXPECT_EQ(control_height(field), 24);

    ASSERT_EQ(control_set_attribute(field, STRING_ATTRIBUTE_MAX_LENGTH, 4), 1);
    EXPECT_EQ(control_get_attribute(field, STRING_ATTRIBUTE_MAX_LENGTH), 4);
    control_set_attribute(field, STRING_ATTRIBUTE_MAX_LENGTH, 0);
    EXPECT_EQ(control_get_attribute(field, STRING_ATTRIBUTE_MAX_LENGTH), 1);
    control_set_attribute(field, STRING_ATTRIBUTE_MAX_LENGTH, 4);
    control_activate(field);
    gui_type_text(u"abcdefg");
    EXPECT_TRUE(gui_wait_events_until([&] { return control_get_text(field) == u"abcd"; }));

    control_disable(field, 1);
    EXPECT_FALSE(IsWindowEnabled(field_window));
    control_hide(field, 1);
    EXPECT_FALSE(IsWindowVisible(field_window));
    control_hide(field, 0);
    EXPECT_TRUE(IsWindowVisible(field_window));
}

}  // namespace
