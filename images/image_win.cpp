#include "images/image_internal_win.h"

#include "core/object.h"
#include "images/draw.h"

#include <wincodec.h>

namespace {

struct ImageState {
    ObjectTable* table;
    IWICImagingFactory* factory;
    bool com_started;  // this component's CoInitializeEx succeeded and must be undone
    bool running;      // between image_start and image_end (the block outlives an end)
    std::uint64_t last_life;
};

ImageState* g_state = nullptr;

void free_one(ObjectNumber number)
{
    if (number == GK_ANY) {
        object_free_all(g_state->table);
        return;
    }
    auto* record = static_cast<ImageRecord*>(object_get(g_state->table, number));
    if (!record)
        return;
    draw_release_bitmap(record->bitmap);
    DeleteObject(record->bitmap);
    object_free(g_state->table, number);
}

// Replaces the bitmap of a live image by a made one of the new size.
void image_replace(ImageRecord* record, HBITMAP bitmap, std::uint32_t* bits, int width, int height)
{
    draw_release_bitmap(record->bitmap);
    DeleteObject(record->bitmap);
    *record = ImageRecord{bitmap, bits, width, height, record->life};
}

}  // namespace

// A start after an end starts COM again; the table made by the first start stays.
int image_start()
{
    if (g_state && g_state->running)
        return 1;
    if (!g_state) {
        auto* state = static_cast<ImageState*>(state_block_new(sizeof(ImageState), nullptr));
        if (!state)
            return 0;
        state->table = object_table_new(sizeof(ImageRecord), 16, free_one);
        if (!state->table)
            return 0;
        g_state = state;
    }
    g_state->com_started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    g_state->running = true;
    return 1;
}

void image_end()
{
    if (!g_state)
        return;
    image_free(GK_ANY);
    if (g_state->factory)
        g_state->factory->Release();
    g_state->factory = nullptr;
    if (g_state->com_started)
        CoUninitialize();
    g_state->com_started = false;
    g_state->running = false;
}

IWICImagingFactory* image_factory()
{
    if (g_state && !g_state->factory) {
        void* made = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory, &made)))
            g_state->factory = static_cast<IWICImagingFactory*>(made);
    }
    return g_state ? g_state->factory : nullptr;
}

bool image_size_allowed(std::int64_t width, std::int64_t height)
{
    return width >= 1 && height >= 1 && width <= IMAGE_MAX_SIDE && height <= IMAGE_MAX_SIDE &&
           width * height <= IMAGE_MAX_PIXELS;
}

HBITMAP image_new_bitmap(int width, int height, std::uint32_t** bits)
{
    if (!image_size_allowed(width, height))
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    *bits = static_cast<std::uint32_t*>(memory);
    return bitmap && memory ? bitmap : nullptr;
}

ObjectNumber image_adopt(ObjectNumber number, HBITMAP bitmap, std::uint32_t* bits, int width, int height)
{
    void* made = g_state ? object_new(g_state->table, number) : nullptr;
    if (!made) {
        DeleteObject(bitmap);
        return 0;
    }
    *static_cast<ImageRecord*>(made) = ImageRecord{bitmap, bits, width, height, ++g_state->last_life};
    return number == GK_ANY ? object_number_for(number, made) : reinterpret_cast<ObjectNumber>(bitmap);
}

ImageRecord* image_record(ObjectNumber image)
{
    return g_state ? static_cast<ImageRecord*>(object_get(g_state->table, image)) : nullptr;
}

ObjectNumber image_create(ObjectNumber number, int width, int height, std::int32_t background)
{
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = g_state ? image_new_bitmap(width, height, &bits) : nullptr;
    if (!bitmap)
        return 0;
    if (background != IMAGE_TRANSPARENT)
        pixels_fill_rect({bits, width, height}, {0, 0, width, height}, pixel_of_color(static_cast<std::uint32_t>(background)));
    return image_adopt(number, bitmap, bits, width, height);
}

ObjectNumber image_crop(ObjectNumber number, ObjectNumber source, int x, int y, int width, int height)
{
    const ImageRecord* from = image_record(source);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = from ? image_new_bitmap(width, height, &bits) : nullptr;
    if (!bitmap)
        return 0;
    // Copied before the record is made: a fixed number equal to `source` replaces it.
    pixels_copy_from(image_surface(from), {bits, width, height}, x, y);
    return image_adopt(number, bitmap, bits, width, height);
}

int image_scale(ObjectNumber image, int width, int height, int mode)
{
    ImageRecord* record = image_record(image);
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = record ? image_new_bitmap(width, height, &bits) : nullptr;
    if (!bitmap)
        return 0;
    pixels_scale(image_surface(record), {bits, width, height}, mode == IMAGE_SCALE_SMOOTH ? SCALE_SMOOTH : SCALE_NEAREST);
    image_replace(record, bitmap, bits, width, height);
    return 1;
}

int image_width(ObjectNumber image)
{
    const ImageRecord* record = image_record(image);
    return record ? record->width : 0;
}

int image_height(ObjectNumber image)
{
    const ImageRecord* record = image_record(image);
    return record ? record->height : 0;
}

void* image_bitmap(ObjectNumber image)
{
    const ImageRecord* record = image_record(image);
    return record ? record->bitmap : nullptr;
}

int image_free(ObjectNumber image)
{
    if (!g_state)
        return 0;
    if (image != GK_ANY && !object_find(g_state->table, image))
        return 0;
    free_one(image);
    return 1;
}

std::size_t image_count()
{
    if (!g_state)
        return 0;
    std::size_t count = 0;
    ObjectNumber number = 0;
    object_enum_reset(g_state->table);
    while (object_enum_next(g_state->table, &number))
        ++count;
    return count;
}

std::uint64_t image_life(ObjectNumber image)
{
    ImageRecord* record = image_record(image);
    return record ? record->life : 0;
}
