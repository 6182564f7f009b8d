#ifdef _WIN32

#include "tests/support/control_window.h"

#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

void ControlWindowTest::SetUp()
{
    ASSERT_TRUE(gui_start_toolkit());
    window = window_open(GK_ANY, UNCHANGED, UNCHANGED, width_, height_, title_,
                         GK_Window_SystemMenu | GK_Window_ScreenCentered, nullptr);
    ASSERT_NE(window, 0);
    handle = static_cast<HWND>(window_os_handle(window));
    ASSERT_TRUE(gui_bring_to_front(handle));
    g_gadget_events.clear();
}

void ControlWindowTest::TearDown()
{
    window_close(GK_ANY);
    gui_drain_queue();
}

#endif
