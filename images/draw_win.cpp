// The drawing target and the operations that write its memory directly; the shapes and
// text that go through the platform's drawing are in draw_shapes_win.cpp.
#include "images/draw_internal_win.h"

#include "images/image_internal_win.h"

#include <memory>
#include <new>

namespace {

DrawTarget* g_draw = nullptr;
// The target's pixels while a drawing is under way, else empty: draw_pixel reads only this.
PixelSurface g_pixels = {};

// Puts the target's own bitmap back out of the memory context.
void unselect(DrawTarget* state)
{
    if (state->context && state->previous_bitmap) {
        SelectObject(state->context, state->previous_bitmap);
        state->previous_bitmap = nullptr;
    }
}

}  // namespace

DrawTarget* draw_target()
{
    if (!g_draw)
        g_draw = static_cast<DrawTarget*>(state_block_new(sizeof(DrawTarget), nullptr));
    return g_draw && g_draw->active ? g_draw : nullptr;
}

HDC draw_context(DrawTarget* state)
{
    if (!state->context)
        state->context = CreateCompatibleDC(nullptr);
    if (state->context && !state->previous_bitmap)
        state->previous_bitmap = SelectObject(state->context, state->bitmap);
    return state->previous_bitmap ? state->context : nullptr;
}

int draw_begin_surface(const PixelSurface& surface, void* bitmap, void (*finished)(void*), void* context)
{
    draw_end();
    draw_target();
    if (!g_draw || !surface.bits)
        return 0;
    g_draw->surface = surface;
    g_draw->bitmap = static_cast<HBITMAP>(bitmap);
    g_draw->finished = finished;
    g_draw->finished_context = context;
    g_draw->active = true;
    g_pixels = surface;
    return 1;
}

int draw_begin_image(ObjectNumber image)
{
    const ImageRecord* record = image_record(image);
    if (!record) {
        draw_end();
        return 0;
    }
    return draw_begin_surface(image_surface(record), record->bitmap, nullptr, nullptr);
}

int draw_end()
{
    DrawTarget* state = draw_target();
    if (!state)
        return 0;
    unselect(state);
    if (state->context)
        DeleteDC(state->context);
    state->context = nullptr;
    state->active = false;
    g_pixels = PixelSurface{};
    if (state->finished)
        state->finished(state->finished_context);
    return 1;
}

void draw_release_bitmap(void* bitmap)
{
    DrawTarget* state = draw_target();
    if (state && state->bitmap == bitmap) {
        state->finished = nullptr;
        draw_end();
    }
}

// The one drawing operation called a million times: no call beyond this one.
int draw_pixel(int x, int y, std::int32_t color)
{
    if (static_cast<unsigned>(x) >= static_cast<unsigned>(g_pixels.width) ||
        static_cast<unsigned>(y) >= static_cast<unsigned>(g_pixels.height))
        return 0;
    g_pixels.bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(g_pixels.width) + static_cast<std::size_t>(x)] =
        pixel_of_color(static_cast<std::uint32_t>(color));
    return 1;
}

std::uint32_t draw_read_pixel(int x, int y)
{
    DrawTarget* state = draw_target();
    return state ? pixel_to_rgba(pixels_get(state->surface, x, y)) : 0;
}

int draw_rectangle(int x, int y, int width, int height, std::int32_t color, int fill)
{
    DrawTarget* state = draw_target();
    if (!state)
        return 0;
    std::uint32_t pixel = pixel_of_color(static_cast<std::uint32_t>(color));
    if (fill == DRAW_FILLED)
        pixels_fill_rect(state->surface, {x, y, width, height}, pixel);
    else
        pixels_frame_rect(state->surface, {x, y, width, height}, pixel);
    return 1;
}

int draw_flood_fill(int x, int y, std::int32_t color)
{
    DrawTarget* state = draw_target();
    if (!state)
        return 0;
    pixels_flood_fill(state->surface, x, y, pixel_of_color(static_cast<std::uint32_t>(color)));
    return 1;
}

int draw_image(ObjectNumber image, int x, int y, int width, int height)
{
    DrawTarget* state = draw_target();
    const ImageRecord* record = image_record(image);
    if (!state || !record)
        return 0;
    PixelSurface source = image_surface(record);
    bool resized = width > 0 && height > 0 && (width != source.width || height != source.height);
    if (resized && !image_size_allowed(width, height))
        return 0;
    // A copy when the size changes or the image is drawn onto itself.
    // The copy may be large: one that cannot be made fails the drawing, not the process.
    std::unique_ptr<std::uint32_t[]> copy;
    if (resized || source.bits == state->surface.bits) {
        PixelSurface sized{nullptr, resized ? width : source.width, resized ? height : source.height};
        copy.reset(new (std::nothrow)
                       std::uint32_t[static_cast<std::size_t>(sized.width) * static_cast<std::size_t>(sized.height)]);
        if (!copy)
            return 0;
        sized.bits = copy.get();
        pixels_scale(source, sized, SCALE_SMOOTH);
        source = sized;
    }
    pixels_blend(state->surface, source, x, y);
    return 1;
}
