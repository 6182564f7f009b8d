// Canvases with real input: presses, moves and releases carry the real pointer's position,
// a keyboard canvas raises the keys pressed, drawing shows with one copy of the buffer, and
// what was drawn stays on screen through resizes.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"

#include "images/draw.h"
#include "toolkit/control.h"
#include "toolkit/controls/canvas.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CanvasEvent {
    ObjectNumber canvas;
    int type;
    int x;
    int y;
    int key;
    RECT clip;  // where the pointer was kept when the event was raised
};

std::vector<CanvasEvent> g_events;

void record_event()
{
    ObjectNumber canvas = event_control();
    int key = static_cast<int>(control_get_attribute(canvas, event_type() == EVENTTYPE_CANVAS_WHEEL ? CANVAS_WHEEL : CANVAS_KEY));
    g_events.push_back({canvas, event_type(), static_cast<int>(control_get_attribute(canvas, CANVAS_MOUSE_X)),
                        static_cast<int>(control_get_attribute(canvas, CANVAS_MOUSE_Y)), key, {}});
    GetClipCursor(&g_events.back().clip);
}

const CanvasEvent* last_of(int type)
{
    for (auto event = g_events.rbegin(); event != g_events.rend(); ++event) {
        if (event->type == type)
            return &*event;
    }
    return nullptr;
}

// The events the canvas raised, as type@x,y, for a failure's message.
std::string recorded()
{
    std::string text;
    for (const CanvasEvent& event : g_events)
        text += std::to_string(event.type) + "@" + std::to_string(event.x) + "," + std::to_string(event.y) + " ";
    return text;
}

COLORREF screen_pixel(ObjectNumber canvas, int x, int y)
{
    HDC context = GetDC(gui_control_handle(canvas));
    COLORREF color = GetPixel(context, x, y);
    ReleaseDC(gui_control_handle(canvas), context);
    return color;
}

class CanvasTest : public ControlWindowTest {
protected:
    CanvasTest() : ControlWindowTest(u"Canvas test", 500, 400) {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        g_events.clear();
    }

    ObjectNumber make(int x, std::uint32_t flags)
    {
        ObjectNumber canvas = canvas_create(GK_ANY, x, 20, 200, 150, flags);
        EXPECT_NE(canvas, 0);
        EXPECT_TRUE(event_bind_control(canvas, record_event));
        gui_pump_messages_for(50);
        return canvas;
    }

    POINT on_screen(ObjectNumber canvas, int x, int y)
    {
        POINT point = {x, y};
        ClientToScreen(gui_control_handle(canvas), &point);
        return point;
    }
};

TEST_F(CanvasTest, PressMoveAndReleaseCarryTheRealPointersPosition)
{
    ObjectNumber canvas = make(20, GK_Canvas_ClipMouse | GK_Canvas_Border);
    gui_drag(on_screen(canvas, 30, 40), on_screen(canvas, 120, 90));
    ASSERT_TRUE(gui_wait_events_until([] { return last_of(EVENTTYPE_CANVAS_LEFT_UP) != nullptr; }));
    const CanvasEvent* down = last_of(EVENTTYPE_CANVAS_LEFT_DOWN);
    ASSERT_NE(down, nullptr) << recorded();
    EXPECT_EQ(down->x, 30);
    EXPECT_EQ(down->y, 40);
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_MOVE)->x, 120);
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_LEFT_UP)->x, 120);
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_LEFT_UP)->y, 90);
    EXPECT_LT(down - g_events.data(), last_of(EVENTTYPE_CANVAS_MOVE) - g_events.data());
    // The pointer was kept inside only while the button was held.
    RECT client;
    GetClientRect(gui_control_handle(canvas), &client);
    MapWindowPoints(gui_control_handle(canvas), nullptr, reinterpret_cast<POINT*>(&client), 2);
    int held_moves = 0;
    for (const CanvasEvent* event = down; event->type != EVENTTYPE_CANVAS_LEFT_UP; ++event) {
        held_moves += event->type == EVENTTYPE_CANVAS_MOVE;
        EXPECT_TRUE(event->clip.left == client.left && event->clip.right == client.right &&
                    event->clip.top == client.top && event->clip.bottom == client.bottom);
    }
    EXPECT_GT(held_moves, 0);
    RECT clip;
    GetClipCursor(&clip);
    EXPECT_EQ(clip.right - clip.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(GetCapture(), nullptr);

    g_events.clear();
    POINT right = on_screen(canvas, 50, 60);
    gui_click_screen(right, true);
    ASSERT_TRUE(gui_wait_events_until([] { return last_of(EVENTTYPE_CANVAS_RIGHT_UP) != nullptr; }));
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_RIGHT_DOWN)->x, 50);
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_RIGHT_UP)->y, 60);
    gui_click_screen(right, false, 2);
    EXPECT_TRUE(gui_wait_events_until([] { return last_of(EVENTTYPE_CANVAS_LEFT_DOUBLE_CLICK) != nullptr; }));
    EXPECT_EQ(canvas_event_name(EVENTTYPE_CANVAS_WHEEL), std::string("EVENTTYPE_CANVAS_WHEEL"));
    EXPECT_EQ(canvas_event_name(EVENTTYPE_CHANGE), nullptr);
}

TEST_F(CanvasTest, KeyboardCanvasTakesTheFocusAndRaisesRealKeys)
{
    ObjectNumber keyboard = make(20, GK_Canvas_Keyboard | GK_Canvas_DrawFocus);
    ObjectNumber plain = make(240, 0);
    POINT inside = on_screen(keyboard, 10, 10);
    gui_click_screen(inside);
    ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == gui_control_handle(keyboard); }));
    // The focus rectangle's dots are the only dark pixels of the empty canvas.
    EXPECT_TRUE(gui_window_shows_color(gui_control_handle(keyboard), RGB(0, 0, 0)));
    EXPECT_FALSE(gui_window_shows_color(gui_control_handle(plain), RGB(0, 0, 0)));
    g_events.clear();
    gui_press_key('Q');
    ASSERT_TRUE(gui_wait_events_until([] { return last_of(EVENTTYPE_CANVAS_KEY_UP) != nullptr; }));
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_KEY_DOWN)->key, 'Q');
    ASSERT_NE(last_of(EVENTTYPE_CANVAS_CHARACTER), nullptr);
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_CHARACTER)->key, 'q');
    INPUT turn = {};
    turn.type = INPUT_MOUSE;
    turn.mi.dwFlags = MOUSEEVENTF_WHEEL;
    turn.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    SendInput(1, &turn, sizeof(turn));
    ASSERT_TRUE(gui_wait_events_until([] { return last_of(EVENTTYPE_CANVAS_WHEEL) != nullptr; }));
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_WHEEL)->key, -WHEEL_DELTA);
    EXPECT_EQ(last_of(EVENTTYPE_CANVAS_WHEEL)->x, 10);

    gui_click_screen(on_screen(plain, 10, 10));
    ASSERT_TRUE(gui_wait_events_until([] { return last_of(EVENTTYPE_CANVAS_LEFT_UP) != nullptr; }));
    EXPECT_NE(GetFocus(), gui_control_handle(plain));
    for (const CanvasEvent& event : g_events)
        EXPECT_EQ(event.canvas == plain && event.type >= EVENTTYPE_CANVAS_KEY_DOWN, false);
}

TEST_F(CanvasTest, DrawingShowsWithOneCopyAndSurvivesResizes)
{
    ObjectNumber canvas = make(20, 0);
    control_set_color(canvas, CONTROL_COLOR_BACK, RGB(0, 255, 0));
    int repaints = static_cast<int>(control_get_attribute(canvas, CANVAS_REPAINTS));
    ASSERT_EQ(draw_begin_canvas(canvas), 1);
    draw_rectangle(10, 10, 30, 30, RGB(255, 0, 0));
    for (int i = 0; i < 500; ++i)
        draw_pixel(100 + i % 50, 100 + i / 50, RGB(0, 0, 255));
    draw_end();
    EXPECT_EQ(control_get_attribute(canvas, CANVAS_REPAINTS), repaints + 1);
    EXPECT_EQ(screen_pixel(canvas, 20, 20), RGB(255, 0, 0));
    EXPECT_EQ(screen_pixel(canvas, 120, 105), RGB(0, 0, 255));
    EXPECT_EQ(screen_pixel(canvas, 60, 60), RGB(255, 255, 255));

    // A smaller canvas gives back the buffer beyond it; what still fits is kept.
    control_resize(canvas, UNCHANGED, UNCHANGED, 50, 50);
    gui_pump_messages_for(50);
    ASSERT_EQ(draw_begin_canvas(canvas), 1);
    EXPECT_EQ(draw_read_pixel(120, 105), 0u);
    draw_end();
    control_resize(canvas, UNCHANGED, UNCHANGED, 300, 220);
    gui_pump_messages_for(100);
    EXPECT_EQ(screen_pixel(canvas, 20, 20), RGB(255, 0, 0));
    EXPECT_EQ(screen_pixel(canvas, 120, 105), RGB(0, 255, 0));
    EXPECT_EQ(screen_pixel(canvas, 250, 200), RGB(0, 255, 0));
    EXPECT_EQ(draw_begin_canvas(window), 0);

    ASSERT_EQ(control_set_attribute(canvas, CANVAS_WIDTH, 400), 1);
    int width = 0, height = 0;
    ASSERT_EQ(control_required_size(canvas, &width, &height), 1);
    EXPECT_EQ(width, 400);
    draw_begin_canvas(canvas);
    draw_rectangle(350, 0, 10, 10, RGB(255, 0, 0));
    EXPECT_EQ(draw_read_pixel(355, 5), 0xFF0000FFu);
    control_free(canvas);
    EXPECT_EQ(draw_pixel(1, 1, 0), 0);
}

}  // namespace
