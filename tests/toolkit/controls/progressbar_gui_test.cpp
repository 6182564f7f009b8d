// Progress bars with real windows: the marquee on and off (read from the state, the style and
// the pixels on screen), positions and ranges with extreme values, colours read back and
// shown, and no events.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/progressbar.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

constexpr COLORREF RED = 0x0000FF;
constexpr COLORREF GREEN = 0x00FF00;

int g_event_count = 0;

void count_event()
{
    ++g_event_count;
}

// The control's pixels as they are on screen.
std::vector<std::uint32_t> capture(HWND control)
{
    RECT client = {};
    GetClientRect(control, &client);
    HDC screen = GetDC(control);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(client.right) * client.bottom);
    GetDIBits(memory, bitmap, 0, client.bottom, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(control, screen);
    return pixels;
}

// True when the control's pixels change within about a second.
bool animates(HWND control)
{
    gui_wait_events_for(150);
    std::vector<std::uint32_t> first = capture(control);
    bool changed = false;
    gui_wait_events_until(
        [&] {
            changed = capture(control) != first;
            return changed;
        },
        1000);
    return changed;
}

class ProgressBarTest : public ControlWindowTest {
protected:
    ProgressBarTest() : ControlWindowTest(u"Progress bar test", 400, 200) {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        g_event_count = 0;
        event_bind_window(EVENT_GADGET, count_event, window);
    }
};

// -1 starts the marquee and reads -1; 30 stops it, drops the marquee style and reads 30;
// nothing of it raises an event, and neither does a click on the bar.
TEST_F(ProgressBarTest, MarqueeRunsForMinusOneAndStopsForAPosition)
{
    ObjectNumber bar = progressbar_create(GK_ANY, 10, 10, 300, 20, 0, 100, 0);
    ASSERT_NE(bar, 0);
    EXPECT_EQ(control_kind(bar), CONTROL_KIND_PROGRESSBAR);
    EXPECT_EQ(control_get_state(bar), 0);
    HWND window = gui_control_handle(bar);

    ASSERT_EQ(control_set_state(bar, PROGRESSBAR_MARQUEE), 1);
    EXPECT_EQ(control_get_state(bar), PROGRESSBAR_MARQUEE);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & PBS_MARQUEE);
    EXPECT_TRUE(animates(window));
    ASSERT_EQ(control_set_state(bar, PROGRESSBAR_MARQUEE), 1);
    EXPECT_EQ(control_get_state(bar), PROGRESSBAR_MARQUEE);

    ASSERT_EQ(control_set_state(bar, 30), 1);
    EXPECT_EQ(control_get_state(bar), 30);
    EXPECT_EQ(SendMessageW(window, PBM_GETPOS, 0, 0), 30);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & PBS_MARQUEE);
    EXPECT_FALSE(animates(window));
    // The range trick leaves the range as it was.
    EXPECT_EQ(control_get_attribute(bar, PROGRESSBAR_MAXIMUM), 100);

    gui_click_client(window, 20, 10);
    gui_wait_events_for(200);
    EXPECT_EQ(g_event_count, 0);
}

// A smaller position is drawn at once: the bar's filled part shrinks with it.
TEST_F(ProgressBarTest, PositionsDownAndUpAreReadBack)
{
    ObjectNumber bar = progressbar_create(GK_ANY, 10, 10, 300, 20, 10, 20, GK_ProgressBar_Smooth);
    ASSERT_NE(bar, 0);
    EXPECT_EQ(control_get_state(bar), 10);
    for (int value : {20, 15, 11, 19})
        EXPECT_TRUE(control_set_state(bar, value) && control_get_state(bar) == value) << value;
    EXPECT_EQ(control_get_attribute(bar, PROGRESSBAR_MINIMUM), 10);
    EXPECT_EQ(control_get_attribute(bar, PROGRESSBAR_MAXIMUM), 20);
    ASSERT_EQ(control_set_attribute(bar, PROGRESSBAR_MINIMUM, -5), 1);
    ASSERT_EQ(control_set_attribute(bar, PROGRESSBAR_MAXIMUM, 500), 1);
    EXPECT_EQ(control_get_attribute(bar, PROGRESSBAR_MINIMUM), -5);
    EXPECT_EQ(control_get_attribute(bar, PROGRESSBAR_MAXIMUM), 500);
    EXPECT_EQ(control_get_state(bar), 19);
}

// Colour 1 is the bar, 2 the background, each read back as given and held by the platform
// (which answers a colour message with the colour it had); -1 gives the platform its own
// colour back; another `which` sets nothing and reads -1.
TEST_F(ProgressBarTest, ColoursAreReadBackAsGivenAndReachThePlatform)
{
    ObjectNumber bar = progressbar_create(GK_ANY, 10, 10, 300, 20, 0, 100, GK_ProgressBar_Smooth);
    ASSERT_NE(bar, 0);
    HWND window = gui_control_handle(bar);
    EXPECT_EQ(control_get_color(bar, CONTROL_COLOR_FRONT), -1);
    EXPECT_EQ(control_get_color(bar, CONTROL_COLOR_BACK), -1);
    control_set_state(bar, 50);
    ASSERT_EQ(control_set_color(bar, CONTROL_COLOR_FRONT, RED), 1);
    ASSERT_EQ(control_set_color(bar, CONTROL_COLOR_BACK, GREEN), 1);
    EXPECT_EQ(control_get_color(bar, CONTROL_COLOR_FRONT), static_cast<std::int32_t>(RED));
    EXPECT_EQ(control_get_color(bar, CONTROL_COLOR_BACK), static_cast<std::int32_t>(GREEN));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(window, PBM_SETBARCOLOR, 0, RED)), RED);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(window, PBM_SETBKCOLOR, 0, GREEN)), GREEN);
    UpdateWindow(window);

    ASSERT_EQ(control_set_color(bar, CONTROL_COLOR_FRONT, CONTROL_COLOR_DEFAULT), 1);
    EXPECT_EQ(control_get_color(bar, CONTROL_COLOR_FRONT), -1);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(window, PBM_SETBARCOLOR, 0, CLR_DEFAULT)), CLR_DEFAULT);
    UpdateWindow(window);

    for (int which : {0, 3, -1, INT_MAX, INT_MIN}) {
        EXPECT_EQ(control_set_color(bar, which, RED), 0);
        EXPECT_EQ(control_get_color(bar, which), -1);
    }
    for (std::int32_t color : {INT_MIN, INT_MAX, -2}) {
        ASSERT_EQ(control_set_color(bar, CONTROL_COLOR_BACK, color), 1);
        EXPECT_EQ(control_get_color(bar, CONTROL_COLOR_BACK), color);
        UpdateWindow(window);
    }
}

// Extreme and reversed ranges and positions: the state stays within what the platform keeps
// and nothing breaks; unknown attributes read 0 and set nothing.
TEST_F(ProgressBarTest, ExtremeRangesAndPositionsAreHarmless)
{
    ObjectNumber wide = progressbar_create(GK_ANY, 10, 10, 300, 20, INT_MIN, INT_MAX, 0);
    ASSERT_NE(wide, 0);
    for (int value : {INT_MAX, INT_MIN, 0, -2}) {
        ASSERT_EQ(control_set_state(wide, value), 1);
        EXPECT_EQ(control_get_state(wide), value);
        UpdateWindow(gui_control_handle(wide));
    }
    ObjectNumber reversed = progressbar_create(GK_ANY, 10, 40, 300, 20, 100, 0, GK_ProgressBar_Vertical);
    ASSERT_NE(reversed, 0);
    ASSERT_EQ(control_set_state(reversed, 50), 1);
    UpdateWindow(gui_control_handle(reversed));
    EXPECT_EQ(control_get_attribute(reversed, PROGRESSBAR_MINIMUM), 100);
    ObjectNumber flat = progressbar_create(GK_ANY, 10, 70, 300, 20, 5, 5, 0);
    ASSERT_NE(flat, 0);
    for (int value : {INT_MIN, 5, INT_MAX}) {
        ASSERT_EQ(control_set_state(flat, value), 1);
        EXPECT_EQ(control_get_state(flat), 5);
        UpdateWindow(gui_control_handle(flat));
    }
    ASSERT_EQ(control_set_attribute(flat, PROGRESSBAR_MAXIMUM, static_cast<std::intptr_t>(INT64_MAX)), 1);
    EXPECT_EQ(control_get_attribute(flat, PROGRESSBAR_MAXIMUM), INT_MAX);
    ASSERT_EQ(control_set_attribute(flat, PROGRESSBAR_MINIMUM, INT_MAX), 1);
    UpdateWindow(gui_control_handle(flat));
    for (int attribute : {0, 3, -1, INT_MAX}) {
        EXPECT_EQ(control_get_attribute(flat, attribute), 0);
        EXPECT_EQ(control_set_attribute(flat, attribute, 9), 0);
    }
    gui_wait_events_for(100);
    EXPECT_EQ(g_event_count, 0);
}

}  // namespace
