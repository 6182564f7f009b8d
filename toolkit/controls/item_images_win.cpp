#include "toolkit/controls/item_images_win.h"

#include "images/image.h"
#include "images/pixels.h"
#include "toolkit/scale.h"

#include <cstring>
#include <vector>

namespace {

// The image's pixels, read from its DIB section (32-bit, rows top-down, premultiplied).
PixelSurface surface_of(ObjectNumber image)
{
    DIBSECTION section = {};
    GdiFlush();  // drawing on the image may still be queued
    auto bitmap = static_cast<HBITMAP>(image_bitmap(image));
    if (!bitmap || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section) || !section.dsBm.bmBits)
        return {};
    return {static_cast<std::uint32_t*>(section.dsBm.bmBits), image_width(image), image_height(image)};
}

HBITMAP new_icon_bitmap(int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    return bitmap && *bits ? bitmap : nullptr;
}

// A bitmap of the icon size with the picture scaled to fit in its middle; the image list
// takes colours apart from their alpha, as icons keep them. Null on failure.
HBITMAP icon_bitmap(const PixelSurface& picture, int icon_width, int icon_height)
{
    ItemImageBox place = item_image_fit(picture.width, picture.height, icon_width, icon_height);
    std::vector<std::uint32_t> scaled(static_cast<std::size_t>(place.width) * static_cast<std::size_t>(place.height));
    std::vector<std::uint32_t> icon(static_cast<std::size_t>(icon_width) * static_cast<std::size_t>(icon_height));
    pixels_scale(picture, {scaled.data(), place.width, place.height}, SCALE_SMOOTH);
    pixels_blend({icon.data(), icon_width, icon_height}, {scaled.data(), place.width, place.height}, place.x, place.y);
    std::vector<std::uint8_t> straight = pixels_to_straight({icon.data(), icon_width, icon_height});
    void* bits = nullptr;
    HBITMAP bitmap = new_icon_bitmap(icon_width, icon_height, &bits);
    if (bitmap)
        std::memcpy(bits, straight.data(), straight.size());
    return bitmap;
}

// The list's pictures cover the first one's size in design pixels, for the resolution of the
// control's window (or the small-icon size for a picture too large).
bool make_list(ItemImages* images, const PixelSurface& first, HWND window)
{
    int dpi = scale_window_dpi(window);
    int small_width = scale_metric(SM_CXSMICON, dpi);
    int small_height = scale_metric(SM_CYSMICON, dpi);
    ItemImageBox size = item_icon_size(first.width, first.height, small_width, small_height);
    if (size.width == first.width && size.height == first.height) {
        size.width = scale_pixels(first.width, dpi);
        size.height = scale_pixels(first.height, dpi);
    }
    images->list = ImageList_Create(size.width, size.height, ILC_COLOR32, 4, 4);
    return images->list != nullptr;
}

}  // namespace

ItemImages::~ItemImages()
{
    if (list)
        ImageList_Destroy(list);
}

// A scaled image keeps its entry: its copy is replaced in place, so each image has one copy.
int item_images_index(ItemImages* images, ObjectNumber image, HWND window, UINT attach, WPARAM which)
{
    auto key = reinterpret_cast<std::uintptr_t>(image_bitmap(image));
    if (!key)
        return I_IMAGENONE;
    ItemImageEntry* known = item_image_find(&images->indexes, image, image_life(image));
    if (known && known->bitmap == key)
        return known->index;
    PixelSurface picture = surface_of(image);
    if (!picture.bits || (!images->list && !make_list(images, picture, window)))
        return I_IMAGENONE;
    int icon_width = 0;
    int icon_height = 0;
    ImageList_GetIconSize(images->list, &icon_width, &icon_height);
    HBITMAP bitmap = icon_bitmap(picture, icon_width, icon_height);
    int index = -1;
    if (bitmap && known)
        index = ImageList_Replace(images->list, known->index, bitmap, nullptr) ? known->index : -1;
    else if (bitmap)
        index = ImageList_Add(images->list, bitmap, nullptr);
    if (bitmap)
        DeleteObject(bitmap);
    if (index < 0)
        return I_IMAGENONE;
    // The control gets its list once that holds a picture: the extended combo box places its
    // edit beside the first one.
    if (index == 0 && !known)
        SendMessageW(window, attach, which, reinterpret_cast<LPARAM>(images->list));
    item_image_remember(&images->indexes, {image, image_life(image), key, index});
    return index;
}
