// The toolkit's hooks for further control kinds: binding a control's events through the
// control alone, the message filter that event_wait consults before the accelerators, and
// notifications of a control's companion window.
#include "tests/support/gadget_events.h"

#include "tests/support/gui_input.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

namespace {

constexpr int MENU_ITEM = 77;

int g_menu_items = 0;
int g_filtered_keys = 0;
bool g_swallow = false;
std::vector<HWND> g_notified_from;

void on_menu()
{
    ++g_menu_items;
}

int key_filter(unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message != WM_KEYDOWN || wparam != VK_F7)
        return 0;
    ++g_filtered_keys;
    return g_swallow ? 1 : 0;
}

std::intptr_t record_notification(ControlRecord*, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message == WM_COMMAND)
        g_notified_from.push_back(reinterpret_cast<HWND>(lparam));
    return CONTROL_NOT_HANDLED;
}

const ControlOps RECORDING_OPS = {.kind = 900, .notify = record_notification};

class EventHooksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_toolkit());
        window = window_open(GK_ANY, UNCHANGED, UNCHANGED, 300, 200, u"Hooks test",
                             GK_Window_SystemMenu | GK_Window_ScreenCentered, nullptr);
        ASSERT_NE(window, 0);
        handle = static_cast<HWND>(window_os_handle(window));
        ASSERT_TRUE(gui_bring_to_front(handle));
        g_gadget_events.clear();
        g_notified_from.clear();
    }

    void TearDown() override
    {
        event_set_message_filter(nullptr);
        window_close(GK_ANY);
        gui_drain_queue();
    }

    ObjectNumber window = 0;
    HWND handle = nullptr;
};

TEST_F(EventHooksTest, BindControlFindsTheWindowAndFiltersByType)
{
    ObjectNumber button = button_create(GK_ANY, 10, 10, 100, 30, u"Press", 0);
    ASSERT_NE(button, 0);
    EXPECT_EQ(event_bind_control(button, record_gadget_event), 1);
    EXPECT_EQ(event_bind_control(button, record_gadget_event, 5), 1);
    EXPECT_EQ(event_bind_control(12345, record_gadget_event), 0);

    gui_click_client(static_cast<HWND>(control_os_handle(button)), 50, 15);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(button, 0) > 0; }));
    // Only the binding for any type ran; the one for type 5 did not.
    EXPECT_EQ(count_events(button, 0), 1);
    EXPECT_EQ(event_unbind(EVENT_GADGET, record_gadget_event, window, button, -1), 1);
    EXPECT_EQ(event_unbind(EVENT_GADGET, record_gadget_event, window, button, 5), 1);
}

// The filter sees a shortcut's key before the accelerator table: swallowing it keeps the
// shortcut from firing; letting it go leaves the shortcut working.
TEST_F(EventHooksTest, MessageFilterRunsBeforeTheShortcuts)
{
    ASSERT_NE(shortcut_add(window, VK_F7, MENU_ITEM), nullptr);
    ASSERT_EQ(event_bind_item(EVENT_MENU, on_menu, window, MENU_ITEM), 1);
    event_set_message_filter(key_filter);
    g_menu_items = 0;
    g_filtered_keys = 0;

    g_swallow = true;
    gui_press_key(VK_F7);
    ASSERT_TRUE(gui_wait_events_until([] { return g_filtered_keys == 1; }));
    gui_wait_events_for(100);
    EXPECT_EQ(g_menu_items, 0);

    g_swallow = false;
    gui_press_key(VK_F7);
    ASSERT_TRUE(gui_wait_events_until([] { return g_menu_items == 1; }));
    EXPECT_EQ(g_filtered_keys, 2);

    event_set_message_filter(nullptr);
    gui_press_key(VK_F7);
    ASSERT_TRUE(gui_wait_events_until([] { return g_menu_items == 2; }));
    EXPECT_EQ(g_filtered_keys, 2);
}

// A companion window that carries the control's number reaches the control's kind; a window
// that only shares the identifier, without the property, does not.
TEST_F(EventHooksTest, CompanionNotificationsReachTheirControl)
{
    HWND main = CreateWindowExW(0, L"Button", L"main", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, handle, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ControlRecord* record = nullptr;
    ObjectNumber control = control_register(GK_ANY, main, &RECORDING_OPS, &record);
    ASSERT_NE(control, 0);
    auto make_button = [&](int x) {
        return CreateWindowExW(0, L"Button", L"part", WS_CHILD | WS_VISIBLE, x, 10, 80, 30, handle,
                               reinterpret_cast<HMENU>(control), GetModuleHandleW(nullptr), nullptr);
    };
    HWND companion = make_button(100);
    HWND stranger = make_button(190);
    SetPropW(companion, L"GK_ID", reinterpret_cast<HANDLE>(control));

    gui_click_client(companion, 40, 15);
    ASSERT_TRUE(gui_pump_messages_until([] { return !g_notified_from.empty(); }));
    EXPECT_EQ(g_notified_from.front(), companion);

    gui_click_client(stranger, 40, 15);
    gui_click_client(main, 40, 15);
    ASSERT_TRUE(gui_pump_messages_until([] { return g_notified_from.size() >= 2; }));
    gui_pump_messages_for(100);
    ASSERT_EQ(g_notified_from.size(), 2u);
    EXPECT_EQ(g_notified_from.back(), main);
    RemovePropW(companion, L"GK_ID");
}

}  // namespace
