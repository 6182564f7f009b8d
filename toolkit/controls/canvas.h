// Canvases (kind 42): a window class of its own holding a back buffer that drawing writes
// into (draw_begin_canvas ... draw_end) and that every repaint copies to the screen in one
// piece. The buffer only grows: a resize keeps what was drawn, and the new area takes the
// back colour (white until control_set_color sets another). Mouse input raises EVENT_GADGET
// with the types below; with GK_Canvas_Keyboard a press gives the canvas the focus and keys
// and typed characters raise events too. After an event the pointer position (client
// coordinates), the key (virtual key, or the character typed) and the wheel's turn (in
// the platform's units, 120 a notch) are read back as attributes. Drawing coordinates,
// the buffer and the pointer position are device pixels, whatever the display's scale: a
// drawing surface is the screen's own pixels (a dialog's canvas size is scaled like every
// other definition size, so a canvas at 200 % holds twice as many pixels each way).
#pragma once

#include "core/object.h"

#include <cstdint>

constexpr int CONTROL_KIND_CANVAS = 42;

constexpr std::uint32_t GK_Canvas_Border = 0x1;     // a one-pixel border
constexpr std::uint32_t GK_Canvas_ClipMouse = 0x2;  // the pointer stays inside while a button is held
constexpr std::uint32_t GK_Canvas_Keyboard = 0x4;   // takes the focus and raises key events
constexpr std::uint32_t GK_Canvas_DrawFocus = 0x8;  // shows a focus rectangle while focused
constexpr std::uint32_t GK_Canvas_Container = 0x20; // holds controls, like a container

constexpr int EVENTTYPE_CANVAS_LEFT_DOWN = 14100;
constexpr int EVENTTYPE_CANVAS_LEFT_UP = 14101;
constexpr int EVENTTYPE_CANVAS_RIGHT_DOWN = 14102;
constexpr int EVENTTYPE_CANVAS_RIGHT_UP = 14103;
constexpr int EVENTTYPE_CANVAS_LEFT_DOUBLE_CLICK = 14104;
constexpr int EVENTTYPE_CANVAS_RIGHT_DOUBLE_CLICK = 14105;
constexpr int EVENTTYPE_CANVAS_MOVE = 14106;
constexpr int EVENTTYPE_CANVAS_WHEEL = 14107;
constexpr int EVENTTYPE_CANVAS_KEY_DOWN = 14108;
constexpr int EVENTTYPE_CANVAS_KEY_UP = 14109;
constexpr int EVENTTYPE_CANVAS_CHARACTER = 14110;

// Attributes (control_get_attribute; the two sizes also with control_set_attribute).
constexpr int CANVAS_MOUSE_X = 1;
constexpr int CANVAS_MOUSE_Y = 2;
constexpr int CANVAS_KEY = 3;
constexpr int CANVAS_WHEEL = 4;
// The drawing area's natural size: 0 until set; setting it grows the buffer to hold it.
constexpr int CANVAS_WIDTH = 5;
constexpr int CANVAS_HEIGHT = 6;
// How many times the buffer was copied to the screen.
constexpr int CANVAS_REPAINTS = 7;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. A canvas with
// GK_Canvas_Container receives the controls made after container_open_list on it.
ObjectNumber canvas_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);

// Starts drawing on the canvas's buffer (see images/draw.h); draw_end shows it.
int draw_begin_canvas(ObjectNumber canvas);

// The name of a canvas event type ("EVENTTYPE_CANVAS_MOVE"), or null for another type.
const char* canvas_event_name(int type);
