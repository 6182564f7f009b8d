// Images shown larger or smaller than their pixels (on a display scaled up): a smoothly
// scaled copy of the pixels, made for the showing and dropped after it; at the image's own
// size, exactly as the plain operations show it.
#include "images/image_internal_win.h"

namespace {

// A smoothly scaled copy of the image's pixels in a new bitmap, or null.
HBITMAP scaled_copy(const ImageRecord* record, int width, int height, std::uint32_t** bits)
{
    if (!image_size_allowed(width, height))
        return nullptr;
    HBITMAP bitmap = image_new_bitmap(width, height, bits);
    if (bitmap)
        pixels_scale(image_surface(record), PixelSurface{*bits, width, height}, SCALE_SMOOTH);
    return bitmap;
}

}  // namespace

int image_paint_sized(ObjectNumber image, void* context, int x, int y, int width, int height)
{
    const ImageRecord* record = image_record(image);
    if (!record)
        return 0;
    if (width == record->width && height == record->height)
        return image_paint(image, context, x, y);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = scaled_copy(record, width, height, &bits);
    HDC memory = bitmap ? CreateCompatibleDC(static_cast<HDC>(context)) : nullptr;
    HGDIOBJ previous = memory ? SelectObject(memory, bitmap) : nullptr;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL painted =
        previous && AlphaBlend(static_cast<HDC>(context), x, y, width, height, memory, 0, 0, width, height, blend);
    if (previous)
        SelectObject(memory, previous);
    if (memory)
        DeleteDC(memory);
    if (bitmap)
        DeleteObject(bitmap);
    return painted ? 1 : 0;
}

void* image_flatten_sized(ObjectNumber image, std::int32_t color, int width, int height)
{
    const ImageRecord* record = image_record(image);
    if (!record)
        return nullptr;
    if (width == record->width && height == record->height)
        return image_flatten(image, color);
    std::uint32_t* scaled_bits = nullptr;
    HBITMAP scaled = scaled_copy(record, width, height, &scaled_bits);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = scaled ? image_new_bitmap(width, height, &bits) : nullptr;
    if (bitmap) {
        PixelSurface flat{bits, width, height};
        pixels_fill_rect(flat, {0, 0, width, height}, pixel_of_color(static_cast<std::uint32_t>(color)));
        pixels_blend(flat, PixelSurface{scaled_bits, width, height}, 0, 0);
    }
    if (scaled)
        DeleteObject(scaled);
    return bitmap;
}
