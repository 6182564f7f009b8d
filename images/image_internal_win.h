// Shared between the Windows files of images and drawing.
#pragma once

#include "images/image.h"
#include "images/pixels.h"

#include <windows.h>

struct ImageRecord {
    HBITMAP bitmap;  // the DIB section (primary handle)
    std::uint32_t* bits;
    int width;
    int height;
    std::uint64_t life;  // unique to this image; kept when it is scaled (image_life)
};

// True when an image of that size is allowed (both sides at least 1, within the limits).
bool image_size_allowed(std::int64_t width, std::int64_t height);

// A zeroed (transparent) 32-bit top-down DIB section, or null.
HBITMAP image_new_bitmap(int width, int height, std::uint32_t** bits);

// Takes a made bitmap as image `number`; deletes the bitmap and returns 0 on failure.
ObjectNumber image_adopt(ObjectNumber number, HBITMAP bitmap, std::uint32_t* bits, int width, int height);

ImageRecord* image_record(ObjectNumber image);

inline PixelSurface image_surface(const ImageRecord* record)
{
    return PixelSurface{record->bits, record->width, record->height};
}

// The imaging component's factory (made on first use), or null.
struct IWICImagingFactory* image_factory();

// For tests: the largest file a save may write (0: the images' file limit); a larger
// encoding fails as the encoder's own failure does.
void image_set_save_limit(std::int64_t bytes);
