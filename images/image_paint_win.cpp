// Images shown by controls: painted by their alpha, or laid over a colour for a control
// that shows plain bitmaps.
#include "images/image_internal_win.h"

#include <algorithm>

int image_paint(ObjectNumber image, void* context, int x, int y)
{
    const ImageRecord* record = image_record(image);
    HDC memory = record ? CreateCompatibleDC(static_cast<HDC>(context)) : nullptr;
    if (!memory)
        return 0;
    HGDIOBJ previous = SelectObject(memory, record->bitmap);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL painted = previous && AlphaBlend(static_cast<HDC>(context), x, y, record->width, record->height, memory, 0, 0,
                                          record->width, record->height, blend);
    if (previous)
        SelectObject(memory, previous);
    DeleteDC(memory);
    return painted ? 1 : 0;
}

void* image_flatten(ObjectNumber image, std::int32_t color)
{
    const ImageRecord* record = image_record(image);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = record ? image_new_bitmap(record->width, record->height, &bits) : nullptr;
    if (!bitmap)
        return nullptr;
    PixelSurface flat{bits, record->width, record->height};
    pixels_fill_rect(flat, {0, 0, flat.width, flat.height}, pixel_of_color(static_cast<std::uint32_t>(color)));
    pixels_blend(flat, image_surface(record), 0, 0);
    return bitmap;
}
