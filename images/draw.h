// Drawing on an image or a canvas: one target at a time, from draw_begin_* to draw_end.
// Colours are 0x00BBGGRR and opaque; whatever falls outside the target is clipped away.
// Every operation returns 0 (and draws nothing) when no drawing is under way.
#pragma once

#include "core/object.h"
#include "images/pixels.h"

#include <cstdint>

// The back colour of draw_text that leaves the background as it is.
constexpr std::int32_t DRAW_TRANSPARENT = -1;

// Outline or filled shapes.
constexpr int DRAW_OUTLINED = 0;
constexpr int DRAW_FILLED = 1;

// Starts drawing on the image (ending any drawing under way). 0 for a number that names no image.
int draw_begin_image(ObjectNumber image);
// Starts drawing on pixels that another component owns (a canvas's back buffer, whose
// bitmap is `bitmap`); `finished` runs with `context` at draw_end.
int draw_begin_surface(const PixelSurface& surface, void* bitmap, void (*finished)(void* context), void* context);
// Ends the drawing; a canvas then shows what was drawn.
int draw_end();
// A component about to delete a bitmap calls this first: a drawing on it ends, without
// its finishing call.
void draw_release_bitmap(void* bitmap);

int draw_pixel(int x, int y, std::int32_t color);
// The pixel as 0xAABBGGRR, straight (not premultiplied); 0 outside the target.
std::uint32_t draw_read_pixel(int x, int y);

int draw_line(int x1, int y1, int x2, int y2, std::int32_t color);
int draw_rectangle(int x, int y, int width, int height, std::int32_t color, int fill = DRAW_FILLED);
int draw_ellipse(int x, int y, int width, int height, std::int32_t color, int fill = DRAW_FILLED);
int draw_round_rectangle(int x, int y, int width, int height, int corner, std::int32_t color, int fill = DRAW_FILLED);
// Replaces the area of equal pixels around (x, y) by the colour.
int draw_flood_fill(int x, int y, std::int32_t color);
// Draws the image by its alpha at (x, y); with a width and height above 0, scaled smoothly to that size.
int draw_image(ObjectNumber image, int x, int y, int width = 0, int height = 0);

// What text needs of the fonts, which the component above that numbers them fills in: the
// platform font of a number (null when it names none), and the font of text when none is set.
struct DrawFonts {
    void* (*handle)(ObjectNumber font);
    void* (*preset)();
};
// Hands drawing the fonts' table; until then only GK_ANY names a font, the platform's.
void draw_set_fonts(const DrawFonts* fonts);

// The font of later text: a font number of the fonts' table, or GK_ANY for its preset font.
int draw_set_font(ObjectNumber font);
// One line of text with its top left corner at (x, y); back DRAW_TRANSPARENT leaves the
// background. Nothing is drawn outside the text's measured width and height.
int draw_text(int x, int y, const char16_t* text, std::int32_t front, std::int32_t back = DRAW_TRANSPARENT);
int draw_text_width(const char16_t* text);
int draw_text_height(const char16_t* text);
