// Images: numbered 32-bit bitmaps with alpha (premultiplied, rows top-down), made empty,
// loaded from a file or cut from another image, scaled in place and saved. Decoding and
// encoding go through the platform's imaging component, started on the thread that calls
// image_start; that thread is the only one that may use images.
#pragma once

#include "core/object.h"

#include <cstdint>

// The largest image: 32,767 pixels on a side and 64 Mi pixels (256 MiB) in all; a file
// over 256 MiB is not read at all. A load, creation or scaling beyond them fails.
constexpr int IMAGE_MAX_SIDE = 32767;
constexpr std::int64_t IMAGE_MAX_PIXELS = std::int64_t{1} << 26;
constexpr std::int64_t IMAGE_MAX_FILE_BYTES = std::int64_t{256} << 20;

// The background of image_create that leaves every pixel transparent.
constexpr std::int32_t IMAGE_TRANSPARENT = -1;

// Formats of image_save.
constexpr int IMAGE_PNG = 1;
constexpr int IMAGE_BMP = 2;
constexpr int IMAGE_JPEG = 3;

// Modes of image_scale.
constexpr int IMAGE_SCALE_NEAREST = 0;
constexpr int IMAGE_SCALE_SMOOTH = 1;

// Creates the images table and starts the imaging component's thread state. 0 on failure.
int image_start();
// Frees every image and lets the imaging component go.
void image_end();

// Each returns the new number for GK_ANY, the bitmap handle for a fixed number, 0 on failure
// (which leaves no image at that number). Colours are 0x00BBGGRR.
ObjectNumber image_create(ObjectNumber number, int width, int height, std::int32_t background);
// BMP, PNG, JPEG, GIF (first frame), TIFF and ICO; anything else, damaged or too large gives 0.
ObjectNumber image_load(ObjectNumber number, const char16_t* path);
// The part of `source` at (x, y) of that size; what lies outside `source` is transparent.
ObjectNumber image_crop(ObjectNumber number, ObjectNumber source, int x, int y, int width, int height);

// Writes the image as PNG, BMP or JPEG (quality 0 to 100, default 90; JPEG has no alpha, so
// transparent parts are laid over white). Returns 1, or 0 with no file left behind.
int image_save(ObjectNumber image, const char16_t* path, int format, int quality = 90);
// Gives the image a new size; 1 on success, 0 leaves it as it was.
int image_scale(ObjectNumber image, int width, int height, int mode);

int image_width(ObjectNumber image);
int image_height(ObjectNumber image);
// The platform bitmap (a DIB section), or null.
void* image_bitmap(ObjectNumber image);
// A value unique to the image's life: the same after it is scaled, another for a freed and
// remade number; 0 for a number that names no image.
std::uint64_t image_life(ObjectNumber image);
// Draws the image by its alpha onto a platform drawing context at (x, y). 1 on success.
int image_paint(ObjectNumber image, void* context, int x, int y);
// A new platform bitmap of the image laid over an opaque colour (0x00BBGGRR), which the
// caller deletes; null on failure.
void* image_flatten(ObjectNumber image, std::int32_t color);
// The same at another size, smoothly scaled (exactly the plain ones at the image's own size).
int image_paint_sized(ObjectNumber image, void* context, int x, int y, int width, int height);
void* image_flatten_sized(ObjectNumber image, std::int32_t color, int width, int height);
// GK_ANY frees every image. Returns 0 for a number that names no image.
int image_free(ObjectNumber image);
// Live images, for leak checks.
std::size_t image_count();
