// Lines, ellipses, rounded rectangles and text through the platform's drawing on the
// target's bitmap. The platform clears the alpha of what it touches; each shape is drawn
// between pixels_alpha_mark and pixels_alpha_settle over its bounds, so drawn pixels come
// out opaque and the others keep their alpha.
#include "images/draw_internal_win.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Coordinates handed to the platform stay within its range and within int arithmetic.
constexpr int COORDINATE_LIMIT = 1 << 27;

int coordinate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, -COORDINATE_LIMIT, COORDINATE_LIMIT));
}

RECT box_of(int x, int y, int width, int height)
{
    return RECT{coordinate(x), coordinate(y), coordinate(std::int64_t{x} + width), coordinate(std::int64_t{y} + height)};
}

// Runs `paint` on the target's context with the alpha of `bounds` kept. 1 also when the
// bounds lie wholly outside (nothing to draw), 0 without a drawing, a context or the memory
// to keep the alpha.
template <typename Paint>
int platform_draw(PixelRect bounds, Paint paint)
{
    DrawTarget* state = draw_target();
    HDC context = state ? draw_context(state) : nullptr;
    if (!context)
        return 0;
    PixelRect inside = pixel_clip(bounds, state->surface.width, state->surface.height);
    if (inside.width == 0)
        return 1;
    PixelAlphaSave saved;
    if (!pixels_alpha_mark(state->surface, inside, &saved))
        return 0;
    paint(context);
    GdiFlush();
    pixels_alpha_settle(state->surface, inside, saved);
    return 1;
}

// Draws a shape with a pen of the colour and, when filled, a brush of it.
template <typename Shape>
int draw_shape(PixelRect bounds, std::int32_t color, int fill, Shape shape)
{
    return platform_draw(bounds, [&](HDC context) {
        HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(color) & 0xFFFFFF);
        HBRUSH brush = fill == DRAW_FILLED ? CreateSolidBrush(static_cast<COLORREF>(color) & 0xFFFFFF) : nullptr;
        HGDIOBJ old_pen = SelectObject(context, pen);
        HGDIOBJ old_brush = SelectObject(context, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
        shape(context);
        SelectObject(context, old_brush);
        SelectObject(context, old_pen);
        if (brush)
            DeleteObject(brush);
        DeleteObject(pen);
    });
}

// The fonts' table that draw_set_fonts gave, or null.
const DrawFonts* g_fonts = nullptr;

HFONT current_font(const DrawTarget* state)
{
    void* font = nullptr;
    if (g_fonts)
        font = state->font ? g_fonts->handle(state->font) : g_fonts->preset();
    return static_cast<HFONT>(font ? font : GetStockObject(DEFAULT_GUI_FONT));
}

std::size_t length_of(const char16_t* text)
{
    return text ? std::char_traits<char16_t>::length(text) : 0;
}

// The text's extent in the current font; false without a drawing.
bool measure(const char16_t* text, SIZE* extent)
{
    *extent = SIZE{0, 0};
    DrawTarget* state = draw_target();
    HDC context = state ? draw_context(state) : nullptr;
    if (!context)
        return false;
    HGDIOBJ previous = SelectObject(context, current_font(state));
    GetTextExtentPoint32W(context, reinterpret_cast<LPCWSTR>(text ? text : u""), static_cast<int>(length_of(text)),
                          extent);
    SelectObject(context, previous);
    return true;
}

}  // namespace

int draw_line(int x1, int y1, int x2, int y2, std::int32_t color)
{
    x1 = coordinate(x1), y1 = coordinate(y1), x2 = coordinate(x2), y2 = coordinate(y2);
    PixelRect bounds{std::min(x1, x2) - 1, std::min(y1, y2) - 1, std::abs(x2 - x1) + 3, std::abs(y2 - y1) + 3};
    int drawn = draw_shape(bounds, color, DRAW_OUTLINED, [&](HDC context) {
        MoveToEx(context, x1, y1, nullptr);
        LineTo(context, x2, y2);
    });
    // The platform leaves out the last point.
    if (drawn)
        draw_pixel(x2, y2, color);
    return drawn;
}

int draw_ellipse(int x, int y, int width, int height, std::int32_t color, int fill)
{
    RECT box = box_of(x, y, width, height);
    if (box.right <= box.left || box.bottom <= box.top)
        return draw_target() != nullptr;
    return draw_shape({box.left, box.top, box.right - box.left, box.bottom - box.top}, color, fill,
                      [&](HDC context) { Ellipse(context, box.left, box.top, box.right, box.bottom); });
}

int draw_round_rectangle(int x, int y, int width, int height, int corner, std::int32_t color, int fill)
{
    RECT box = box_of(x, y, width, height);
    if (box.right <= box.left || box.bottom <= box.top)
        return draw_target() != nullptr;
    corner = std::clamp(corner, 0, COORDINATE_LIMIT);
    return draw_shape({box.left, box.top, box.right - box.left, box.bottom - box.top}, color, fill, [&](HDC context) {
        RoundRect(context, box.left, box.top, box.right, box.bottom, corner, corner);
    });
}

void draw_set_fonts(const DrawFonts* fonts)
{
    g_fonts = fonts;
}

int draw_set_font(ObjectNumber font)
{
    DrawTarget* state = draw_target();
    if (!state || (font != GK_ANY && !(g_fonts && g_fonts->handle(font))))
        return 0;
    state->font = font == GK_ANY ? 0 : font;
    return 1;
}

int draw_text(int x, int y, const char16_t* text, std::int32_t front, std::int32_t back)
{
    SIZE extent;
    if (!measure(text, &extent))
        return 0;
    x = coordinate(x), y = coordinate(y);
    RECT box = {x, y, x + extent.cx, y + extent.cy};
    return platform_draw({x, y, extent.cx, extent.cy}, [&](HDC context) {
        HGDIOBJ previous = SelectObject(context, current_font(draw_target()));
        SetTextColor(context, static_cast<COLORREF>(front) & 0xFFFFFF);
        SetBkMode(context, back == DRAW_TRANSPARENT ? TRANSPARENT : OPAQUE);
        SetBkColor(context, static_cast<COLORREF>(back) & 0xFFFFFF);
        UINT options = ETO_CLIPPED | (back == DRAW_TRANSPARENT ? 0 : ETO_OPAQUE);
        ExtTextOutW(context, x, y, options, &box, reinterpret_cast<LPCWSTR>(text), static_cast<UINT>(length_of(text)),
                    nullptr);
        SelectObject(context, previous);
    });
}

int draw_text_width(const char16_t* text)
{
    SIZE extent;
    return measure(text, &extent) ? extent.cx : 0;
}

int draw_text_height(const char16_t* text)
{
    SIZE extent;
    return measure(text, &extent) ? extent.cy : 0;
}
