// Web views under Wine, where no web engine is present: the fallback text at the control's
// size naming the address, addresses read back, the message filter installed while a web view
// exists; and the hosting of the browser object itself, made without an engine.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/web_view.h"
#include "toolkit/event.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class WebViewTest : public ControlWindowTest {
protected:
    WebViewTest() : ControlWindowTest(u"Web view test", 500, 300) {}

    void TearDown() override
    {
        web_view_host_without_engine(false);
        ControlWindowTest::TearDown();
        EXPECT_EQ(event_control_filter(), nullptr);
    }
};

bool contains(const std::u16string& text, const std::u16string& part)
{
    return text.find(part) != std::u16string::npos;
}

TEST_F(WebViewTest, FallbackNamesTheAddressAndReadsItBack)
{
    EXPECT_EQ(event_control_filter(), nullptr);
    ObjectNumber web = web_view_create(GK_ANY, 10, 10, 300, 200, u"https://example.org/first", 0);
    ASSERT_NE(web, 0);
    EXPECT_EQ(control_kind(web), CONTROL_KIND_WEB);
    EXPECT_FALSE(web_view_hosts_browser(web));
    HWND window = gui_control_handle(web);
    std::u16string shown = gui_window_text(window);
    EXPECT_TRUE(contains(shown, WEB_VIEW_NO_ENGINE) && contains(shown, u"https://example.org/first"));
    EXPECT_TRUE(control_get_text(web) == u"https://example.org/first");

    control_set_text(web, u"https://example.org/second");
    EXPECT_TRUE(control_get_text(web) == u"https://example.org/second");
    EXPECT_TRUE(contains(gui_window_text(window), u"https://example.org/second"));
    EXPECT_EQ(web_view_command(web, WEB_VIEW_RELOAD), 0);
    RECT area = {};
    GetClientRect(window, &area);
    EXPECT_EQ(area.right, 300);
    EXPECT_EQ(area.bottom, 200);
}

TEST_F(WebViewTest, FilterIsInstalledWhileAWebViewExists)
{
    ObjectNumber first = web_view_create(GK_ANY, 0, 0, 100, 100, u"a", 0);
    ObjectNumber second = web_view_create(GK_ANY, 100, 0, 100, 100, u"b", 0);
    EventMessageFilter filter = event_control_filter();
    EXPECT_NE(filter, nullptr);
    control_free(first);
    EXPECT_EQ(event_control_filter(), filter);
    control_free(second);
    EXPECT_EQ(event_control_filter(), nullptr);
    // Keys away from any web view pass the filter.
    web_view_create(GK_ANY, 0, 0, 100, 100, u"c", 0);
    EXPECT_EQ(event_control_filter()(WM_KEYDOWN, VK_TAB, 0), 0);
}

int g_program_keys = 0;

int program_filter(unsigned message, std::uintptr_t, std::intptr_t)
{
    g_program_keys += message == WM_KEYDOWN ? 1 : 0;
    return 0;
}

// The program's own filter stays while web views come and go, and still sees real keys.
TEST_F(WebViewTest, TheProgramsFilterIsKeptBesideTheWebViews)
{
    event_set_message_filter(program_filter);
    ObjectNumber web = web_view_create(GK_ANY, 0, 0, 100, 100, u"a", 0);
    EXPECT_NE(event_control_filter(), nullptr);
    EXPECT_EQ(event_message_filter(), program_filter);
    g_program_keys = 0;
    gui_press_key('A');
    EXPECT_TRUE(gui_wait_events_until([] { return g_program_keys > 0; }));
    control_free(web);
    EXPECT_EQ(event_message_filter(), program_filter);
    event_set_message_filter(nullptr);
}

// Where no engine is present the browser object is still made and in-place activated in the
// control: its window fills the control and follows its size, the address given is read back,
// the commands reach it, and the window stays responsive.
TEST_F(WebViewTest, HostedBrowserFillsTheControlAndNeverBlocks)
{
    web_view_host_without_engine(true);
    ObjectNumber web = web_view_create(GK_ANY, 10, 10, 320, 200, u"about:blank", 0);
    ASSERT_NE(web, 0);
    ASSERT_TRUE(web_view_hosts_browser(web));
    HWND inner = GetWindow(gui_control_handle(web), GW_CHILD);
    ASSERT_NE(inner, nullptr);
    EXPECT_FALSE(contains(gui_window_text(gui_control_handle(web)), WEB_VIEW_NO_ENGINE));
    control_resize(web, 10, 10, 400, 250);
    gui_pump_messages_for(100);
    RECT area = {};
    GetClientRect(inner, &area);
    EXPECT_EQ(area.right, 400);
    EXPECT_EQ(area.bottom, 250);
    control_set_text(web, u"about:blank#second");
    EXPECT_FALSE(control_get_text(web).empty());
    web_view_command(web, WEB_VIEW_STOP);
    EXPECT_NE(event_control_filter(), nullptr);
    control_free(web);
}

}  // namespace
