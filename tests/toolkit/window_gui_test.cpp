#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/string_field.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::uint32_t MAIN_FLAGS = GK_Window_SystemMenu | GK_Window_SizeGadget | GK_Window_ScreenCentered;

int g_menu_handler_runs = 0;

void on_menu_item()
{
    ++g_menu_handler_runs;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_toolkit());
        window = window_open(GK_ANY, UNCHANGED, UNCHANGED, 320, 200, u"Window test", MAIN_FLAGS, nullptr);
        ASSERT_NE(window, 0);
        handle = static_cast<HWND>(window_os_handle(window));
        ASSERT_TRUE(gui_bring_to_front(handle));
        gui_wait_events_for(100);
        gui_drain_queue();
    }

    void TearDown() override
    {
        window_close(GK_ANY);
        gui_drain_queue();
    }

    // Waits until event_wait returns an event of that number, which is then the current one.
    static bool wait_for(int event)
    {
        std::vector<int> events;
        return gui_wait_events_until(
            [&] { return std::find(events.begin(), events.end(), event) != events.end(); }, 5000, &events);
    }

    ObjectNumber window = 0;
    HWND handle = nullptr;
};

TEST_F(WindowTest, OpensWithTheInnerSizeAndTitleAndRefusesUnknownNumbers)
{
    EXPECT_EQ(window_client_width(window), 320);
    EXPECT_EQ(window_client_height(window), 200);
    EXPECT_EQ(gui_window_text(handle), u"Window test");
    EXPECT_EQ(window_set_title(window, u"Renamed \u00e9t\u00e9"), 1);
    EXPECT_EQ(window_get_title(window), u"Renamed \u00e9t\u00e9");
    EXPECT_EQ(window_set_title(window, nullptr), 0);
    EXPECT_EQ(gui_window_text(handle), u"Renamed \u00e9t\u00e9");

    ObjectNumber unknown = window + 64;
    EXPECT_EQ(window_exists(unknown), 0);
    EXPECT_EQ(window_os_handle(unknown), nullptr);
    EXPECT_EQ(window_set_title(unknown, u"x"), 0);
    EXPECT_EQ(window_resize(unknown, 1, 1, 1, 1), 0);
    EXPECT_EQ(window_set_bounds(unknown, 1, 1, 1, 1), 0);
    EXPECT_EQ(window_hide(unknown, 1, 0), 0);
    EXPECT_EQ(window_client_width(unknown), 0);
    EXPECT_EQ(window_close(unknown), 0);
    EXPECT_EQ(shortcut_add(unknown, VK_F2, 3), nullptr);
    EXPECT_EQ(shortcut_remove(unknown, -1), 0);
    EXPECT_EQ(timer_add(unknown, 9, 10), 0);
    EXPECT_EQ(timer_remove(unknown, 9), 0);
}

TEST_F(WindowTest, CentresHidesAndGivesTheFocusBackOnActivation)
{
    RECT frame;
    GetWindowRect(handle, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    ObjectNumber field = string_create(GK_ANY, 10, 10, 100, 22, u"", 0);
    ObjectNumber other_field = string_create(GK_ANY, 10, 40, 100, 22, u"", 0);
    ASSERT_TRUE(field && other_field);
    control_activate(other_field);
    ObjectNumber other = window_open(GK_ANY, 0, 0, 200, 100, u"Other window", MAIN_FLAGS, nullptr);
    ASSERT_NE(other, 0);
    auto other_handle = static_cast<HWND>(window_os_handle(other));
    ASSERT_TRUE(gui_bring_to_front(other_handle));
    std::vector<int> events;
    gui_wait_events_for(100, &events);
    EXPECT_NE(std::count(events.begin(), events.end(), EVENT_DEACTIVATE_WINDOW), 0);

    ASSERT_TRUE(gui_bring_to_front(handle));
    EXPECT_TRUE(gui_wait_events_until([&] { return GetFocus() == control_os_handle(other_field); }));

    ASSERT_EQ(window_hide(other, 1, 0), 1);
    EXPECT_FALSE(IsWindowVisible(other_handle));
    ASSERT_EQ(window_hide(other, 0, GK_Window_ScreenCentered | GK_Window_NoActivate), 1);
    EXPECT_TRUE(IsWindowVisible(other_handle));
    EXPECT_EQ(GetForegroundWindow(), handle);
    GetWindowRect(other_handle, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
}

TEST_F(WindowTest, CloseBoxRaisesCloseEventAndLeavesWindowOpen)
{
    RECT frame;
    GetWindowRect(handle, &frame);
    int border = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
    int x = frame.right - border - GetSystemMetrics(SM_CXSIZE) / 2;
    int y = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSIZE) / 2;
    ASSERT_EQ(SendMessageW(handle, WM_NCHITTEST, 0, MAKELPARAM(x, y)), HTCLOSE);
    gui_click_screen(x, y);

    ASSERT_TRUE(wait_for(EVENT_CLOSE_WINDOW));
    EXPECT_EQ(event_window(), window);
    EXPECT_EQ(event_control(), window);
    gui_wait_events_for(100);
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_EQ(window_exists(window), 1);
}

TEST_F(WindowTest, ShortcutRaisesItsMenuItemOncePerKeyPress)
{
    ASSERT_NE(shortcut_add(window, VK_F3, 2), nullptr);
    ASSERT_EQ(event_bind_item(EVENT_MENU, on_menu_item, window, 2), 1);
    g_menu_handler_runs = 0;
    for (int press = 1; press <= 2; ++press) {
        gui_press_key(VK_F3);
        ASSERT_TRUE(wait_for(EVENT_MENU));
        EXPECT_EQ(g_menu_handler_runs, press);
        EXPECT_EQ(event_control(), 2);
        EXPECT_EQ(event_window(), window);
        EXPECT_EQ(event_type(), 0);
    }
    std::vector<int> events;
    gui_wait_events_for(200, &events);
    EXPECT_EQ(g_menu_handler_runs, 2);
    EXPECT_EQ(std::count(events.begin(), events.end(), EVENT_MENU), 0);

    // The same key again replaces the item; Ctrl+F3 is a different shortcut.
    ASSERT_NE(shortcut_add(window, VK_F3, 5), nullptr);
    ASSERT_NE(shortcut_add(window, VK_F3 | SHORTCUT_CONTROL, 6), nullptr);
    gui_press_key(VK_F3);
    ASSERT_TRUE(wait_for(EVENT_MENU));
    EXPECT_EQ(event_control(), 5);
    gui_press_key(VK_F3, false, true);
    ASSERT_TRUE(wait_for(EVENT_MENU));
    EXPECT_EQ(event_control(), 6);
    gui_wait_events_for(200);
    EXPECT_EQ(g_menu_handler_runs, 2);

    // Removing one shortcut leaves the other.
    ASSERT_EQ(shortcut_remove(window, VK_F3), 1);
    gui_press_key(VK_F3);
    gui_press_key(VK_F3, false, true);
    ASSERT_TRUE(wait_for(EVENT_MENU));
    EXPECT_EQ(event_control(), 6);
    gui_wait_events_for(200, &events);
    EXPECT_EQ(std::count(events.begin(), events.end(), EVENT_MENU), 0);
}

TEST_F(WindowTest, EachHeldModifierMakesAShortcutOfItsOwn)
{
    const struct {
        int key;
        int item;
        bool shift, control, alt;
    } shortcuts[] = {{VK_F3, 2, false, false, false},
                     {VK_F3 | SHORTCUT_SHIFT, 3, true, false, false},
                     {VK_F3 | SHORTCUT_CONTROL, 4, false, true, false},
                     {VK_F3 | SHORTCUT_ALT, 5, false, false, true},
                     {VK_F3 | SHORTCUT_SHIFT | SHORTCUT_CONTROL | SHORTCUT_ALT, 6, true, true, true}};
    for (const auto& shortcut : shortcuts)
        ASSERT_NE(shortcut_add(window, shortcut.key, shortcut.item), nullptr);
    for (const auto& shortcut : shortcuts) {
        gui_press_key(VK_F3, shortcut.shift, shortcut.control, shortcut.alt);
        ASSERT_TRUE(wait_for(EVENT_MENU)) << shortcut.item;
        EXPECT_EQ(event_item(), shortcut.item);
    }
    std::vector<int> events;
    gui_wait_events_for(200, &events);
    EXPECT_EQ(std::count(events.begin(), events.end(), EVENT_MENU), 0);
}

TEST_F(WindowTest, TabMovesTheFocusOverEnabledVisibleTabStopsUntilShortcutsAreRemoved)
{
    ObjectNumber first = string_create(GK_ANY, 10, 10, 100, 22, u"one", 0);
    ObjectNumber disabled = string_create(GK_ANY, 10, 40, 100, 22, u"two", 0);
    ObjectNumber last = string_create(GK_ANY, 10, 70, 100, 22, u"three", 0);
    ASSERT_TRUE(first && disabled && last);
    control_disable(disabled, 1);
    auto focus_is = [](ObjectNumber control) {
        return [control] { return GetFocus() == control_os_handle(control); };
    };
    control_activate(first);
    ASSERT_TRUE(gui_wait_events_until(focus_is(first)));

    gui_press_key(VK_TAB);
    EXPECT_TRUE(gui_wait_events_until(focus_is(last)));
    gui_press_key(VK_TAB);
    EXPECT_TRUE(gui_wait_events_until(focus_is(first)));
    gui_press_key(VK_TAB, true);
    EXPECT_TRUE(gui_wait_events_until(focus_is(last)));

    ASSERT_EQ(shortcut_remove(window, -1), 1);
    gui_press_key(VK_TAB);
    gui_press_key(VK_TAB, true);
    gui_wait_events_for(300);
    EXPECT_EQ(GetFocus(), control_os_handle(last));
}

TEST_F(WindowTest, ResizingLeavesOneSizeEventAndMaximizingQueuesMaximizeThenSize)
{
    gui_pump_messages_for(50);
    gui_drain_queue();
    for (int step = 0; step < 4; ++step)
        ASSERT_EQ(window_resize(window, UNCHANGED, UNCHANGED, 300 + 20 * step, 180 + 10 * step), 1);
    gui_pump_messages_for(100);
    std::vector<int> queued = gui_drain_queue();
    EXPECT_EQ(std::count(queued.begin(), queued.end(), EVENT_SIZE_WINDOW), 1);
    EXPECT_EQ(window_client_width(window), 360);
    EXPECT_EQ(window_client_height(window), 210);

    ShowWindow(handle, SW_MAXIMIZE);
    gui_pump_messages_for(100);
    queued = gui_drain_queue();
    std::vector<int> sizing;
    std::copy_if(queued.begin(), queued.end(), std::back_inserter(sizing), [](int event) {
        return event == EVENT_MAXIMIZE_WINDOW || event == EVENT_SIZE_WINDOW || event == EVENT_RESTORE_WINDOW;
    });
    EXPECT_EQ(sizing, (std::vector<int>{EVENT_MAXIMIZE_WINDOW, EVENT_SIZE_WINDOW}));

    // Resizing a maximized window restores it first.
    ASSERT_EQ(window_resize(window, UNCHANGED, UNCHANGED, 250, 150), 1);
    gui_pump_messages_for(100);
    queued = gui_drain_queue();
    EXPECT_FALSE(IsZoomed(handle));
    EXPECT_EQ(std::count(queued.begin(), queued.end(), EVENT_RESTORE_WINDOW), 1);
    EXPECT_EQ(std::count(queued.begin(), queued.end(), EVENT_SIZE_WINDOW), 1);
    EXPECT_EQ(window_client_width(window), 250);
}

TEST_F(WindowTest, BoundsHoldTheInnerSize)
{
    ASSERT_EQ(window_set_bounds(window, 200, 150, 400, 300), 1);
    window_resize(window, UNCHANGED, UNCHANGED, 100, 100);
    EXPECT_EQ(window_client_width(window), 200);
    EXPECT_EQ(window_client_height(window), 150);
    window_resize(window, UNCHANGED, UNCHANGED, 900, 900);
    EXPECT_EQ(window_client_width(window), 400);
    EXPECT_EQ(window_client_height(window), 300);
    ASSERT_EQ(window_set_bounds(window, -1, -1, -1, -1), 1);
    window_resize(window, UNCHANGED, UNCHANGED, 150, 120);
    EXPECT_EQ(window_client_width(window), 150);
    EXPECT_EQ(window_client_height(window), 120);
}

TEST_F(WindowTest, WaitReturnsZeroWhenNothingIsPendingAndTimersRaiseEvents)
{
    gui_wait_events_for(100);
    gui_drain_queue();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    gui_drain_queue();
    EXPECT_EQ(event_wait(0), 0);
    EXPECT_EQ(event_number(), 0);

    // A private message numbered like a toolkit event is not reported as that event.
    PostMessageW(handle, EVENT_CLOSE_WINDOW, 0, 0);
    EXPECT_EQ(event_wait(0), 0);
    EXPECT_EQ(event_wait(0), 0);
    EXPECT_EQ(event_queue_length(), 0u);

    constexpr ObjectNumber TIMER = 7209076;
    ASSERT_EQ(timer_add(window, TIMER, 20), 1);
    ASSERT_TRUE(wait_for(EVENT_TIMER));
    EXPECT_EQ(event_control(), TIMER);
    EXPECT_EQ(event_window(), window);
    EXPECT_EQ(timer_remove(window, TIMER), 1);
}

TEST_F(WindowTest, ClosingRemovesBindingsAndQueuedEvents)
{
    std::size_t bindings = event_binding_count();
    ASSERT_EQ(event_bind_item(EVENT_MENU, on_menu_item, window, 9), 1);
    event_post(EVENT_MENU, 9, window, 0);
    event_post(EVENT_MENU, 9, window + 1, 0);
    ASSERT_EQ(window_close(window), 1);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window_exists(window), 0);
    EXPECT_EQ(event_binding_count(), bindings);
    while (event_pop())
        EXPECT_NE(event_window(), window);
}

TEST(WindowOpenTest, FailureLeavesNoRecordAndNoClass)
{
    ASSERT_TRUE(gui_start_toolkit());
    auto bad_parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x7ffe1234));
    EXPECT_EQ(window_open(7, 0, 0, 100, 100, u"never", MAIN_FLAGS, bad_parent), 0);
    EXPECT_EQ(window_exists(7), 0);
    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_7", &info));

    // The number is usable afterwards, and a fixed number gives the platform handle.
    ObjectNumber made = window_open(7, 10, 10, 100, 100, u"fixed", GK_Window_Invisible, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(made), window_os_handle(7));
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(window_os_handle(7))));
    EXPECT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_7", &info));
    window_close(7);
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"WindowClass_7", &info));
}

}  // namespace
