#include "toolkit/menu.h"

#include "toolkit/event.h"
#include "toolkit/window.h"

#include "tests/support/gui_input.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

namespace {

HWND shown_menu()
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// A left click on an item of the shown menu.
void click_item(ObjectNumber menu, int position)
{
    RECT rect = {};
    GetMenuItemRect(nullptr, static_cast<HMENU>(menu_os_handle(menu)), static_cast<UINT>(position), &rect);
    gui_click_screen((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// Acts on the shown menu from a thread of its own while the test's thread is inside the
// menu's loop. Returns true when the action closed the menu; otherwise closes it.
bool act_on_menu(const std::function<void()>& show, const std::function<void(HWND menu)>& act)
{
    bool closed = false;
    std::thread actor([&] {
        HWND menu = nullptr;
        if (gui_poll_until([&] { return (menu = shown_menu()) != nullptr; }))
            act(menu);
        closed = menu && gui_poll_until([] { return shown_menu() == nullptr; });
        if (!closed && shown_menu())
            PostMessageW(shown_menu(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    show();
    actor.join();
    return closed;
}

struct Seen {
    int event;
    ObjectNumber window;
    ObjectNumber item;
    int type;
};
std::vector<Seen> g_seen;
int g_other_runs = 0;

void on_item()
{
    g_seen.push_back({event_number(), event_window(), event_item(), event_type()});
}

void on_other()
{
    ++g_other_runs;
}

class MenuGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(gui_start_toolkit());
        ASSERT_EQ(menu_start(), 1);
    }

    void SetUp() override
    {
        ASSERT_NE(window_open(2, 40, 40, 300, 200, u"Notes", GK_Window_SystemMenu, nullptr), 0);
        owner_ = static_cast<HWND>(window_os_handle(2));
        ASSERT_TRUE(gui_bring_to_front(owner_));
        gui_drain_queue();
        g_seen.clear();
        g_other_runs = 0;
        ASSERT_NE(menu_popup_create(8), 0);
        ASSERT_EQ(menu_item_add(9, u"Refresh", 0), 1);
        ASSERT_EQ(menu_item_add(10, u"R\u00e9sum\u00e9 \U0001F4D3"), 1);
        ASSERT_EQ(menu_item_add(11, nullptr), 1);
    }

    void TearDown() override
    {
        menu_free(GK_ANY);
        window_close(2);
        gui_drain_queue();
    }

    // Shows menu 8 over the owner, acts on it and returns the events the loop then takes.
    std::vector<int> choose(const std::function<void(HWND menu)>& act)
    {
        POINT at = gui_window_center(owner_);
        EXPECT_TRUE(act_on_menu([&] { EXPECT_EQ(menu_popup_show(8, owner_, at.x, at.y), 1); }, act));
        std::vector<int> events;
        gui_wait_events_for(100, &events);
        for (int event : gui_drain_queue())
            events.push_back(event);
        return events;
    }

    HWND owner_ = nullptr;
};

TEST_F(MenuGuiTest, AChosenItemRaisesTheMenuEventAtTheOwnerAndRunsItsBoundHandler)
{
    ASSERT_EQ(menu_bind_item(8, 10, on_item), 1);
    std::vector<int> events = choose([](HWND) { click_item(8, 1); });
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].event, EVENT_MENU);
    EXPECT_EQ(g_seen[0].window, 2);
    EXPECT_EQ(g_seen[0].item, 10);
    EXPECT_EQ(g_seen[0].type, 0);
    EXPECT_EQ(std::count(events.begin(), events.end(), EVENT_MENU), 1);

    ASSERT_EQ(menu_bind_item(8, 9, on_item), 1);
    choose([](HWND) {
        gui_press_key(VK_DOWN);
        gui_press_key(VK_RETURN);
    });
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[1].item, 9);

    events = choose([](HWND) { gui_press_key(VK_ESCAPE); });
    EXPECT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(std::count(events.begin(), events.end(), EVENT_MENU), 0);
}

TEST_F(MenuGuiTest, DisabledItemsCannotBeChosenAndStatesShowInTheMenu)
{
    auto menu = static_cast<HMENU>(menu_os_handle(8));
    ASSERT_EQ(menu_bind_item(8, 10, on_item), 1);
    ASSERT_EQ(menu_item_disable(8, 10, 1), 1);
    ASSERT_EQ(menu_item_set_checked(8, 10, 1), 1);
    EXPECT_EQ(GetMenuState(menu, 10, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), UINT(MF_CHECKED | MF_GRAYED));
    choose([](HWND) {
        click_item(8, 1);
        gui_press_key(VK_ESCAPE);
    });
    EXPECT_TRUE(g_seen.empty());

    ASSERT_EQ(menu_item_set_checked(8, 10, 0), 1);
    ASSERT_EQ(menu_item_disable(8, 10, 0), 1);
    EXPECT_EQ(GetMenuState(menu, 10, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0u);
    choose([](HWND) { click_item(8, 1); });
    EXPECT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(menu_item_set_checked(8, 77, 1), 0);

    wchar_t text[64] = {};
    GetMenuStringW(menu, 10, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"R\u00e9sum\u00e9 \U0001F4D3");
    EXPECT_EQ(GetMenuStringW(menu, 11, text, 64, MF_BYCOMMAND), 0);
}

TEST_F(MenuGuiTest, RebindingOnEveryShowRunsTheHandlerOncePerChoice)
{
    for (int round = 0; round < 3; ++round) {
        ASSERT_NE(menu_popup_create(8), 0);
        ASSERT_EQ(menu_item_add(9, u"Refresh"), 1);
        ASSERT_EQ(menu_bind_item(8, 9, on_item), 1);
        ASSERT_EQ(menu_bind_item(8, 9, on_other), 1);
    }
    choose([](HWND) { click_item(8, 0); });
    EXPECT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_other_runs, 1);

    ASSERT_EQ(menu_unbind_item(8, 9, on_item), 1);
    EXPECT_EQ(menu_unbind_item(8, 9, on_item), 0);
    choose([](HWND) { click_item(8, 0); });
    EXPECT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_other_runs, 2);
    menu_unbind_item(8, 9, on_other);
}

TEST_F(MenuGuiTest, ShownAtTheCursorOpensJustAboveAndLeftOfIt)
{
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    RECT shown = {};
    EXPECT_TRUE(act_on_menu([&] { EXPECT_EQ(menu_popup_show_at_cursor(8, owner_), 1); },
                            [&](HWND menu) {
                                GetWindowRect(menu, &shown);
                                gui_press_key(VK_ESCAPE);
                            }));
    EXPECT_EQ(shown.left, cursor.x - 1);
    EXPECT_EQ(shown.top, cursor.y - 1);
}

TEST_F(MenuGuiTest, NumbersFreeingAndFailures)
{
    // Creating a live number again destroys the old menu; a fixed number returns the handle.
    auto old = static_cast<HMENU>(menu_os_handle(8));
    ObjectNumber fixed = menu_popup_create(8);
    EXPECT_EQ(reinterpret_cast<void*>(fixed), menu_os_handle(8));
    EXPECT_TRUE(IsMenu(reinterpret_cast<HMENU>(fixed)) && (reinterpret_cast<HMENU>(fixed) == old || !IsMenu(old)));

    ObjectNumber dynamic = menu_popup_create(GK_ANY);
    auto dynamic_handle = static_cast<HMENU>(menu_os_handle(dynamic));
    ASSERT_TRUE(dynamic && IsMenu(dynamic_handle));
    EXPECT_EQ(menu_item_add(5, u"five"), 1);
    EXPECT_EQ(GetMenuItemCount(dynamic_handle), 1);
    EXPECT_EQ(menu_free(dynamic), 1);
    EXPECT_FALSE(IsMenu(dynamic_handle));
    // The menu being built is gone, so nothing is appended anywhere.
    EXPECT_EQ(menu_item_add(6, u"six"), 0);

    for (ObjectNumber unknown : {ObjectNumber(3), ObjectNumber(12345), dynamic}) {
        EXPECT_EQ(menu_exists(unknown), 0);
        EXPECT_EQ(menu_os_handle(unknown), nullptr);
        EXPECT_EQ(menu_item_disable(unknown, 9, 1), 0);
        EXPECT_EQ(menu_item_set_checked(unknown, 9, 1), 0);
        EXPECT_EQ(menu_bind_item(unknown, 9, on_item), 0);
        EXPECT_EQ(menu_unbind_item(unknown, 9, on_item), 0);
        EXPECT_EQ(menu_popup_show(unknown, owner_, 10, 10), 0);
        EXPECT_EQ(menu_popup_show_at_cursor(unknown, owner_), 0);
        EXPECT_EQ(menu_free(unknown), 0);
    }
    EXPECT_EQ(menu_popup_show(8, nullptr, 10, 10), 0);
    EXPECT_EQ(menu_bind_item(8, 9, nullptr), 0);
    EXPECT_EQ(menu_popup_create(-7), 0);

    EXPECT_EQ(menu_free(GK_ANY), 1);
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(fixed)));
    EXPECT_EQ(menu_exists(8), 0);
}

}  // namespace
