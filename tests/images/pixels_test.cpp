// The pixel arithmetic under the sanitizers: clipping that never writes outside, flood
// fill, blending, smooth scaling, cropping and the alpha bookkeeping around the platform's
// drawing.
#include "images/pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t RED = 0xFFFF0000;   // premultiplied BGRA as stored: red in bits 16-23
constexpr std::uint32_t BLUE = 0xFF0000FF;

struct Pixels {
    std::vector<std::uint32_t> bits;
    PixelSurface surface;
    Pixels(int width, int height, std::uint32_t value)
        : bits(static_cast<std::size_t>(width) * height, value), surface{bits.data(), width, height}
    {
    }
    int count(std::uint32_t value) const { return static_cast<int>(std::count(bits.begin(), bits.end(), value)); }
};

TEST(PixelsTest, RectanglesClipAtEveryEdgeWithoutOverflow)
{
    Pixels edges(30, 30, WHITE);
    pixels_fill_rect(edges.surface, {-5, -5, 10, 10}, RED);
    pixels_fill_rect(edges.surface, {25, 25, 10, 10}, BLUE);
    pixels_fill_rect(edges.surface, {INT_MAX - 3, INT_MIN, INT_MAX, INT_MAX}, RED);
    pixels_fill_rect(edges.surface, {INT_MIN, 2, INT_MAX, 3}, RED);
    pixels_frame_rect(edges.surface, {-10, -10, 5, 5}, RED);
    EXPECT_EQ(edges.count(RED), 25);
    EXPECT_EQ(edges.count(BLUE), 25);
    EXPECT_EQ(pixels_get(edges.surface, 4, 4), RED);
    EXPECT_FALSE(pixels_put(edges.surface, 30, 0, RED));
    EXPECT_FALSE(pixels_put(edges.surface, -1, 0, RED));
    EXPECT_EQ(pixels_get(edges.surface, 0, 30), 0u);

    PixelRect clipped = pixel_clip({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 30, 30);
    EXPECT_EQ(clipped.width, 0);
    clipped = pixel_clip({-5, 10, 100, 5}, 30, 30);
    EXPECT_EQ(clipped.x, 0);
    EXPECT_EQ(clipped.width, 30);

    Pixels frame(10, 10, WHITE);
    pixels_frame_rect(frame.surface, {2, 2, 5, 4}, RED);
    EXPECT_EQ(frame.count(RED), 14);
    EXPECT_EQ(pixels_get(frame.surface, 3, 3), WHITE);
    // Frames whose far edges lie past INT_MAX: only the near edges show, and nothing overflows.
    Pixels huge(10, 10, WHITE);
    pixels_frame_rect(huge.surface, {2, 3, INT_MAX, INT_MAX}, RED);
    pixels_frame_rect(huge.surface, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, BLUE);
    EXPECT_EQ(huge.count(RED), 8 + 7 - 1);
    EXPECT_EQ(huge.count(BLUE), 0);
}

TEST(PixelsTest, FloodFillStopsAtOtherColours)
{
    Pixels image(20, 20, WHITE);
    pixels_frame_rect(image.surface, {5, 5, 10, 10}, BLUE);
    EXPECT_TRUE(pixels_flood_fill(image.surface, 8, 8, RED));
    EXPECT_EQ(image.count(RED), 64);
    EXPECT_FALSE(pixels_flood_fill(image.surface, 8, 8, RED));
    EXPECT_FALSE(pixels_flood_fill(image.surface, -1, 8, RED));
    EXPECT_TRUE(pixels_flood_fill(image.surface, 0, 0, BLUE));
    EXPECT_EQ(image.count(WHITE), 0);
    EXPECT_EQ(image.count(RED), 64);
}

TEST(PixelsTest, SmoothScalingStaysInRangeAndKeepsTheEnds)
{
    // Two colours away from the channel ends, so that leaving their range would show.
    std::uint32_t pair[] = {0xFFC80A3C, 0xFF14B45A};
    for (auto [width, height] : {std::pair{4, 2}, {7, 3}, {1, 1}, {33, 5}}) {
        Pixels smooth(width, height, 0);
        pixels_scale({pair, 2, 1}, smooth.surface, SCALE_SMOOTH);
        for (std::uint32_t pixel : smooth.bits) {
            for (int shift = 0; shift < 32; shift += 8) {
                std::uint32_t a = (pair[0] >> shift) & 0xFF, b = (pair[1] >> shift) & 0xFF, c = (pixel >> shift) & 0xFF;
                EXPECT_TRUE(c >= std::min(a, b) && c <= std::max(a, b)) << std::hex << pixel;
            }
        }
        if (width > 1) {
            EXPECT_EQ(smooth.bits.front(), pair[0]);
            EXPECT_EQ(smooth.bits.back(), pair[1]);
        }
    }
    Pixels down(1, 1, 0);
    Pixels big(64, 64, WHITE);
    pixels_scale(big.surface, down.surface, SCALE_SMOOTH);
    EXPECT_EQ(down.bits[0], WHITE);
}

TEST(PixelsTest, BlendCropAndConversions)
{
    Pixels target(4, 4, WHITE);
    std::uint32_t half_red = 0x80800000;  // red at alpha 128, premultiplied
    std::uint32_t patch[] = {half_red, 0, RED, 0};
    pixels_blend(target.surface, {patch, 2, 2}, -1, 3);
    EXPECT_EQ(pixels_get(target.surface, 0, 3), WHITE);  // transparent source pixel
    EXPECT_EQ(pixels_get(target.surface, 0, 2), WHITE);  // the patch's lower row falls outside
    pixels_blend(target.surface, {patch, 2, 2}, 0, 0);
    EXPECT_EQ(pixels_get(target.surface, 0, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(pixels_get(target.surface, 0, 1), RED);
    EXPECT_EQ(pixel_to_rgba(half_red), 0x800000FFu);
    EXPECT_EQ(pixel_to_rgba(pixel_of_color(0x00123456)), 0xFF123456u);

    Pixels crop(3, 3, WHITE);
    pixels_copy_from(target.surface, crop.surface, 2, 2);
    EXPECT_EQ(pixels_get(crop.surface, 1, 1), WHITE);
    EXPECT_EQ(pixels_get(crop.surface, 2, 1), 0u);
    EXPECT_EQ(pixels_get(crop.surface, 1, 2), 0u);

    std::uint32_t row[] = {half_red, 0, BLUE};
    std::vector<std::uint8_t> straight = pixels_to_straight({row, 3, 1});
    EXPECT_EQ(straight, (std::vector<std::uint8_t>{0, 0, 255, 128, 0, 0, 0, 0, 255, 0, 0, 255}));
    std::size_t stride = 0;
    std::vector<std::uint8_t> bgr = pixels_to_bgr({row, 3, 1}, &stride);
    EXPECT_EQ(stride, 12u);
    EXPECT_EQ(bgr, (std::vector<std::uint8_t>{127, 127, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0}));
}

// 24-bit rows copied into the last three quarters of the surface's memory widen in place.
TEST(PixelsTest, BgrRowsWidenInPlace)
{
    Pixels image(3, 2, 0);
    const std::uint8_t bgr[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    auto* rows = reinterpret_cast<std::uint8_t*>(image.bits.data()) + 6;
    std::copy(std::begin(bgr), std::end(bgr), rows);
    pixels_from_bgr(image.surface, rows, 9);
    EXPECT_EQ(image.bits, (std::vector<std::uint32_t>{0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A, 0xFF0F0E0D,
                                                      0xFF121110}));
}

// A pixel whose alpha the drawing cleared becomes opaque; the others keep theirs.
TEST(PixelsTest, AlphaMarkAndSettleKeepUntouchedAlpha)
{
    Pixels image(3, 1, 0);
    image.bits[1] = 0x40404040;
    PixelAlphaSave saved;
    ASSERT_TRUE(pixels_alpha_mark(image.surface, {-2, 0, 10, 1}, &saved));
    EXPECT_EQ(image.bits[0] >> 24, 0xFFu);
    image.bits[2] = 0x00102030;  // drawn by the platform
    pixels_alpha_settle(image.surface, {-2, 0, 10, 1}, saved);
    EXPECT_EQ(image.bits[0], 0u);
    EXPECT_EQ(image.bits[1], 0x40404040u);
    EXPECT_EQ(image.bits[2], 0xFF102030u);
}

}  // namespace
