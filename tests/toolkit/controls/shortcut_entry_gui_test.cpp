// Shortcut entries with real windows and real keys: the value both ways, Ctrl+Return taken
// by the entry instead of the window's shortcut (which fires again once the focus leaves),
// the keys the entry takes itself, modifiers alone raising nothing, natural size, and
// extreme values.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/shortcut_entry.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

constexpr int CTRL_RETURN = SHORTCUT_CONTROL + VK_RETURN;  // 0x2000D
constexpr int MENU_ITEM_POST = 1;

std::vector<std::pair<ObjectNumber, int>> g_gadget_events;
int g_menu_events = 0;

void record_gadget_event()
{
    g_gadget_events.emplace_back(event_control(), event_type());
}

void record_menu_event()
{
    ++g_menu_events;
}

// One key going down or up, nothing else.
void send_key(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

class ShortcutEntryTest : public ControlWindowTest {
protected:
    ShortcutEntryTest() : ControlWindowTest(u"Shortcut entry test", 400, 200) {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        entry = shortcut_create(GK_ANY, 10, 10, 200, 24, 0);
        ASSERT_NE(entry, 0);
        other = button_create(GK_ANY, 250, 10, 100, 26, u"Elsewhere", 0);
        ASSERT_NE(other, 0);
        g_gadget_events.clear();  // what making them raised
        g_menu_events = 0;
    }

    // Gives the entry the focus with a real click, then forgets what that raised.
    void focus_entry()
    {
        gui_click_client(gui_control_handle(entry), 20, 10);
        ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == gui_control_handle(entry); }));
        gui_wait_events_for(50);
        g_gadget_events.clear();
    }

    int events_of_entry() const
    {
        return static_cast<int>(std::count_if(g_gadget_events.begin(), g_gadget_events.end(),
                                              [&](const auto& event) { return event.first == entry; }));
    }

    ObjectNumber entry = 0;
    ObjectNumber other = 0;
};

TEST_F(ShortcutEntryTest, ValueRoundTripsThroughThePlatformEncoding)
{
    EXPECT_EQ(control_kind(entry), CONTROL_KIND_SHORTCUT);
    EXPECT_EQ(control_get_state(entry), 0);
    EXPECT_EQ(control_set_state(entry, SHORTCUT_CONTROL + 'A'), 1);
    EXPECT_EQ(control_get_state(entry), SHORTCUT_CONTROL + 'A');
    EXPECT_EQ(SendMessageW(gui_control_handle(entry), HKM_GETHOTKEY, 0, 0), MAKEWORD('A', HOTKEYF_CONTROL));
    control_set_state(entry, SHORTCUT_SHIFT + SHORTCUT_ALT + VK_F5);
    EXPECT_EQ(control_get_state(entry), SHORTCUT_SHIFT + SHORTCUT_ALT + VK_F5);
    control_set_state(entry, 0);
    EXPECT_EQ(control_get_state(entry), 0);

    ObjectNumber given = shortcut_create(GK_ANY, 10, 50, 200, 24, CTRL_RETURN);
    ASSERT_NE(given, 0);
    EXPECT_EQ(control_get_state(given), CTRL_RETURN);
}

// Out-of-range values keep only what the platform value can hold; nothing crashes.
TEST_F(ShortcutEntryTest, ExtremeValuesAndUnknownOperationsAreHarmless)
{
    constexpr int ALL_MODIFIERS = SHORTCUT_SHIFT + SHORTCUT_CONTROL + SHORTCUT_ALT;
    const std::pair<int, int> cases[] = {
        {INT_MIN, 0}, {INT_MAX, 0xFF + ALL_MODIFIERS}, {-1, 0xFF + ALL_MODIFIERS}, {SHORTCUT_ALT, 0}};
    for (const auto& [value, read] : cases) {
        control_set_state(entry, value);
        EXPECT_EQ(control_get_state(entry), read) << value;
    }
    for (int attribute : {INT_MIN, -1, 0, 1, INT_MAX}) {
        EXPECT_EQ(control_set_attribute(entry, attribute, INT_MIN), 0);
        EXPECT_EQ(control_get_attribute(entry, attribute), 0);
    }
    control_set_text(entry, u"Ctrl+B");
    control_set_state(entry, SHORTCUT_CONTROL + 'A');
    EXPECT_EQ(control_get_state(entry), SHORTCUT_CONTROL + 'A');
    EXPECT_NE(control_resize(entry, -10, INT_MIN / 2, -1, 0), 0);
    EXPECT_EQ(control_get_state(entry), SHORTCUT_CONTROL + 'A');
}

// Typed into the entry, Ctrl+Return becomes its value and the window's own Ctrl+Return
// shortcut does not fire; once the focus is elsewhere, the shortcut fires again.
TEST_F(ShortcutEntryTest, CtrlReturnIsTakenByTheEntryNotTheWindow)
{
    ASSERT_NE(shortcut_add(window, CTRL_RETURN, MENU_ITEM_POST), nullptr);
    ASSERT_EQ(event_bind_item(EVENT_MENU, record_menu_event, window, MENU_ITEM_POST), 1);
    ASSERT_EQ(event_bind_control(entry, record_gadget_event), 1);
    focus_entry();

    gui_press_key(VK_RETURN, false, true);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(entry) == CTRL_RETURN; }));
    gui_wait_events_for(200);
    EXPECT_EQ(control_get_state(entry), 0x2000D);
    EXPECT_EQ(g_menu_events, 0);
    EXPECT_GE(events_of_entry(), 1);
    for (const auto& [control, type] : g_gadget_events)
        EXPECT_EQ(type, 0);

    gui_click_client(gui_control_handle(other), 10, 10);
    ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == gui_control_handle(other); }));
    gui_press_key(VK_RETURN, false, true);
    ASSERT_TRUE(gui_wait_events_until([&] { return g_menu_events == 1; }));
    EXPECT_EQ(control_get_state(entry), CTRL_RETURN);
}

// Ctrl+Tab, Escape, Space and Delete would pass through the platform control; the entry takes
// each as its value, with the modifiers held, and raises one event for it. Ctrl+Tab does not
// move the focus away (plain Tab leaves the entry).
TEST_F(ShortcutEntryTest, KeysThePlatformLetsPassBecomeTheValue)
{
    ASSERT_EQ(event_bind_control(entry, record_gadget_event), 1);
    focus_entry();
    const std::pair<WORD, int> cases[] = {{VK_TAB, SHORTCUT_CONTROL + VK_TAB},
                                          {VK_ESCAPE, VK_ESCAPE},
                                          {VK_SPACE, VK_SPACE},
                                          {VK_DELETE, SHORTCUT_SHIFT + VK_DELETE}};
    for (const auto& [key, value] : cases) {
        g_gadget_events.clear();
        gui_press_key(key, key == VK_DELETE, key == VK_TAB);
        ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(entry) == value; })) << key;
        gui_wait_events_for(100);
        EXPECT_EQ(control_get_state(entry), value) << key;
        EXPECT_GE(events_of_entry(), 1) << key;
        EXPECT_EQ(GetFocus(), gui_control_handle(entry)) << key;
    }
    // An ordinary key with a modifier is the platform control's own.
    gui_press_key('K', false, true, true);
    ASSERT_TRUE(gui_wait_events_until(
        [&] { return control_get_state(entry) == SHORTCUT_CONTROL + SHORTCUT_ALT + 'K'; }));
}

// While only Shift is held the entry holds modifiers alone: no event. Releasing it leaves
// the entry empty, which is reported.
TEST_F(ShortcutEntryTest, HoldingOnlyShiftRaisesNoEvent)
{
    ASSERT_EQ(event_bind_control(entry, record_gadget_event), 1);
    focus_entry();
    send_key(VK_SHIFT, false);
    ASSERT_TRUE(gui_wait_events_until([] { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }));
    gui_wait_events_for(200);
    EXPECT_EQ(events_of_entry(), 0);
    EXPECT_EQ(control_get_state(entry), 0);
    send_key(VK_SHIFT, true);
    ASSERT_TRUE(gui_wait_events_until([] { return (GetKeyState(VK_SHIFT) & 0x8000) == 0; }));
    gui_wait_events_for(100);
    EXPECT_EQ(control_get_state(entry), 0);
}

// The program's own changes raise nothing.
TEST_F(ShortcutEntryTest, ProgramChangesRaiseNoEvents)
{
    ASSERT_EQ(event_bind_control(entry, record_gadget_event), 1);
    control_set_state(entry, SHORTCUT_CONTROL + 'A');
    control_set_state(entry, 0);
    gui_wait_events_for(100);
    EXPECT_TRUE(g_gadget_events.empty());
}

// Only the edges wide; "Hg" in the control's font inside the edges, at least 20 high.
TEST_F(ShortcutEntryTest, NaturalSizeIsTheEdgesByOneLine)
{
    int width = 0;
    int height = 0;
    ASSERT_NE(control_required_size(entry, &width, &height), 0);
    EXPECT_EQ(width, 2 * GetSystemMetrics(SM_CXEDGE));
    HWND window_handle = gui_control_handle(entry);
    HDC context = GetDC(window_handle);
    HGDIOBJ previous = SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(window_handle, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32W(context, L"Hg", 2, &extent);
    SelectObject(context, previous);
    ReleaseDC(window_handle, context);
    EXPECT_EQ(height, std::max<int>(extent.cy + 2 * GetSystemMetrics(SM_CYEDGE), 20));
}

}  // namespace
