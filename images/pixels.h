// The pixel arithmetic of images and drawing, free of the platform so that the host build
// tests it: clipping, rectangles, flood fill, alpha blending, scaling, cropping and the
// conversions for saving. A pixel is 32 bits, blue in the low byte, then green, red and
// alpha, with the colours premultiplied by the alpha (what the platform's alpha blending
// takes); rows run top-down with no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct PixelSurface {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Scaling modes.
constexpr int SCALE_NEAREST = 0;
constexpr int SCALE_SMOOTH = 1;

// The opaque pixel of a platform colour (0x00BBGGRR); the alpha byte of `color` is ignored.
inline std::uint32_t pixel_of_color(std::uint32_t color)
{
    return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
// A pixel as 0xAABBGGRR with the colours taken back out of the alpha (0 for transparent).
std::uint32_t pixel_to_rgba(std::uint32_t pixel);

// The part of the rectangle inside a surface of that size (width or height 0 when none),
// computed wide so that no coordinate overflows.
PixelRect pixel_clip(PixelRect rect, int width, int height);

// Writes or reads one pixel; outside the surface nothing is written and 0 is read.
bool pixels_put(const PixelSurface& surface, int x, int y, std::uint32_t pixel);
std::uint32_t pixels_get(const PixelSurface& surface, int x, int y);

void pixels_fill_rect(const PixelSurface& surface, PixelRect rect, std::uint32_t pixel);
// The one-pixel outline of the rectangle.
void pixels_frame_rect(const PixelSurface& surface, PixelRect rect, std::uint32_t pixel);

// Replaces the 4-connected area of pixels equal to the one at (x, y) by `pixel`. Returns
// false when (x, y) lies outside or the area already has that value.
bool pixels_flood_fill(const PixelSurface& surface, int x, int y, std::uint32_t pixel);

// Draws `source` over `target` with its top left corner at (x, y), by its alpha.
void pixels_blend(const PixelSurface& target, const PixelSurface& source, int x, int y);

// Fills `target` (any size) from the whole of `source`: nearest pixel, or smooth
// (bilinear between pixel centres, so every result lies within its neighbours' range).
void pixels_scale(const PixelSurface& source, const PixelSurface& target, int mode);

// Copies the part of `source` at (x, y) of the target's size into `target`; the part
// outside `source` becomes transparent.
void pixels_copy_from(const PixelSurface& source, const PixelSurface& target, int x, int y);

// Rows for an encoder: 32-bit with the alpha taken out of the colours, or 24-bit blue,
// green, red laid over white, rows padded to 4 bytes.
std::vector<std::uint8_t> pixels_to_straight(const PixelSurface& surface);
std::vector<std::uint8_t> pixels_to_bgr(const PixelSurface& surface, std::size_t* stride);

// Fills the surface from 24-bit blue, green, red rows (opaque), `stride` bytes apart. The
// rows may lie in the surface's own memory from its first quarter on: they are read front
// to back, each pixel before it is overwritten.
void pixels_from_bgr(const PixelSurface& surface, const std::uint8_t* rows, std::size_t stride);

// Drawing through the platform sets the alpha byte of every pixel it touches to 0. Before
// such a drawing the alpha of the rectangle is kept in *saved and set to 255; afterwards a
// pixel whose alpha became 0 was drawn (it becomes opaque) and the others get theirs back.
// The mark is false, with the surface untouched, when the copy's memory cannot be had.
using PixelAlphaSave = std::unique_ptr<std::uint8_t[]>;
bool pixels_alpha_mark(const PixelSurface& surface, PixelRect rect, PixelAlphaSave* saved);
void pixels_alpha_settle(const PixelSurface& surface, PixelRect rect, const PixelAlphaSave& saved);
